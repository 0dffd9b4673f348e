// The one number format of SVG output: ten significant digits, as printf's "%.10g" writes them.
#pragma once

#include <vantrel/host/HostExport.h>

namespace vantrel {

// Writes value as "%.10g" does and answers the end of the text; out must have room for 32
// characters (a sign, the whole part and the point, then sixteen written at once). Most
// coordinates take a fast exact path, the rest the standard formatter.
VANTREL_HOST_EXPORT char* formatSvgNumber(char* out, double value);

} // namespace vantrel
