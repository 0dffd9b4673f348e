// The requests of the command line: each one says what a typed line or a picked point means to
// it, and the input engine runs it. Values are stored only with a kInputValue answer.
#include <vantrel/host/HostEditor.h>

#include <cmath>
#include <numbers>
#include <optional>
#include <type_traits>

#include <fmt/args.h>
#include <fmt/printf.h>
#include <fmt/xchar.h>

#include <vantrel/host/InputSyntax.h>
#include <vantrel/host/KeywordList.h>
#include <vantrel/host/Transcript.h>

using vantrel::InputEngine;
using vantrel::InputSyntax;
using vantrel::KeywordList;
using vantrel::UserCoordinateSystem;

namespace {

constexpr const wchar_t* kNoPointHere = L"A point is not accepted here.";

KeywordList keywordsOf(const wchar_t* keywords) { return keywords ? KeywordList::parse(keywords) : KeywordList(); }

void store(OdString* text, std::wstring_view value)
{
    if (text)
        *text = OdString(value);
}

// The keyword a line chooses, as an answer; nothing when it chooses none.
std::optional<InputEngine::Reply> keywordReply(const KeywordList& list, std::wstring_view typed, OdString* text)
{
    const KeywordList::Keyword* k = list.match(typed);
    if (!k)
        return std::nullopt;
    store(text, k->text);
    return InputEngine::Reply::of(k->result);
}

constexpr const wchar_t* kBeyondLimit = L"Numbers must lie between -1e100 and 1e100.";
constexpr const wchar_t* kBeyondIntegerRange = L"Integers must lie between -2147483648 and 2147483647.";
static_assert(InputSyntax::kLargest == 1e100, "kBeyondLimit names the limit");

// The refusal of a typed text: the limit when only a number beyond it stood in the way.
InputEngine::Reply refuse(const KeywordList& list, std::wstring_view typed, const wchar_t* alone,
                          const wchar_t* withKeywords)
{
    if (InputSyntax::exceedsLimit(typed))
        return InputEngine::Reply::refuse(kBeyondLimit);
    return InputEngine::Reply::refuse(list.empty() ? alone : withKeywords);
}

// The direction in the XY plane, from 0 up to a full turn.
double directionAngle(const OdGePoint3d& from, const OdGePoint3d& to)
{
    double a = std::atan2(to.y - from.y, to.x - from.x);
    return a < 0.0 ? a + 2.0 * std::numbers::pi : a;
}

} // namespace

std::wstring HostEditor::promptText(const wchar_t* prompt, const wchar_t* keywords)
{
    std::wstring text = prompt ? std::wstring(prompt) : std::wstring();
    if (keywords)
        text = KeywordList::parse(keywords).fillPrompt(text);
    std::size_t start = text.find_first_not_of(L"\r\n");
    text.erase(0, start == std::wstring::npos ? text.size() : start);
    while (!text.empty() && (text.back() == L' ' || text.back() == L'\t'))
        text.pop_back();
    if (text.empty())
        return text;
    if (text.back() != L':' && text.back() != L'?')
        text.push_back(L':');
    text.push_back(L' ');
    return text;
}

InputResult HostEditor::getPoint(const OdGePoint3d* basePoint, OdGePoint3d& point, const wchar_t* prompt,
                                 const wchar_t* keywords, InputFlags flags, OdString* text, HostEdInputTracker* tracker)
{
    KeywordList list = keywordsOf(keywords);
    auto accept = [&](const OdGePoint3d& p) {
        point = p;
        m_engine.setLastPoint(p);
        return InputEngine::Reply::of(kInputValue);
    };
    InputEngine::Request request;
    request.prompt = promptText(prompt, keywords);
    request.basePoint = basePoint;
    request.onUcsPlane = true;
    request.flags = flags;
    request.tracker = tracker;
    request.onText = [&](std::wstring_view typed) {
        if (auto p = m_engine.ucs().typedPoint(typed, basePoint ? *basePoint : m_engine.lastPoint())) {
            store(text, InputSyntax::trim(typed));
            return accept(*p);
        }
        if (auto reply = keywordReply(list, typed, text))
            return *reply;
        return refuse(list, typed, L"Invalid point.", L"Point or option keyword required.");
    };
    request.onPoint = [&](const OdGePoint3d& p) {
        store(text, L"");
        return accept(p);
    };
    return m_engine.run(request);
}

