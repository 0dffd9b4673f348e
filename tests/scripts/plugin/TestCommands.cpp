// Commands for the transcript tests, loaded with --plugin. Like the command module, it finds the
// host through the executable's exports and registers through new_ICmdFactory when loaded.
#include <cstdint>
#include <filesystem>
#include <string>

#include <vantrel/db/OdDbBlockTableRecord.h>
#include <vantrel/db/OdDbCircle.h>
#include <vantrel/db/OdDbDictionary.h>
#include <vantrel/db/OdDbGroup.h>
#include <vantrel/db/OdDbLine.h>
#include <vantrel/db/OdDbTables.h>
#include <vantrel/db/OdError.h>
#include <vantrel/host/HostApplication.h>
#include <vantrel/host/HostDocument.h>
#include <vantrel/host/host_exports.h>
#include <vantrel/host/host_message_box.h>
#include <vantrel/host/hostSelectionSet.h>
#include <vantrel/host/hostutils.h>
#include <vantrel/hxicore/ModuleHandle.h>

namespace {

using vantrel::ModuleHandle;

// The host main library as a module finds it: by the name the executable exports.
ModuleHandle hostModule()
{
    using NameFn = const wchar_t* (*)();
    auto name = reinterpret_cast<NameFn>(vantrel::moduleSymbol(vantrel::mainProgramModule(), "GetMainDllNameW"));
    return name ? vantrel::findLoadedModule(name()) : nullptr;
}

HostApplication* application()
{
    auto services
        = reinterpret_cast<decltype(&get_host_funcptr)>(vantrel::moduleSymbol(hostModule(), "get_host_funcptr"));
    if (!services)
        return nullptr;
    auto service = reinterpret_cast<HostApplicationService>(services(kHostApplicationService));
    return service ? service() : nullptr;
}

HostDocument& document()
{
    HostApplication* app = application();
    if (!app || !app->activeDocument())
        throw OdError(eNullObjectPointer, "no document");
    return *app->activeDocument();
}

OdDbObjectId post(OdDbEntity* entity)
{
    OdDbDatabase* db = document().database();
    entity->setDatabaseDefaults(db);
    OdDbBlockTableRecordPtr space = getActiveBTRId(db).safeOpenObject(OdDb::kForWrite);
    return space->appendOdDbEntity(entity);
}

OdDbObjectId postLine(const OdGePoint3d& a, const OdGePoint3d& b)
{
    OdDbLinePtr line = OdDbLine::createObject();
    line->setStartPoint(a);
    line->setEndPoint(b);
    return post(line.get());
}

std::wstring handleOf(OdDbObjectId id)
{
    std::string ascii = id.getHandle().ascii();
    return std::wstring(ascii.begin(), ascii.end());
}

// A minimal reference-counted command object, as the module's template would make it.
class TestLineCmd final : public ICmdProcess {
public:
    static int create(ICmdProcess** out)
    {
        *out = new TestLineCmd;
        return 1;
    }

    std::uint32_t AddRef() override { return ++m_refs; }
    std::uint32_t Release() override
    {
        if (--m_refs > 0)
            return m_refs;
        delete this;
        return 0;
    }
    bool QueryInterface(const std::type_info& type, void** out) override
    {
        bool known = type == typeid(IHxUnknown) || type == typeid(ICmdProcess);
        if (out)
            *out = known ? static_cast<ICmdProcess*>(this) : nullptr;
        if (known && out)
            AddRef();
        return known;
    }
    // Two points, a line between them.
    int Run(int) override
    {
        m_status = kStatusRunning;
        HostEditor& ed = document().editor();
        OdGePoint3d a, b;
        if (ed.getPoint(nullptr, a, L"Specify first point") != kInputValue
            || ed.getPoint(&a, b, L"Specify next point", nullptr, kRubberBand) != kInputValue) {
            m_status = kStatusFailed;
            return 1;
        }
        postLine(a, b);
        m_status = kStatusFinished;
        return 0;
    }
    std::int32_t GetStatus() override { return m_status; }
    int QueryFlagA() override { return 0; }
    int QueryFlagB() override { return 1; }
    int GetContext(IHxUnknown** out) override
    {
        if (!m_context)
            return 0;
        m_context->AddRef();
        *out = m_context;
        return 1;
    }
    int SetContext(IHxUnknown* context) override
    {
        if (context == m_context)
            return 1;
        if (context)
            context->AddRef();
        if (m_context)
            m_context->Release();
        m_context = context;
        return 1;
    }

private:
    ~TestLineCmd()
    {
        if (m_context)
            m_context->Release();
    }

