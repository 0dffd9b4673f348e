// A layout: the named tab that shows one space block (model space or a paper-space sheet),
// with its tab order, limits and extents. Plot settings are not modelled; the DXF layer keeps
// them with the object for write-back.
#pragma once

#include <vantrel/db/OdDbObject.h>
#include <vantrel/ge/OdGePoint2d.h>
#include <vantrel/ge/OdGePoint3d.h>
#include <vantrel/ge/OdGeVector3d.h>
#include <vantrel/db/OdDbExport.h>

class VANTREL_DB_EXPORT OdDbLayout : public OdDbObject {
    ODDB_DECLARE_MEMBERS(OdDbLayout)
public:
    // As the AcDbLayout part of a DXF LAYOUT object stores it.
    struct Data {
        OdString layoutName;                     // 1
        std::int16_t layoutFlags = 1;            // 70: 1 PSLTSCALE, 2 LIMCHECK
        std::int16_t tabOrder = 0;               // 71
        OdGePoint2d limMin;                      // 10
        OdGePoint2d limMax{420.0, 297.0};        // 11
        OdGePoint3d insertionBase;               // 12
        OdGePoint3d extMin{1e20, 1e20, 1e20};    // 14, empty extents as DXF writes them
        OdGePoint3d extMax{-1e20, -1e20, -1e20}; // 15
        double elevation = 0.0;                  // 146
        OdGePoint3d ucsOrigin;                   // 13
        OdGeVector3d ucsXAxis{1.0, 0.0, 0.0};    // 16
        OdGeVector3d ucsYAxis{0.0, 1.0, 0.0};    // 17
        std::int16_t ucsOrthoType = 0;           // 76
        OdDbObjectId blockTableRecord;           // 330 (of the AcDbLayout part)
        OdDbObjectId lastActiveViewport;         // 331
    };

    OdDbLayout() = default;

    const OdString& getLayoutName() const
    {
        assertReadEnabled();
        return m_data.layoutName;
    }
    // Raises OdError(eInvalidInput) for an empty name.
    void setLayoutName(const OdString& name);
    std::int16_t getTabOrder() const
    {
        assertReadEnabled();
        return m_data.tabOrder;
    }
    void setTabOrder(std::int16_t order);
    OdDbObjectId getBlockTableRecordId() const
    {
        assertReadEnabled();
        return m_data.blockTableRecord;
    }
    void setBlockTableRecordId(OdDbObjectId block);
    // The viewport that was active when the layout was last current.
    OdDbObjectId lastActiveViewportId() const
    {
        assertReadEnabled();
        return m_data.lastActiveViewport;
    }
    void setLastActiveViewportId(OdDbObjectId viewport);
    void getLimits(OdGePoint2d& min, OdGePoint2d& max) const;
    void setLimits(const OdGePoint2d& min, const OdGePoint2d& max);
    void getExtents(OdGePoint3d& min, OdGePoint3d& max) const;
    void setExtents(const OdGePoint3d& min, const OdGePoint3d& max);
    // The model-space layout is the one on the model-space block.
    bool modelType() const;

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

private:
    Data m_data;
};
using OdDbLayoutPtr = OdSmartPtr<OdDbLayout>;
