// Transforming a box means boxing its transformed corners.
#include <vantrel/ge/OdGeExtents3d.h>
#include <vantrel/ge/OdGeMatrix3d.h>

OdGeExtents3d& OdGeExtents3d::transformBy(const OdGeMatrix3d& m)
{
    if (!isValidExtents())
        return *this;
    const OdGePoint3d lo = m_min, hi = m_max;
    *this = OdGeExtents3d();
    for (int i = 0; i < 8; ++i) {
        OdGePoint3d c((i & 1) ? hi.x : lo.x, (i & 2) ? hi.y : lo.y, (i & 4) ? hi.z : lo.z);
        addPoint(c.transformBy(m));
    }
    return *this;
}
