// Inserts: placement of a block (and of an array of it), their attributes, and drawing through
// the block with the insert's transformation.
#include <vantrel/db/OdDbBlockReference.h>
#include <vantrel/db/OdDbBlockTableRecord.h>
#include <vantrel/db/OdDbDatabase.h>
#include <vantrel/db/OdDbSymbolTable.h>

#include <cmath>

#include <vantrel/db/block_nesting.h>

#include "BlockDraw.h"
#include "entity_math.h"
#include "vertex_lists.h"

using namespace vantrel::entmath;
namespace vl = vantrel::vertexlist;

ODRX_DEFINE_MEMBERS(OdDbBlockReference, OdDbEntity, "INSERT")

namespace {

void requireScale(double factor)
{
    requireFinite(factor, "a scale factor");
    if (factor == 0.0)
        throw OdError(eInvalidInput, "a scale factor is not 0");
}

void requireCount(std::int16_t count, const char* what)
{
    if (count < 1)
        throw OdError(eInvalidInput, std::string(what) + " is at least 1");
}

} // namespace

OdDbObjectId OdDbBlockReference::blockTableRecord() const
{
    assertReadEnabled();
    return vantrel::blockNamed(database(), m_data.blockName);
}

void OdDbBlockReference::setBlockTableRecord(OdDbObjectId block)
{
    OdDbBlockTableRecordPtr btr = OdDbBlockTableRecord::cast(block.openObject().get());
    if (!btr)
        throw OdError(eInvalidInput, "an insert needs a block of a database");
    const OdString name = btr->getName();
    btr.release();
    assertWriteEnabled();
    m_data.blockName = name;
}

OdGePoint3d OdDbBlockReference::position() const
{
    assertReadEnabled();
    return toWorld(m_data.normal, m_data.ocsPosition);
}

void OdDbBlockReference::setPosition(const OdGePoint3d& position)
{
    requireFinite(position, "a position");
    assertWriteEnabled();
    m_data.ocsPosition = toOcs(m_data.normal, position);
}

void OdDbBlockReference::setScaleFactors(const OdGeVector3d& scale)
{
    requireScale(scale.x);
    requireScale(scale.y);
    requireScale(scale.z);
    assertWriteEnabled();
    m_data.xScale = scale.x;
    m_data.yScale = scale.y;
    m_data.zScale = scale.z;
}

void OdDbBlockReference::setRotation(double angle)
{
    requireFinite(angle, "a rotation");
    assertWriteEnabled();
    m_data.rotation = normalizeAngle(angle);
}

void OdDbBlockReference::setNormal(const OdGeVector3d& normal)
{
    const OdGeVector3d n = unitNormal(normal);
    assertWriteEnabled();
    m_data.ocsPosition = toOcs(n, toWorld(m_data.normal, m_data.ocsPosition));
    m_data.normal = n;
}

void OdDbBlockReference::setArray(std::int16_t columns, std::int16_t rows, double columnSpacing, double rowSpacing)
{
    requireCount(columns, "a column count");
    requireCount(rows, "a row count");
    requireFinite(columnSpacing, "a column spacing");
    requireFinite(rowSpacing, "a row spacing");
    assertWriteEnabled();
    m_data.columnCount = columns;
    m_data.rowCount = rows;
    m_data.columnSpacing = columnSpacing;
    m_data.rowSpacing = rowSpacing;
}

void OdDbBlockReference::checkData() const
{
    const Data& d = m_data;
    requireFinite(d.ocsPosition, "a position");
    for (double f : {d.xScale, d.yScale, d.zScale})
        requireFinite(f, "a scale factor");
    requireFinite(d.rotation, "a rotation");
    requireFinite(d.columnSpacing, "a column spacing");
    requireFinite(d.rowSpacing, "a row spacing");
    unitNormal(d.normal);
}

OdGeMatrix3d OdDbBlockReference::blockTransform(int column, int row) const
{
    const Placement p = placement();
    return p.cell(column * m_data.columnSpacing, row * m_data.rowSpacing);
}

OdDbBlockReference::Placement OdDbBlockReference::placement() const
{
    assertReadEnabled();
    const OdGeVector3d n = m_data.normal;
    Placement p;
    p.frame.setCoordSystem(toWorld(n, m_data.ocsPosition), ocsXAxis(n), ocsYAxis(n), n);
    p.frame *= OdGeMatrix3d::rotation(m_data.rotation, OdGeVector3d::kZAxis);
    p.scale.entry[0][0] = m_data.xScale;
    p.scale.entry[1][1] = m_data.yScale;
    p.scale.entry[2][2] = m_data.zScale;
    if (OdDbBlockTableRecordPtr btr = OdDbBlockTableRecord::cast(blockTableRecord().openObject().get()))
        p.scale *= OdGeMatrix3d::translation(OdGePoint3d::kOrigin - btr->origin());
    return p;
}

