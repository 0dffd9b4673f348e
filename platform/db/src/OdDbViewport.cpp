// Paper-space viewport entity: its window on the sheet and the model view it shows.
#include <vantrel/db/OdDbViewport.h>

#include "entity_math.h"

#include <array>

using namespace vantrel::entmath;

ODRX_DEFINE_MEMBERS(OdDbViewport, OdDbEntity, "VIEWPORT")

void OdDbViewport::setNumber(std::int16_t number)
{
    if (number < 1)
        throw OdError(eInvalidInput, "a viewport number must be positive");
    assertWriteEnabled();
    m_data.number = number;
}

void OdDbViewport::setCenterPoint(const OdGePoint3d& center)
{
    requireFinite(center, "a viewport centre");
    assertWriteEnabled();
    m_data.center = center;
}

void OdDbViewport::setWidth(double width)
{
    requirePositive(width, "a viewport width");
    assertWriteEnabled();
    m_data.width = width;
}

void OdDbViewport::setHeight(double height)
{
    requirePositive(height, "a viewport height");
    assertWriteEnabled();
    m_data.height = height;
}

void OdDbViewport::setViewCenter(const OdGePoint2d& center)
{
    requireFinite(center, "a view centre");
    assertWriteEnabled();
    m_data.viewCenter = center;
}

void OdDbViewport::setViewHeight(double height)
{
    requirePositive(height, "a view height");
    assertWriteEnabled();
    m_data.viewHeight = height;
}

void OdDbViewport::setViewTarget(const OdGePoint3d& target)
{
    requireFinite(target, "a view target");
    assertWriteEnabled();
    m_data.viewTarget = target;
}

void OdDbViewport::setViewDirection(const OdGeVector3d& direction)
{
    const OdGeVector3d d = unitNormal(direction);
    assertWriteEnabled();
    m_data.viewDirection = d;
}

void OdDbViewport::setTwistAngle(double angle)
{
    requireFinite(angle, "a twist angle");
    assertWriteEnabled();
    m_data.twistAngle = normalizeAngle(angle);
}

void OdDbViewport::setStatus(std::int16_t status)
{
    if (status < -1)
        throw OdError(eInvalidInput, "a viewport status is -1, 0 or a stacking order");
    assertWriteEnabled();
    m_data.status = status;
}

bool OdDbViewport::isOn() const
{
    assertReadEnabled();
    return m_data.status != 0 && !(m_data.statusFlags & kIsOff);
}

void OdDbViewport::setOn()
{
    assertWriteEnabled();
    m_data.statusFlags &= ~kIsOff;
    if (m_data.status == 0)
        m_data.status = -1;
}

void OdDbViewport::setOff()
{
    assertWriteEnabled();
    m_data.statusFlags |= kIsOff;
    m_data.status = 0;
}

void OdDbViewport::transformBy(const OdGeMatrix3d& xform)
{
    requireInvertible(xform);
    OdGeVector3d x = OdGeVector3d::kXAxis, y = OdGeVector3d::kYAxis;
    x.transformBy(xform);
    y.transformBy(xform);
    // The window stays an axis-aligned rectangle on the sheet.
    if (std::fabs(x.y) > 1e-12 * x.length() || std::fabs(y.x) > 1e-12 * y.length() || x.z != 0.0 || y.z != 0.0)
        throw OdError(eNotImplementedYet, "a viewport can only be moved and scaled on the sheet");
    OdGePoint3d c = m_data.center;
    c.transformBy(xform);
    assertWriteEnabled();
    m_data.center = c;
    m_data.width *= std::fabs(x.x);
    m_data.height *= std::fabs(y.y);
    m_data.viewHeight *= std::fabs(y.y);
}

void OdDbViewport::subWorldDraw(vantrel::WorldDraw& wd) const
{
    assertReadEnabled();
    if (m_data.number == 1)
        return;
    const OdGeVector3d dx(m_data.width / 2.0, 0.0, 0.0), dy(0.0, m_data.height / 2.0, 0.0);
    const std::array<OdGePoint3d, 4> border{m_data.center - dx - dy, m_data.center + dx - dy, m_data.center + dx + dy,
                                            m_data.center - dx + dy};
    wd.polygon(border, false);
}
