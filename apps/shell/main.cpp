// `vantrel`, the terminal front end: opens a drawing (or the built-in template), loads the
// command module and plugins, runs a script or an interactive command line, and writes the
// drawing as DXF, SVG or JSON. Exit 0 done, 1 an error the user must fix, 2 wrong usage.
#include <dlfcn.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include <CLI/CLI.hpp>

#include <vantrel/db/DxfFile.h>
#include <vantrel/db/OdError.h>
#include <vantrel/db/Template.h>
#include <vantrel/host/DialogPictureWriter.h>
#include <vantrel/host/HostApplication.h>
#include <vantrel/host/HostDocument.h>
#include <vantrel/host/ScriptInputSource.h>
#include <vantrel/host/TomlProfile.h>
#include <vantrel/host/Transcript.h>
#include <vantrel/host/hostUiDialog.h>
#include <vantrel/host/svg_render.h>
#include <vantrel/host/write_file.h>

#include "JsonDump.h"
#include "LineEditInputSource.h"

namespace fs = std::filesystem;

namespace {

constexpr int kDone = 0;
constexpr int kUserError = 1;
constexpr int kUsage = 2;
constexpr const char* kModuleFile = "libvantrelcmd3.so";

struct Options {
    std::string drawing;
    std::string script;
    std::string dxfOut;
    std::string svgOut;
    std::string jsonOut;
    std::string dialogSvgFolder;
    std::string profile;
    std::vector<std::string> assignments;
    std::vector<std::string> plugins;
};

// An error the user must fix: reported on one line, exit 1.
struct UserError {
    std::string text;
};

std::string readScript(const std::string& path)
{
    std::error_code ec;
    if (fs::is_directory(path, ec))
        throw UserError{path + ": cannot read: " + std::strerror(EISDIR)};
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw UserError{path + ": cannot read: " + std::strerror(errno)};
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad())
        throw UserError{path + ": cannot read: " + std::strerror(errno)};
    return text;
}

OdDbDatabasePtr openDrawing(const std::string& path)
{
    if (path.empty())
        return vantrel::newDrawing();
    vantrel::DxfReadResult read = vantrel::readDxf(path);
    if (!read.database) {
        // One line that starts with the file's name, whether or not the reader named it.
        std::string error = read.error.rfind(path + ": ", 0) == 0 ? read.error : path + ": " + read.error;
        throw UserError{error};
    }
    for (const std::string& repair : read.repairs)
        std::cerr << path << ": repaired: " << repair << '\n';
    return read.database;
}

// Loads a module for good: commands it registers point into it, so it is never unloaded.
void loadModule(const std::string& path, const char* what)
{
    std::error_code ec;
    if (!fs::is_regular_file(path, ec))
        throw UserError{std::string(what) + " " + path + ": no such file"};
    std::string absolute = fs::absolute(path, ec).string();
    // Global, so that plugins can use what the command module exports.
    if (!dlopen(absolute.c_str(), RTLD_NOW | RTLD_GLOBAL)) {
        const char* why = dlerror();
        throw UserError{std::string(what) + " " + path + ": cannot load: " + (why ? why : "unknown error")};
    }
}

// The command module: VANTREL_MODULE_PATH, or ../lib beside the executable. A module missing
// from the default place is not an error: the host runs with its own commands.
void loadCommandModule()
{
    if (const char* env = std::getenv("VANTREL_MODULE_PATH"); env && *env) {
        loadModule(env, "VANTREL_MODULE_PATH:");
        return;
    }
    std::error_code ec;
    fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    if (ec)
        return;
    fs::path module = exe.parent_path().parent_path() / "lib" / kModuleFile;
    if (fs::exists(module, ec))
        loadModule(module.string(), "module");
}

std::string historyFile(const std::string& profilePath)
{
    fs::path folder = fs::path(profilePath).parent_path();
    return folder.empty() ? std::string("history") : (folder / "history").string();
}

