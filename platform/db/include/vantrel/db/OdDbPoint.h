// A point (DXF POINT), drawn in the style the drawing's PDMODE and PDSIZE give every point.
#pragma once

#include <vantrel/db/DbKey.h>

#include <vantrel/db/OdDbEntity.h>
#include <vantrel/db/OdDbExport.h>

class VANTREL_DB_EXPORT OdDbPoint : public OdDbEntity {
    ODDB_DECLARE_MEMBERS(OdDbPoint)
public:
    struct Data {
        OdGePoint3d position;               // 10, world
        double thickness = 0.0;             // 39
        OdGeVector3d normal{0.0, 0.0, 1.0}; // 210, unit
        double xAxisAngle = 0.0;            // 50: the turn of the point's figure (degrees in DXF)
    };

    OdDbPoint() = default;
    explicit OdDbPoint(const OdGePoint3d& position);

    OdGePoint3d position() const
    {
        assertReadEnabled();
        return m_data.position;
    }
    void setPosition(const OdGePoint3d& position);
    double thickness() const
    {
        assertReadEnabled();
        return m_data.thickness;
    }
    void setThickness(double thickness);

    const Data& data() const
    {
        assertReadEnabled();
        return m_data;
    }
    Data& dataForWrite(vantrel::DbKey)
    {
        assertWriteEnabled();
        return m_data;
    }
    void checkData() const;

    void transformBy(const OdGeMatrix3d& xform) override;
    // PDMODE: 0 a dot, 1 nothing, 2 a plus, 3 a cross, 4 a tick upwards; +32 a circle round it,
    // +64 a square. PDSIZE: positive in drawing units, 0 five per cent of the view, negative
    // that per cent of the view (the view is the sink's marker size).
    void subWorldDraw(vantrel::WorldDraw& wd) const override;
    vantrel::LinetypeUse linetypeUse() const override { return vantrel::LinetypeUse::None; }

private:
    Data m_data;
};
using OdDbPointPtr = OdSmartPtr<OdDbPoint>;

namespace vantrel {
// The strokes of a point's figure for a PDMODE, as offsets from the point in units of the
// figure's size (a square of side 1 around it); each stroke is an open polyline.
VANTREL_DB_EXPORT std::vector<std::vector<OdGeVector3d>> pointFigure(int pdmode);
} // namespace vantrel
