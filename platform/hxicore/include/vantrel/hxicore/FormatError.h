// Raised by CXStringW::Format when a printf-style format does not fit its arguments
// (a conversion of the wrong type, too few arguments, an unknown conversion).
#pragma once

#include <stdexcept>
#include <string>

namespace vantrel {

class FormatError : public std::runtime_error {
public:
    FormatError(std::wstring format, const std::string& reason);

    const std::wstring& format() const { return m_format; }

private:
    std::wstring m_format;
};

} // namespace vantrel
