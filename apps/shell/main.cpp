// `vantrel`, the terminal front end: checks its outputs, opens a drawing (or the built-in
// template), loads the command module and plugins, runs a script or an interactive command line,
// and writes the drawing as DXF, SVG or JSON; a drawing that cannot be written, or a run stopped
// by a signal, leaves a recovery copy. Exit 0 done, 1 an error the user must fix, 2 wrong usage.
#include <unistd.h>

#include <clocale>
#include <csignal>

#include <cstdlib>
#include <exception>
#include <filesystem>
#include <iostream>
#include <iterator>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include <CLI/CLI.hpp>

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>
#endif

#include <vantrel/db/DxfFile.h>
#include <vantrel/db/OdError.h>
#include <vantrel/db/Template.h>
#include <vantrel/db/TextFont.h>
#include <vantrel/host/DialogPictureWriter.h>
#include <vantrel/host/HostApplication.h>
#include <vantrel/host/HostDocument.h>
#include <vantrel/host/ScriptInputSource.h>
#include <vantrel/host/TomlProfile.h>
#include <vantrel/host/Transcript.h>
#include <vantrel/host/hostUiDialog.h>
#include <vantrel/host/InputSyntax.h>
#include <vantrel/host/module_loader.h>
#include <vantrel/host/read_text_file.h>
#include <vantrel/host/save_drawing.h>
#include <vantrel/host/svg_render.h>
#include <vantrel/host/write_file.h>

#include "JsonDump.h"
#include "LineEditInputSource.h"
#include "Outputs.h"
#include "ShellSignals.h"

namespace fs = std::filesystem;

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
    std::string dialogSvgFolder;
    std::string profile;
    std::vector<std::string> assignments;
    std::vector<std::string> plugins;
    bool batch = false;
    bool recover = false;
};

// How a run ended: an exit status, or the signal that stopped it (the process then ends by it).
struct Ending {
    int status = kDone;
    int signal = 0;
};

// An error the user must fix: reported on one line, exit 1.
struct UserError {
    std::string text;
};

std::string readScript(const std::string& path)
{
    std::string text, error;
    if (!vantrel::readTextFile(path, text, error))
        throw UserError{error};
    return text;
}

OdDbDatabasePtr openDrawing(const std::string& path, bool recover)
{
    if (path.empty())
        return vantrel::newDrawing();
    vantrel::DxfReadResult read = vantrel::readDxf(path, {.recover = recover});
    if (!read.database) {
        // One line that starts with the file's name, whether or not the reader named it.
        std::string error = read.error.rfind(path + ": ", 0) == 0 ? read.error : path + ": " + read.error;
        throw UserError{error};
    }
    for (const std::string& repair : read.repairs)
        std::cerr << path << ": repaired: " << repair << '\n';
    return read.database;
}

// Freeing a large drawing object by object only hands back memory that the system takes back at
// once when the process ends. Once every output is written and closed, the run keeps one
// reference to the drawing that it never gives up, so none of that work is done; the drawing
// holds nothing but memory (no file, no buffer of an output). Leak checkers are told, so that
// they still report any real leak.
void leaveToTheSystem(const OdDbDatabasePtr& db)
{
    db->addRef();
#if defined(__SANITIZE_ADDRESS__)
    __lsan_ignore_object(db.get());
#endif
}

std::string historyFile(const std::string& profilePath)
{
    fs::path folder = fs::path(profilePath).parent_path();
    return folder.empty() ? std::string("history") : (folder / "history").string();
}

// A script that ends where a stop signal arrived, so that the run winds down and keeps the drawing.
class StoppableSource : public vantrel::InputSource {
public:
    explicit StoppableSource(vantrel::InputSource& inner) : m_inner(inner) {}
    vantrel::InputEvent next(const vantrel::InputPrompt& prompt) override
    {
        if (ShellSignals::stopSignal())
            return vantrel::InputEvent::of(vantrel::InputEvent::Kind::End);
        return m_inner.next(prompt);
    }

private:
    vantrel::InputSource& m_inner;
};

std::wstring wide(const std::string& utf8) { return OdString::fromUtf8(utf8).str(); }

std::string utf8(const std::wstring& text) { return OdString(text).toUtf8(); }

// Puts the drawing into a recovery copy and says where, or why it could not; `always` writes one
// even when nothing changed since the drawing was opened or saved.
void keepRecoveryCopy(HostDocument& doc, const std::string& why, bool always)
{
    ShellSignals::HoldStops hold;
    if (!always && !doc.isModified()) {
        std::cerr << "vantrel: " << why << "; there were no unsaved changes\n";
        return;
    }
    RecoveryCopy copy = writeRecoveryCopy(*doc.database(), utf8(doc.fileName()));
    if (copy.path.empty())
        std::cerr << "vantrel: " << why << "; no recovery copy could be written: " << copy.error << '\n';
    else
        std::cerr << "vantrel: " << why << "; the drawing is kept in " << copy.path << '\n';
}

