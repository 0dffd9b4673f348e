// Multi-line text: paragraphs with inline formatting codes (font, height, colour, stacked
// fractions, underlines), wrapped to a reference width and placed by one of nine attachment
// points, in the plane of its normal.
#pragma once

#include <vantrel/db/DbKey.h>

#include <optional>
#include <vector>

#include <vantrel/db/DbKey.h>
#include <vantrel/db/OdDbEntity.h>
#include <vantrel/db/OdDbExport.h>

class VANTREL_DB_EXPORT OdDbMText : public OdDbEntity {
    ODDB_DECLARE_MEMBERS(OdDbMText)
public:
    // DXF 71: the point of the text's box that the location gives.
    enum AttachmentPoint : std::int16_t {
        kTopLeft = 1,
        kTopCenter,
        kTopRight,
        kMiddleLeft,
        kMiddleCenter,
        kMiddleRight,
        kBottomLeft,
        kBottomCenter,
        kBottomRight
    };
    enum LineSpacingStyle : std::int16_t { kAtLeast = 1, kExactly = 2 };

    // As DXF stores an MTEXT: the location and direction in world coordinates.
    struct Data {
        OdGePoint3d location;                     // 10
        double height = 2.5;                      // 40: of capitals, unless the contents say otherwise
        double width = 0.0;                       // 41: wrapping width; 0 for no wrapping
        std::optional<double> definedHeight;      // 46
        std::int16_t attachment = kTopLeft;       // 71
        std::int16_t drawingDirection = 1;        // 72: 1 left to right, 3 top to bottom, 5 by style
        OdString contents;                        // 3 chunks then 1
        OdDbObjectId textStyle;                   // 7 (by name in DXF)
        OdGeVector3d normal{0.0, 0.0, 1.0};       // 210, unit
        std::optional<OdGeVector3d> direction;    // 11: the X axis of the text; overrides rotation
        double rotation = 0.0;                    // 50, radians (degrees in DXF), in the OCS of the normal
        std::int16_t lineSpacingStyle = kAtLeast; // 73
        double lineSpacingFactor = 1.0;           // 44
        std::vector<double> columnHeights;        // 50 after the first, as read (not drawn)
    };

    OdDbMText() = default;

    // Raises OdError(eInvalidInput) for data a file gave that the setters refuse.
    void checkData() const;

    OdGePoint3d location() const
    {
        assertReadEnabled();
        return m_data.location;
    }
    void setLocation(const OdGePoint3d& location);
    double textHeight() const
    {
        assertReadEnabled();
        return m_data.height;
    }
    void setTextHeight(double height);
    // 0: no wrapping.
    double width() const
    {
        assertReadEnabled();
        return m_data.width;
    }
    void setWidth(double width);
    AttachmentPoint attachment() const
    {
        assertReadEnabled();
        return static_cast<AttachmentPoint>(m_data.attachment);
    }
    void setAttachment(AttachmentPoint point);
    const OdString& contents() const
    {
        assertReadEnabled();
        return m_data.contents;
    }
    void setContents(const OdString& contents);
    OdDbObjectId textStyle() const
    {
        assertReadEnabled();
        return m_data.textStyle;
    }
    void setTextStyle(OdDbObjectId style);
    OdGeVector3d normal() const
    {
        assertReadEnabled();
        return m_data.normal;
    }
    void setNormal(const OdGeVector3d& normal);
    // The unit X axis of the text in world coordinates, from the direction or the rotation.
    OdGeVector3d direction() const;
    // In radians about the normal from the OCS X axis; replaces any direction.
    double rotation() const;
    void setRotation(double angle);
    double lineSpacingFactor() const
    {
        assertReadEnabled();
        return m_data.lineSpacingFactor;
    }
    // 0.25 to 4, as the line spacing factor allows.
    void setLineSpacingFactor(double factor);

    // The contents without formatting codes, paragraphs joined by line breaks.
    OdString text() const;

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

    // Rotations, mirrorings, uniform scalings and translations; others raise
    // OdError(eNotImplementedYet) as the glyphs would shear.
    void transformBy(const OdGeMatrix3d& xform) override;
    vantrel::LinetypeUse linetypeUse() const override { return vantrel::LinetypeUse::None; }
    // Lays the paragraphs out with the font's advances, wrapping at the width.
    void subWorldDraw(vantrel::WorldDraw& wd) const override;

private:
    Data m_data;
};
using OdDbMTextPtr = OdSmartPtr<OdDbMText>;
