// Feeds arbitrary text to the input syntax: the number, angle and point parsers, keyword lists
// and their matching, script lines, colour texts, and whole requests run on a script made of the
// input, read in the world system or in a UCS. None may crash, and what they answer must be sound.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include <vantrel/db/OdString.h>
#include <vantrel/host/HostEditor.h>
#include <vantrel/host/InputEngine.h>
#include <vantrel/host/InputSyntax.h>
#include <vantrel/host/KeywordList.h>
#include <vantrel/host/ScriptInputSource.h>
#include <vantrel/host/hostcolor.h>
#include <vantrel/host/Transcript.h>

namespace {

void check(bool condition)
{
    if (!condition)
        __builtin_trap();
}

bool finite(const OdGePoint3d& p) { return std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z); }

void parsers(std::wstring_view text)
{
    using vantrel::InputSyntax;
    if (auto v = InputSyntax::parseNumber(text))
        check(std::isfinite(*v));
    if (auto a = InputSyntax::parseAngle(text))
        check(std::isfinite(*a));
    (void)InputSyntax::parseInteger(text);
    if (auto p = InputSyntax::parsePoint(text, OdGePoint3d(1.0, -2.0, 3.0)))
        check(finite(*p));
    // Told the limit only what would be read but for it.
    if (InputSyntax::exceedsLimit(text))
        check(!InputSyntax::parseNumber(text) && !InputSyntax::parsePoint(text, OdGePoint3d()));
    (void)vantrel::ScriptInputSource::parseLine(text, L"fuzz");
    for (const std::wstring& colorText : {std::wstring(text), L"HSL:" + std::wstring(text)}) {
        OdCmColor color;
        if (hostCmParseColor(OdString(colorText), color) == eOk)
            check(!color.isByACI() || (color.colorIndex() >= 1 && color.colorIndex() <= 255));
    }
}

void keywords(std::wstring_view list, std::wstring_view typed)
{
    vantrel::KeywordList keywords = vantrel::KeywordList::parse(list);
    const auto* k = keywords.match(typed);
    if (k) {
        check(k >= keywords.keywords().data() && k < keywords.keywords().data() + keywords.keywords().size());
        check(k->result == kInputFirstKeyword + (k - keywords.keywords().data()));
    }
    (void)keywords.fillPrompt(typed);
    (void)HostEditor::promptText(std::wstring(typed).c_str(), std::wstring(list).c_str());
}

// Runs requests of every kind until the script made of the input has ended.
void requests(std::string_view script, const std::wstring& list)
{
    vantrel::ScriptInputSource source(script, L"fuzz");
    vantrel::Transcript transcript([](std::string_view) {});
    vantrel::InputEngine engine(source, transcript);
    // Every other input is read in a UCS tilted and moved far off.
    if (script.size() % 2 == 1)
        engine.ucs().set(OdGeMatrix3d().setCoordSystem({1e6, -3e5, 7}, OdGeVector3d(0.6, 0.8, 0.0),
                                                       OdGeVector3d(-0.48, 0.36, 0.8), OdGeVector3d(0.64, -0.48, 0.6)));
    HostEditor ed(engine);
    OdGePoint3d p;
    double v = 0.0;
    std::int32_t n = 0;
    OdString text;
    const OdGePoint3d base(0.0, 0.0, 0.0);
    for (int round = 0; !engine.inputEnded(); ++round) {
        InputResult r = kInputCancel;
        switch (round % 6) {
        case 0: r = ed.getPoint(round % 4 ? nullptr : &base, p, L"Point [%s]", list.c_str(), 12, &text); break;
        case 1: r = ed.getKeyword(L"Option [%s]", list.c_str(), round % 4 ? 7 : 4, &text); break;
        case 2: r = ed.getAngle(round % 4 ? nullptr : &base, v, L"Angle", list.c_str()); break;
        case 3: r = ed.getDistance(round % 4 ? nullptr : &base, v, L"Distance", list.c_str()); break;
        case 4: r = ed.getReal(v, L"Real", list.c_str()); break;
        case 5: r = ed.getInteger(n, L"Integer", list.c_str()); break;
        }
        check(r >= kInputCancel);
        if (r == kInputValue)
            check(finite(p) && std::isfinite(v));
        ed.printMessage(L"%s", text);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    std::wstring wide = OdString::fromUtf8(bytes).str();
    // The first line doubles as a keyword list, the rest as what is typed.
    std::size_t newline = wide.find(L'\n');
    std::wstring list = wide.substr(0, newline);
    std::wstring typed = newline == std::wstring::npos ? std::wstring() : wide.substr(newline + 1);
    parsers(wide);
    parsers(typed);
    keywords(list, typed);
    requests(bytes, list);
    return 0;
}