    std::uint32_t m_refs = 1;
    std::int32_t m_status = kStatusFinished;
    IHxUnknown* m_context = nullptr;
};

// A small scene: a line, a line on a locked layer, a circle, and two lines in a group.
void makeFixture()
{
    HostDocument& doc = document();
    OdDbDatabase* db = doc.database();
    OdDbLayerTableRecordPtr locked = OdDbLayerTableRecord::createObject();
    locked->setName(L"Locked");
    locked->setIsLocked(true);
    OdDbSymbolTablePtr layers = db->getLayerTableId().safeOpenObject(OdDb::kForWrite);
    OdDbObjectId lockedId = layers->add(locked.get());

    OdDbObjectId a = postLine({0, 0, 0}, {10, 0, 0});
    OdDbLinePtr onLocked = OdDbLine::createObject();
    onLocked->setStartPoint({0, 5, 0});
    onLocked->setEndPoint({10, 5, 0});
    onLocked->setDatabaseDefaults(db);
    onLocked->setLayer(lockedId);
    OdDbBlockTableRecordPtr space = getActiveBTRId(db).safeOpenObject(OdDb::kForWrite);
    OdDbObjectId b = space->appendOdDbEntity(onLocked.get());
    OdDbCirclePtr circle = OdDbCircle::createObject();
    circle->setCenter({20, 0, 0});
    circle->setRadius(2);
    OdDbObjectId c = post(circle.get());
    OdDbObjectId d = postLine({0, 20, 0}, {5, 20, 0});
    OdDbObjectId e = postLine({0, 25, 0}, {5, 25, 0});
    OdDbGroupPtr group = OdDbGroup::createObject();
    group->append(d);
    group->append(e);
    OdDbDictionaryPtr groups = db->getGroupDictionaryId().safeOpenObject(OdDb::kForWrite);
    groups->setAt(L"PAIR", group.get());
    doc.editor().printMessage(L"\nline %s, locked line %s, circle %s, group PAIR %s %s", handleOf(a), handleOf(b),
                              handleOf(c), handleOf(d), handleOf(e));
}

void reportSet(HostDocument& doc, const hostSelectionSet& set)
{
    std::wstring list;
    for (OdDbObjectId id : set.objectIds())
        list += L" " + handleOf(id);
    doc.editor().printMessage(L"\n%d selected:%s", static_cast<int>(set.numEntities()), list);
}

// The repeated selection of a multiple pick: until End, Enter or cancel.
void selectRepeatedly()
{
    HostDocument& doc = document();
    hostSelectionSetPtr set = hostSelectionSet::createObject(doc.database());
    for (;;) {
        InputResult r = doc.getSelection(*set, L"Select objects [%s]", L"End *E", 0x105d000);
        if (r != kInputValue) {
            doc.editor().printMessage(L"\nselection ended with %d", r);
            return;
        }
        reportSet(doc, *set);
    }
}

// One pick of one entity, as a single-pick prompt asks for it.
void selectOne()
{
    HostDocument& doc = document();
    hostSelectionSetPtr set = hostSelectionSet::createObject(doc.database());
    InputResult r = doc.getSelection(*set, L"Select polyline", L"Multiple", 0x12000);
    if (r == kInputValue)
        reportSet(doc, *set);
    else
        doc.editor().printMessage(L"\nselection ended with %d", r);
}

// Changes the drawing and then fails: the host must take the change back.
void failAfterChange()
{
    postLine({0, 0, 0}, {1, 1, 0});
    throw OdError(eInvalidInput, "the test command fails on purpose");
}

void showMessageBox() { hostMessageBox(L"Exception TestCmd::Run"); }

// A transient circle that the command shows and leaves, and a line it shows and takes away.
void showTransients()
{
    HostDocument& doc = document();
    OdDbCirclePtr circle = OdDbCircle::createObject();
    circle->setCenter({50, 50, 0});
    circle->setRadius(5);
    OdDbLinePtr line = OdDbLine::createObject();
    doc.addTransient(circle.get());
    doc.addTransient(line.get());
    doc.removeTransient(line.get());
    doc.editor().printMessage(L"\n%d transient(s) shown", static_cast<int>(doc.transients().size()));
}

void countEntities()
{
    HostDocument& doc = document();
    OdDbBlockTableRecordPtr space = getActiveBTRId(doc.database()).safeOpenObject();
    int n = 0;
    for (OdDbObjectIteratorPtr it = space->newIterator(); !it->done(); it->step())
        ++n;
    doc.editor().printMessage(L"\n%d entities", n);
}

// Takes a folder away while the session runs, so that the outputs written at its end fail.
void removeFolder()
{
    HostDocument& doc = document();
    OdString path;
    if (doc.editor().getKeyword(L"Folder to remove", L"", kAcceptText, &path) != kInputText)
        return;
    std::error_code ec;
    std::filesystem::remove_all(path.toUtf8(), ec);
    doc.editor().printMessage(L"\n%s", ec ? L"not removed" : L"removed");
}

// What a module's lookups find through the exports.
void reportExports()
{
    HostDocument& doc = document();
    using InstanceFn = void* (*)();
    auto instance
        = reinterpret_cast<InstanceFn>(vantrel::moduleSymbol(vantrel::mainProgramModule(), "GetMainDllInstance"));
    ModuleHandle host = hostModule();
    doc.editor().printMessage(L"\nGetMainDllInstance names the host library: %s",
                              instance && host && instance() == host ? L"yes" : L"no");
    auto services = reinterpret_cast<decltype(&get_host_funcptr)>(vantrel::moduleSymbol(host, "get_host_funcptr"));
    auto procedure = services ? reinterpret_cast<HostProcedure>(services(kHostProcedure3)) : nullptr;
    doc.editor().printMessage(L"\nservice 2 gives the application: %s, service 3 is a procedure: %s, service 4: %s",
                              application() == HostApplication::current() ? L"yes" : L"no", procedure ? L"yes" : L"no",
                              services && services(4) ? L"given" : L"none");
}

struct Registrar {
    Registrar()
    {
        auto make
            = reinterpret_cast<decltype(&new_ICmdFactory)>(vantrel::moduleSymbol(hostModule(), "new_ICmdFactory"));
        ICmdFactory* factory = nullptr;
        if (!make || !make(&factory) || !factory)
            return;
        factory->registerNamedCommand("testline", &TestLineCmd::create);
        factory->registerGroupCommand(L"TEST", L"TestFixture", 0, makeFixture);
        factory->registerGroupCommand(L"TEST", L"TestSelect", 0, selectRepeatedly);
        factory->registerGroupCommand(L"TEST", L"TestPick", 2, selectOne);
        factory->registerGroupCommand(L"TEST", L"TestFail", 0, failAfterChange);
        factory->registerGroupCommand(L"TEST", L"TestMessageBox", 0, showMessageBox);
        factory->registerGroupCommand(L"TEST", L"TestTransient", 0, showTransients);
        factory->registerGroupCommand(L"TEST", L"TestExports", 0, reportExports);
        factory->registerGroupCommand(L"TEST", L"TestCount", 0, countEntities);
        factory->registerGroupCommand(L"TEST", L"TestRemoveFolder", 0, removeFolder);
        factory->Release();
    }
} g_registrar;

} // namespace
