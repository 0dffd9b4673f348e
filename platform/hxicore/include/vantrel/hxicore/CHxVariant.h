// A small variant for settings values (the profile stores and answers these): empty, 32-bit
// integer, double, bool or wide string.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <variant>

#include <vantrel/db/OdString.h>
#include <vantrel/hxicore/HxicoreExport.h>

class VANTREL_HXICORE_EXPORT CHxVariant {
public:
    enum class Type { Empty, Int32, Double, Bool, String };

    CHxVariant() = default;
    CHxVariant(std::int32_t v) : m_v(v) {}
    CHxVariant(double v) : m_v(v) {}
    CHxVariant(bool v) : m_v(v) {}
    CHxVariant(const wchar_t* v) : m_v(std::wstring(v ? v : L"")) {}
    CHxVariant(std::wstring v) : m_v(std::move(v)) {}
    CHxVariant(const OdString& v) : m_v(v.str()) {}
    // Narrow text would silently become a bool through the pointer conversion.
    CHxVariant(const char*) = delete;

    Type type() const { return static_cast<Type>(m_v.index()); }
    bool isEmpty() const { return type() == Type::Empty; }
    static const char* typeName(Type type);

    // Typed getters: the value when the variant holds that type or one that converts without
    // loss (an integer as a double; an integral double in range as an integer; 0 or 1 as a
    // bool); std::nullopt otherwise, which the caller reports as a mismatch.
    std::optional<std::int32_t> asInt32() const;
    std::optional<double> asDouble() const;
    std::optional<bool> asBool() const;
    std::optional<OdString> asString() const;

    friend bool operator==(const CHxVariant&, const CHxVariant&) = default;

private:
    std::variant<std::monostate, std::int32_t, double, bool, std::wstring> m_v;
};
