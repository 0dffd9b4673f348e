// A single line of text: insertion and alignment points, height, rotation, width factor,
// obliquing, style and justification, in the plane of its normal.
#pragma once

#include <vantrel/db/OdDbEntity.h>
#include <vantrel/db/OdDbExport.h>

namespace OdDb {
// DXF 72.
enum TextHorzMode { kTextLeft = 0, kTextCenter = 1, kTextRight = 2, kTextAlign = 3, kTextMid = 4, kTextFit = 5 };
// DXF 73.
enum TextVertMode { kTextBase = 0, kTextBottom = 1, kTextVertMid = 2, kTextTop = 3 };
} // namespace OdDb

class VANTREL_DB_EXPORT OdDbText : public OdDbEntity {
    ODDB_DECLARE_MEMBERS(OdDbText)
public:
    // DXF 71 bits.
    enum : std::int16_t { kMirroredInX = 2, kMirroredInY = 4 };

    // As DXF stores a TEXT: both points in the OCS of the normal; angles in radians.
    struct Data {
        OdGePoint3d ocsPosition;                       // 10
        OdGePoint3d ocsAlignmentPoint;                 // 11, used unless left and baseline justified
        double height = 2.5;                           // 40
        OdString textString;                           // 1
        double rotation = 0.0;                         // 50 (degrees in DXF)
        double widthFactor = 1.0;                      // 41
        double oblique = 0.0;                          // 51 (degrees in DXF)
        OdDbObjectId textStyle;                        // 7 (by name in DXF)
        std::int16_t generationFlags = 0;              // 71
        std::int16_t horizontalMode = OdDb::kTextLeft; // 72
        std::int16_t verticalMode = OdDb::kTextBase;   // 73
        double thickness = 0.0;                        // 39
        OdGeVector3d normal{0.0, 0.0, 1.0};            // 210, unit
    };

    OdDbText() = default;

    // Raises OdError(eInvalidInput) when the data, as a file gave it, breaks a rule the setters
    // keep: a positive height and width factor, a slant within 85 degrees of upright, known modes.
    void checkData() const;

    // Points in world coordinates.
    OdGePoint3d position() const;
    void setPosition(const OdGePoint3d& position);
    OdGePoint3d alignmentPoint() const;
    void setAlignmentPoint(const OdGePoint3d& point);
    double height() const
    {
        assertReadEnabled();
        return m_data.height;
    }
    void setHeight(double height);
    const OdString& textString() const
    {
        assertReadEnabled();
        return m_data.textString;
    }
    void setTextString(const OdString& text);
    // Measured in the OCS from its X axis.
    double rotation() const
    {
        assertReadEnabled();
        return m_data.rotation;
    }
    void setRotation(double angle);
    double widthFactor() const
    {
        assertReadEnabled();
        return m_data.widthFactor;
    }
    void setWidthFactor(double factor);
    // Raises OdError(eInvalidInput) beyond 85 degrees either way, where glyphs degenerate.
    double oblique() const
    {
        assertReadEnabled();
        return m_data.oblique;
    }
    void setOblique(double angle);
    OdDbObjectId textStyle() const
    {
        assertReadEnabled();
        return m_data.textStyle;
    }
    void setTextStyle(OdDbObjectId style);
    OdDb::TextHorzMode horizontalMode() const;
    void setHorizontalMode(OdDb::TextHorzMode mode);
    OdDb::TextVertMode verticalMode() const;
    void setVerticalMode(OdDb::TextVertMode mode);
    bool isMirroredInX() const
    {
        assertReadEnabled();
        return m_data.generationFlags & kMirroredInX;
    }
    void mirrorInX(bool mirrored);
    bool isMirroredInY() const
    {
        assertReadEnabled();
        return m_data.generationFlags & kMirroredInY;
    }
    void mirrorInY(bool mirrored);
    double thickness() const
    {
        assertReadEnabled();
        return m_data.thickness;
    }
    void setThickness(double thickness);
    OdGeVector3d normal() const
    {
        assertReadEnabled();
        return m_data.normal;
    }
    // Keeps both points where they are in world coordinates.
    void setNormal(const OdGeVector3d& normal);

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

    // Any invertible affine map: the height follows the text's up direction, the width factor
    // the ratio of the stretch along and across the baseline; a mirroring sets the text
    // backwards rather than losing it.
    void transformBy(const OdGeMatrix3d& xform) override;
    // Places the text from its justification with the advances of the font (TextFont.h):
    // aligned text scales as a whole and fitted text stretches to span its two points.
    void subWorldDraw(vantrel::WorldDraw& wd) const override;

private:
    bool usesAlignmentPoint() const;

    Data m_data;
};
using OdDbTextPtr = OdSmartPtr<OdDbText>;
