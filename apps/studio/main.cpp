// `vantrel-studio`, the desktop front end: opens a drawing (or the built-in template) in a window
// with the drawing view and the command line, loads the command module and plugins, runs a script
// first when given one, and with --screenshot writes the window as PNG when the script has run and
// quits. Exit 0 done, 1 an error the user must fix, 2 wrong usage.
#include <exception>
#include <iostream>
#include <string>
#include <vector>

#include <CLI/CLI.hpp>

#include <QApplication>
#include <QSaveFile>
#include <QTimer>

#include <vantrel/db/DxfFile.h>
#include <vantrel/db/Template.h>
#include <vantrel/host/HostApplication.h>
#include <vantrel/host/HostDocument.h>
#include <vantrel/host/TomlProfile.h>
#include <vantrel/host/Transcript.h>
#include <vantrel/host/module_loader.h>
#include <vantrel/host/read_text_file.h>

#include "StudioWindow.h"
#include "files/RecentFiles.h"
#include "input/CommandLine.h"
#include "input/StudioInputSource.h"
#include "view/DrawingView.h"

namespace {

constexpr int kDone = 0;
constexpr int kUserError = 1;
constexpr int kUsage = 2;

struct Options {
    std::string drawing;
    std::string script;
    std::string screenshot;
    std::string profile;
    std::vector<std::string> plugins;
};

// Writes the window as a PNG, whole or not at all; answers the error, or an empty string.
std::string writeScreenshot(QWidget& window, const std::string& path)
{
    QSaveFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::WriteOnly))
        return path + ": cannot write: " + file.errorString().toStdString();
    if (!window.grab().save(&file, "PNG") || !file.commit())
        return path + ": cannot write: " + file.errorString().toStdString();
    return {};
}

int run(const Options& opt)
{
    using namespace vantrel::studio;
    std::string script;
    if (!opt.script.empty()) {
        std::string error;
        if (!vantrel::readTextFile(opt.script, script, error)) {
            std::cerr << error << '\n';
            return kUserError;
        }
    }
    OdDbDatabasePtr db;
    if (opt.drawing.empty()) {
        db = vantrel::newDrawing();
    } else {
        vantrel::DxfReadResult read = vantrel::readDxf(opt.drawing, {});
        if (!read.database) {
            std::cerr << (read.error.rfind(opt.drawing + ": ", 0) == 0 ? read.error : opt.drawing + ": " + read.error)
                      << '\n';
            return kUserError;
        }
        for (const std::string& repair : read.repairs)
            std::cerr << opt.drawing << ": repaired: " << repair << '\n';
        db = read.database;
    }

    const std::string profilePath = opt.profile.empty() ? vantrel::TomlProfile::defaultPath() : opt.profile;
    vantrel::TomlProfile profile(profilePath);
    if (!profile.loadError().empty())
        std::cerr << "vantrel-studio: the profile is not used: " << profile.loadError() << '\n';

    StudioInputSource source;
    RecentFiles recent(profile);
    StudioWindow window(source, vantrel::CommandRegistry::global(), recent);
    vantrel::Transcript transcript([&window](std::string_view text) { window.commandLine().appendTranscript(text); });
    HostApplication app(profile, source, transcript);
    HostDocument& doc = app.openDocument(db);
    doc.setFileName(OdString::fromUtf8(opt.drawing).str());

    if (std::string error = vantrel::loadCommandModule(); !error.empty()) {
        std::cerr << error << '\n';
        return kUserError;
    }
    for (const std::string& plugin : opt.plugins)
        if (std::string error = vantrel::loadModule(plugin, "--plugin"); !error.empty()) {
            std::cerr << error << '\n';
            return kUserError;
        }

    int status = kDone;
    if (!opt.script.empty() || !opt.screenshot.empty()) {
        source.setScript(script, OdString::fromUtf8(opt.script.empty() ? "script" : opt.script).str());
        window.view().setViewSetsPicks(false);
        QObject::connect(&source, &StudioInputSource::scriptDone, &window,
                         [&window] { window.view().setViewSetsPicks(true); });
    }
    if (!opt.screenshot.empty()) {
        QObject::connect(&source, &StudioInputSource::scriptDone, &window, [&] {
            if (std::string error = writeScreenshot(window, opt.screenshot); !error.empty()) {
                std::cerr << error << '\n';
                status = kUserError;
            }
            app.setAskBeforeLeaving(false);
            source.end();
        });
    }
    doc.markUnmodified();
    app.setAskBeforeLeaving(opt.screenshot.empty());
    window.attach(app);
    window.show();
    QTimer::singleShot(0, &window, [&] {
        window.runSession();
        QApplication::exit(status);
    });
    const int exitCode = QApplication::exec();
    return exitCode == 0 ? status : exitCode;
}

int studioMain(int argc, char** argv)
{
    QApplication qapp(argc, argv);
    CLI::App cli("vantrel-studio: the drawing (or the built-in template) in a window with a command line.",
                 "vantrel-studio");
    Options opt;
    cli.add_option("DRAWING", opt.drawing, "DXF drawing to open (default: the built-in template)");
    cli.add_option("-s,--script", opt.script, "script to run in the window first, one answer per line");
    cli.add_option("--screenshot", opt.screenshot, "when the script has run, write the window as PNG and quit");
    cli.add_option("--profile", opt.profile, "settings file (default: $XDG_CONFIG_HOME/vantrel/profile.toml)");
    cli.add_option("--plugin", opt.plugins, "load a command module")->allow_extra_args(false);
    cli.set_version_flag("--version", "vantrel-studio " VANTREL_VERSION);
    try {
        cli.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        return cli.exit(e) == 0 ? kDone : kUsage;
    }
    try {
        return run(opt);
    } catch (const OdError& e) {
        std::cerr << "vantrel-studio: " << e.what() << '\n';
        return kUserError;
    }
}

} // namespace

// What nothing else caught (the system refusing memory or a file, say) ends the program with its
// message rather than an abort.
int main(int argc, char** argv)
{
    try {
        return studioMain(argc, argv);
    } catch (const std::exception& e) {
        std::cerr << "vantrel-studio: " << e.what() << '\n';
        return kUserError;
    }
}
