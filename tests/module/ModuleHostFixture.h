// A running host for the module's services: an application with a document on the built-in
// template, fed from script text, its transcript and previews captured. The module finds the
// host through the "HxAcApp" fallback, pointed at the real host main library.
#pragma once

#include <gtest/gtest.h>

#include <dlfcn.h>

#include <filesystem>
#include <memory>
#include <sstream>
#include <string>

#include <vantrel/db/Template.h>
#include <vantrel/host/HostApplication.h>
#include <vantrel/host/HostDocument.h>
#include <vantrel/host/RecordingDrawer.h>
#include <vantrel/host/ScriptInputSource.h>
#include <vantrel/host/TomlProfile.h>
#include <vantrel/host/Transcript.h>
#include <vantrel/hxicore/ModuleHandle.h>

#include "fake_host.h"

// Loads the "HxAcApp" stand-in (once; it stays loaded) and makes it name `module`.
inline void pointHxAcAppAt(void* module)
{
    void* hxAcApp = dlopen(HXACAPP_LIBRARY, RTLD_NOW | RTLD_GLOBAL);
    ASSERT_NE(hxAcApp, nullptr) << dlerror();
    auto set = reinterpret_cast<SetMainModuleExport>(dlsym(hxAcApp, "hxAcAppSetMainModule"));
    ASSERT_NE(set, nullptr);
    set(module);
}

class ModuleHostFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        pointHxAcAppAt(vantrel::findLoadedModule("vantrel_host"));
        db = vantrel::newDrawing();
    }

    // Starts the application on the drawing with the answers the requests get, one per line.
    void start(const std::string& script)
    {
        source = std::make_unique<vantrel::ScriptInputSource>(script, L"test.scr");
        app = std::make_unique<HostApplication>(profile, *source, transcript);
        document = &app->openDocument(db);
        document->engine().setDrawer(drawer);
    }
    std::string output()
    {
        transcript.finish();
        return out.str();
    }

    vantrel::TomlProfile profile{(std::filesystem::temp_directory_path() / "vantrel-module-test.toml").string()};
    std::ostringstream out;
    vantrel::Transcript transcript{out};
    vantrel::RecordingDrawer drawer;
    OdDbDatabasePtr db;
    std::unique_ptr<vantrel::ScriptInputSource> source;
    std::unique_ptr<HostApplication> app;
    HostDocument* document = nullptr;
};
