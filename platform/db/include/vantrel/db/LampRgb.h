// A lamp colour as three intensities from 0 to 1, as lights compute and report colours.
#pragma once

#include <vantrel/db/OdDbExport.h>

namespace vantrel {

struct VANTREL_DB_EXPORT LampRgb {
    double red = 0.0;
    double green = 0.0;
    double blue = 0.0;

    friend bool operator==(const LampRgb&, const LampRgb&) = default;
};

} // namespace vantrel
