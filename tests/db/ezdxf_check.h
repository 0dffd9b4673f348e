// Runs a check script of an independent DXF reader (python3-ezdxf, which tools/setup installs) on
// a drawing written by vantrel. The script gets the file as its argument and prints "ok" when
// every assertion held.
#pragma once

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include <vantrel/db/DxfFile.h>
#include <vantrel/db/OdDbDatabase.h>

struct EzdxfCheck {
    std::string output; // what the script printed, or why it could not run
    bool passed = false;
};

inline EzdxfCheck runEzdxfCheck(OdDbDatabase& db, const std::string& name, const std::string& script)
{
    namespace fs = std::filesystem;
    const fs::path dir = fs::temp_directory_path() / ("vantrel_" + name + "_" + std::to_string(::getpid()));
    fs::create_directories(dir);
    const fs::path file = dir / (name + ".dxf");
    EzdxfCheck check;
    if (std::string error = vantrel::writeDxf(db, file.string()); !error.empty()) {
        check.output = "writing " + file.string() + ": " + error;
    } else {
        std::ofstream(dir / "check.py") << "import sys, ezdxf\n" << script;
        const std::string command
            = "cd " + dir.string() + " && /usr/bin/python3 check.py " + file.filename().string() + " > out.txt 2>&1";
        const int status = std::system(command.c_str());
        std::stringstream out;
        out << std::ifstream(dir / "out.txt").rdbuf();
        check.output = out.str();
        check.passed = status == 0 && check.output.find("ok") != std::string::npos;
    }
    fs::remove_all(dir);
    return check;
}
