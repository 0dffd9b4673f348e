// A wipeout (DXF WIPEOUT): an area, given as an image's clip boundary, that hides whatever is
// drawn before it; it draws itself as a polygon filled with the background.
#pragma once

#include <vantrel/db/OdDbRasterImage.h>
#include <vantrel/db/OdDbExport.h>

class VANTREL_DB_EXPORT OdDbWipeout : public OdDbRasterImage {
    ODDB_DECLARE_MEMBERS(OdDbWipeout)
public:
    OdDbWipeout();
    // A wipeout of a polygon in the XY plane (at least three points, finite): OdError(eInvalidInput) otherwise.
    void setBoundary(const std::vector<OdGePoint3d>& points);
    void subWorldDraw(vantrel::WorldDraw& wd) const override;
    vantrel::LinetypeUse linetypeUse() const override { return vantrel::LinetypeUse::None; }
};
using OdDbWipeoutPtr = OdSmartPtr<OdDbWipeout>;
