// The persistent 64-bit handle of a database object, written in DXF as upper-case hex.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include <vantrel/db/OdDbExport.h>

class VANTREL_DB_EXPORT OdDbHandle {
public:
    OdDbHandle() = default;
    constexpr OdDbHandle(std::uint64_t v) : m_v(v) {}

    std::uint64_t value() const { return m_v; }
    bool isNull() const { return m_v == 0; }
    std::string ascii() const;
    // Parses hex text; false (and the handle unchanged) when it is not 1-16 hex digits.
    bool fromAscii(std::string_view text);

    friend auto operator<=>(OdDbHandle, OdDbHandle) = default;
    OdDbHandle& operator++()
    {
        ++m_v;
        return *this;
    }

private:
    std::uint64_t m_v = 0;
};

template <>
struct std::hash<OdDbHandle> {
    std::size_t operator()(OdDbHandle h) const noexcept { return std::hash<std::uint64_t>()(h.value()); }
};
