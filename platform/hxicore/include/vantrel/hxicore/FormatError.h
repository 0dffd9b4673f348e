// Raised by CXStringW::Format when a printf-style format does not fit its arguments
// (a conversion of the wrong type, too few arguments, an unknown conversion).
#pragma once

#include <stdexcept>
#include <string>

#include <vantrel/hxicore/HxicoreExport.h>

namespace vantrel {

class VANTREL_HXICORE_EXPORT FormatError : public std::runtime_error {
public:
    FormatError(std::wstring format, const std::string& reason);

    const std::wstring& format() const { return m_format; }

private:
    std::wstring m_format;
};

} // namespace vantrel
