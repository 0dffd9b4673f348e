// One value for a printMessage format, kept with its kind so that the formatter can check it
// against the format's conversion (%d takes a whole number, %f a real, %s a text).
#pragma once

#include <concepts>
#include <cstdint>
#include <string>
#include <string_view>
#include <type_traits>
#include <variant>

#include <vantrel/host/HostExport.h>

namespace vantrel {

class VANTREL_HOST_EXPORT MessageArg {
public:
    using Value
        = std::variant<long long, unsigned long long, double, wchar_t, std::wstring_view, std::wstring, const void*>;

    template <class T>
    requires(!std::same_as<T, MessageArg>) MessageArg(const T& value) : m_value(convert(value)) {}

    const Value& value() const { return m_value; }

private:
    template <class T>
    static Value convert(const T& value)
    {
        if constexpr (std::is_same_v<T, wchar_t>) {
            return value;
        } else if constexpr (std::is_same_v<
                                 T, bool> || std::is_enum_v<T> || (std::is_integral_v<T> && std::is_signed_v<T>)) {
            return static_cast<long long>(value);
        } else if constexpr (std::is_integral_v<T>) {
            return static_cast<unsigned long long>(value);
        } else if constexpr (std::is_floating_point_v<T>) {
            return static_cast<double>(value);
        } else if constexpr (std::is_convertible_v<const T&, const wchar_t*>) {
            // C strings, OdString and the resource strings; a null text prints as nothing.
            const wchar_t* text = value;
            return std::wstring_view(text ? text : L"");
        } else if constexpr (std::is_convertible_v<const T&, std::wstring_view>) {
            return std::wstring_view(value);
        } else if constexpr (std::is_convertible_v<const T&, const char*>) {
            const char* text = value;
            return widen(text ? text : "");
        } else if constexpr (std::is_convertible_v<const T&, std::string_view>) {
            return widen(std::string_view(value));
        } else if constexpr (std::is_pointer_v<T>) {
            return static_cast<const void*>(value);
        } else {
            static_assert(sizeof(T) == 0, "printMessage takes numbers, characters, texts and pointers");
        }
    }

    // UTF-8 to wide text.
    static std::wstring widen(std::string_view utf8);

    Value m_value;
};

} // namespace vantrel
