// The extended data of the application VANTREL on a LIGHT: the properties DXF has no group
// code for, in a fixed order after a layout version (docs/lights.md lists it).
#pragma once

#include <vantrel/db/OdDbObject.h>

namespace vantrel {

constexpr const wchar_t* kLightXDataApp = L"VANTREL";
constexpr int kLightXDataLayout = 1;

// The chain of a light, first node 1001 VANTREL.
OdResBufPtr lightXData(const OdDbObject& light);
// Applies a VANTREL chain to a light and answers true; a chain of another layout, with a node
// of the wrong code or kind, a value out of range or nodes left over changes nothing and
// answers false.
bool takeLightXData(OdDbObject& light, const OdResBuf& chain);

} // namespace vantrel
