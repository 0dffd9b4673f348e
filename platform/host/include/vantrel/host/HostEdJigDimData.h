// Second base of every tracker: the dynamic-dimension description of a drag. This host shows no
// dynamic dimensions, so it never asks; the answers stay as every tracker gives them.
#pragma once

#include <vantrel/host/HostExport.h>

class VANTREL_HOST_EXPORT HostEdJigDimData {
public:
    // Number of dynamic dimensions the drag offers.
    virtual int dimensionCount() const;
    virtual int dimensionInputMode() const;
    virtual int dimensionDisplayMode() const;
    virtual ~HostEdJigDimData();
};