// -o at the end of the run, unless the user chose not to save or the last save went there with
// nothing changed since. When it cannot be written a terminal asks for another name; otherwise,
// or when the user gives up, the drawing goes to a recovery copy. True when it was written.
bool writeDrawingOutput(HostDocument& doc, const std::string& path, bool terminal)
{
    if (doc.changesDiscarded()
        || (!doc.isModified() && !doc.lastSavedTo().empty() && sameFile(utf8(doc.lastSavedTo()), path)))
        return true;
    std::string error = vantrel::saveDocument(doc, wide(path));
    while (!error.empty()) {
        std::cerr << error << '\n';
        if (!terminal)
            break;
        OdString typed;
        InputResult r = doc.editor().getKeyword(L"Save the drawing to another file <keep a recovery copy instead>", L"",
                                                kAcceptText, &typed);
        const std::wstring name(vantrel::InputSyntax::trim(typed.c_str()));
        if (r != kInputText || name.empty())
            break;
        error = vantrel::saveDocument(doc, name);
        if (error.empty())
            doc.editor().printMessage(L"\nSaved %s", name);
    }
    if (error.empty())
        return true;
    keepRecoveryCopy(doc, "the drawing could not be saved", true);
    return false;
}

const char* const kBanner
    = "vantrel " VANTREL_VERSION ": HELP lists the commands and HELP NAME describes one; Esc cancels; QUIT or "
      "Ctrl-D leaves.\n";

// Settings given on the command line (--set), which are not part of the drawing's undo history.
void applyAssignments(HostApplication& app, OdDbDatabase& db, const std::vector<std::string>& assignments)
{
    for (const std::string& assignment : assignments) {
        db.disableUndoRecording(true);
        try {
            app.sysVars().applyAssignment(OdString::fromUtf8(assignment), &db);
        } catch (const OdError& e) {
            db.disableUndoRecording(false);
            throw UserError{"--set " + assignment + ": " + e.what()};
        }
        db.disableUndoRecording(false);
    }
}

// The outputs asked for; false when any could not be written (each failure is told, and keeps
// none of the others from being written).
bool writeOutputs(const Options& opt, HostDocument& doc, OdDbDatabase& db, bool terminal,
                  const std::optional<vantrel::DialogPictureWriter>& pictures)
{
    auto report = [](const std::string& error) {
        if (error.empty())
            return false;
        std::cerr << error << '\n';
        return true;
    };
    bool failed = pictures && report(pictures->firstError());
    if (!opt.dxfOut.empty() && !writeDrawingOutput(doc, opt.dxfOut, terminal))
        failed = true;
    if (!opt.svgOut.empty()) {
        if (report(vantrel::writeSvg(db, opt.svgOut, doc.transients())))
            failed = true;
        else if (!vantrel::fontProblem().empty())
            std::cerr << "vantrel: " << opt.svgOut << ": " << vantrel::fontProblem() << '\n';
    }
    if (!opt.jsonOut.empty() && report(vantrel::writeFileAtomically(opt.jsonOut, [&](vantrel::TextOutput& out) {
            vantrel::writeJson(db, out);
        })))
        failed = true;
    return !failed;
}

