// The application's system variables, declared once, checked on every write and on every read
// of a value that came from the profile file.
#include <vantrel/host/AppSysVarStore.h>

#include <algorithm>
#include <cmath>
#include <iterator>

#include <fmt/format.h>

#include <vantrel/db/OdError.h>

namespace vantrel {

namespace {

// name, group code, default, min, max; sorted by name for find().
const AppSysVarDef kDefs[] = {
    {"DELOBJ", 70, 1, -2, 3},          // keep or delete the source of a conversion; negative: ask
    {"PEDITACCEPT", 70, 0, 0, 1},      // PEdit converts a picked line or arc without asking
    {"PICKSTYLE", 70, 1, 0, 3},        // groups and associative hatches picked as a whole
    {"PLINECONVERTMODE", 70, 0, 0, 1}, // fitting mode when a spline becomes a polyline
    {"PLINETYPE", 70, 2, 0, 2},        // lightweight polylines for new and converted polylines
};

[[noreturn]] void unknown(const OdString& name)
{
    throw OdError(eUnknownSysVar, "unknown system variable " + name.toUtf8());
}

[[noreturn]] void invalid(const AppSysVarDef& def, const std::string& why)
{
    throw OdError(eInvalidSysVarValue,
                  std::string(def.name) + ": " + why + "; must be " + AppSysVarStore::legalValues(def));
}

bool isNumeric(OdResBuf::ValueKind k)
{
    using K = OdResBuf::ValueKind;
    return k == K::Int16 || k == K::Int32 || k == K::Int64 || k == K::Double || k == K::Bool;
}

std::string show(double v) { return fmt::format("{}", v); }

// The value as a legal whole number of def, or an error naming what was wrong; origin says
// where the value came from.
std::int32_t checked(const AppSysVarDef& def, double v, const std::string& origin)
{
    if (!std::isfinite(v) || v != std::floor(v))
        invalid(def, origin + show(v) + " is not a whole number");
    if (v < def.minValue || v > def.maxValue)
        invalid(def, origin + show(v) + " is out of range");
    return static_cast<std::int32_t>(v);
}

} // namespace

AppSysVarStore::AppSysVarStore(IProfile& profile) : m_section(profile.openSection(kSection)) {}

std::span<const AppSysVarDef> AppSysVarStore::definitions() { return kDefs; }

const AppSysVarDef* AppSysVarStore::find(const OdString& name)
{
    std::string key = OdString(name).makeUpper().toUtf8();
    auto it = std::lower_bound(std::begin(kDefs), std::end(kDefs), key,
                               [](const AppSysVarDef& d, const std::string& k) { return k.compare(d.name) > 0; });
    return it != std::end(kDefs) && key == it->name ? &*it : nullptr;
}

std::string AppSysVarStore::legalValues(const AppSysVarDef& def)
{
    return "between " + std::to_string(def.minValue) + " and " + std::to_string(def.maxValue);
}

// The profile's value of def: nothing when it has none, and the reason in why when it holds one
// that is not legal.
std::optional<std::int32_t> AppSysVarStore::profileValue(const AppSysVarDef& def, std::string* why) const
{
    CHxVariant stored = m_section.getValue(OdString::fromUtf8(def.name));
    if (stored.isEmpty())
        return std::nullopt;
    try {
        std::optional<double> v = stored.asDouble();
        if (!v)
            invalid(def, std::string("the profile holds a ") + CHxVariant::typeName(stored.type()) + " value");
        return checked(def, *v, "the profile's value ");
    } catch (const OdError& e) {
        if (why)
            *why = e.what();
        return std::nullopt;
    }
}

OdResBufPtr AppSysVarStore::get(const OdString& name) const
{
    const AppSysVarDef* def = find(name);
    if (!def)
        unknown(name);
    return OdResBuf::newRb(def->groupCode, profileValue(*def, nullptr).value_or(def->defaultValue));
}

std::vector<std::string> AppSysVarStore::profileProblems() const
{
    std::vector<std::string> problems;
    for (const AppSysVarDef& def : kDefs) {
        std::string why;
        if (!profileValue(def, &why) && !why.empty())
            problems.push_back(why + "; the default " + std::to_string(def.defaultValue) + " holds");
    }
    return problems;
}

void AppSysVarStore::set(const OdString& name, const OdResBuf& value)
{
    const AppSysVarDef* def = find(name);
    if (!def)
        unknown(name);
    if (!isNumeric(value.kind()))
        invalid(*def, "expects a whole number");
    std::int32_t v = checked(*def, value.getDouble(), "");
    m_section.setValue(OdString::fromUtf8(def->name), CHxVariant(v));
}

} // namespace vantrel