int run(const Options& opt)
{
    std::optional<std::string> script;
    std::wstring scriptName;
    if (!opt.script.empty()) {
        script = readScript(opt.script);
        scriptName = OdString::fromUtf8(opt.script).str();
    } else if (!::isatty(STDIN_FILENO)) {
        script = std::string((std::istreambuf_iterator<char>(std::cin)), std::istreambuf_iterator<char>());
        scriptName = L"stdin";
    }

    OdDbDatabasePtr db = openDrawing(opt.drawing);

    const std::string profilePath = opt.profile.empty() ? vantrel::TomlProfile::defaultPath() : opt.profile;
    vantrel::TomlProfile profile(profilePath);
    if (!profile.loadError().empty())
        std::cerr << "vantrel: the profile is not used: " << profile.loadError() << '\n';

    const bool interactive = !script;
    vantrel::Transcript transcript([interactive](std::string_view text) {
        std::cout << text;
        if (interactive)
            std::cout.flush();
    });
    // At a terminal the line editor shows the prompt and the typed answer.
    transcript.setShowPrompts(!interactive);
    std::unique_ptr<vantrel::InputSource> source;
    if (interactive)
        source = std::make_unique<LineEditInputSource>(vantrel::CommandRegistry::global(), historyFile(profilePath),
                                                       transcript);
    else
        source = std::make_unique<vantrel::ScriptInputSource>(*script, scriptName);

    HostApplication app(profile, *source, transcript);
    HostDocument& doc = app.openDocument(db);

    // Settings given on the command line are not part of the drawing's undo history.
    for (const std::string& assignment : opt.assignments) {
        db->disableUndoRecording(true);
        try {
            app.sysVars().applyAssignment(OdString::fromUtf8(assignment), db.get());
        } catch (const OdError& e) {
            db->disableUndoRecording(false);
            throw UserError{"--set " + assignment + ": " + e.what()};
        }
        db->disableUndoRecording(false);
    }

    loadCommandModule();
    for (const std::string& plugin : opt.plugins)
        loadModule(plugin, "--plugin");

    std::optional<vantrel::DialogPictureWriter> pictures;
    if (!opt.dialogSvgFolder.empty()) {
        std::error_code ec;
        fs::create_directories(opt.dialogSvgFolder, ec);
        if (ec)
            throw UserError{"--dlg-svg " + opt.dialogSvgFolder + ": " + ec.message()};
        pictures.emplace(opt.dialogSvgFolder);
        hostUiDialog::setStateObserver([&pictures](const hostUiDialog& dialog) { pictures->write(dialog); });
    }
    // The observer refers to `pictures`, which ends with this function.
    struct ObserverReset {
        ~ObserverReset() { hostUiDialog::setStateObserver(nullptr); }
    } observerReset;

    app.runCommandLoop();
    transcript.finish();
    std::cout.flush();

    auto report = [](const std::string& error) {
        if (error.empty())
            return false;
        std::cerr << error << '\n';
        return true;
    };
    // A picture that could not be written does not keep the drawing from being written.
    const bool pictureFailed = pictures && report(pictures->firstError());
    if (!opt.dxfOut.empty() && report(vantrel::writeDxf(*db, opt.dxfOut)))
        return kUserError;
    if (!opt.svgOut.empty() && report(vantrel::writeSvg(*db, opt.svgOut, doc.transients())))
        return kUserError;
    if (!opt.jsonOut.empty() && report(vantrel::writeFileAtomically(opt.jsonOut, vantrel::jsonText(*db))))
        return kUserError;
    return pictureFailed ? kUserError : kDone;
}

} // namespace

int main(int argc, char** argv)
{
    CLI::App app("vantrel: opens a drawing (or the built-in template), runs a script or an interactive command "
                 "line, and writes the result.",
                 "vantrel");
    Options opt;
    app.add_option("DRAWING", opt.drawing, "DXF drawing to open (default: the built-in template)");
    app.add_option("-s,--script", opt.script,
                   "script to run, one answer per line (default: standard input when it is not a terminal)");
    app.add_option("-o,--output", opt.dxfOut, "write the drawing as DXF (R2010)");
    app.add_option("--svg", opt.svgOut, "write model space as SVG");
    app.add_option("--json", opt.jsonOut, "write header, layers and entities as JSON");
    app.add_option("--dlg-svg", opt.dialogSvgFolder, "write a picture of each state of each dialog shown into a folder");
    app.add_option("--profile", opt.profile, "settings file (default: $XDG_CONFIG_HOME/vantrel/profile.toml)");
    app.add_option("--set", opt.assignments, "set a system variable before the script runs (NAME=VALUE)")
        ->allow_extra_args(false);
    app.add_option("--plugin", opt.plugins, "load a command module")->allow_extra_args(false);
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
    } catch (const UserError& e) {
        std::cerr << e.text << '\n';
        return kUserError;
    } catch (const OdError& e) {
        std::cerr << "vantrel: " << e.what() << '\n';
        return kUserError;
    }
}
