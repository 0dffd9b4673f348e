// UTF-8 conversion and the string operations the commands use.
#include <vantrel/db/OdString.h>

#include <algorithm>
#include <cwctype>

// An ill-formed sequence (a stray or missing continuation byte, an overlong form, a surrogate, a
// value past U+10FFFF) becomes U+FFFD for its first byte, and decoding goes on with the next.
OdString OdString::fromUtf8(std::string_view s)
{
    static constexpr char32_t kLeast[] = {0, 0, 0x80, 0x800, 0x10000};
    std::wstring out;
    out.reserve(s.size());
    for (std::size_t i = 0; i < s.size();) {
        auto c = static_cast<unsigned char>(s[i]);
        char32_t cp = 0;
        std::size_t len = 0;
        if (c < 0x80) {
            cp = c;
            len = 1;
        } else if ((c >> 5) == 0x6) {
            cp = c & 0x1F;
            len = 2;
        } else if ((c >> 4) == 0xE) {
            cp = c & 0x0F;
            len = 3;
        } else if ((c >> 3) == 0x1E) {
            cp = c & 0x07;
            len = 4;
        }
        bool ok = len > 0 && i + len <= s.size();
        for (std::size_t k = 1; ok && k < len; ++k) {
            auto cc = static_cast<unsigned char>(s[i + k]);
            ok = (cc >> 6) == 0x2;
            cp = (cp << 6) | (cc & 0x3F);
        }
        ok = ok && cp >= kLeast[len] && cp <= 0x10FFFF && (cp < 0xD800 || cp > 0xDFFF);
        if (!ok) {
            out += L'\uFFFD';
            ++i;
            continue;
        }
        out += static_cast<wchar_t>(cp);
        i += len;
    }
    return OdString(std::move(out));
}

void OdString::appendUtf8(std::string& out, char32_t cp)
{
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x110000) {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += "\xEF\xBF\xBD";
    }
}

std::string OdString::toUtf8() const
{
    std::string out;
    out.reserve(m_s.size());
    for (wchar_t wc : m_s)
        appendUtf8(out, static_cast<char32_t>(wc));
    return out;
}

OdString OdString::mid(int start, int count) const
{
    if (start < 0)
        start = 0;
    if (static_cast<std::size_t>(start) >= m_s.size())
        return OdString();
    std::size_t n = count < 0 ? std::wstring::npos : static_cast<std::size_t>(count);
    return OdString(m_s.substr(static_cast<std::size_t>(start), n));
}

OdString OdString::right(int count) const
{
    if (count <= 0)
        return OdString();
    std::size_t n = std::min(m_s.size(), static_cast<std::size_t>(count));
    return OdString(m_s.substr(m_s.size() - n));
}

int OdString::find(wchar_t c, int start) const
{
    auto pos = m_s.find(c, static_cast<std::size_t>(std::max(start, 0)));
    return pos == std::wstring::npos ? -1 : static_cast<int>(pos);
}

int OdString::find(const OdString& s, int start) const
{
    auto pos = m_s.find(s.m_s, static_cast<std::size_t>(std::max(start, 0)));
    return pos == std::wstring::npos ? -1 : static_cast<int>(pos);
}

OdString& OdString::makeUpper()
{
    for (auto& c : m_s)
        c = static_cast<wchar_t>(std::towupper(static_cast<wint_t>(c)));
    return *this;
}

OdString& OdString::makeLower()
{
    for (auto& c : m_s)
        c = static_cast<wchar_t>(std::towlower(static_cast<wint_t>(c)));
    return *this;
}

OdString& OdString::trimLeft()
{
    auto it = std::find_if(m_s.begin(), m_s.end(), [](wchar_t c) { return !std::iswspace(static_cast<wint_t>(c)); });
    m_s.erase(m_s.begin(), it);
    return *this;
}

OdString& OdString::trimRight()
{
    while (!m_s.empty() && std::iswspace(static_cast<wint_t>(m_s.back())))
        m_s.pop_back();
    return *this;
}

OdString& OdString::replace(const OdString& from, const OdString& to)
{
    if (from.isEmpty())
        return *this;
    std::size_t pos = 0;
    while ((pos = m_s.find(from.m_s, pos)) != std::wstring::npos) {
        m_s.replace(pos, from.m_s.size(), to.m_s);
        pos += to.m_s.size();
    }
    return *this;
}

int OdString::iCompare(const OdString& other) const
{
    std::size_t n = std::min(m_s.size(), other.m_s.size());
    for (std::size_t i = 0; i < n; ++i) {
        auto a = std::towupper(static_cast<wint_t>(m_s[i]));
        auto b = std::towupper(static_cast<wint_t>(other.m_s[i]));
        if (a != b)
            return a < b ? -1 : 1;
    }
    if (m_s.size() == other.m_s.size())
        return 0;
    return m_s.size() < other.m_s.size() ? -1 : 1;
}
