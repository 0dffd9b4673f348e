// Hex text form of handles.
#include <vantrel/db/OdDbHandle.h>

#include <charconv>

std::string OdDbHandle::ascii() const
{
    char buf[17];
    auto [end, ec] = std::to_chars(buf, buf + sizeof buf, m_v, 16);
    for (char* p = buf; p != end; ++p)
        if (*p >= 'a' && *p <= 'f')
            *p = static_cast<char>(*p - 'a' + 'A');
    return std::string(buf, end);
}

bool OdDbHandle::fromAscii(std::string_view text)
{
    if (text.empty() || text.size() > 16)
        return false;
    std::uint64_t v = 0;
    auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), v, 16);
    if (ec != std::errc() || ptr != text.data() + text.size())
        return false;
    m_v = v;
    return true;
}
