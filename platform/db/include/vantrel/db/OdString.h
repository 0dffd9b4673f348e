// Wide character string of the drawing database. Files and the terminal are UTF-8;
// conversion happens only at those boundaries (toUtf8 / fromUtf8).
#pragma once

#include <compare>
#include <cstddef>
#include <string>
#include <string_view>

#include <vantrel/db/OdDbExport.h>

class VANTREL_DB_EXPORT OdString {
public:
    OdString() = default;
    OdString(const wchar_t* s) : m_s(s ? s : L"") {}
    OdString(std::wstring s) : m_s(std::move(s)) {}
    OdString(std::wstring_view s) : m_s(s) {}
    OdString(const wchar_t* s, std::size_t n) : m_s(s, n) {}

    static OdString fromUtf8(std::string_view utf8);
    std::string toUtf8() const;
    // One code point as UTF-8; one beyond U+10FFFF as the replacement character.
    static void appendUtf8(std::string& out, char32_t codePoint);

    const wchar_t* c_str() const { return m_s.c_str(); }
    operator const wchar_t*() const { return m_s.c_str(); }
    const std::wstring& str() const { return m_s; }
    std::wstring& str() { return m_s; }
    int getLength() const { return static_cast<int>(m_s.size()); }
    bool isEmpty() const { return m_s.empty(); }
    wchar_t getAt(int i) const { return m_s.at(static_cast<std::size_t>(i)); }
    void empty() { m_s.clear(); }

    OdString mid(int start, int count = -1) const;
    OdString left(int count) const { return mid(0, count); }
    OdString right(int count) const;
    int find(wchar_t c, int start = 0) const;
    int find(const OdString& s, int start = 0) const;
    OdString& makeUpper();
    OdString& makeLower();
    OdString& trimLeft();
    OdString& trimRight();
    OdString& replace(const OdString& from, const OdString& to);
    // Case-insensitive comparison (simple case folding, locale-independent).
    int iCompare(const OdString& other) const;
    int compare(const OdString& other) const { return m_s.compare(other.m_s); }

    OdString& operator+=(const OdString& o)
    {
        m_s += o.m_s;
        return *this;
    }
    OdString& operator+=(wchar_t c)
    {
        m_s += c;
        return *this;
    }
    friend OdString operator+(OdString a, const OdString& b) { return a += b; }
    friend bool operator==(const OdString& a, const OdString& b) { return a.m_s == b.m_s; }
    friend bool operator==(const OdString& a, const wchar_t* b) { return a.m_s == (b ? b : L""); }
    friend auto operator<=>(const OdString& a, const OdString& b) { return a.m_s <=> b.m_s; }

private:
    std::wstring m_s;
};

template <>
struct std::hash<OdString> {
    std::size_t operator()(const OdString& s) const noexcept { return std::hash<std::wstring>()(s.str()); }
};
