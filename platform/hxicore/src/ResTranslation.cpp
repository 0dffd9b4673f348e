// Which modules have their resources translated, and the one catalogue lookup every
// translation goes through.
#include <vantrel/hxicore/ResTranslation.h>

#include <mutex>
#include <set>

#include <vantrel/hxicore/StringTable.h>
#include <vantrel/hxicore/TranslationCatalogue.h>

namespace {

std::mutex g_modulesMutex;
std::set<vantrel::ModuleHandle> g_translatedModules;

} // namespace

CXStringW Supp_Translate(const wchar_t* text)
{
    if (!text)
        return {};
    auto catalogue = vantrel::activeCatalogue();
    if (catalogue) {
        if (const std::wstring* translation = catalogue->find(text))
            return CXStringW(*translation);
    }
    return CXStringW(text);
}

extern "C" bool _InitResTranslation(vantrel::ModuleHandle instance)
{
    if (!instance)
        return false;
    // Read the catalogue now, so that a faulty one is reported when the module starts.
    vantrel::activeCatalogue();
    std::lock_guard lock(g_modulesMutex);
    g_translatedModules.insert(instance);
    return true;
}

extern "C" bool _DeInitResTranslation(vantrel::ModuleHandle instance)
{
    std::lock_guard lock(g_modulesMutex);
    return g_translatedModules.erase(instance) > 0;
}

bool _LoadStringNotTrans(vantrel::ModuleHandle instance, unsigned id, CXStringW& out)
{
    const wchar_t* text = vantrel::findStringResource(instance, id);
    if (!text) {
        out.Empty();
        return false;
    }
    out = CXStringW(text);
    return true;
}

namespace vantrel {

bool isResTranslationOn(ModuleHandle instance)
{
    std::lock_guard lock(g_modulesMutex);
    return g_translatedModules.count(instance) > 0;
}

} // namespace vantrel
