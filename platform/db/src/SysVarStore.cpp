// The declared table of the drawing's system variables, with checked reads and writes.
#include <vantrel/db/OdError.h>
#include <vantrel/db/SysVarStore.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <string_view>

namespace vantrel {

namespace {
constexpr double kBig = 1e100;
constexpr double kI16 = 32767;

// name, group code, default, default text, min, max, in header, allowed values
const SysVarDef kDefs[] = {
    {"ANGBASE", 50, 0.0, "", -kBig, kBig, true},
    {"ANGDIR", 70, 0, "", 0, 1, true},
    {"ATTMODE", 70, 1, "", 0, 2, true},
    {"AUNITS", 70, 0, "", 0, 4, true},
    {"AUPREC", 70, 0, "", 0, 8, true},
    {"CECOLOR", 62, 256, "", 0, 256, true},
    {"CELTSCALE", 40, 1.0, "", 1e-12, kBig, true},
    {"CELTYPE", 6, 0, "ByLayer", 0, 0, true},
    {"CELWEIGHT", 370, -1, "", -3, 211, true, {-3, -2, -1, 0,  5,  9,  13,  15,  18,  20,  25,  30,  35, 40,
                                               50, 53, 60, 70, 80, 90, 100, 106, 120, 140, 158, 200, 211}},
    {"CLAYER", 8, 0, "0", 0, 0, true},
    {"CVPORT", 70, 2, "", 1, kI16, false},
    {"DIMSCALE", 40, 1.0, "", 0.0, kBig, true},
    {"DWGCODEPAGE", 3, 0, "ANSI_1252", 0, 0, true},
    {"EXTMAX", 10, 0, "", -kBig, kBig, true},
    {"EXTMIN", 10, 0, "", -kBig, kBig, true},
    {"FILLMODE", 70, 1, "", 0, 1, true},
    {"INSBASE", 10, 0, "", -kBig, kBig, true},
    {"INSUNITS", 70, 4, "", 0, 24, true},
    {"LTSCALE", 40, 1.0, "", 1e-12, kBig, true},
    {"LUNITS", 70, 2, "", 1, 5, true},
    {"LUPREC", 70, 4, "", 0, 8, true},
    {"LWDISPLAY", 290, 0, "", 0, 1, true},
    {"MEASUREMENT", 70, 1, "", 0, 1, true},
    {"MIRRTEXT", 70, 0, "", 0, 1, true},
    {"ORTHOMODE", 70, 0, "", 0, 1, true},
    {"PDMODE", 70, 0, "", -kI16, kI16, true},
    {"PDSIZE", 40, 0.0, "", -kBig, kBig, true},
    {"PEXTMAX", 10, 0, "", -kBig, kBig, true},
    {"PEXTMIN", 10, 0, "", -kBig, kBig, true},
    {"PLINEGEN", 70, 0, "", 0, 1, true},
    {"PLINEWID", 40, 0.0, "", 0.0, kBig, true},
    {"PSLTSCALE", 70, 1, "", 0, 1, true},
    {"SPLINESEGS", 70, 8, "", -kI16, kI16, true},
    {"SPLINETYPE", 70, 6, "", 5, 6, true, {5, 6}},
    {"SURFTAB1", 70, 6, "", 2, 32766, true},
    {"SURFTAB2", 70, 6, "", 2, 32766, true},
    {"SURFTYPE", 70, 6, "", 5, 8, true, {5, 6, 8}},
    {"SURFU", 70, 6, "", 0, 200, true},
    {"SURFV", 70, 6, "", 0, 200, true},
    {"TEXTSIZE", 40, 2.5, "", 1e-12, kBig, true},
    {"TEXTSTYLE", 7, 0, "Standard", 0, 0, true},
    {"TILEMODE", 70, 1, "", 0, 1, true},
};

bool isIntegerCode(int code)
{
    auto k = OdResBuf::kindOfCode(code);
    return k == OdResBuf::ValueKind::Int16 || k == OdResBuf::ValueKind::Int32 || k == OdResBuf::ValueKind::Bool;
}

OdResBufPtr defaultValue(const SysVarDef& d)
{
    switch (OdResBuf::kindOfCode(d.groupCode)) {
    case OdResBuf::ValueKind::String: return OdResBuf::newRb(d.groupCode, OdString::fromUtf8(d.defaultText));
    case OdResBuf::ValueKind::Point3d: return OdResBuf::newRb(d.groupCode, OdGePoint3d());
    case OdResBuf::ValueKind::Double: return OdResBuf::newRb(d.groupCode, d.defaultValue);
    default: return OdResBuf::newRb(d.groupCode, static_cast<std::int32_t>(d.defaultValue));
    }
}

// The shortest text that reads back as v: bounds such as 1e-12 and 1e+100 as they are declared,
// not as six decimals (0.000000) or a hundred digits.
std::string fmtNumber(double v)
{
    char text[32];
    const auto [end, ec] = std::to_chars(text, text + sizeof text, v);
    return std::string(text, ec == std::errc() ? end : text);
}

[[noreturn]] void invalid(const SysVarDef& d, const std::string& why)
{
    throw OdError(eInvalidSysVarValue, std::string(d.name) + ": " + why);
}
} // namespace

SysVarStore::SysVarStore()
{
    for (const auto& d : kDefs)
        m_values.push_back(defaultValue(d));
}

std::span<const SysVarDef> SysVarStore::definitions() { return kDefs; }

namespace {

// Compares a table name (upper-case ASCII) with a name as given, ignoring the case of its ASCII
// letters: below 0, 0 or above 0. Read on every access, so it makes no copies.
int compareName(const char* tableName, std::wstring_view given)
{
    std::size_t i = 0;
    for (; tableName[i] != '\0' && i < given.size(); ++i) {
        wchar_t g = given[i];
        if (g >= L'a' && g <= L'z')
            g = static_cast<wchar_t>(g - L'a' + L'A');
        const auto t = static_cast<wchar_t>(static_cast<unsigned char>(tableName[i]));
        if (t != g)
            return t < g ? -1 : 1;
    }
    if (tableName[i] == '\0')
        return i == given.size() ? 0 : -1;
    return 1;
}

} // namespace

const SysVarDef* SysVarStore::find(const OdString& name)
{
    std::wstring_view key(name.c_str(), static_cast<std::size_t>(name.getLength()));
    if (!key.empty() && key.front() == L'$')
        key.remove_prefix(1);
    auto it = std::lower_bound(std::begin(kDefs), std::end(kDefs), key,
                               [](const SysVarDef& d, std::wstring_view k) { return compareName(d.name, k) < 0; });
    return it != std::end(kDefs) && compareName(it->name, key) == 0 ? &*it : nullptr;
}

OdResBufPtr SysVarStore::get(const OdString& name) const
{
    const SysVarDef* d = find(name);
    if (!d)
        throw OdError(eUnknownSysVar, "unknown system variable " + name.toUtf8());
    const OdResBufPtr& v = m_values[static_cast<std::size_t>(d - kDefs)];
    OdResBufPtr copy = OdResBuf::newRb(v->restype());
    *copy = *v;
    return copy;
}

OdResBufPtr SysVarStore::set(const OdString& name, const OdResBuf& value)
{
    const SysVarDef* d = find(name);
    if (!d)
        throw OdError(eUnknownSysVar, "unknown system variable " + name.toUtf8());
    OdResBufPtr stored = OdResBuf::newRb(d->groupCode);
    auto kind = OdResBuf::kindOfCode(d->groupCode);
    auto valueKind = value.kind();
    bool numeric = valueKind == OdResBuf::ValueKind::Double || valueKind == OdResBuf::ValueKind::Int16
        || valueKind == OdResBuf::ValueKind::Int32 || valueKind == OdResBuf::ValueKind::Int64
        || valueKind == OdResBuf::ValueKind::Bool;
    if (kind == OdResBuf::ValueKind::String) {
        if (valueKind != OdResBuf::ValueKind::String)
            invalid(*d, "expects text");
        stored->setString(value.getString());
    } else if (kind == OdResBuf::ValueKind::Point3d) {
        if (valueKind != OdResBuf::ValueKind::Point3d)
            invalid(*d, "expects a point");
        const OdGePoint3d p = value.getPoint3d();
        if (!std::isfinite(p.x) || !std::isfinite(p.y) || !std::isfinite(p.z))
            invalid(*d, "expects finite coordinates");
        stored->setPoint3d(p);
    } else {
        if (!numeric)
            invalid(*d, "expects a number");
        double v = value.getDouble();
        if (!std::isfinite(v))
            invalid(*d, "expects a finite number");
        if (isIntegerCode(d->groupCode) && v != std::floor(v))
            invalid(*d, "expects a whole number");
        if (d->allowed.size() > 0) {
            if (std::find(d->allowed.begin(), d->allowed.end(), static_cast<int>(v)) == d->allowed.end()) {
                std::string list;
                for (int a : d->allowed)
                    list += (list.empty() ? "" : ", ") + std::to_string(a);
                invalid(*d, "must be one of " + list);
            }
        } else if (v < d->minValue || v > d->maxValue) {
            invalid(*d, "must be between " + fmtNumber(d->minValue) + " and " + fmtNumber(d->maxValue));
        }
        if (isIntegerCode(d->groupCode))
            stored->setInt32(static_cast<std::int32_t>(v));
        else
            stored->setDouble(v);
    }
    auto& slot = m_values[static_cast<std::size_t>(d - kDefs)];
    OdResBufPtr before = slot;
    slot = stored;
    return before;
}

void SysVarStore::setFromFile(const SysVarDef& def, OdResBufPtr value)
{
    m_values[static_cast<std::size_t>(&def - kDefs)] = std::move(value);
}

} // namespace vantrel