OdGeMatrix3d OdDbBlockReference::Placement::cell(double x, double y) const
{
    return frame * OdGeMatrix3d::translation(OdGeVector3d(x, y, 0.0)) * scale;
}

OdDbObjectId OdDbBlockReference::appendAttribute(OdDbAttribute* attribute)
{
    vl::checkAdoptable(*this, attribute);
    assertWriteEnabled();
    m_attributes.emplace_back(attribute);
    if (!attribute->isDBRO()) {
        if (attribute->commonData().layer.isNull())
            attribute->commonDataForWrite() = commonData();
        if (isDBRO())
            database()->addOdDbObject(attribute, objectId());
    } else if (attribute->ownerId().isNull()) {
        vl::open(attribute, OdDb::kForWrite)->setOwnerId(objectId());
    }
    return attribute->objectId();
}

std::vector<OdDbObjectId> OdDbBlockReference::attributeIds() const
{
    assertReadEnabled();
    return vl::liveIds(m_attributes);
}

bool OdDbBlockReference::hasAttributeSequence() const
{
    assertReadEnabled();
    return m_data.attributesFollow || !vl::liveIds(m_attributes).empty();
}

OdDbAttributePtr OdDbBlockReference::openAttribute(const OdDbObjectId& id, OdDb::OpenMode mode) const
{
    assertReadEnabled();
    return vl::openMember(m_attributes, id, mode, false, "not an attribute of this insert");
}

void OdDbBlockReference::transformBy(const OdGeMatrix3d& xform)
{
    requireConformal(xform, "an insert");
    // The block's X and Y axes carried over give the new normal and rotation; a mirroring turns
    // the block over, which its Z scale takes (seen from above the same as a mirrored X).
    const OdGeVector3d n = m_data.normal;
    const OdGeVector3d xBlock = ocsXAxis(n) * std::cos(m_data.rotation) + ocsYAxis(n) * std::sin(m_data.rotation);
    const OdGeVector3d yBlock = n.crossProduct(xBlock);
    OdGeVector3d x = xBlock, y = yBlock, z = n;
    x.transformBy(xform);
    y.transformBy(xform);
    z.transformBy(xform);
    const OdGeVector3d normal = unitNormal(x.crossProduct(y));
    const bool mirrored = z.dotProduct(normal) < 0.0;
    const double s = xform.scale();
    const double angle = std::atan2(x.dotProduct(ocsYAxis(normal)), x.dotProduct(ocsXAxis(normal)));
    OdGePoint3d p = position();
    p.transformBy(xform);
    for (OdDbAttribute* a : vl::live(m_attributes))
        vl::open(a, OdDb::kForWrite)->transformBy(xform);
    assertWriteEnabled();
    m_data.normal = normal;
    m_data.ocsPosition = toOcs(normal, p);
    m_data.rotation = normalizeAngle(angle);
    m_data.xScale *= s;
    m_data.yScale *= s;
    m_data.zScale *= mirrored ? -s : s;
    m_data.columnSpacing *= s;
    m_data.rowSpacing *= s;
}

void OdDbBlockReference::subWorldDraw(vantrel::WorldDraw& wd) const
{
    assertReadEnabled();
    const std::size_t columns = static_cast<std::size_t>(std::max<int>(1, m_data.columnCount));
    const std::size_t rows = static_cast<std::size_t>(std::max<int>(1, m_data.rowCount));
    const Placement p = placement();
    const double dx = m_data.columnSpacing, dy = m_data.rowSpacing;
    // A block left out (one that inserts itself) draws nothing more; the attributes still show.
    (void)vantrel::drawBlock(
        wd, blockTableRecord(), columns * rows,
        [&](std::size_t i) {
            const std::size_t column = i % columns, row = i / columns;
            return p.cell(static_cast<double>(column) * dx, static_cast<double>(row) * dy);
        },
        *this);
    const std::vector<OdDbAttribute*> live = vl::live(m_attributes);
    const std::vector<const OdDbEntity*> attributes(live.begin(), live.end());
    vantrel::drawOwned(wd, attributes, *this);
}

void OdDbBlockReference::subAddedToDatabase(OdDbDatabase* db)
{
    for (auto& a : m_attributes)
        if (!a->isDBRO())
            db->addOdDbObject(a.get(), objectId());
}

void OdDbBlockReference::subDeepenClone()
{
    vl::deepen(m_attributes);
    m_data.seqEndHandle = OdDbHandle();
}

void OdDbBlockReference::subHandOverTo(OdDbObject*) { vl::eraseResident(m_attributes); }
