// Runs random command scripts on a drawing opened from the samples: the host's and the module's
// commands, their keywords, numbers and points, cursor moves, clicks, dialog events, U and REDO,
// each line chosen by one byte of the input. After each run the drawing must save as a file that
// reads back without a repair, undoing everything must give back the drawing it started from, and
// no step (from one answer to the next) may run longer than a bound. Sanitizer reports end the run
// as findings of their own.
//
// Files the commands write (SAVE) go to a folder of the fuzzer's own: no word of the script holds
// a slash, so no name can lead out of it.
#include <dlfcn.h>
#include <unistd.h>

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include <vantrel/db/DxfFile.h>
#include <vantrel/db/OdString.h>
#include <vantrel/db/Template.h>
#include <vantrel/host/CommandRegistry.h>
#include <vantrel/host/HostApplication.h>
#include <vantrel/host/HostDocument.h>
#include <vantrel/host/InputSource.h>
#include <vantrel/host/ScriptInputSource.h>
#include <vantrel/host/TomlProfile.h>
#include <vantrel/host/Transcript.h>
#include <vantrel/host/host_exports.h>

// The command module finds the host through these, as it does in `vantrel`.
extern "C" __attribute__((visibility("default"))) void* GetMainDllInstance() { return GetMainDllInstanceEx(); }

extern "C" __attribute__((visibility("default"))) const wchar_t* GetMainDllNameW() { return kHostMainLibraryName; }

