// Routing of system variables to the drawing or the application, and the NAME=VALUE syntax of
// the command line.
#include <vantrel/host/SysVarService.h>

#include <charconv>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <fmt/format.h>

#include <vantrel/db/OdError.h>
#include <vantrel/db/SysVarStore.h>

namespace vantrel {

namespace {

constexpr double kUnbounded = 1e99; // the drawing table marks an open range with 1e100

std::string_view trim(std::string_view s)
{
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t'))
        s.remove_suffix(1);
    return s;
}

template <class T>
std::optional<T> parseNumber(std::string_view s)
{
    s = trim(s);
    if (s.size() > 1 && s.front() == '+')
        s.remove_prefix(1);
    T v{};
    auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
    if (ec != std::errc() || end != s.data() + s.size() || s.empty())
        return std::nullopt;
    return v;
}

std::string show(double v) { return fmt::format("{}", v); }

std::string drawingLegalValues(const SysVarDef& def)
{
    auto kind = OdResBuf::kindOfCode(def.groupCode);
    if (kind == OdResBuf::ValueKind::String)
        return "text";
    if (kind == OdResBuf::ValueKind::Point3d)
        return "a point X,Y or X,Y,Z";
    if (def.allowed.size() > 0) {
        std::string list;
        for (int a : def.allowed)
            list += (list.empty() ? "" : ", ") + std::to_string(a);
        return "one of " + list;
    }
    std::string what = kind == OdResBuf::ValueKind::Double ? "a number" : "a whole number";
    bool low = def.minValue > -kUnbounded, high = def.maxValue < kUnbounded;
    if (low && high)
        return what + " between " + show(def.minValue) + " and " + show(def.maxValue);
    if (low)
        return what + " of at least " + show(def.minValue);
    if (high)
        return what + " of at most " + show(def.maxValue);
    return what;
}

[[noreturn]] void badValue(const std::string& name, std::string_view text, const std::string& expected)
{
    throw OdError(eInvalidSysVarValue, name + ": \"" + std::string(text) + "\" is not valid; must be " + expected);
}

OdResBufPtr parsePoint(std::string_view text)
{
    std::vector<double> coords;
    std::size_t start = 0;
    for (;;) {
        std::size_t comma = text.find(',', start);
        auto v = parseNumber<double>(text.substr(start, comma == std::string_view::npos ? comma : comma - start));
        if (!v)
            return nullptr;
        coords.push_back(*v);
        if (comma == std::string_view::npos)
            break;
        start = comma + 1;
    }
    if (coords.size() < 2 || coords.size() > 3)
        return nullptr;
    return OdResBuf::newRb(10, OdGePoint3d(coords[0], coords[1], coords.size() == 3 ? coords[2] : 0.0));
}

// The text as a value of the drawing variable def, or nullptr when it is not one.
OdResBufPtr parseDrawingValue(const SysVarDef& def, std::string_view text)
{
    switch (OdResBuf::kindOfCode(def.groupCode)) {
    case OdResBuf::ValueKind::String: return OdResBuf::newRb(def.groupCode, OdString::fromUtf8(text));
    case OdResBuf::ValueKind::Point3d: {
        OdResBufPtr p = parsePoint(text);
        if (p)
            p->setRestype(def.groupCode);
        return p;
    }
    case OdResBuf::ValueKind::Double:
        if (auto v = parseNumber<double>(text))
            return OdResBuf::newRb(def.groupCode, *v);
        return nullptr;
    case OdResBuf::ValueKind::Int16:
    case OdResBuf::ValueKind::Int32:
    case OdResBuf::ValueKind::Bool:
        if (auto v = parseNumber<std::int32_t>(text))
            return OdResBuf::newRb(def.groupCode, *v);
        return nullptr;
    default: return nullptr;
    }
}

} // namespace

OdResBufPtr SysVarService::getSysVar(const OdString& name, OdDbDatabase* db) const
{
    if (AppSysVarStore::find(name))
        return m_app.get(name);
    if (!db) {
        if (SysVarStore::find(name))
            throw OdError(eNullObjectPointer, name.toUtf8() + " is a variable of the drawing and no drawing is open");
        throw OdError(eUnknownSysVar, "unknown system variable " + name.toUtf8());
    }
    return db->getSysVar(name);
}

void SysVarService::setSysVar(const OdString& name, const OdResBuf* value, OdDbDatabase* db)
{
    if (!value)
        throw OdError(eNullObjectPointer, "no value given for " + name.toUtf8());
    if (AppSysVarStore::find(name)) {
        m_app.set(name, *value);
        return;
    }
    if (!db) {
        if (SysVarStore::find(name))
            throw OdError(eNullObjectPointer, name.toUtf8() + " is a variable of the drawing and no drawing is open");
        throw OdError(eUnknownSysVar, "unknown system variable " + name.toUtf8());
    }
    db->setSysVar(name, value);
}

void SysVarService::applyAssignment(const OdString& assignment, OdDbDatabase* db)
{
    std::string text = assignment.toUtf8();
    std::size_t eq = text.find('=');
    std::string_view nameText = trim(std::string_view(text).substr(0, eq));
    if (eq == std::string::npos || nameText.empty())
        throw OdError(eInvalidInput, "expected NAME=VALUE, got \"" + text + "\"");
    std::string_view valueText = trim(std::string_view(text).substr(eq + 1));
    OdString name = OdString::fromUtf8(nameText);
    std::string shownName = OdString(name).makeUpper().toUtf8();

    OdResBufPtr value;
    if (const AppSysVarDef* app = AppSysVarStore::find(name)) {
        auto v = parseNumber<std::int32_t>(valueText);
        if (!v)
            badValue(shownName, valueText, "a whole number " + AppSysVarStore::legalValues(*app));
        value = OdResBuf::newRb(app->groupCode, *v);
    } else if (const SysVarDef* def = SysVarStore::find(name)) {
        value = parseDrawingValue(*def, valueText);
        if (!value)
            badValue(shownName, valueText, drawingLegalValues(*def));
    } else if (db && db->hasSysVar(name)) {
        throw OdError(eInvalidInput, shownName + " cannot be set by NAME=VALUE");
    } else {
        throw OdError(eUnknownSysVar, "unknown system variable " + shownName);
    }
    setSysVar(name, value.get(), db);
}

} // namespace vantrel