InputResult HostEditor::getKeyword(const wchar_t* prompt, const wchar_t* keywords, InputFlags flags, OdString* text,
                                   HostEdInputTracker* tracker)
{
    KeywordList list = keywordsOf(keywords);
    InputEngine::Request request;
    request.prompt = promptText(prompt, keywords);
    request.freeText = (flags & kAcceptText) && text;
    request.onUcsPlane = true;
    request.flags = flags;
    request.tracker = tracker;
    request.refusal = kNoPointHere;
    request.onText = [&](std::wstring_view typed) {
        if (auto reply = keywordReply(list, typed, text))
            return *reply;
        if (request.freeText) {
            store(text, (flags & kTextAsTyped) ? typed : InputSyntax::trim(typed));
            return InputEngine::Reply::of(kInputText);
        }
        return InputEngine::Reply::refuse(L"Invalid option keyword.");
    };
    return m_engine.run(request);
}

InputResult HostEditor::secondPoint(const OdGePoint3d& first, OdGePoint3d& second)
{
    InputEngine::Request request;
    request.prompt = promptText(L"Specify second point", nullptr);
    request.basePoint = &first;
    request.onUcsPlane = true;
    request.flags = kRubberBand;
    auto accept = [&](const OdGePoint3d& p) {
        second = p;
        m_engine.setLastPoint(p);
        return InputEngine::Reply::of(kInputValue);
    };
    request.onText = [&](std::wstring_view typed) {
        if (auto p = m_engine.ucs().typedPoint(typed, first))
            return accept(*p);
        return refuse(KeywordList(), typed, L"Invalid point.", nullptr);
    };
    request.onPoint = accept;
    return m_engine.run(request);
}

InputResult HostEditor::getMeasured(const OdGePoint3d* basePoint, double& value, const wchar_t* prompt,
                                    const wchar_t* keywords, InputFlags flags, OdString* text,
                                    HostEdInputTracker* tracker, const Measure& measure)
{
    KeywordList list = keywordsOf(keywords);
    // A point is measured from the base point, or from itself to a second point.
    auto fromPoint = [&](const OdGePoint3d& p) {
        m_engine.setLastPoint(p);
        OdGePoint3d from = basePoint ? *basePoint : p;
        OdGePoint3d to = p;
        if (!basePoint) {
            InputResult second = secondPoint(from, to);
            if (second != kInputValue)
                return InputEngine::Reply::of(second);
        }
        // Measured in the UCS: a direction is an angle in its XY plane from its X axis.
        const UserCoordinateSystem& ucs = m_engine.ucs();
        std::optional<double> measured = measure.between(ucs.fromWorld(from), ucs.fromWorld(to));
        if (!measured)
            return InputEngine::Reply::refuse(measure.samePoints);
        value = *measured;
        return InputEngine::Reply::of(kInputValue);
    };
    InputEngine::Request request;
    request.prompt = promptText(prompt, keywords);
    request.basePoint = basePoint;
    request.onUcsPlane = true;
    request.flags = flags;
    request.tracker = tracker;
    request.onText = [&](std::wstring_view typed) {
        if (auto typedValue = measure.parse(typed)) {
            store(text, InputSyntax::trim(typed));
            value = *typedValue;
            return InputEngine::Reply::of(kInputValue);
        }
        if (auto p = m_engine.ucs().typedPoint(typed, basePoint ? *basePoint : m_engine.lastPoint())) {
            store(text, InputSyntax::trim(typed));
            return fromPoint(*p);
        }
        if (auto reply = keywordReply(list, typed, text))
            return *reply;
        return refuse(list, typed, measure.refusal, measure.refusalWithKeywords);
    };
    request.onPoint = fromPoint;
    return m_engine.run(request);
}

