// Typed access to CHxVariant values, with the lossless conversions settings files need
// (a TOML writer may store 2.0 as 2, or a flag as 0/1).
#include <vantrel/hxicore/CHxVariant.h>

#include <cmath>
#include <limits>

const char* CHxVariant::typeName(Type type)
{
    switch (type) {
    case Type::Empty: return "empty";
    case Type::Int32: return "integer";
    case Type::Double: return "real";
    case Type::Bool: return "bool";
    case Type::String: return "string";
    }
    return "unknown";
}

std::optional<std::int32_t> CHxVariant::asInt32() const
{
    if (const auto* i = std::get_if<std::int32_t>(&m_v))
        return *i;
    if (const auto* d = std::get_if<double>(&m_v)) {
        if (std::isfinite(*d) && std::trunc(*d) == *d && *d >= std::numeric_limits<std::int32_t>::min()
            && *d <= std::numeric_limits<std::int32_t>::max())
            return static_cast<std::int32_t>(*d);
    }
    return std::nullopt;
}

std::optional<double> CHxVariant::asDouble() const
{
    if (const auto* d = std::get_if<double>(&m_v))
        return *d;
    if (const auto* i = std::get_if<std::int32_t>(&m_v))
        return static_cast<double>(*i);
    return std::nullopt;
}

std::optional<bool> CHxVariant::asBool() const
{
    if (const auto* b = std::get_if<bool>(&m_v))
        return *b;
    if (const auto* i = std::get_if<std::int32_t>(&m_v); i && (*i == 0 || *i == 1))
        return *i == 1;
    return std::nullopt;
}

std::optional<OdString> CHxVariant::asString() const
{
    if (const auto* s = std::get_if<std::wstring>(&m_v))
        return OdString(*s);
    return std::nullopt;
}
