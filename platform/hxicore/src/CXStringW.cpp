// Loading string resources into CXStringW and its type-checked formatting.
#include <vantrel/hxicore/CXStringW.h>

#include <vantrel/hxicore/ResTranslation.h>
#include <vantrel/hxicore/StringTable.h>

bool CXStringW::Load(vantrel::ModuleHandle instance, unsigned id)
{
    if (!_LoadStringNotTrans(instance, id, *this))
        return false;
    if (vantrel::isResTranslationOn(instance))
        *this = Supp_Translate(c_str());
    return true;
}

std::wstring CXStringW::formatChecked(const wchar_t* format, fmt::basic_format_args<fmt::wprintf_context> args)
{
    if (!format)
        throw vantrel::FormatError(L"", "the format is null");
    try {
        return fmt::vsprintf(std::wstring_view(format), args);
    } catch (const fmt::format_error& e) {
        throw vantrel::FormatError(format, e.what());
    }
}

namespace vantrel::format_arg {

std::wstring adapt(const char* utf8) { return utf8 ? OdString::fromUtf8(utf8).str() : std::wstring(L"(null)"); }

std::wstring adapt(const std::string& utf8) { return OdString::fromUtf8(utf8).str(); }
std::wstring adapt(std::string_view utf8) { return OdString::fromUtf8(utf8).str(); }

} // namespace vantrel::format_arg
