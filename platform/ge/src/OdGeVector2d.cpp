// Out-of-line parts of OdGeVector2d/OdGePoint2d: constants and matrix transforms.
#include <vantrel/ge/OdGeMatrix2d.h>
#include <vantrel/ge/OdGeVector2d.h>

const OdGeVector2d OdGeVector2d::kIdentity(0.0, 0.0);
const OdGeVector2d OdGeVector2d::kXAxis(1.0, 0.0);
const OdGeVector2d OdGeVector2d::kYAxis(0.0, 1.0);
const OdGePoint2d OdGePoint2d::kOrigin(0.0, 0.0);

OdGeVector2d& OdGeVector2d::mirror(const OdGeVector2d& line)
{
    const OdGeVector2d l = line.normal();
    return *this = l * (2.0 * dotProduct(l)) - *this;
}

OdGeVector2d& OdGeVector2d::transformBy(const OdGeMatrix2d& m)
{
    return set(m.entry[0][0] * x + m.entry[0][1] * y, m.entry[1][0] * x + m.entry[1][1] * y);
}

OdGePoint2d& OdGePoint2d::transformBy(const OdGeMatrix2d& m)
{
    return set(m.entry[0][0] * x + m.entry[0][1] * y + m.entry[0][2],
               m.entry[1][0] * x + m.entry[1][1] * y + m.entry[1][2]);
}
