// DXF tables of the entities written as a POLYLINE record followed by VERTEX records and a
// SEQEND: 2D polylines, 3D polylines and polygon meshes. The 70 flags of POLYLINE tell them apart.
#include <vantrel/db/OdDb2dPolyline.h>
#include <vantrel/db/OdDb2dVertex.h>
#include <vantrel/db/OdDb3dPolyline.h>
#include <vantrel/db/OdDb3dPolylineVertex.h>
#include <vantrel/db/OdDbPolygonMesh.h>
#include <vantrel/db/OdDbPolygonMeshVertex.h>

#include "DxfClassMap.h"
#include "entity_math.h"
#include "dxf_values.h"
#include "db_key.h"

namespace vantrel {

namespace {

// "66 1": vertices follow (obsolete, but readers of older releases rely on it).
DxfField verticesFollow()
{
    return {66,
            DxfFieldKind::Int16,
            1009,
            false,
            std::int64_t(1),
            [](const OdDbObject&, DxfContext&) { return DxfValue(std::int64_t(1)); },
            [](OdDbObject&, const DxfIn&, DxfContext&) {}};
}

// The dummy point of a POLYLINE; its z is the elevation of a 2D polyline.
template <class C>
DxfField dummyPoint(double C::Data::*elevation)
{
    return {10,
            DxfFieldKind::Point3d,
            1009,
            false,
            OdGePoint3d(),
            [elevation](const OdDbObject& o, DxfContext&) {
                return DxfValue(OdGePoint3d(0.0, 0.0, elevation ? static_cast<const C&>(o).data().*elevation : 0.0));
            },
            [elevation](OdDbObject& o, const DxfIn& v, DxfContext&) {
                if (elevation)
                    static_cast<C&>(o).dataForWrite(vantrel::dbKey()).*elevation = v.point.z;
            }};
}

// Widths of polylines and their vertices.
void width(const DxfIn& v, DxfContext&) { entmath::requireWidth(v.number); }

constexpr PropertyEnumName kPoly2dTypes[]
    = {{0, "straight"}, {1, "fit curve"}, {2, "quadratic spline"}, {3, "cubic spline"}};
constexpr PropertyEnumName kVertex2dTypes[] = {{0, "vertex"}, {1, "curve fit"}, {8, "spline fit"}, {16, "frame"}};
constexpr PropertyEnumName kPoly3dTypes[] = {{0, "straight"}, {1, "quadratic spline"}, {2, "cubic spline"}};
constexpr PropertyEnumName kVertex3dTypes[] = {{0, "vertex"}, {1, "frame"}, {2, "generated"}};
constexpr PropertyEnumName kMeshTypes[]
    = {{0, "plain"}, {5, "quadratic surface"}, {6, "cubic surface"}, {8, "Bezier surface"}};

// What a polyline's kind is shown as (its DXF record is POLYLINE for all three), and its vertices.
DxfField polylineKind(const char* kind)
{
    return dxfShown("polyline", PropertyUnit::Value,
                    [kind](const OdDbObject&, DxfContext&) -> PropertyValue { return kind; });
}

template <class Owner>
DxfField verticesShown()
{
    return dxfShown("vertices", PropertyUnit::Value, [](const OdDbObject& o, DxfContext& ctx) {
        return dxfItemRecords(static_cast<const Owner&>(o).vertexIds(), ctx);
    });
}

template <class Owner, class Item>
DxfSequence sequenceOf(const char* itemKey)
{
    return {
        itemKey,
        [](OdDbObject& owner, OdDbObject& item) { static_cast<Owner&>(owner).appendVertex(static_cast<Item*>(&item)); },
        [](const OdDbObject& owner) { return static_cast<const Owner&>(owner).vertexIds(); },
        [](const OdDbObject& owner) { return static_cast<const Owner&>(owner).data().seqEndHandle; },
        [](OdDbObject& owner, OdDbHandle h) {
            static_cast<Owner&>(owner).dataForWrite(vantrel::dbKey()).seqEndHandle = h;
        }};
}

DxfClassMap polyline2dMap()
{
    using C = OdDb2dPolyline;
    return {
        "POLYLINE",
        C::desc(),
        {dxfEntitySubclass(),
         {"AcDb2dPolyline",
          {
              polylineKind("2d"),
              verticesFollow(),
              dummyPoint<C>(&C::Data::elevation),
              dxfField<C>(39, &C::Data::thickness, 0.0, {.optional = true, .name = "thickness"}),
              {70, DxfFieldKind::Int16, 1009, false, std::int64_t(0),
               [](const OdDbObject& o, DxfContext&) {
                   const C::Data& d = static_cast<const C&>(o).data();
                   std::int64_t flags = (d.closed ? 1 : 0) | (d.linetypeGen ? 128 : 0);
                   if (d.polyType == OdDb::k2dFitCurvePoly)
                       flags |= 2;
                   else if (d.polyType != OdDb::k2dSimplePoly)
                       flags |= 4;
                   return DxfValue(flags);
               },
               [](OdDbObject& o, const DxfIn& v, DxfContext&) {
                   C::Data& d = static_cast<C&>(o).dataForWrite(vantrel::dbKey());
                   auto flags = v.integer;
                   d.closed = flags & 1;
                   d.linetypeGen = flags & 128;
                   d.polyType = flags & 4 ? OdDb::k2dCubicSplinePoly
                       : flags & 2        ? OdDb::k2dFitCurvePoly
                                          : OdDb::k2dSimplePoly;
               }},
              dxfEnumeration(dxfShownMember<C>("polyType", &C::Data::polyType), kPoly2dTypes),
              dxfShownMember<C>("closed", &C::Data::closed),
              dxfShownMember<C>("linetypeGeneration", &C::Data::linetypeGen),
              dxfChecked(
                  dxfField<C>(40, &C::Data::defaultStartWidth, 0.0, {.optional = true, .name = "defaultStartWidth"}),
                  width),
              dxfChecked(dxfField<C>(41, &C::Data::defaultEndWidth, 0.0, {.optional = true, .name = "defaultEndWidth"}),
                         width),
              dxfShownMember<C>("elevation", &C::Data::elevation),
              {75, DxfFieldKind::Int16, 1009, true, std::int64_t(0),
               [](const OdDbObject& o, DxfContext&) {
                   OdDb::Poly2dType t = static_cast<const C&>(o).data().polyType;
                   return DxfValue(std::int64_t(t == OdDb::k2dQuadSplinePoly        ? 5
                                                    : t == OdDb::k2dCubicSplinePoly ? 6
                                                                                    : 0));
               },
               [](OdDbObject& o, const DxfIn& v, DxfContext&) {
                   C::Data& d = static_cast<C&>(o).dataForWrite(vantrel::dbKey());
                   if (d.polyType == OdDb::k2dCubicSplinePoly && v.integer == 5)
                       d.polyType = OdDb::k2dQuadSplinePoly;
               }},
              dxfField<C>(210, &C::Data::normal, OdGeVector3d(0.0, 0.0, 1.0), {.optional = true, .name = "normal"}),
              verticesShown<C>(),
          }}},
        sequenceOf<C, OdDb2dVertex>("VERTEX 2D"),
        {},
        "POLYLINE 2D"};
}

DxfClassMap vertex2dMap()
{
    using C = OdDb2dVertex;
    return {
        "VERTEX",
        C::desc(),
        {dxfEntitySubclass(),
         {"AcDbVertex", {}},
         {"AcDb2dVertex",
          {
              dxfField<C>(10, &C::Data::position, OdGePoint3d(), {.name = "point", .plane = true}),
              dxfChecked(dxfField<C>(40, &C::Data::startWidth, 0.0, {.optional = true, .name = "startWidth"}), width),
              dxfChecked(dxfField<C>(41, &C::Data::endWidth, 0.0, {.optional = true, .name = "endWidth"}), width),
              dxfField<C>(42, &C::Data::bulge, 0.0, {.optional = true, .name = "bulge"}),
              {70, DxfFieldKind::Int16, 1009, false, std::int64_t(0),
               [](const OdDbObject& o, DxfContext&) {
                   const C::Data& d = static_cast<const C&>(o).data();
                   return DxfValue(std::int64_t(d.vertexType | (d.tangentUsed ? 2 : 0)));
               },
               [](OdDbObject& o, const DxfIn& v, DxfContext&) {
                   C::Data& d = static_cast<C&>(o).dataForWrite(vantrel::dbKey());
                   auto flags = v.integer;
                   d.tangentUsed = flags & 2;
                   d.vertexType = static_cast<OdDb::Vertex2dType>(flags & (1 | 8 | 16));
               }},
              // A tangent of 0 counts when the vertex says it has one; none is shown as null.
              [] {
                  DxfField f
                      = dxfField<C>(50, &C::Data::tangent, 0.0, {.optional = true, .angle = true, .name = "tangent"});
                  f.alsoWhen = [](const OdDbObject& o) { return static_cast<const C&>(o).data().tangentUsed; };
                  f.show = [](const OdDbObject& o, DxfContext&) -> PropertyValue {
                      const C::Data& d = static_cast<const C&>(o).data();
                      return d.tangentUsed ? PropertyValue(stableDegrees(d.tangent)) : PropertyValue(nullptr);
                  };
                  return f;
              }(),
              dxfEnumeration(dxfShownMember<C>("vertexType", &C::Data::vertexType), kVertex2dTypes),
              dxfField<C>(91, &C::Data::identifier, std::int32_t(0), {.since = 1024, .optional = true}),
          }}},
        {},
        {},
        "VERTEX 2D"};
}

DxfClassMap polyline3dMap()
{
    using C = OdDb3dPolyline;
    return {"POLYLINE",
            C::desc(),
            {dxfEntitySubclass(),
             {"AcDb3dPolyline",
              {
                  polylineKind("3d"),
                  verticesFollow(),
                  dummyPoint<C>(nullptr),
                  {70, DxfFieldKind::Int16, 1009, false, std::int64_t(8),
                   [](const OdDbObject& o, DxfContext&) {
                       const C::Data& d = static_cast<const C&>(o).data();
                       return DxfValue(
                           std::int64_t(8 | (d.closed ? 1 : 0) | (d.polyType != OdDb::k3dSimplePoly ? 4 : 0)));
                   },
                   [](OdDbObject& o, const DxfIn& v, DxfContext&) {
                       C::Data& d = static_cast<C&>(o).dataForWrite(vantrel::dbKey());
                       auto flags = v.integer;
                       d.closed = flags & 1;
                       d.polyType = flags & 4 ? OdDb::k3dCubicSplinePoly : OdDb::k3dSimplePoly;
                   }},
                  dxfEnumeration(dxfShownMember<C>("polyType", &C::Data::polyType), kPoly3dTypes),
                  dxfShownMember<C>("closed", &C::Data::closed),
                  {75, DxfFieldKind::Int16, 1009, true, std::int64_t(0),
                   [](const OdDbObject& o, DxfContext&) {
                       OdDb::Poly3dType t = static_cast<const C&>(o).data().polyType;
                       return DxfValue(std::int64_t(t == OdDb::k3dQuadSplinePoly        ? 5
                                                        : t == OdDb::k3dCubicSplinePoly ? 6
                                                                                        : 0));
                   },
                   [](OdDbObject& o, const DxfIn& v, DxfContext&) {
                       C::Data& d = static_cast<C&>(o).dataForWrite(vantrel::dbKey());
                       if (d.polyType == OdDb::k3dCubicSplinePoly && v.integer == 5)
                           d.polyType = OdDb::k3dQuadSplinePoly;
                   }},
                  verticesShown<C>(),
              }}},
            sequenceOf<C, OdDb3dPolylineVertex>("VERTEX 3D"),
            {},
            "POLYLINE 3D"};
}

// 70 of a 3D vertex: 32, with 16 for a control vertex and 8 for a generated one; a mesh vertex
// has 64 instead of 32.
template <class C>
DxfField vertex3dFlags(std::int64_t kindBit)
{
    return {70,
            DxfFieldKind::Int16,
            1009,
            false,
            kindBit,
            [kindBit](const OdDbObject& o, DxfContext&) {
                OdDb::Vertex3dType t = static_cast<const C&>(o).data().vertexType;
                return DxfValue(kindBit | (t == OdDb::k3dControlVertex ? 16 : t == OdDb::k3dFitVertex ? 8 : 0));
            },
            [](OdDbObject& o, const DxfIn& v, DxfContext&) {
                auto flags = v.integer;
                static_cast<C&>(o).dataForWrite(vantrel::dbKey()).vertexType = flags & 16 ? OdDb::k3dControlVertex
                    : flags & 8                                                           ? OdDb::k3dFitVertex
                                                                                          : OdDb::k3dSimpleVertex;
            }};
}

DxfClassMap vertex3dMap()
{
    using C = OdDb3dPolylineVertex;
    return {"VERTEX",
            C::desc(),
            {dxfEntitySubclass(),
             {"AcDbVertex", {}},
             {"AcDb3dPolylineVertex",
              {
                  dxfField<C>(10, &C::Data::position, OdGePoint3d(), {.name = "point"}),
                  vertex3dFlags<C>(32),
                  dxfEnumeration(dxfShownMember<C>("vertexType", &C::Data::vertexType), kVertex3dTypes),
                  dxfField<C>(91, &C::Data::identifier, std::int32_t(0), {.since = 1024, .optional = true}),
              }}},
            {},
            {},
            "VERTEX 3D"};
}

DxfClassMap meshMap()
{
    using C = OdDbPolygonMesh;
    return {"POLYLINE",
            C::desc(),
            {dxfEntitySubclass(),
             {"AcDbPolygonMesh",
              {
                  polylineKind("mesh"),
                  verticesFollow(),
                  dummyPoint<C>(nullptr),
                  {70, DxfFieldKind::Int16, 1009, false, std::int64_t(16),
                   [](const OdDbObject& o, DxfContext&) {
                       const C::Data& d = static_cast<const C&>(o).data();
                       return DxfValue(std::int64_t(16 | (d.mClosed ? 1 : 0) | (d.nClosed ? 32 : 0)
                                                    | (d.polyMeshType != OdDb::kSimpleMesh ? 4 : 0)));
                   },
                   [](OdDbObject& o, const DxfIn& v, DxfContext&) {
                       C::Data& d = static_cast<C&>(o).dataForWrite(vantrel::dbKey());
                       auto flags = v.integer;
                       d.mClosed = flags & 1;
                       d.nClosed = flags & 32;
                   }},
                  dxfField<C>(71, &C::Data::mSize, std::int16_t(0), {.name = "mSize"}),
                  dxfField<C>(72, &C::Data::nSize, std::int16_t(0), {.name = "nSize"}),
                  dxfField<C>(73, &C::Data::mSurfaceDensity, std::int16_t(0), {.name = "mDensity"}),
                  dxfField<C>(74, &C::Data::nSurfaceDensity, std::int16_t(0), {.name = "nDensity"}),
                  dxfEnumeration(
                      dxfChecked(dxfField<C>(75, &C::Data::polyMeshType, OdDb::kSimpleMesh, {.name = "meshType"}),
                                 [](const DxfIn& v, DxfContext&) { OdDbPolygonMesh::checkMeshType(v.integer); }),
                      kMeshTypes),
                  dxfShownMember<C>("mClosed", &C::Data::mClosed),
                  dxfShownMember<C>("nClosed", &C::Data::nClosed),
                  verticesShown<C>(),
              }}},
            sequenceOf<C, OdDbPolygonMeshVertex>("VERTEX MESH"),
            {},
            "POLYLINE MESH"};
}

DxfClassMap meshVertexMap()
{
    using C = OdDbPolygonMeshVertex;
    return {"VERTEX",
            C::desc(),
            {dxfEntitySubclass(),
             {"AcDbVertex", {}},
             {"AcDbPolygonMeshVertex",
              {dxfField<C>(10, &C::Data::position, OdGePoint3d(), {.name = "point"}), vertex3dFlags<C>(64),
               dxfEnumeration(dxfShownMember<C>("vertexType", &C::Data::vertexType), kVertex3dTypes)}}},
            {},
            {},
            "VERTEX MESH"};
}

} // namespace

void declarePolylineMaps(std::vector<DxfClassMap>& maps)
{
    maps.push_back(polyline2dMap());
    maps.push_back(vertex2dMap());
    maps.push_back(polyline3dMap());
    maps.push_back(vertex3dMap());
    maps.push_back(meshMap());
    maps.push_back(meshVertexMap());
}

} // namespace vantrel
