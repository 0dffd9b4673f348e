// A raster image (DXF IMAGE): a picture placed by an origin and the vectors of one pixel along
// and across it, optionally clipped. The picture itself is not read: the image draws its frame
// and a placeholder cross, and keeps its image definition (the IMAGEDEF that names the file).
#pragma once

#include <vantrel/db/DbKey.h>

#include <vector>

#include <vantrel/db/OdDbEntity.h>
#include <vantrel/ge/OdGePoint2d.h>
#include <vantrel/db/OdDbExport.h>

class VANTREL_DB_EXPORT OdDbRasterImage : public OdDbEntity {
    ODDB_DECLARE_MEMBERS(OdDbRasterImage)
public:
    // DXF 70 bits.
    enum : std::int16_t { kShow = 1, kShowUnaligned = 2, kClip = 4, kTransparent = 8 };

    struct Data {
        std::int32_t classVersion = 0;         // 90
        OdGePoint3d origin;                    // 10, the lower left corner of the first pixel
        OdGeVector3d uPixel{1.0, 0.0, 0.0};    // 11, one pixel along
        OdGeVector3d vPixel{0.0, 1.0, 0.0};    // 12, one pixel up
        OdGePoint2d imageSize{1.0, 1.0};       // 13, in pixels
        OdDbObjectId imageDef;                 // 340
        std::int16_t displayFlags = 3;         // 70
        std::int16_t clipping = 0;             // 280: 1 the clip boundary applies
        std::int16_t brightness = 50;          // 281
        std::int16_t contrast = 50;            // 282
        std::int16_t fade = 0;                 // 283
        std::int16_t clipBoundaryType = 1;     // 71: 1 a rectangle by two corners, 2 a polygon
        std::vector<OdGePoint2d> clipBoundary; // 91 the count, 14 each: pixel coordinates
    };

    OdDbRasterImage() = default;

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

    // The corners of the whole picture, counter-clockwise from the origin.
    std::vector<OdGePoint3d> frame() const;
    // The outline drawn: the clip boundary in world coordinates when clipping applies (a
    // rectangle given by two corners made four), else the frame.
    std::vector<OdGePoint3d> boundary() const;
    // A clip boundary point (pixel coordinates, the origin at the top left corner of the picture,
    // pixel centres at whole numbers) in world coordinates.
    OdGePoint3d pixelToWorld(const OdGePoint2d& pixel) const;

    void transformBy(const OdGeMatrix3d& xform) override;
    // The boundary and a cross from corner to corner where the picture would be.
    void subWorldDraw(vantrel::WorldDraw& wd) const override;

protected:
    Data m_data;
};
using OdDbRasterImagePtr = OdSmartPtr<OdDbRasterImage>;
