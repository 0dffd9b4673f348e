// DXF tables of the modelled entities, one map per record name, each after the AcDbEntity part.
#include <algorithm>

#include <vantrel/db/OdDbArc.h>
#include <vantrel/db/OdDbCircle.h>
#include <vantrel/db/OdDbEllipse.h>
#include <vantrel/db/OdDbLight.h>
#include <vantrel/db/OdDbLine.h>
#include <vantrel/db/OdDbPolyline.h>
#include <vantrel/db/OdDbSolid.h>
#include <vantrel/db/OdDbSpline.h>
#include <vantrel/db/OdDbText.h>
#include <vantrel/db/OdDbViewport.h>

#include "DxfClassMap.h"
#include "DxfTagWriter.h"
#include "dxf_light_xdata.h"
#include "entity_math.h"
#include "db_key.h"

namespace vantrel {

namespace {

constexpr DxfFieldOptions kOptional{.optional = true};
const OdGeVector3d kZAxis(0.0, 0.0, 1.0);

constexpr PropertyEnumName kHorizontalModes[]
    = {{0, "left"}, {1, "center"}, {2, "right"}, {3, "aligned"}, {4, "middle"}, {5, "fit"}};
constexpr PropertyEnumName kVerticalModes[] = {{0, "baseline"}, {1, "bottom"}, {2, "middle"}, {3, "top"}};
constexpr PropertyEnumName kLightTypes[] = {{1, "distant"}, {2, "point"}, {3, "spot"}, {10, "web"}};
constexpr PropertyEnumName kAttenuations[] = {{0, "none"}, {1, "inverse linear"}, {2, "inverse square"}};
constexpr PropertyEnumName kShadowTypes[] = {{0, "ray traced"}, {1, "shadow maps"}};
constexpr PropertyEnumName kPhotometricMethods[] = {{0, "candela"}, {1, "lumen"}, {2, "lux"}};
constexpr PropertyEnumName kLampColorTypes[] = {{0, "kelvin"}, {1, "preset"}};

// The thickness and normal most planar entities have, under their usual codes.
template <class C>
DxfField thicknessField()
{
    return dxfField<C>(39, &C::Data::thickness, 0.0, {.optional = true, .name = "thickness"});
}

template <class C>
DxfField normalField()
{
    return dxfField<C>(210, &C::Data::normal, kZAxis, {.optional = true, .name = "normal"});
}

// A point kept in the entity's plane, shown in world coordinates through the entity's own
// accessor.
template <class C>
DxfField worldPointOf(DxfField f, const char* name, OdGePoint3d (C::*world)() const)
{
    f = dxfNamed(std::move(f), name, PropertyUnit::Point);
    f.show = [world](const OdDbObject& o, DxfContext&) -> PropertyValue { return (static_cast<const C&>(o).*world)(); };
    return f;
}

DxfClassMap lineMap()
{
    using C = OdDbLine;
    return {"LINE",
            C::desc(),
            {dxfEntitySubclass(),
             {"AcDbLine",
              {
                  thicknessField<C>(),
                  dxfField<C>(10, &C::Data::start, OdGePoint3d(), {.name = "start"}),
                  dxfField<C>(11, &C::Data::end, OdGePoint3d(), {.name = "end"}),
                  normalField<C>(),
                  dxfShown("length", PropertyUnit::Value,
                           [](const OdDbObject& o, DxfContext&) -> PropertyValue {
                               const C::Data& d = static_cast<const C&>(o).data();
                               return d.start.distanceTo(d.end);
                           }),
              }}},
            {},
            {}};
}

// A radius is positive; one of 0, which real files hold, is kept as a point-like curve and said.
void radiusCheck(const DxfIn& v, DxfContext& c)
{
    if (v.number == 0.0)
        c.noteRepair("arcs and circles of radius 0 kept as they are");
    else
        entmath::requirePositive(v.number, "a radius");
}

// The AcDbCircle part of circles and arcs.
template <class C>
DxfSubclass circleSubclass()
{
    return {"AcDbCircle",
            {
                thicknessField<C>(),
                worldPointOf<C>(dxfField<C>(10, &C::Data::ocsCenter), "center", &C::center),
                dxfChecked(dxfField<C>(40, &C::Data::radius, 1.0, {.name = "radius"}), radiusCheck),
                normalField<C>(),
            }};
}

DxfClassMap circleMap()
{
    return {"CIRCLE", OdDbCircle::desc(), {dxfEntitySubclass(), circleSubclass<OdDbCircle>()}, {}, {}};
}

DxfClassMap arcMap()
{
    using C = OdDbArc;
    return {"ARC",
            C::desc(),
            {dxfEntitySubclass(),
             circleSubclass<C>(),
             {"AcDbArc",
              {
                  dxfField<C>(50, &C::Data::startAngle, 0.0, {.angle = true, .name = "startAngle"}),
                  dxfField<C>(51, &C::Data::endAngle, 0.0, {.angle = true, .name = "endAngle"}),
              }}},
            {},
            {}};
}

DxfClassMap ellipseMap()
{
    using C = OdDbEllipse;
    return {"ELLIPSE",
            C::desc(),
            {dxfEntitySubclass(),
             {"AcDbEllipse",
              {
                  dxfField<C>(10, &C::Data::center, OdGePoint3d(), {.name = "center"}),
                  dxfField<C>(11, &C::Data::majorAxis, OdGeVector3d(1.0, 0.0, 0.0), {.name = "majorAxis"}),
                  normalField<C>(),
                  dxfField<C>(40, &C::Data::radiusRatio, 1.0, {.name = "ratio"}),
                  dxfField<C>(41, &C::Data::startParam, 0.0, {.name = "startParam"}),
                  dxfField<C>(42, &C::Data::endParam, 0.0, {.name = "endParam"}),
              }}},
            {},
            dxfCheckData<C>()};
}

// LWPOLYLINE: 90 counts the vertices; each vertex is a group opened by its 10/20 point and
// followed by its optional 40, 41, 42 and 91.
DxfClassMap polylineMap()
{
    using C = OdDbPolyline;
    auto data = [](const OdDbObject& o) -> const C::Data& { return static_cast<const C&>(o).data(); };
    auto dataW = [](OdDbObject& o) -> C::Data& { return static_cast<C&>(o).dataForWrite(vantrel::dbKey()); };
    auto lastVertex = [dataW](OdDbObject& o, int code) -> C::Vertex& {
        auto& vs = dataW(o).vertices;
        if (vs.empty())
            throw OdError(eInvalidInput, "group code " + std::to_string(code) + " comes before the first vertex");
        return vs.back();
    };
    auto vertexValue = [lastVertex](double C::Vertex::*member, int code) {
        return [lastVertex, member, code](OdDbObject& o, const DxfIn& v, DxfContext&) {
            lastVertex(o, code).*member = v.number;
        };
    };
    auto width = [](const DxfIn& v, DxfContext&) { entmath::requireWidth(v.number); };
    return {
        "LWPOLYLINE",
        C::desc(),
        {dxfEntitySubclass(),
         {"AcDbPolyline",
          {
              {90, DxfFieldKind::Int32, 1015, false, std::int64_t(0),
               [data](const OdDbObject& o, DxfContext&) { return DxfValue(std::int64_t(data(o).vertices.size())); },
               [dataW](OdDbObject& o, const DxfIn& v, DxfContext&) {
                   // Room for the vertices to come; a count the file belies is refused after
                   // reading, so a wild one may not reserve more than a bounded amount.
                   const std::int64_t n = v.integer;
                   if (n > 0)
                       dataW(o).vertices.reserve(static_cast<std::size_t>(std::min<std::int64_t>(n, 4096)));
               },
               nullptr, true},
              {70, DxfFieldKind::Int16, 1015, false, std::int64_t(0),
               [data](const OdDbObject& o, DxfContext&) {
                   return DxfValue(std::int64_t((data(o).closed ? 1 : 0) | (data(o).plinegen ? 128 : 0)));
               },
               [dataW](OdDbObject& o, const DxfIn& v, DxfContext&) {
                   auto flags = v.integer;
                   dataW(o).closed = flags & 1;
                   dataW(o).plinegen = flags & 128;
               }},
              dxfShownMember<C>("closed", &C::Data::closed),
              dxfShownMember<C>("plinegen", &C::Data::plinegen),
              dxfChecked(dxfField<C>(43, &C::Data::constantWidth, 0.0, {.optional = true, .name = "constantWidth"}),
                         width),
              dxfField<C>(38, &C::Data::elevation, 0.0, {.optional = true, .name = "elevation"}),
              thicknessField<C>(),
              {10, DxfFieldKind::Point2d, 1015, false, OdGePoint3d(), nullptr,
               [dataW](OdDbObject& o, const DxfIn& v, DxfContext&) {
                   const OdGePoint3d& p = v.point;
                   C::Vertex vertex;
                   vertex.point = OdGePoint2d(p.x, p.y);
                   dataW(o).vertices.push_back(vertex);
               },
               [data](const OdDbObject& o, DxfTagWriter& w, DxfContext&) {
                   for (const C::Vertex& v : data(o).vertices) {
                       w.writePoint(10, v.point.x, v.point.y);
                       if (v.startWidth != 0.0 || v.endWidth != 0.0) {
                           w.writeDouble(40, v.startWidth);
                           w.writeDouble(41, v.endWidth);
                       }
                       if (v.bulge != 0.0)
                           w.writeDouble(42, v.bulge);
                       if (v.identifier != 0)
                           w.writeInt(91, v.identifier);
                   }
               }},
              dxfShown("vertices", PropertyUnit::Value,
                       [data](const OdDbObject& o, DxfContext&) -> PropertyValue {
                           const std::vector<C::Vertex>& vertices = data(o).vertices;
                           PropertyRecords records;
                           records.reserve(vertices.size(), 4 * vertices.size());
                           for (unsigned int i = 0; i < vertices.size(); ++i) {
                               OdGePoint3d world;
                               static_cast<const C&>(o).getPointAt(i, world);
                               records.add("point", PropertyUnit::Point, world);
                               records.add("startWidth", PropertyUnit::Value, vertices[i].startWidth);
                               records.add("endWidth", PropertyUnit::Value, vertices[i].endWidth);
                               records.add("bulge", PropertyUnit::Value, vertices[i].bulge);
                               records.endRecord();
                           }
                           return records;
                       }),
              dxfChecked({40, DxfFieldKind::Double, 1015, false, 0.0, nullptr, vertexValue(&C::Vertex::startWidth, 40)},
                         width),
              dxfChecked({41, DxfFieldKind::Double, 1015, false, 0.0, nullptr, vertexValue(&C::Vertex::endWidth, 41)},
                         width),
              {42, DxfFieldKind::Double, 1015, false, 0.0, nullptr, vertexValue(&C::Vertex::bulge, 42)},
              {91, DxfFieldKind::Int32, 1024, false, std::int64_t(0), nullptr,
               [lastVertex](OdDbObject& o, const DxfIn& v, DxfContext&) {
                   lastVertex(o, 91).identifier = static_cast<std::int32_t>(v.integer);
               }},
              normalField<C>(),
          }}},
        {},
        {}};
}

} // namespace

DxfSubclass dxfTextSubclass()
{
    using C = OdDbText;
    return {
        "AcDbText",
        {
            thicknessField<C>(),
            worldPointOf<C>(dxfField<C>(10, &C::Data::ocsPosition), "position", &C::position),
            dxfField<C>(40, &C::Data::height, 2.5, {.name = "height"}),
            dxfField<C>(1, &C::Data::textString, OdString(), {.name = "text"}),
            dxfField<C>(50, &C::Data::rotation, 0.0, {.optional = true, .angle = true, .name = "rotation"}),
            dxfField<C>(41, &C::Data::widthFactor, 1.0, {.optional = true, .name = "widthFactor"}),
            dxfField<C>(51, &C::Data::oblique, 0.0, {.optional = true, .angle = true, .name = "oblique"}),
            dxfNamed({7, DxfFieldKind::String, 1009, true, std::string("Standard"),
                      [](const OdDbObject& o, DxfContext& c) {
                          OdDbObjectId style = static_cast<const C&>(o).data().textStyle;
                          return DxfValue(style.isNull() ? std::string("Standard") : c.nameOf(style));
                      },
                      [](OdDbObject& o, const DxfIn& v, DxfContext& c) {
                          static_cast<C&>(o).dataForWrite(vantrel::dbKey()).textStyle = c.textStyleNamed(v.text, 7);
                      }},
                     "style"),
            dxfField<C>(71, &C::Data::generationFlags, std::int16_t(0), {.optional = true, .name = "generationFlags"}),
            dxfEnumeration(dxfField<C>(72, &C::Data::horizontalMode, std::int16_t(0),
                                       {.optional = true, .name = "horizontalMode"}),
                           kHorizontalModes),
            // The alignment point counts whenever the text is aligned, even at the origin.
            [] {
                DxfField f = worldPointOf<C>(dxfField<C>(11, &C::Data::ocsAlignmentPoint, OdGePoint3d(), kOptional),
                                             "alignmentPoint", &C::alignmentPoint);
                f.alsoWhen = [](const OdDbObject& o) {
                    const C::Data& d = static_cast<const C&>(o).data();
                    return d.horizontalMode != 0 || d.verticalMode != 0;
                };
                return f;
            }(),
            normalField<C>(),
        }};
}

namespace {

DxfClassMap textMap()
{
    using C = OdDbText;
    return {"TEXT",
            C::desc(),
            {dxfEntitySubclass(),
             dxfTextSubclass(),
             {"AcDbText",
              {dxfEnumeration(
                  dxfField<C>(73, &C::Data::verticalMode, std::int16_t(0), {.optional = true, .name = "verticalMode"}),
                  kVerticalModes)}}},
            {},
            dxfCheckData<C>()};
}

DxfClassMap solidMap()
{
    using C = OdDbSolid;
    // Corners in its plane, in DXF order (the third and fourth swapped against the outline).
    auto corner = [](int code, std::size_t i, const char* name) {
        return dxfNamed(
            {code, DxfFieldKind::Point3d, 1009, false, OdGePoint3d(),
             [i](const OdDbObject& o, DxfContext&) { return DxfValue(static_cast<const C&>(o).data().ocsCorners[i]); },
             [i](OdDbObject& o, const DxfIn& v, DxfContext&) {
                 static_cast<C&>(o).dataForWrite(vantrel::dbKey()).ocsCorners[i] = v.point;
             }},
            name, PropertyUnit::Point);
    };
    auto worldCorner = [corner](int code, int i, const char* name) {
        DxfField f = corner(code, static_cast<std::size_t>(i), name);
        f.show = [i](const OdDbObject& o, DxfContext&) -> PropertyValue {
            OdGePoint3d p;
            static_cast<const C&>(o).getPointAt(i, p);
            return p;
        };
        return f;
    };
    return {"SOLID",
            C::desc(),
            {dxfEntitySubclass(),
             {"AcDbTrace",
              {worldCorner(10, 0, "corner1"), worldCorner(11, 1, "corner2"), worldCorner(12, 2, "corner3"),
               worldCorner(13, 3, "corner4"), thicknessField<C>(), normalField<C>()}}},
            {},
            {}};
}

// SPLINE: the counts 72, 73 and 74 precede the repeated 40 knots, 41 weights, 10 control points
// and 11 fit points.
DxfClassMap splineMap()
{
    using C = OdDbSpline;
    auto data = [](const OdDbObject& o) -> const C::Data& { return static_cast<const C&>(o).data(); };
    auto dataW = [](OdDbObject& o) -> C::Data& { return static_cast<C&>(o).dataForWrite(vantrel::dbKey()); };
    auto count = [data](int code, auto member) {
        return DxfField{code,
                        DxfFieldKind::Int16,
                        1012,
                        false,
                        std::int64_t(0),
                        [data, member](const OdDbObject& o, DxfContext&) {
                            return DxfValue(std::int64_t((data(o).*member).size()));
                        },
                        [](OdDbObject&, const DxfIn&, DxfContext&) {},
                        nullptr,
                        true};
    };
    return {"SPLINE",
            C::desc(),
            {dxfEntitySubclass(),
             {"AcDbSpline",
              {
                  normalField<C>(),
                  dxfField<C>(70, &C::Data::flags, std::int16_t(0), {.name = "flags"}),
                  dxfField<C>(71, &C::Data::degree, std::int16_t(3), {.name = "degree"}),
                  count(72, &C::Data::knots),
                  count(73, &C::Data::controlPoints),
                  count(74, &C::Data::fitPoints),
                  dxfField<C>(42, &C::Data::knotTolerance, 1e-10, {.name = "knotTolerance"}),
                  dxfField<C>(43, &C::Data::controlPointTolerance, 1e-10, {.name = "controlPointTolerance"}),
                  dxfField<C>(44, &C::Data::fitTolerance, 1e-10, {.optional = true, .name = "fitTolerance"}),
                  dxfField<C>(12, &C::Data::startTangent, OdGeVector3d(), {.optional = true, .name = "startTangent"}),
                  dxfField<C>(13, &C::Data::endTangent, OdGeVector3d(), {.optional = true, .name = "endTangent"}),
                  dxfShownMember<C>("knots", &C::Data::knots),
                  dxfShownMember<C>("weights", &C::Data::weights),
                  dxfShownMember<C>("controlPoints", &C::Data::controlPoints, PropertyUnit::Point),
                  dxfShownMember<C>("fitPoints", &C::Data::fitPoints, PropertyUnit::Point),
                  {40, DxfFieldKind::Double, 1012, false, 0.0, nullptr,
                   [dataW](OdDbObject& o, const DxfIn& v, DxfContext&) { dataW(o).knots.push_back(v.number); },
                   [data](const OdDbObject& o, DxfTagWriter& w, DxfContext&) {
                       for (double k : data(o).knots)
                           w.writeDouble(40, k);
                   }},
                  {41, DxfFieldKind::Double, 1012, false, 0.0, nullptr,
                   [dataW](OdDbObject& o, const DxfIn& v, DxfContext&) { dataW(o).weights.push_back(v.number); },
                   [data](const OdDbObject& o, DxfTagWriter& w, DxfContext&) {
                       for (double k : data(o).weights)
                           w.writeDouble(41, k);
                   }},
                  {10, DxfFieldKind::Point3d, 1012, false, OdGePoint3d(), nullptr,
                   [dataW](OdDbObject& o, const DxfIn& v, DxfContext&) { dataW(o).controlPoints.push_back(v.point); },
                   [data](const OdDbObject& o, DxfTagWriter& w, DxfContext&) {
                       for (const OdGePoint3d& p : data(o).controlPoints)
                           w.writePoint(10, p.x, p.y, p.z);
                   }},
                  {11, DxfFieldKind::Point3d, 1012, false, OdGePoint3d(), nullptr,
                   [dataW](OdDbObject& o, const DxfIn& v, DxfContext&) { dataW(o).fitPoints.push_back(v.point); },
                   [data](const OdDbObject& o, DxfTagWriter& w, DxfContext&) {
                       for (const OdGePoint3d& p : data(o).fitPoints)
                           w.writePoint(11, p.x, p.y, p.z);
                   }},
              }}},
            {},
            dxfCheckData<C>()};
}

DxfClassMap viewportMap()
{
    using C = OdDbViewport;
    return {"VIEWPORT",
            C::desc(),
            {dxfEntitySubclass(),
             {"AcDbViewport",
              {
                  dxfField<C>(10, &C::Data::center, OdGePoint3d(), {.name = "center"}),
                  dxfField<C>(40, &C::Data::width, 0.0, {.name = "width"}),
                  dxfField<C>(41, &C::Data::height, 0.0, {.name = "height"}),
                  dxfField<C>(68, &C::Data::status, std::int16_t(0), {.name = "status"}),
                  dxfField<C>(69, &C::Data::number, std::int16_t(0), {.name = "number"}),
                  dxfField<C>(12, &C::Data::viewCenter, {}, {.name = "viewCenter", .plane = true}),
                  dxfField<C>(16, &C::Data::viewDirection, kZAxis, {.name = "viewDirection"}),
                  dxfField<C>(17, &C::Data::viewTarget, OdGePoint3d(), {.name = "viewTarget"}),
                  dxfField<C>(42, &C::Data::lensLength, 50.0, {.name = "lensLength"}),
                  dxfField<C>(43, &C::Data::frontClip, 0.0, {.name = "frontClip"}),
                  dxfField<C>(44, &C::Data::backClip, 0.0, {.name = "backClip"}),
                  dxfField<C>(45, &C::Data::viewHeight, 1.0, {.name = "viewHeight"}),
                  dxfField<C>(51, &C::Data::twistAngle, 0.0, {.angle = true, .name = "twistAngle"}),
                  dxfField<C>(90, &C::Data::statusFlags, std::int32_t(0), {.name = "statusFlags"}),
              }}},
            {},
            {}};
}

// LIGHT: the AcDbLight part as DXF documents it, a web light written as the point light it is
// to other readers; the properties DXF has no code for follow as VANTREL extended data.
DxfClassMap lightMap()
{
    using C = OdDbLight;
    auto data = [](const OdDbObject& o) -> const C::Data& { return static_cast<const C&>(o).data(); };
    auto dataW = [](OdDbObject& o) -> C::Data& { return static_cast<C&>(o).dataForWrite(vantrel::dbKey()); };
    DxfClassMap map{
        "LIGHT",
        C::desc(),
        {dxfEntitySubclass(),
         {"AcDbLight",
          {
              dxfField<C>(90, &C::Data::version, std::int32_t(1), {.since = 1021}),
              dxfField<C>(1, &C::Data::name, OdString(), {.name = "name"}),
              // 1 distant, 2 point, 3 spot; a web light (10 here) is a point light to other readers.
              {70, DxfFieldKind::Int16, 1021, false, std::int64_t(2),
               [data](const OdDbObject& o, DxfContext&) {
                   const std::int16_t type = data(o).lightType;
                   return DxfValue(
                       std::int64_t(type == OdGiDrawable::kWebLight ? std::int16_t(OdGiDrawable::kPointLight) : type));
               },
               [dataW](OdDbObject& o, const DxfIn& v, DxfContext&) {
                   dataW(o).lightType = static_cast<std::int16_t>(v.integer);
               }},
              dxfEnumeration(dxfShownMember<C>("lightType", &C::Data::lightType), kLightTypes),
              dxfField<C>(290, &C::Data::on, true, {.name = "on"}),
              dxfField<C>(291, &C::Data::plotGlyph, false, {.name = "plotGlyph"}),
              dxfField<C>(40, &C::Data::intensity, 1.0, {.name = "intensity"}),
              dxfField<C>(10, &C::Data::position, OdGePoint3d(), {.name = "position"}),
              dxfField<C>(11, &C::Data::targetLocation, OdGePoint3d(), {.name = "target"}),
              dxfShownMember<C>("hasTarget", &C::Data::hasTarget),
              dxfEnumeration(dxfField<C>(72, &C::Data::attenuationType, std::int16_t(2), {.name = "attenuationType"}),
                             kAttenuations),
              dxfField<C>(292, &C::Data::useAttenuationLimits, false, {.name = "useAttenuationLimits"}),
              dxfField<C>(41, &C::Data::attenuationStartLimit, 1.0, {.name = "attenuationStartLimit"}),
              dxfField<C>(42, &C::Data::attenuationEndLimit, 10.0, {.name = "attenuationEndLimit"}),
              dxfField<C>(50, &C::Data::hotspotAngle, 0.0, {.angle = true, .name = "hotspotAngle"}),
              dxfField<C>(51, &C::Data::falloffAngle, 0.0, {.angle = true, .name = "falloffAngle"}),
              dxfField<C>(293, &C::Data::castShadows, true, {.name = "castShadows"}),
              dxfEnumeration(dxfField<C>(73, &C::Data::shadowType, std::int16_t(0), {.name = "shadowType"}),
                             kShadowTypes),
              dxfField<C>(91, &C::Data::shadowMapSize, std::int32_t(256), {.name = "shadowMapSize"}),
              dxfField<C>(280, &C::Data::shadowMapSoftness, std::int16_t(1), {.name = "shadowMapSoftness"}),
              // Kept in the VANTREL extended data (dxf_light_xdata.cpp), or computed.
              dxfShown("lightColor", PropertyUnit::Colour,
                       [data](const OdDbObject& o, DxfContext&) -> PropertyValue {
                           return std::int64_t(data(o).lightColor.rgb());
                       }),
              dxfShownMember<C>("physicalIntensity", &C::Data::physicalIntensity),
              dxfEnumeration(dxfShownMember<C>("physicalIntensityMethod", &C::Data::physicalIntensityMethod),
                             kPhotometricMethods),
              dxfShownMember<C>("illuminanceDistance", &C::Data::illuminanceDistance),
              dxfEnumeration(dxfShownMember<C>("lampColorType", &C::Data::lampColorType), kLampColorTypes),
              dxfShownMember<C>("lampColorTemp", &C::Data::lampColorTemp),
              dxfShownMember<C>("lampColorPreset", &C::Data::lampColorPreset),
              dxfShown("lampColorRGB", PropertyUnit::Value,
                       [](const OdDbObject& o, DxfContext&) -> PropertyValue {
                           const LampRgb lamp = static_cast<const C&>(o).lampColorRGB();
                           return std::vector<double>{lamp.red, lamp.green, lamp.blue};
                       }),
              dxfShown("resultingColor", PropertyUnit::Colour,
                       [](const OdDbObject& o, DxfContext&) -> PropertyValue {
                           return std::int64_t(static_cast<const C&>(o).resultingColor().rgb());
                       }),
              dxfShownMember<C>("webFile", &C::Data::webFile),
              dxfShown("webRotation", PropertyUnit::Value,
                       [data](const OdDbObject& o, DxfContext&) -> PropertyValue {
                           const OdGeVector3d& r = data(o).webRotation; // degrees
                           return std::vector<double>{r.x, r.y, r.z};
                       }),
          }}},
        {},
        // The enumerations the light answers with must hold one of their values.
        [data](OdDbObject& o, DxfContext&) {
            const C::Data& d = data(o);
            if (d.lightType != OdGiDrawable::kDistantLight && d.lightType != OdGiDrawable::kPointLight
                && d.lightType != OdGiDrawable::kSpotLight && d.lightType != OdGiDrawable::kWebLight)
                throw OdError(eInvalidInput, "light type (70) " + std::to_string(d.lightType) + " is not 1, 2 or 3");
            if (d.attenuationType < OdGiLightAttenuation::kNone
                || d.attenuationType > OdGiLightAttenuation::kInverseSquare)
                throw OdError(eInvalidInput,
                              "attenuation type (72) " + std::to_string(d.attenuationType) + " is not 0, 1 or 2");
            if (d.shadowType != C::kShadowsRayTraced && d.shadowType != C::kShadowMaps)
                throw OdError(eInvalidInput, "shadow type (73) " + std::to_string(d.shadowType) + " is not 0 or 1");
        }};
    map.xdataApp = kLightXDataApp;
    map.ownXData = lightXData;
    map.takeXData = takeLightXData;
    return map;
}

} // namespace

void declareEntityMaps(std::vector<DxfClassMap>& maps)
{
    maps.push_back(lineMap());
    maps.push_back(circleMap());
    maps.push_back(arcMap());
    maps.push_back(ellipseMap());
    maps.push_back(polylineMap());
    maps.push_back(textMap());
    maps.push_back(solidMap());
    maps.push_back(splineMap());
    maps.push_back(viewportMap());
    maps.push_back(lightMap());
}

} // namespace vantrel
