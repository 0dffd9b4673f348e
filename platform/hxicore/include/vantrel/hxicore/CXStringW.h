// The host's wide string: what the module's resource texts are loaded into (Load by module
// and id) and formatted with (Format, printf-style, with type-checked arguments).
#pragma once

#include <compare>
#include <string>
#include <string_view>
#include <type_traits>

#include <fmt/printf.h>
#include <fmt/xchar.h>

#include <vantrel/db/OdString.h>
#include <vantrel/hxicore/FormatError.h>
#include <vantrel/hxicore/ModuleHandle.h>
#include <vantrel/hxicore/HxicoreExport.h>

class CXStringW;

namespace vantrel::format_arg {

// Every argument reaches the formatter as a number, a wide character or a wide string, so
// that one format can take OdString, CXStringW, std::wstring, UTF-8 text and literals alike.
template <typename T>
requires std::is_arithmetic_v<T> T adapt(T value) { return value; }
inline wchar_t adapt(char c) { return static_cast<wchar_t>(static_cast<unsigned char>(c)); }
inline std::wstring_view adapt(const wchar_t* s) { return s ? std::wstring_view(s) : std::wstring_view(L"(null)"); }
inline std::wstring_view adapt(const std::wstring& s) { return s; }
inline std::wstring_view adapt(std::wstring_view s) { return s; }
inline std::wstring_view adapt(const OdString& s) { return s.str(); }
inline std::wstring_view adapt(const CXStringW& s);
VANTREL_HXICORE_EXPORT std::wstring adapt(const char* utf8);
VANTREL_HXICORE_EXPORT std::wstring adapt(const std::string& utf8);
VANTREL_HXICORE_EXPORT std::wstring adapt(std::string_view utf8);

} // namespace vantrel::format_arg

class VANTREL_HXICORE_EXPORT CXStringW {
public:
    CXStringW() = default;
    CXStringW(const wchar_t* s) : m_s(s ? s : L"") {}
    CXStringW(std::wstring s) : m_s(std::move(s)) {}
    CXStringW(std::wstring_view s) : m_s(s) {}
    CXStringW(const OdString& s) : m_s(s.str()) {}

    // Loads string resource `id` of `instance` (translated when the module's translation was
    // started with _InitResTranslation). Answers false and leaves the string empty when the
    // module has no such resource.
    bool Load(vantrel::ModuleHandle instance, unsigned id);

    // printf-style formatting (%d %i %u %f %.2f %0.f %s %ls %c %x %%, flags, widths and
    // precisions); the result replaces the string. Arguments are checked against their
    // conversions: a mismatch (a string for %d, a number for %s, too few arguments, an unknown
    // conversion) throws vantrel::FormatError and leaves the string unchanged. Text a user
    // typed must be an argument, never the format.
    template <typename... Args>
    void Format(const wchar_t* format, const Args&... args)
    {
        m_s = formatChecked(format, fmt::make_wprintf_args(vantrel::format_arg::adapt(args)...));
    }

    const wchar_t* c_str() const { return m_s.c_str(); }
    const wchar_t* GetString() const { return m_s.c_str(); }
    operator const wchar_t*() const { return m_s.c_str(); }
    operator OdString() const { return OdString(m_s); }
    const std::wstring& str() const { return m_s; }
    std::string toUtf8() const { return OdString(m_s).toUtf8(); }

    int GetLength() const { return static_cast<int>(m_s.size()); }
    bool IsEmpty() const { return m_s.empty(); }
    void Empty() { m_s.clear(); }
    wchar_t GetAt(int i) const { return m_s.at(static_cast<std::size_t>(i)); }

    CXStringW& operator+=(const CXStringW& s)
    {
        m_s += s.m_s;
        return *this;
    }
    CXStringW& operator+=(const wchar_t* s)
    {
        if (s)
            m_s += s;
        return *this;
    }
    CXStringW& operator+=(wchar_t c)
    {
        m_s += c;
        return *this;
    }
    friend CXStringW operator+(CXStringW a, const CXStringW& b) { return a += b; }
    friend CXStringW operator+(CXStringW a, const wchar_t* b) { return a += b; }

    friend bool operator==(const CXStringW& a, const CXStringW& b) { return a.m_s == b.m_s; }
    friend bool operator==(const CXStringW& a, const wchar_t* b) { return a.m_s == (b ? b : L""); }
    friend bool operator==(const CXStringW& a, const OdString& b) { return a.m_s == b.str(); }
    friend auto operator<=>(const CXStringW& a, const CXStringW& b) { return a.m_s <=> b.m_s; }

private:
    static std::wstring formatChecked(const wchar_t* format, fmt::basic_format_args<fmt::wprintf_context> args);

    std::wstring m_s;
};

inline std::wstring_view vantrel::format_arg::adapt(const CXStringW& s) { return s.str(); }
