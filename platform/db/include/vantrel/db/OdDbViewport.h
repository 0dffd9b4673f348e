// A paper-space viewport entity: a window on the layout showing model space. Number 1 is the
// paper-space view of the layout itself; higher numbers are floating viewports.
#pragma once

#include <vantrel/db/OdDbEntity.h>
#include <vantrel/ge/OdGePoint2d.h>
#include <vantrel/db/OdDbExport.h>

class VANTREL_DB_EXPORT OdDbViewport : public OdDbEntity {
    ODDB_DECLARE_MEMBERS(OdDbViewport)
public:
    // DXF 90 bits this class reads; the others are kept as they are.
    enum : std::int32_t { kIsOff = 0x20000 };

    // As DXF stores a VIEWPORT; angles in radians.
    struct Data {
        OdGePoint3d center;                        // 10, paper space
        double width = 0.0;                        // 40
        double height = 0.0;                       // 41
        std::int16_t status = 0;                   // 68: 0 off, -1 on but inactive, n > 0 stacking order
        std::int16_t number = 0;                   // 69
        OdGePoint2d viewCenter;                    // 12, display coordinates
        OdGeVector3d viewDirection{0.0, 0.0, 1.0}; // 16
        OdGePoint3d viewTarget;                    // 17
        double viewHeight = 1.0;                   // 45, model units
        double lensLength = 50.0;                  // 42
        double frontClip = 0.0;                    // 43
        double backClip = 0.0;                     // 44
        double twistAngle = 0.0;                   // 51 (degrees in DXF)
        std::int32_t statusFlags = 0x8000 | 0x20;  // 90
    };

    OdDbViewport() = default;

    std::int16_t number() const
    {
        assertReadEnabled();
        return m_data.number;
    }
    // Numbers are positive; 1 is the paper-space view.
    void setNumber(std::int16_t number);
    OdGePoint3d centerPoint() const
    {
        assertReadEnabled();
        return m_data.center;
    }
    void setCenterPoint(const OdGePoint3d& center);
    double width() const
    {
        assertReadEnabled();
        return m_data.width;
    }
    void setWidth(double width);
    double height() const
    {
        assertReadEnabled();
        return m_data.height;
    }
    void setHeight(double height);
    OdGePoint2d viewCenter() const
    {
        assertReadEnabled();
        return m_data.viewCenter;
    }
    void setViewCenter(const OdGePoint2d& center);
    double viewHeight() const
    {
        assertReadEnabled();
        return m_data.viewHeight;
    }
    void setViewHeight(double height);
    OdGePoint3d viewTarget() const
    {
        assertReadEnabled();
        return m_data.viewTarget;
    }
    void setViewTarget(const OdGePoint3d& target);
    OdGeVector3d viewDirection() const
    {
        assertReadEnabled();
        return m_data.viewDirection;
    }
    void setViewDirection(const OdGeVector3d& direction);
    double twistAngle() const
    {
        assertReadEnabled();
        return m_data.twistAngle;
    }
    void setTwistAngle(double angle);
    std::int16_t status() const
    {
        assertReadEnabled();
        return m_data.status;
    }
    void setStatus(std::int16_t status);
    bool isOn() const;
    // Turning on gives a viewport that had no stacking order the last place; off clears it.
    void setOn();
    void setOff();

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

    // Moves and scales the window on the sheet; the model view keeps its scale relative to it.
    void transformBy(const OdGeMatrix3d& xform) override;
    // Floating viewports draw their border; the paper-space view draws nothing.
    void subWorldDraw(vantrel::WorldDraw& wd) const override;

private:
    Data m_data;
};
using OdDbViewportPtr = OdSmartPtr<OdDbViewport>;
