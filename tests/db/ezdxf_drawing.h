// Drawings written by an independent writer (python3-ezdxf, which tools/setup installs): a test
// gives the lines of a script that fill `doc` (a new R2010 drawing with ezdxf's standard setup)
// and its model space `msp`; the file is read back with vantrel's reader.
#pragma once

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include <vantrel/db/DxfFile.h>

struct EzdxfDrawing {
    vantrel::DxfReadResult read;
    std::string problem; // why the script could not write the drawing, else empty
};

inline EzdxfDrawing ezdxfDrawing(const std::string& name, const std::string& body)
{
    namespace fs = std::filesystem;
    const fs::path dir = fs::temp_directory_path() / ("vantrel_ezdxf_" + name + "_" + std::to_string(::getpid()));
    fs::create_directories(dir);
    std::ofstream(dir / "make.py") << "import sys, math, ezdxf\n"
                                      "doc = ezdxf.new('R2010', setup=True)\n"
                                      "msp = doc.modelspace()\n"
                                   << body << "\ndoc.saveas(sys.argv[1])\n";
    const std::string command = "cd " + dir.string() + " && /usr/bin/python3 make.py drawing.dxf > out.txt 2>&1";
    EzdxfDrawing drawing;
    if (std::system(command.c_str()) != 0) {
        std::ifstream out(dir / "out.txt");
        drawing.problem.assign(std::istreambuf_iterator<char>(out), std::istreambuf_iterator<char>());
    } else {
        drawing.read = vantrel::readDxf((dir / "drawing.dxf").string());
    }
    fs::remove_all(dir);
    return drawing;
}
