// Points and the figures PDMODE draws them with.
#include <vantrel/db/OdDbDatabase.h>
#include <vantrel/db/OdDbPoint.h>

#include <cmath>
#include <numbers>

#include "entity_math.h"

using namespace vantrel::entmath;

ODRX_DEFINE_MEMBERS(OdDbPoint, OdDbEntity, "POINT")

namespace vantrel {

std::vector<std::vector<OdGeVector3d>> pointFigure(int pdmode)
{
    std::vector<std::vector<OdGeVector3d>> strokes;
    switch (pdmode & 7) {
    case 0: strokes.push_back({OdGeVector3d(), OdGeVector3d()}); break; // a dot: a stroke of no length
    case 2:
        strokes.push_back({OdGeVector3d(-0.5, 0, 0), OdGeVector3d(0.5, 0, 0)});
        strokes.push_back({OdGeVector3d(0, -0.5, 0), OdGeVector3d(0, 0.5, 0)});
        break;
    case 3:
        strokes.push_back({OdGeVector3d(-0.5, -0.5, 0), OdGeVector3d(0.5, 0.5, 0)});
        strokes.push_back({OdGeVector3d(-0.5, 0.5, 0), OdGeVector3d(0.5, -0.5, 0)});
        break;
    case 4: strokes.push_back({OdGeVector3d(), OdGeVector3d(0, 0.5, 0)}); break;
    default: break; // 1: nothing at the point itself
    }
    if (pdmode & 32) {
        std::vector<OdGeVector3d> circle;
        constexpr int kSteps = 32;
        for (int k = 0; k <= kSteps; ++k) {
            const double t = 2.0 * std::numbers::pi * k / kSteps;
            circle.emplace_back(0.5 * std::cos(t), 0.5 * std::sin(t), 0.0);
        }
        strokes.push_back(std::move(circle));
    }
    if (pdmode & 64)
        strokes.push_back({OdGeVector3d(-0.5, -0.5, 0), OdGeVector3d(0.5, -0.5, 0), OdGeVector3d(0.5, 0.5, 0),
                           OdGeVector3d(-0.5, 0.5, 0), OdGeVector3d(-0.5, -0.5, 0)});
    return strokes;
}

} // namespace vantrel

OdDbPoint::OdDbPoint(const OdGePoint3d& position)
{
    requireFinite(position, "a position");
    m_data.position = position;
}

void OdDbPoint::setPosition(const OdGePoint3d& position)
{
    requireFinite(position, "a position");
    assertWriteEnabled();
    m_data.position = position;
}

void OdDbPoint::setThickness(double thickness)
{
    requireFinite(thickness, "a thickness");
    assertWriteEnabled();
    m_data.thickness = thickness;
}

void OdDbPoint::checkData() const
{
    requireFinite(m_data.position, "a position");
    requireFinite(m_data.xAxisAngle, "an X axis angle");
    unitNormal(m_data.normal);
}

void OdDbPoint::transformBy(const OdGeMatrix3d& xform)
{
    requireInvertible(xform);
    const Extrusion e = transformExtrusion(xform, m_data.normal, m_data.thickness);
    assertWriteEnabled();
    m_data.position.transformBy(xform);
    m_data.normal = e.normal;
    m_data.thickness = e.thickness;
}

void OdDbPoint::subWorldDraw(vantrel::WorldDraw& wd) const
{
    assertReadEnabled();
    OdDbDatabase* db = database();
    const int pdmode = db ? db->sysVarInt(L"PDMODE") : 0;
    const double pdsize = db ? db->sysVarDouble(L"PDSIZE") : 0.0;
    // The figure lies in the point's plane, turned by its X axis angle.
    const OdGeVector3d x = ocsXAxis(m_data.normal), y = ocsYAxis(m_data.normal);
    const double c = std::cos(m_data.xAxisAngle), s = std::sin(m_data.xAxisAngle);
    for (const auto& stroke : vantrel::pointFigure(pdmode)) {
        std::vector<OdGeVector3d> offsets;
        offsets.reserve(stroke.size());
        for (const OdGeVector3d& o : stroke)
            offsets.push_back(x * (o.x * c - o.y * s) + y * (o.x * s + o.y * c));
        wd.markerPolyline(m_data.position, offsets, pdsize > 0.0 ? pdsize : 0.0);
    }
}
