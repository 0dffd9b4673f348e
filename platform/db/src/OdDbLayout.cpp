// Layout object: a named tab bound to a space block.
#include <vantrel/db/OdDbDatabase.h>
#include <vantrel/db/OdDbLayout.h>

#include "entity_math.h"

using namespace vantrel::entmath;

ODRX_DEFINE_MEMBERS(OdDbLayout, OdDbObject, "LAYOUT")

void OdDbLayout::setLayoutName(const OdString& name)
{
    if (name.isEmpty())
        throw OdError(eInvalidInput, "a layout needs a name");
    assertWriteEnabled();
    m_data.layoutName = name;
}

void OdDbLayout::setTabOrder(std::int16_t order)
{
    if (order < 0)
        throw OdError(eInvalidInput, "a tab order is not negative");
    assertWriteEnabled();
    m_data.tabOrder = order;
}

void OdDbLayout::setBlockTableRecordId(OdDbObjectId block)
{
    assertWriteEnabled();
    m_data.blockTableRecord = block;
}

void OdDbLayout::setLastActiveViewportId(OdDbObjectId viewport)
{
    assertWriteEnabled();
    m_data.lastActiveViewport = viewport;
}

void OdDbLayout::getLimits(OdGePoint2d& min, OdGePoint2d& max) const
{
    assertReadEnabled();
    min = m_data.limMin;
    max = m_data.limMax;
}

void OdDbLayout::setLimits(const OdGePoint2d& min, const OdGePoint2d& max)
{
    requireFinite(min, "a limit");
    requireFinite(max, "a limit");
    if (min.x > max.x || min.y > max.y)
        throw OdError(eInvalidInput, "the lower limit must not exceed the upper one");
    assertWriteEnabled();
    m_data.limMin = min;
    m_data.limMax = max;
}

void OdDbLayout::getExtents(OdGePoint3d& min, OdGePoint3d& max) const
{
    assertReadEnabled();
    min = m_data.extMin;
    max = m_data.extMax;
}

void OdDbLayout::setExtents(const OdGePoint3d& min, const OdGePoint3d& max)
{
    requireFinite(min, "an extents corner");
    requireFinite(max, "an extents corner");
    assertWriteEnabled();
    m_data.extMin = min;
    m_data.extMax = max;
}

bool OdDbLayout::modelType() const
{
    assertReadEnabled();
    const OdDbDatabase* db = m_data.blockTableRecord.database();
    return db && m_data.blockTableRecord == db->getModelSpaceId();
}