namespace {

namespace fs = std::filesystem;

// The longest a step may take, with the sanitizers' slowness allowed for.
constexpr std::chrono::seconds kStepBound{5};

[[noreturn]] void finding(const std::string& what)
{
    std::fprintf(stderr, "command_script_fuzz: %s\n", what.c_str());
    __builtin_trap();
}

struct Setup {
    std::vector<std::string> drawings; // the texts of the sample drawings, the template's first
    std::vector<std::string> words;    // what a line of the script can be
    fs::path folder;
};

const char* const kKeywords[] = {
    "C",           "U",
    "D",           "E",
    "W",           "M",
    "S",           "N",
    "L",           "A",
    "R",           "P",
    "X",           "Y",
    "3P",          "2P",
    "Close",       "Undo",
    "Diameter",    "Center",
    "Extents",     "Window",
    "Make",        "Set",
    "New",         "Lock",
    "Unlock",      "Color",
    "Intensity",   "Status",
    "Photometry",  "Shadow",
    "Attenuation", "filterColor",
    "eXit",        "Name",
    "Hotspot",     "Falloff",
    "Join",        "Width",
    "Edit",        "Fit",
    "Spline",      "Decurve",
    "Ltype",       "Reverse",
    "Open",        "Arc",
    "Object",      "Yes",
    "No",          "All",
    "Previous",    "Last",
    "Remove",      "Add",
    "Style",       "Rectangular",
    "Freehand",    "Calligraphy",
    "Normal",      "World",
    "Origin",      "Delete",
    "Restore",     "List",
    "On",          "Off",
    "Insert",      "Next",
    "Straighten",  "Tangent",
    "Vertex",      "Mesh",
    "Multiple",    "Type",
    "Web",         "Target",
    "Source",      "Lamp",
    "Kelvin",      "BYLAYER",
    "red",         "7",
    "RGB:1,2,3",   "HSL:10,50,50",
    "walls",       "Standard",
    "CONTINUOUS",  "PICKSTYLE",
    "CELWEIGHT",   "INSBASE",
    "HANDSEED",    "DIMSCALE",
    "TILEMODE",    "?",
    "*",           "",
};

const char* const kNumbers[] = {"0",   "1",     "-1",     "2.5", "10", "100", "0.001", "1e-6",
                                "1e6", "1e100", "-1e100", "45",  "90", "360", "-3",    "4.9e-324"};

const char* const kEvents[] = {"!cancel",
                               "!dlg ok",
                               "!dlg cancel",
                               "!dlg click 1",
                               "!dlg click 2",
                               "!dlg text 3 5",
                               "!dlg spin 4 +1",
                               "!dlg color red",
                               "!dlg select 5 Kelvin",
                               "!dlg focus 3",
                               "!view 0,0 100,100",
                               "U",
                               "REDO",
                               "U",
                               "REDO"};

Setup makeSetup()
{
    Setup s;
    s.folder = fs::temp_directory_path() / ("vantrel-command-fuzz-" + std::to_string(::getpid()));
    fs::create_directories(s.folder);
    fs::current_path(s.folder);

    if (!dlopen(VANTREL_COMMAND_MODULE, RTLD_NOW | RTLD_GLOBAL))
        finding(std::string("cannot load the command module: ") + dlerror());

    s.drawings.push_back(vantrel::dxfText(*vantrel::newDrawing()));
    for (const char* name : {"flange.dxf", "pedit.dxf", "pedit-join.dxf", "mesh.dxf", "ad.dxf"}) {
        std::ifstream in(fs::path(VANTREL_SAMPLES) / name, std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        s.drawings.push_back(text.str());
    }

    for (const std::wstring& name : vantrel::CommandRegistry::global().names())
        if (name != L"QUIT" && name != L"EXIT")
            s.words.push_back(OdString(name).toUtf8());
    for (const char* k : kKeywords)
        s.words.push_back(k);
    for (const char* e : kEvents)
        s.words.push_back(e);
    return s;
}

const Setup& setup()
{
    static const Setup s = makeSetup();
    return s;
}

// Reads the input a byte at a time.
class Bytes {
public:
    Bytes(const std::uint8_t* data, std::size_t size) : m_data(data), m_size(size) {}
    bool done() const { return m_at >= m_size; }
    std::uint8_t next() { return m_at < m_size ? m_data[m_at++] : 0; }

private:
    const std::uint8_t* m_data;
    std::size_t m_size;
    std::size_t m_at = 0;
};

std::string number(Bytes& in) { return kNumbers[in.next() % std::size(kNumbers)]; }

std::string point(Bytes& in)
{
    switch (in.next() % 4) {
    case 0: return number(in) + "," + number(in);
    case 1: return number(in) + "," + number(in) + "," + number(in);
    case 2: return "@" + number(in) + "," + number(in);
    default: return "@" + number(in) + "<" + number(in);
    }
}

// One line of the script: a word, a number, a point, or a cursor event at a point.
std::string line(Bytes& in, const Setup& s)
{
    const std::uint8_t kind = in.next();
    switch (kind % 8) {
    case 0: return number(in);
    case 1:
    case 2: return point(in);
    case 3: return "!move " + number(in) + "," + number(in);
    case 4: return "!click " + number(in) + "," + number(in);
    default: return s.words[(kind / 8 + 32u * in.next()) % s.words.size()];
    }
}

// The script's events, timed: each step from one answer to the next must end within the bound.
class TimedSource : public vantrel::InputSource {
public:
    explicit TimedSource(vantrel::InputSource& inner) : m_inner(inner), m_last(std::chrono::steady_clock::now()) {}
    vantrel::InputEvent next(const vantrel::InputPrompt& prompt) override
    {
        check();
        vantrel::InputEvent event = m_inner.next(prompt);
        m_last = std::chrono::steady_clock::now();
        return event;
    }
    void check() const
    {
        if (std::chrono::steady_clock::now() - m_last > kStepBound)
            finding("a step ran longer than " + std::to_string(kStepBound.count()) + " s");
    }

private:
    vantrel::InputSource& m_inner;
    std::chrono::steady_clock::time_point m_last;
};

// The drawing as saved, without the handle seed: undo never gives handles out twice.
std::string savedText(OdDbDatabase& db)
{
    static const std::regex seed("\\$HANDSEED\\n *5\\n[0-9A-F]+\\n");
    return std::regex_replace(vantrel::dxfText(db), seed, "$$HANDSEED\n5\n*\n");
}

// With COMMAND_FUZZ_KEEP set to a folder, a finding's script and the drawings it compares are
// written there (script.scr, before.dxf, after.dxf) to be read and replayed.
void keepForReading(const std::string& script, const std::string& before, const std::string& after)
{
    const char* folder = std::getenv("COMMAND_FUZZ_KEEP");
    if (!folder)
        return;
    std::ofstream(fs::path(folder) / "script.scr") << script;
    std::ofstream(fs::path(folder) / "before.dxf") << before;
    std::ofstream(fs::path(folder) / "after.dxf") << after;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const Setup& s = setup();
    Bytes in(data, size);
    const std::string& drawing = s.drawings[in.next() % s.drawings.size()];
    std::string script;
    for (int lines = 0; !in.done() && lines < 200; ++lines)
        script += line(in, s) + "\n";

    vantrel::DxfReadResult opened = vantrel::readDxfText(drawing);
    if (!opened.database)
        finding("a sample drawing does not open: " + opened.error);
    OdDbDatabasePtr db = opened.database;

    vantrel::TomlProfile profile((s.folder / "profile.toml").string());
    vantrel::ScriptInputSource scriptSource(script, L"fuzz.scr");
    TimedSource source(scriptSource);
    vantrel::Transcript transcript([](std::string_view) {});
    {
        HostApplication app(profile, source, transcript);
        app.openDocument(db);
        // Saved once first: a save gives records their handles and registers names once.
        db->disableUndoRecording(true);
        (void)vantrel::dxfText(*db);
        const std::string start = savedText(*db);
        db->disableUndoRecording(false);

        app.runCommandLoop();
        source.check();

        const std::string saved = vantrel::dxfText(*db);
        vantrel::DxfReadResult again = vantrel::readDxfText(saved);
        if (!again.database)
            finding("the drawing saved does not reopen: " + again.error);
        if (!again.repairs.empty())
            finding("the drawing saved reopens only repaired: " + again.repairs.front());

        // undo() answers false for a block that changed nothing (LIST's), so go on while
        // anything is left; every call takes at least one record off the log.
        while (db->hasUndo())
            (void)db->undo();
        if (const std::string undone = savedText(*db); undone != start) {
            keepForReading(script, start, undone);
            finding("undoing everything does not give back the drawing the script started from");
        }
    }
    return 0;
}
