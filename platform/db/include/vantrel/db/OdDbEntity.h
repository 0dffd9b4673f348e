// Base of every entity: the common properties (layer, colour, linetype, scale, lineweight,
// visibility), database defaults, transformation, extents and display.
#pragma once

#include <vantrel/db/OdCmColor.h>
#include <vantrel/db/OdDbObject.h>
#include <vantrel/db/WorldDraw.h>
#include <vantrel/ge/OdGeExtents3d.h>
#include <vantrel/ge/OdGeMatrix3d.h>
#include <vantrel/db/OdDbExport.h>

class OdDbEntity;
using OdDbEntityPtr = OdSmartPtr<OdDbEntity>;

class VANTREL_DB_EXPORT OdDbEntity : public OdDbObject {
    ODDB_DECLARE_MEMBERS(OdDbEntity)
public:
    // Common properties, as DXF stores them.
    struct CommonData {
        OdDbObjectId layer;
        OdDbObjectId linetype;
        OdCmColor color; // by layer unless set
        double linetypeScale = 1.0;
        std::int16_t lineWeight = -1; // -1 by layer, -2 by block, -3 default, else hundredths of mm
        bool invisible = false;
        bool paperSpace = false; // DXF 67: the entity belongs to a paper space layout
    };

    OdDbObjectId layerId() const
    {
        assertReadEnabled();
        return m_common.layer;
    }
    void setLayer(OdDbObjectId layer, bool doSubents = true);
    // The layer's name, or an empty string when it has none.
    OdString layer() const;
    OdDbObjectId linetypeId() const
    {
        assertReadEnabled();
        return m_common.linetype;
    }
    void setLinetype(OdDbObjectId linetype, bool doSubents = true);
    const OdCmColor& color() const
    {
        assertReadEnabled();
        return m_common.color;
    }
    void setColor(const OdCmColor& color, bool doSubents = true);
    std::int16_t colorIndex() const { return color().colorIndex(); }
    void setColorIndex(std::int16_t index, bool doSubents = true);
    double linetypeScale() const
    {
        assertReadEnabled();
        return m_common.linetypeScale;
    }
    void setLinetypeScale(double scale, bool doSubents = true);
    std::int16_t lineWeight() const
    {
        assertReadEnabled();
        return m_common.lineWeight;
    }
    void setLineWeight(std::int16_t weight, bool doSubents = true);
    OdDb::Visibility visibility() const
    {
        assertReadEnabled();
        return m_common.invisible ? OdDb::kInvisible : OdDb::kVisible;
    }
    void setVisibility(OdDb::Visibility visibility, bool doSubents = true);
    const CommonData& commonData() const { return m_common; }
    CommonData& commonDataForWrite()
    {
        assertWriteEnabled();
        return m_common;
    }

    // The current layer, linetype, colour, scale and lineweight of a database (of the entity's
    // own database when none is given).
    void setDatabaseDefaults(OdDbDatabase* db = nullptr, bool doSubents = false);
    // Layer, colour, linetype, scale, lineweight and visibility of another entity.
    void setPropertiesFrom(const OdDbEntity* other, bool doSubents = true);

    // Highlighting is a display state, not part of the drawing.
    void highlight(bool on = true, bool doSubents = false);
    bool isHighlighted() const { return m_highlighted; }

    // Raises OdError(eNotImplementedYet) for entities that cannot take the transformation.
    virtual void transformBy(const OdGeMatrix3d& xform);
    virtual OdResult getGeomExtents(OdGeExtents3d& extents) const;

    // Draws with the entity's resolved colour, lineweight and linetype (by layer resolved through
    // its layer; by block through the insert that draws it, and outside any block as white and
    // continuous; inside a block an entity on layer 0 takes the insert's layer). Dashes are
    // scaled by the entity's linetype scale and the drawing's LTSCALE.
    void draw(vantrel::WorldDraw& wd) const;
    virtual vantrel::LinetypeUse linetypeUse() const { return vantrel::LinetypeUse::PerSegment; }
    virtual void subWorldDraw(vantrel::WorldDraw& wd) const;

    // Owning entities propagate property changes to their sub-entities (vertices).
    virtual void subSetCommon(const CommonData& common);

protected:
    OdDbEntity() = default;

private:
    CommonData m_common;
    bool m_highlighted = false;
};
