// Narrow texts given to printMessage are UTF-8, like every file and terminal text.
#include <vantrel/host/MessageArg.h>

#include <vantrel/db/OdString.h>

namespace vantrel {

std::wstring MessageArg::widen(std::string_view utf8) { return OdString::fromUtf8(utf8).str(); }

} // namespace vantrel
