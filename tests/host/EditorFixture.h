// A command line fed from script text, with its transcript captured, for tests of the requests
// and trackers.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>

#include <vantrel/host/HostEditor.h>
#include <vantrel/host/InputEngine.h>
#include <vantrel/host/RecordingDrawer.h>
#include <vantrel/host/ScriptInputSource.h>
#include <vantrel/host/Transcript.h>

class EditorFixture : public ::testing::Test {
protected:
    EditorFixture() { engine.setDrawer(drawer); }

    // The answers the next requests get, one per line.
    void script(const std::string& text)
    {
        source = std::make_unique<vantrel::ScriptInputSource>(text, L"test.scr");
        engine.setSource(*source);
    }
    std::string output()
    {
        transcript.finish();
        return out.str();
    }

    std::ostringstream out;
    vantrel::Transcript transcript{out};
    vantrel::ScriptInputSource noInput{""};
    vantrel::InputEngine engine{noInput, transcript};
    vantrel::RecordingDrawer drawer;
    HostEditor ed{engine};
    std::unique_ptr<vantrel::ScriptInputSource> source;
};
