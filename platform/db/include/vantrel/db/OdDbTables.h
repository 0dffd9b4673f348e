// The concrete symbol tables and the simple records: layers, linetypes, text styles and
// registered applications. Block table records have a header of their own.
#pragma once

#include <vector>

#include <vantrel/db/OdCmColor.h>
#include <vantrel/db/OdDbSymbolTable.h>
#include <vantrel/db/OdDbSymbolTableRecord.h>
#include <vantrel/db/OdDbExport.h>

#define VANTREL_DECLARE_TABLE(Name)                                                                                    \
    class VANTREL_DB_EXPORT Name : public OdDbSymbolTable {                                                            \
        ODDB_DECLARE_MEMBERS(Name)                                                                                     \
    };                                                                                                                 \
    using Name##Ptr = OdSmartPtr<Name>;

VANTREL_DECLARE_TABLE(OdDbBlockTable)
VANTREL_DECLARE_TABLE(OdDbLayerTable)
VANTREL_DECLARE_TABLE(OdDbLinetypeTable)
VANTREL_DECLARE_TABLE(OdDbTextStyleTable)
VANTREL_DECLARE_TABLE(OdDbRegAppTable)
#undef VANTREL_DECLARE_TABLE

class VANTREL_DB_EXPORT OdDbLayerTableRecord : public OdDbSymbolTableRecord {
    ODDB_DECLARE_MEMBERS(OdDbLayerTableRecord)
public:
    // Flag bits as DXF stores them in group 70.
    enum : std::int16_t { kFrozen = 1, kLocked = 4 };
    bool isLocked() const { return flags() & kLocked; }
    void setIsLocked(bool locked);
    bool isFrozen() const { return flags() & kFrozen; }
    void setIsFrozen(bool frozen);
    // A layer is off when its colour index is negative in DXF; kept as a flag here.
    bool isOff() const
    {
        assertReadEnabled();
        return m_off;
    }
    void setIsOff(bool off)
    {
        assertWriteEnabled();
        m_off = off;
    }
    const OdCmColor& color() const
    {
        assertReadEnabled();
        return m_color;
    }
    void setColor(const OdCmColor& color)
    {
        assertWriteEnabled();
        m_color = color;
    }
    OdDbObjectId linetypeObjectId() const
    {
        assertReadEnabled();
        return m_linetype;
    }
    void setLinetypeObjectId(OdDbObjectId id)
    {
        assertWriteEnabled();
        m_linetype = id;
    }
    std::int16_t lineWeight() const
    {
        assertReadEnabled();
        return m_lineWeight;
    }
    void setLineWeight(std::int16_t w)
    {
        assertWriteEnabled();
        m_lineWeight = w;
    }
    bool isPlottable() const
    {
        assertReadEnabled();
        return m_plottable;
    }
    void setIsPlottable(bool p)
    {
        assertWriteEnabled();
        m_plottable = p;
    }

private:
    OdCmColor m_color = OdCmColor::byIndex(7);
    OdDbObjectId m_linetype;
    std::int16_t m_lineWeight = -3;
    bool m_off = false;
    bool m_plottable = true;
};
using OdDbLayerTableRecordPtr = OdSmartPtr<OdDbLayerTableRecord>;

class VANTREL_DB_EXPORT OdDbLinetypeTableRecord : public OdDbSymbolTableRecord {
    ODDB_DECLARE_MEMBERS(OdDbLinetypeTableRecord)
public:
    // One element of the pattern: a dash (positive length), a gap (negative) or a dot (zero),
    // with, in a complex linetype, a shape or a text drawn at its start.
    struct Dash {
        enum Flags : std::int16_t { kAbsoluteRotation = 1, kText = 2, kShape = 4 };
        double length = 0.0;
        std::int16_t flags = 0;       // 0 for a plain dash
        std::int16_t shapeNumber = 0; // the shape's number in its shape file; 0 for a text
        OdDbObjectId style;           // the text style of the text or the shape file's style
        double scale = 1.0;
        double rotation = 0.0; // as files hold it: degrees
        double offsetX = 0.0;
        double offsetY = 0.0;
        OdString text;
        bool isComplex() const { return flags != 0; }
        friend bool operator==(const Dash&, const Dash&) = default;
    };

