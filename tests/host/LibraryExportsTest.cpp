// What the shared libraries show the programs and modules that load them: their public names and
// whole classes (one type information wherever an object is made or caught), and nothing of
// their insides.
#include <dlfcn.h>

#include <typeinfo>

#include <gtest/gtest.h>

#include <vantrel/db/OdDbCircle.h>
#include <vantrel/db/OdError.h>
#include <vantrel/db/OdRxObject.h>
#include <vantrel/hxicore/CXStringW.h>
#include <vantrel/hxicore/FormatError.h>

namespace {

void* loadedLibrary(const char* file)
{
    void* handle = dlopen(file, RTLD_NOW | RTLD_NOLOAD);
    EXPECT_NE(handle, nullptr) << file << " is not loaded: " << dlerror();
    return handle;
}

struct Symbol {
    const char* library;
    const char* mangledName;
    const char* what;
};

} // namespace

TEST(LibraryExports, InternalFunctionsStayInsideTheirLibrary)
{
    // Each library answers a public name (so the lookup works), but not the internal one.
    const Symbol exported[] = {
        {"libvantrel_db.so", "_ZN7vantrel10layerShownE12OdDbObjectId", "vantrel::layerShown"},
        {"libvantrel_db.so", "_ZN7vantrel5dbKeyEv", "vantrel::dbKey (for the tests)"},
        {"libvantrel_host.so", "new_ICmdFactory", "new_ICmdFactory"},
        {"libhxicore.so", "_InitResTranslation", "_InitResTranslation"},
    };
    const Symbol internal[] = {
        {"libvantrel_db.so", "_ZN7vantrel7entmath13requireFiniteEdPKc", "vantrel::entmath::requireFinite"},
        {"libvantrel_host.so", "_ZN7vantrel20registerHostCommandsERNS_15CommandRegistryE",
         "vantrel::registerHostCommands"},
    };
    for (const Symbol& symbol : exported)
        EXPECT_NE(dlsym(loadedLibrary(symbol.library), symbol.mangledName), nullptr) << symbol.what;
    for (const Symbol& symbol : internal)
        EXPECT_EQ(dlsym(loadedLibrary(symbol.library), symbol.mangledName), nullptr) << symbol.what;
}

TEST(LibraryExports, ObjectsAndErrorsMadeInALibraryHaveTheCallersTypes)
{
    // Made by the database's class registry, inside libvantrel_db.
    const OdRxClass* circleClass = OdRxClass::byDxfName("CIRCLE");
    ASSERT_NE(circleClass, nullptr);
    OdRxObjectPtr object(circleClass->create());
    ASSERT_NE(object.get(), nullptr);
    EXPECT_EQ(&typeid(*object), &typeid(OdDbCircle));
    EXPECT_NE(dynamic_cast<OdDbCircle*>(object.get()), nullptr);

    // Thrown inside libvantrel_db and libhxicore, caught here by their own classes.
    EXPECT_THROW(OdDbCircle::cast(object.get())->setRadius(-1.0), OdError);
    CXStringW text;
    EXPECT_THROW(text.Format(L"%d", L"not a number"), vantrel::FormatError);
}