InputResult HostEditor::getAngle(const OdGePoint3d* basePoint, double& angle, const wchar_t* prompt,
                                 const wchar_t* keywords, InputFlags flags, OdString* text, HostEdInputTracker* tracker)
{
    static const Measure direction{InputSyntax::parseAngle,
                                   [](const OdGePoint3d& from, const OdGePoint3d& to) -> std::optional<double> {
                                       if (std::hypot(to.x - from.x, to.y - from.y) == 0.0)
                                           return std::nullopt;
                                       return directionAngle(from, to);
                                   },
                                   L"The two points of an angle must differ.", L"Requires an angle or a point.",
                                   L"Requires an angle, a point or option keyword."};
    return getMeasured(basePoint, angle, prompt, keywords, flags, text, tracker, direction);
}

InputResult HostEditor::getDistance(const OdGePoint3d* basePoint, double& distance, const wchar_t* prompt,
                                    const wchar_t* keywords, InputFlags flags, OdString* text,
                                    HostEdInputTracker* tracker)
{
    static const Measure length{
        InputSyntax::parseNumber,
        [](const OdGePoint3d& from, const OdGePoint3d& to) -> std::optional<double> { return from.distanceTo(to); },
        L"", L"Requires a distance or a point.", L"Requires a distance, a point or option keyword."};
    return getMeasured(basePoint, distance, prompt, keywords, flags, text, tracker, length);
}

namespace {

// A number typed at the command line (a point is refused), or a keyword of the list.
template <class T>
InputResult typedNumber(InputEngine& engine, T& value, const wchar_t* prompt, const wchar_t* keywords, InputFlags flags,
                        OdString* text, HostEdInputTracker* tracker, std::optional<T> (*parse)(std::wstring_view),
                        const wchar_t* refusal, const wchar_t* refusalWithKeywords)
{
    KeywordList list = keywordsOf(keywords);
    InputEngine::Request request;
    request.prompt = HostEditor::promptText(prompt, keywords);
    request.onUcsPlane = true;
    request.flags = flags;
    request.tracker = tracker;
    request.refusal = kNoPointHere;
    request.onText = [&](std::wstring_view typed) {
        if (auto v = parse(typed)) {
            store(text, InputSyntax::trim(typed));
            value = *v;
            return InputEngine::Reply::of(kInputValue);
        }
        if (auto reply = keywordReply(list, typed, text))
            return *reply;
        if (std::is_integral_v<T> && InputSyntax::exceedsIntegerRange(typed))
            return InputEngine::Reply::refuse(kBeyondIntegerRange);
        return refuse(list, typed, refusal, refusalWithKeywords);
    };
    return engine.run(request);
}

} // namespace

InputResult HostEditor::getReal(double& value, const wchar_t* prompt, const wchar_t* keywords, InputFlags flags,
                                OdString* text, HostEdInputTracker* tracker)
{
    return typedNumber(m_engine, value, prompt, keywords, flags, text, tracker, InputSyntax::parseNumber,
                       L"Requires a number.", L"Requires a number or option keyword.");
}

InputResult HostEditor::getInteger(std::int32_t& value, const wchar_t* prompt, const wchar_t* keywords,
                                   InputFlags flags, OdString* text, HostEdInputTracker* tracker)
{
    return typedNumber(m_engine, value, prompt, keywords, flags, text, tracker, InputSyntax::parseInteger,
                       L"Requires an integer.", L"Requires an integer or option keyword.");
}

void HostEditor::printFormatted(const wchar_t* format, std::span<const vantrel::MessageArg> values)
{
    std::wstring_view fmtText = format ? format : L"";
    fmt::dynamic_format_arg_store<fmt::wprintf_context> store;
    for (const auto& v : values)
        std::visit([&](const auto& value) { store.push_back(value); }, v.value());
    std::wstring text;
    try {
        text = fmt::vsprintf(fmtText, fmt::basic_format_args<fmt::wprintf_context>(store));
    } catch (const fmt::format_error& e) {
        // A format that does not fit its values is a fault of the caller's text; show it as it
        // is, with the reason, rather than lose the message.
        text = std::wstring(fmtText) + L" [format error: " + OdString::fromUtf8(e.what()).str() + L"]";
    }
    m_engine.transcript().message(text);
}
