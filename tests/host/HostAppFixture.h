// A running application with one document on the built-in template, its command line fed from
// script text, its transcript captured and its profile in a temporary file.
#pragma once

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <memory>
#include <sstream>
#include <string>

#include <vantrel/db/OdDbBlockTableRecord.h>
#include <vantrel/db/OdDbLine.h>
#include <vantrel/db/Template.h>
#include <vantrel/host/HostApplication.h>
#include <vantrel/host/HostDocument.h>
#include <vantrel/host/ScriptInputSource.h>
#include <vantrel/host/TomlProfile.h>
#include <vantrel/host/Transcript.h>

class HostAppFixture : public ::testing::Test {
protected:
    HostAppFixture()
        : profilePath((std::filesystem::temp_directory_path()
                       / ("vantrel_host_" + std::to_string(::getpid()) + "_"
                          + ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".toml"))
                          .string()),
          profile(profilePath), app(profile, noInput, transcript), doc(app.openDocument(vantrel::newDrawing())),
          db(doc.database())
    {
    }
    ~HostAppFixture() override { std::filesystem::remove(profilePath); }

    // The answers the next requests get, one per line.
    void script(const std::string& text)
    {
        source = std::make_unique<vantrel::ScriptInputSource>(text, L"test.scr");
        doc.engine().setSource(*source);
    }
    std::string output()
    {
        transcript.finish();
        std::string text = out.str();
        out.str("");
        return text;
    }
    OdDbObjectId addLine(const OdGePoint3d& a, const OdGePoint3d& b)
    {
        OdDbLinePtr line = OdDbLine::createObject();
        line->setStartPoint(a);
        line->setEndPoint(b);
        line->setDatabaseDefaults(db);
        OdDbBlockTableRecordPtr space = db->getModelSpaceId().safeOpenObject(OdDb::kForWrite);
        return space->appendOdDbEntity(line.get());
    }
    std::size_t modelSpaceCount() const
    {
        OdDbBlockTableRecordPtr space = db->getModelSpaceId().safeOpenObject();
        std::size_t n = 0;
        for (OdDbObjectIteratorPtr it = space->newIterator(); !it->done(); it->step())
            ++n;
        return n;
    }

    std::string profilePath;
    vantrel::TomlProfile profile;
    std::ostringstream out;
    vantrel::Transcript transcript{out};
    vantrel::ScriptInputSource noInput{""};
    HostApplication app;
    HostDocument& doc;
    OdDbDatabase* db;
    std::unique_ptr<vantrel::ScriptInputSource> source;
};
