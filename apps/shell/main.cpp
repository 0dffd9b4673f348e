// `vantrel`, the terminal front end: opens a drawing (or the built-in template), runs a script and
// writes the drawing as DXF, SVG or JSON. Exit 0 done, 1 an error the user must fix, 2 wrong usage.
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <optional>
#include <string>

#include <CLI/CLI.hpp>

#include <vantrel/db/DxfFile.h>
#include <vantrel/db/Template.h>
#include <vantrel/host/svg_render.h>
#include <vantrel/host/write_file.h>

#include "JsonDump.h"

namespace {

constexpr int kDone = 0;
constexpr int kUserError = 1;
constexpr int kUsage = 2;

struct Options {
    std::string drawing;
    std::string script;
    std::string dxfOut;
    std::string svgOut;
    std::string jsonOut;
};

// The input engine comes later: for now a script may hold only blank lines and ';' comments.
// Answers the error, or nothing when the script is acceptable.
std::optional<std::string> checkScript(const std::string& path)
{
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec))
        return path + ": cannot read: " + std::strerror(EISDIR);
    std::ifstream in(path);
    if (!in)
        return path + ": cannot read: " + std::strerror(errno);
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
        auto first = line.find_first_not_of(" \t\r");
        if (first == std::string::npos || line[first] == ';')
            continue;
        return path + ":" + std::to_string(number) + ": commands are not available in this version";
    }
    if (in.bad())
        return path + ": cannot read: " + std::strerror(errno);
    return std::nullopt;
}

int run(const Options& opt)
{
    if (!opt.script.empty()) {
        if (auto error = checkScript(opt.script)) {
            std::cerr << *error << '\n';
            return kUserError;
        }
    }

    OdDbDatabasePtr db;
    if (opt.drawing.empty()) {
        db = vantrel::newDrawing();
    } else {
        vantrel::DxfReadResult read = vantrel::readDxf(opt.drawing);
        if (!read.database) {
            // One line that starts with the file's name, whether or not the reader named it.
            if (read.error.rfind(opt.drawing + ": ", 0) != 0)
                std::cerr << opt.drawing << ": ";
            std::cerr << read.error << '\n';
            return kUserError;
        }
        db = read.database;
    }

    auto report = [](const std::string& error) {
        if (error.empty())
            return false;
        std::cerr << error << '\n';
        return true;
    };
    if (!opt.dxfOut.empty() && report(vantrel::writeDxf(*db, opt.dxfOut)))
        return kUserError;
    if (!opt.svgOut.empty() && report(vantrel::writeSvg(*db, opt.svgOut)))
        return kUserError;
    if (!opt.jsonOut.empty() && report(vantrel::writeFileAtomically(opt.jsonOut, vantrel::jsonText(*db))))
        return kUserError;
    return kDone;
}

}

int main(int argc, char** argv)
{
    CLI::App app("vantrel: opens a drawing (or the built-in template), runs a script and writes the result.",
                 "vantrel");
    Options opt;
    app.add_option("DRAWING", opt.drawing, "DXF drawing to open (default: the built-in template)");
    app.add_option("-s,--script", opt.script, "script to run (';' starts a comment line)");
    app.add_option("-o,--output", opt.dxfOut, "write the drawing as DXF (R2010)");
    app.add_option("--svg", opt.svgOut, "write model space as SVG");
    app.add_option("--json", opt.jsonOut, "write header, layers and entities as JSON");
    app.set_version_flag("--version", "vantrel 0.1.0");
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        // Help and version are answers, not errors; CLI11 prints either kind.
        int code = app.exit(e);
        return code == 0 ? kDone : kUsage;
    }
    try {
        return run(opt);
    } catch (const OdError& e) {
        std::cerr << "vantrel: " << e.what() << '\n';
        return kUserError;
    }
}
