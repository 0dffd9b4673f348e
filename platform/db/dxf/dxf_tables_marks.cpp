// DXF tables of points, 3D faces, leaders, raster images and wipeouts.
#include <vantrel/db/OdDbFace.h>
#include <vantrel/db/OdDbLeader.h>
#include <vantrel/db/OdDbPoint.h>
#include <vantrel/db/OdDbRasterImage.h>
#include <vantrel/db/OdDbWipeout.h>

#include "DxfClassMap.h"
#include "DxfExtra.h"
#include "DxfTagWriter.h"
#include "db_key.h"

namespace vantrel {

namespace {

const OdGeVector3d kZAxis(0.0, 0.0, 1.0);

constexpr PropertyEnumName kLeaderPaths[] = {{0, "straight"}, {1, "spline"}};
constexpr PropertyEnumName kClipTypes[] = {{1, "rectangle"}, {2, "polygon"}};

DxfClassMap pointMap()
{
    using C = OdDbPoint;
    return {"POINT",
            C::desc(),
            {dxfEntitySubclass(),
             {"AcDbPoint",
              {
                  dxfField<C>(10, &C::Data::position, OdGePoint3d(), {.name = "position"}),
                  dxfField<C>(39, &C::Data::thickness, 0.0, {.optional = true, .name = "thickness"}),
                  dxfField<C>(210, &C::Data::normal, kZAxis, {.optional = true, .name = "normal"}),
                  dxfField<C>(50, &C::Data::xAxisAngle, 0.0, {.optional = true, .angle = true, .name = "xAxisAngle"}),
              }}},
            {},
            dxfCheckData<C>()};
}

DxfClassMap faceMap()
{
    using C = OdDbFace;
    auto corner = [](int code, std::size_t i, const char* name) {
        return dxfNamed(
            {code, DxfFieldKind::Point3d, 1009, false, OdGePoint3d(),
             [i](const OdDbObject& o, DxfContext&) { return DxfValue(static_cast<const C&>(o).data().corners[i]); },
             [i](OdDbObject& o, const DxfIn& v, DxfContext&) {
                 static_cast<C&>(o).dataForWrite(vantrel::dbKey()).corners[i] = v.point;
             }},
            name, PropertyUnit::Point);
    };
    return {
        "3DFACE",
        C::desc(),
        {dxfEntitySubclass(),
         {"AcDbFace",
          {
              corner(10, 0, "corner1"),
              corner(11, 1, "corner2"),
              corner(12, 2, "corner3"),
              corner(13, 3, "corner4"),
              dxfField<C>(70, &C::Data::invisibleEdges, std::int16_t(0), {.optional = true, .name = "invisibleEdges"}),
          }}},
        {},
        dxfCheckData<C>()};
}

DxfClassMap leaderMap()
{
    using C = OdDbLeader;
    return {
        "LEADER",
        C::desc(),
        {dxfEntitySubclass(),
         {"AcDbLeader",
          {
              dxfField<C>(71, &C::Data::hasArrowHead, true, {.name = "arrowHead"}),
              dxfEnumeration(dxfField<C>(72, &C::Data::pathType, std::int16_t(0), {.name = "pathType"}), kLeaderPaths),
              {76, DxfFieldKind::Int16, 1012, false, std::int64_t(0),
               [](const OdDbObject& o, DxfContext&) {
                   return DxfValue(std::int64_t(static_cast<const C&>(o).data().vertices.size()));
               },
               [](OdDbObject&, const DxfIn&, DxfContext&) {}, nullptr, true},
              {10, DxfFieldKind::Point3d, 1012, false, OdGePoint3d(), nullptr,
               [](OdDbObject& o, const DxfIn& v, DxfContext&) {
                   static_cast<C&>(o).dataForWrite(vantrel::dbKey()).vertices.push_back(v.point);
               },
               [](const OdDbObject& o, DxfTagWriter& w, DxfContext&) {
                   for (const OdGePoint3d& p : static_cast<const C&>(o).data().vertices)
                       w.writePoint(10, p.x, p.y, p.z);
               }},
              dxfShownMember<C>("vertices", &C::Data::vertices, PropertyUnit::Point),
              dxfField<C>(210, &C::Data::normal, kZAxis, {.optional = true, .name = "normal"}),
          }}},
        {},
        dxfCheckData<C>()};
}

// The file an image definition names (its group code 1), kept with the IMAGEDEF as read.
PropertyValue imageFile(const OdDbObject& o, DxfContext&)
{
    OdDbObjectPtr def = static_cast<const OdDbRasterImage&>(o).data().imageDef.openObject();
    const DxfExtra* extra = def ? def->dxfExtra().get() : nullptr;
    if (!extra)
        return nullptr;
    const std::size_t at = extra->tags.find(1);
    if (at >= extra->tags.size())
        return nullptr;
    return std::string(extra->tags[at].value);
}

// IMAGE and WIPEOUT share their fields; each has its own subclass marker.
DxfClassMap imageMap(const char* recordName, const OdRxClass* cls, const char* marker)
{
    using C = OdDbRasterImage;
    return {
        recordName,
        cls,
        {dxfEntitySubclass(),
         {marker,
          {
              dxfField<C>(90, &C::Data::classVersion, std::int32_t(0), {.since = 1015}),
              dxfField<C>(10, &C::Data::origin, OdGePoint3d(), {.name = "origin"}),
              dxfField<C>(11, &C::Data::uPixel, OdGeVector3d(1.0, 0.0, 0.0), {.name = "uPixel"}),
              dxfField<C>(12, &C::Data::vPixel, OdGeVector3d(0.0, 1.0, 0.0), {.name = "vPixel"}),
              dxfField<C>(13, &C::Data::imageSize, OdGePoint2d(1.0, 1.0), {.name = "imageSize"}),
              // Written even when null ("0", as a wipeout has it), where other pointers are left out.
              [] {
                  DxfField f = dxfField<C>(340, &C::Data::imageDef, OdDbObjectId(), {.name = "imageDef"});
                  f.write = [](const OdDbObject& o, DxfTagWriter& w, DxfContext&) {
                      const OdDbObjectId def = static_cast<const C&>(o).data().imageDef;
                      w.writeHandle(340, def.isNull() ? 0 : def.getHandle().value());
                  };
                  return f;
              }(),
              dxfShown("imageFile", PropertyUnit::Value, imageFile),
              dxfField<C>(70, &C::Data::displayFlags, std::int16_t(3), {.name = "displayFlags"}),
              dxfField<C>(280, &C::Data::clipping, std::int16_t(0), {.name = "clipping"}),
              dxfField<C>(281, &C::Data::brightness, std::int16_t(50), {.name = "brightness"}),
              dxfField<C>(282, &C::Data::contrast, std::int16_t(50), {.name = "contrast"}),
              dxfField<C>(283, &C::Data::fade, std::int16_t(0), {.name = "fade"}),
              dxfEnumeration(dxfField<C>(71, &C::Data::clipBoundaryType, std::int16_t(1), {.name = "clipBoundaryType"}),
                             kClipTypes),
              {91, DxfFieldKind::Int32, 1015, false, std::int64_t(0),
               [](const OdDbObject& o, DxfContext&) {
                   return DxfValue(std::int64_t(static_cast<const C&>(o).data().clipBoundary.size()));
               },
               [](OdDbObject&, const DxfIn&, DxfContext&) {}, nullptr, true},
              {14, DxfFieldKind::Point2d, 1015, false, OdGePoint3d(), nullptr,
               [](OdDbObject& o, const DxfIn& v, DxfContext&) {
                   static_cast<C&>(o).dataForWrite(vantrel::dbKey()).clipBoundary.emplace_back(v.point.x, v.point.y);
               },
               [](const OdDbObject& o, DxfTagWriter& w, DxfContext&) {
                   for (const OdGePoint2d& p : static_cast<const C&>(o).data().clipBoundary)
                       w.writePoint(14, p.x, p.y);
               }},
              dxfShown("clipBoundary", PropertyUnit::Value,
                       [](const OdDbObject& o, DxfContext&) -> PropertyValue {
                           std::vector<double> xy;
                           for (const OdGePoint2d& p : static_cast<const C&>(o).data().clipBoundary) {
                               xy.push_back(p.x);
                               xy.push_back(p.y);
                           }
                           return xy;
                       }),
          }}},
        {},
        dxfCheckData<C>()};
}

} // namespace

void declareMarkMaps(std::vector<DxfClassMap>& maps)
{
    maps.push_back(pointMap());
    maps.push_back(faceMap());
    maps.push_back(leaderMap());
    maps.push_back(imageMap("IMAGE", OdDbRasterImage::desc(), "AcDbRasterImage"));
    maps.push_back(imageMap("WIPEOUT", OdDbWipeout::desc(), "AcDbWipeout"));
}

} // namespace vantrel
