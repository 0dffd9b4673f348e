// Dimensions: the measured values kept, the picture drawn from the dimension's block.
#include <vantrel/db/OdDbDatabase.h>
#include <vantrel/db/OdDbDimension.h>
#include <vantrel/db/OdDbSymbolTable.h>

#include <vantrel/db/block_nesting.h>

#include "BlockDraw.h"
#include "entity_math.h"

using namespace vantrel::entmath;

ODRX_DEFINE_MEMBERS(OdDbDimension, OdDbEntity, "DIMENSION")

OdDbObjectId OdDbDimension::dimBlockId() const
{
    assertReadEnabled();
    return vantrel::blockNamed(database(), m_data.blockName);
}

OdGePoint3d OdDbDimension::textPosition() const
{
    assertReadEnabled();
    return toWorld(m_data.normal, m_data.ocsTextPosition);
}

void OdDbDimension::setDimensionText(const OdString& text)
{
    assertWriteEnabled();
    m_data.userText = text;
}

void OdDbDimension::checkData() const
{
    requireFinite(m_data.definitionPoint, "a definition point");
    requireFinite(m_data.ocsTextPosition, "a text position");
    requireFinite(m_data.measurement, "a measurement");
    requireFinite(m_data.textRotation, "a text rotation");
    unitNormal(m_data.normal);
}

void OdDbDimension::subWorldDraw(vantrel::WorldDraw& wd) const
{
    assertReadEnabled();
    // The block is drawn where it stands: its entities are already where the dimension shows them.
    (void)vantrel::drawBlock(
        wd, dimBlockId(), 1, [](std::size_t) { return OdGeMatrix3d::kIdentity; }, *this);
}
