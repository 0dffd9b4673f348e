// The dynamic-dimension answers that every tracker of the command module gives.
#include <vantrel/host/HostEdJigDimData.h>

int HostEdJigDimData::dimensionCount() const { return 0; }

int HostEdJigDimData::dimensionInputMode() const { return 3; }

int HostEdJigDimData::dimensionDisplayMode() const { return 3; }

HostEdJigDimData::~HostEdJigDimData() = default;
