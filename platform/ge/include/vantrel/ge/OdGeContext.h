// Process-wide geometry settings. gTol lives once in libvantrel_ge so that the host,
// the database and every loaded module compare with the same tolerance.
#pragma once

#include <vantrel/ge/OdGeExport.h>
#include <vantrel/ge/OdGeTol.h>

struct VANTREL_GE_EXPORT OdGeContext {
    static OdGeTol gTol;
};