Ending run(const Options& opt)
{
    // Nothing is read or run before every output is known to be writable.
    for (const std::string& output : {opt.dxfOut, opt.svgOut, opt.jsonOut})
        if (!output.empty())
            if (std::string why = unusableOutput(output); !why.empty())
                throw UserError{why};

    const bool terminal = !opt.batch && opt.script.empty() && ::isatty(STDIN_FILENO);
    std::optional<std::string> script;
    std::wstring scriptName;
    if (!opt.script.empty()) {
        script = readScript(opt.script);
        scriptName = wide(opt.script);
    } else if (!opt.batch && !terminal) {
        script = std::string((std::istreambuf_iterator<char>(std::cin)), std::istreambuf_iterator<char>());
        scriptName = L"stdin";
    }
    // A conversion (no script, or an empty one) runs no command line at all.
    const bool commandLine = terminal || (script && !script->empty());
    ShellSignals::install(terminal);

    OdDbDatabasePtr db = openDrawing(opt.drawing, opt.recover);

    const std::string profilePath = opt.profile.empty() ? vantrel::TomlProfile::defaultPath() : opt.profile;
    vantrel::TomlProfile profile(profilePath);
    if (!profile.loadError().empty())
        std::cerr << "vantrel: the profile is not used: " << profile.loadError() << '\n';

    vantrel::Transcript transcript([terminal](std::string_view text) {
        std::cout << text;
        if (terminal)
            std::cout.flush();
    });
    // At a terminal the line editor shows the prompt and the typed answer.
    transcript.setShowPrompts(!terminal);
    std::unique_ptr<LineEditInputSource> lineEditor;
    std::unique_ptr<vantrel::ScriptInputSource> scriptSource;
    std::unique_ptr<StoppableSource> stoppable;
    vantrel::InputSource* source = nullptr;
    if (terminal) {
        // What the terminal sends and shows is in its locale's character set.
        std::setlocale(LC_CTYPE, "");
        lineEditor = std::make_unique<LineEditInputSource>(vantrel::CommandRegistry::global(), historyFile(profilePath),
                                                           transcript);
        source = lineEditor.get();
    } else {
        scriptSource = std::make_unique<vantrel::ScriptInputSource>(script.value_or(""), scriptName);
        stoppable = std::make_unique<StoppableSource>(*scriptSource);
        source = stoppable.get();
    }

    HostApplication app(profile, *source, transcript);
    for (const std::string& warning : profile.warnings())
        std::cerr << "vantrel: " << warning << '\n';
    for (const std::string& problem : app.sysVars().profileProblems())
        std::cerr << "vantrel: " << profilePath << ": " << problem << '\n';
    HostDocument& doc = app.openDocument(db);
    doc.setFileName(wide(opt.dxfOut.empty() ? opt.drawing : opt.dxfOut));

    applyAssignments(app, *db, opt.assignments);

    if (std::string error = vantrel::loadCommandModule(); !error.empty())
        throw UserError{error};
    for (const std::string& plugin : opt.plugins)
        if (std::string error = vantrel::loadModule(plugin, "--plugin"); !error.empty())
            throw UserError{error};

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

    // What the command line changes from here on is what leaving asks about.
    doc.markUnmodified();
    if (terminal) {
        transcript.message(wide(kBanner));
        app.setAskBeforeLeaving(true);
    }
    if (commandLine)
        app.runCommandLoop();
    transcript.finish();
    std::cout.flush();

    if (int signal = ShellSignals::stopSignal()) {
        keepRecoveryCopy(doc, std::string("stopped by SIG") + sigabbrev_np(signal), false);
        return {kUserError, signal};
    }
    if (lineEditor && lineEditor->terminalLost()) {
        keepRecoveryCopy(doc, "the terminal is gone", false);
        return {kUserError, 0};
    }

    const bool written = writeOutputs(opt, doc, *db, terminal, pictures);
    leaveToTheSystem(db);
    return {written ? kDone : kUserError, 0};
}

int shellMain(int argc, char** argv)
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
    app.add_option("--dlg-svg", opt.dialogSvgFolder,
                   "write a picture of each state of each dialog shown into a folder");
    app.add_option("--profile", opt.profile, "settings file (default: $XDG_CONFIG_HOME/vantrel/profile.toml)");
    app.add_option("--set", opt.assignments, "set a system variable before the script runs (NAME=VALUE)")
        ->allow_extra_args(false);
    app.add_option("--plugin", opt.plugins, "load a command module")->allow_extra_args(false);
    app.add_flag("--recover", opt.recover,
                 "load a drawing whose values break the rules anyway: each bad value or entity is repaired or dropped, "
                 "and a file that ends early keeps what was read; every repair is told");
    app.add_flag("--batch", opt.batch,
                 "never an interactive command line: only the script given with -s runs, standard input is not read");
    app.set_version_flag("--version", "vantrel " VANTREL_VERSION);
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        // Help and version are answers, not errors; CLI11 prints either kind.
        int code = app.exit(e);
        return code == 0 ? kDone : kUsage;
    }
    // An output given an empty name is refused like any output that cannot be written, not
    // taken for one not asked for.
    for (const char* name : {"-o", "--svg", "--json", "--dlg-svg"}) {
        const CLI::Option* option = app.get_option(name);
        if (option->count() > 0 && option->as<std::string>().empty()) {
            std::cerr << "vantrel: " << name << ": an output needs a file name\n";
            return kUserError;
        }
    }
    Ending ending;
    try {
        ending = run(opt);
    } catch (const UserError& e) {
        std::cerr << e.text << '\n';
        return kUserError;
    } catch (const OdError& e) {
        std::cerr << "vantrel: " << e.what() << '\n';
        return kUserError;
    }
    // The terminal and the history are put back in order by now; the caller learns of the signal
    // (one that came while the outputs were written too).
    if (int signal = ending.signal ? ending.signal : ShellSignals::stopSignal())
        ShellSignals::dieBy(signal);
    return ending.status;
}

} // namespace

// What nothing else caught (the system refusing memory or a file, say) ends the program with its
// message rather than an abort.
int main(int argc, char** argv)
{
    try {
        return shellMain(argc, argv);
    } catch (const std::exception& e) {
        std::cerr << "vantrel: " << e.what() << '\n';
        return kUserError;
    }
}
