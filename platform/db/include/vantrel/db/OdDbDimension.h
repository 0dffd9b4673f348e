// A dimension (DXF DIMENSION): what it measures is kept as the file gives it (the definition
// points, the measurement, the type), and it is drawn as its block, the anonymous "*D" block that
// holds its lines, arrows and text in world coordinates.
#pragma once

#include <vantrel/db/DbKey.h>

#include <vantrel/db/OdDbEntity.h>
#include <vantrel/db/OdDbExport.h>

class VANTREL_DB_EXPORT OdDbDimension : public OdDbEntity {
    ODDB_DECLARE_MEMBERS(OdDbDimension)
public:
    // DXF 70: the type in the low bits, with these flags.
    enum : std::int16_t { kTypeMask = 0x0F, kBlockOwnedOnly = 32, kOrdinateX = 64, kUserTextPosition = 128 };

    // The common part of every dimension; the points of each kind (13, 14, 15, 16, …) are kept
    // with the record as read.
    struct Data {
        OdString blockName;                 // 2
        OdGePoint3d definitionPoint;        // 10, world
        OdGePoint3d ocsTextPosition;        // 11, in the OCS of the normal
        std::int16_t dimensionType = 0;     // 70
        OdString userText;                  // 1: empty for the measurement, "<>" stands for it
        double measurement = 0.0;           // 42, as the writer measured it
        double textRotation = 0.0;          // 53 (degrees in DXF)
        OdGeVector3d normal{0.0, 0.0, 1.0}; // 210, unit
    };

    OdDbDimension() = default;

    // The block record of the block name (null when the drawing has none of that name).
    OdDbObjectId dimBlockId() const;
    OdGePoint3d definitionPoint() const
    {
        assertReadEnabled();
        return m_data.definitionPoint;
    }
    OdGePoint3d textPosition() const;
    double measurement() const
    {
        assertReadEnabled();
        return m_data.measurement;
    }
    const OdString& dimensionText() const
    {
        assertReadEnabled();
        return m_data.userText;
    }
    void setDimensionText(const OdString& text);

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
    void checkData() const;

    // The block's entities as they are; a dimension whose block is missing draws nothing.
    void subWorldDraw(vantrel::WorldDraw& wd) const override;
    vantrel::LinetypeUse linetypeUse() const override { return vantrel::LinetypeUse::None; }

private:
    Data m_data;
};
using OdDbDimensionPtr = OdSmartPtr<OdDbDimension>;
