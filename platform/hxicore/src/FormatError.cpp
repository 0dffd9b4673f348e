// The message of a format/argument mismatch names the format, so the faulty resource is found.
#include <vantrel/hxicore/FormatError.h>

#include <vantrel/db/OdString.h>

namespace vantrel {

FormatError::FormatError(std::wstring format, const std::string& reason)
    : std::runtime_error("format \"" + OdString(format).toUtf8() + "\" does not fit its arguments: " + reason),
      m_format(std::move(format))
{
}

} // namespace vantrel