    const OdString& comments() const
    {
        assertReadEnabled();
        return m_comments;
    }
    void setComments(const OdString& c)
    {
        assertWriteEnabled();
        m_comments = c;
    }
    const std::vector<Dash>& dashElements() const
    {
        assertReadEnabled();
        return m_dashes;
    }
    // Sets the pattern and its length, the sum of the lengths' magnitudes, or the length a file
    // states for it.
    void setDashElements(std::vector<Dash> dashes);
    void setDashElements(std::vector<Dash> dashes, double patternLength);
    // The lengths alone, for drawing the pattern.
    std::vector<double> dashes() const;
    void setDashes(const std::vector<double>& lengths);
    // The length of one repetition of the pattern, as set with it or as a file states it.
    double patternLength() const
    {
        assertReadEnabled();
        return m_patternLength;
    }
    void setPatternLength(double length);

private:
    OdString m_comments;
    std::vector<Dash> m_dashes;
    double m_patternLength = 0.0;
};
using OdDbLinetypeTableRecordPtr = OdSmartPtr<OdDbLinetypeTableRecord>;

class VANTREL_DB_EXPORT OdDbTextStyleTableRecord : public OdDbSymbolTableRecord {
    ODDB_DECLARE_MEMBERS(OdDbTextStyleTableRecord)
public:
    double textSize() const
    {
        assertReadEnabled();
        return m_textSize;
    }
    void setTextSize(double s)
    {
        assertWriteEnabled();
        m_textSize = s;
    }
    double xScale() const
    {
        assertReadEnabled();
        return m_xScale;
    }
    void setXScale(double s)
    {
        assertWriteEnabled();
        m_xScale = s;
    }
    double obliquingAngle() const
    {
        assertReadEnabled();
        return m_oblique;
    }
    void setObliquingAngle(double a)
    {
        assertWriteEnabled();
        m_oblique = a;
    }
    double priorSize() const
    {
        assertReadEnabled();
        return m_priorSize;
    }
    void setPriorSize(double s)
    {
        assertWriteEnabled();
        m_priorSize = s;
    }
    const OdString& fileName() const
    {
        assertReadEnabled();
        return m_fileName;
    }
    void setFileName(const OdString& f)
    {
        assertWriteEnabled();
        m_fileName = f;
    }
    const OdString& bigFontFileName() const
    {
        assertReadEnabled();
        return m_bigFont;
    }
    void setBigFontFileName(const OdString& f)
    {
        assertWriteEnabled();
        m_bigFont = f;
    }
    std::int16_t textGenerationFlags() const
    {
        assertReadEnabled();
        return m_genFlags;
    }
    void setTextGenerationFlags(std::int16_t f)
    {
        assertWriteEnabled();
        m_genFlags = f;
    }
    // A style that names a shape file (flag 1) has no name of its own: linetypes refer to it by
    // handle.
    bool isShapeFile() const { return (flags() & 1) != 0; }

protected:
    bool mayBeUnnamed() const override { return true; }

private:
    double m_textSize = 0.0;
    double m_xScale = 1.0;
    double m_oblique = 0.0;
    double m_priorSize = 2.5;
    std::int16_t m_genFlags = 0;
    OdString m_fileName = L"txt";
    OdString m_bigFont;
};
using OdDbTextStyleTableRecordPtr = OdSmartPtr<OdDbTextStyleTableRecord>;

class VANTREL_DB_EXPORT OdDbRegAppTableRecord : public OdDbSymbolTableRecord {
    ODDB_DECLARE_MEMBERS(OdDbRegAppTableRecord)
};
using OdDbRegAppTableRecordPtr = OdSmartPtr<OdDbRegAppTableRecord>;
