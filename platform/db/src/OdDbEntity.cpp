// Common entity properties, database defaults, display through WorldDraw and extents.
#include <vantrel/db/OdDbDatabase.h>
#include <vantrel/db/OdDbEntity.h>
#include <vantrel/db/ExtentsDraw.h>
#include <vantrel/db/OdDbTables.h>

#include <cmath>
#include <numbers>

#include "BlockDraw.h"
#include "entity_math.h"

ODRX_DEFINE_ABSTRACT_MEMBERS(OdDbEntity, OdDbObject)

void OdDbEntity::setLayer(OdDbObjectId layer, bool doSubents)
{
    assertWriteEnabled();
    m_common.layer = layer;
    if (doSubents)
        subSetCommon(m_common);
}

OdString OdDbEntity::layer() const
{
    OdDbLayerTableRecordPtr rec = OdDbLayerTableRecord::cast(layerId().openObject().get());
    return rec ? rec->getName() : OdString();
}

void OdDbEntity::setLinetype(OdDbObjectId linetype, bool doSubents)
{
    assertWriteEnabled();
    m_common.linetype = linetype;
    if (doSubents)
        subSetCommon(m_common);
}

void OdDbEntity::setColor(const OdCmColor& color, bool doSubents)
{
    assertWriteEnabled();
    m_common.color = color;
    if (doSubents)
        subSetCommon(m_common);
}

void OdDbEntity::setColorIndex(std::int16_t index, bool doSubents) { setColor(OdCmColor::byIndex(index), doSubents); }

void OdDbEntity::setLinetypeScale(double scale, bool doSubents)
{
    vantrel::entmath::requireLinetypeScale(scale);
    assertWriteEnabled();
    m_common.linetypeScale = scale;
    if (doSubents)
        subSetCommon(m_common);
}

void OdDbEntity::setLineWeight(std::int16_t weight, bool doSubents)
{
    vantrel::entmath::requireLineweight(weight);
    assertWriteEnabled();
    m_common.lineWeight = weight;
    if (doSubents)
        subSetCommon(m_common);
}

void OdDbEntity::setVisibility(OdDb::Visibility visibility, bool doSubents)
{
    assertWriteEnabled();
    m_common.invisible = visibility == OdDb::kInvisible;
    if (doSubents)
        subSetCommon(m_common);
}

void OdDbEntity::setDatabaseDefaults(OdDbDatabase* db, bool doSubents)
{
    if (!db)
        db = database();
    if (!db)
        throw OdError(eNotInDatabase, "database defaults need a database");
    assertWriteEnabled();
    m_common.layer = db->getCLAYER();
    m_common.linetype = db->getCELTYPE();
    m_common.color = OdCmColor::byIndex(static_cast<std::int16_t>(db->sysVarInt(L"CECOLOR")));
    m_common.linetypeScale = db->sysVarDouble(L"CELTSCALE");
    m_common.lineWeight = static_cast<std::int16_t>(db->sysVarInt(L"CELWEIGHT"));
    if (!isDBRO())
        setDefaultDatabase(db);
    if (doSubents)
        subSetCommon(m_common);
}

void OdDbEntity::setPropertiesFrom(const OdDbEntity* other, bool doSubents)
{
    if (!other)
        throw OdError(eNullObjectPointer);
    assertWriteEnabled();
    const CommonData& o = other->commonData();
    m_common.layer = o.layer;
    m_common.linetype = o.linetype;
    m_common.color = o.color;
    m_common.linetypeScale = o.linetypeScale;
    m_common.lineWeight = o.lineWeight;
    m_common.invisible = o.invisible;
    if (!isDBRO() && !database())
        setDefaultDatabase(other->database());
    if (doSubents)
        subSetCommon(m_common);
}

void OdDbEntity::highlight(bool on, bool) { m_highlighted = on; }

void OdDbEntity::transformBy(const OdGeMatrix3d&)
{
    throw OdError(eNotImplementedYet, isA()->name() + " cannot be transformed");
}

void OdDbEntity::subWorldDraw(vantrel::WorldDraw&) const {}

void OdDbEntity::subSetCommon(const CommonData&) {}

void OdDbEntity::draw(vantrel::WorldDraw& wd) const
{
    // Inside a block, by-block values and layer 0 take what the insert drawing it gives.
    const auto* block = dynamic_cast<const vantrel::BlockDraw*>(&wd);
    const vantrel::ResolvedProps props = vantrel::resolveProps(*this, block ? &block->props() : nullptr);
    OdDbDatabase* db = database();
    vantrel::DrawTraits traits;
    traits.rgb = props.color.isByLayer() || props.color.isByBlock() ? 0xFFFFFF : props.color.rgb();
    // The default weight (-3) is drawn as the thinnest line, as screens show it.
    traits.lineWeightMm = props.lineWeight > 0 ? props.lineWeight / 100.0 : 0.0;
    const vantrel::LinetypeUse use = linetypeUse();
    OdDbLinetypeTableRecordPtr pattern = OdDbLinetypeTableRecord::cast(props.linetype.openObject().get());
    if (use != vantrel::LinetypeUse::None && db && pattern && pattern->patternLength() > 0.0) {
        const double scale = m_common.linetypeScale * db->sysVarDouble(L"LTSCALE");
        for (double dash : pattern->dashes())
            traits.dashes.push_back(dash * scale);
        traits.dashesThroughVertices = use == vantrel::LinetypeUse::ThroughVertices;
    }
    wd.setTraits(traits);
    subWorldDraw(wd);
}

OdResult OdDbEntity::getGeomExtents(OdGeExtents3d& extents) const
{
    vantrel::ExtentsDraw collector;
    subWorldDraw(collector);
    if (!collector.extents().isValidExtents())
        return eDegenerateGeometry;
    extents = collector.extents();
    return eOk;
}
