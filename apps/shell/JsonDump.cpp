// JSON dump of a drawing: the header variables the database models, the layer table, and every
// entity of model space and then of the paper-space layouts, each with its type's own fields.
#include "JsonDump.h"

#include <map>
#include <numbers>

#include <fmt/format.h>

#include <vantrel/db/DxfFile.h>
#include <vantrel/db/OdDb2dPolyline.h>
#include <vantrel/db/OdDb3dPolyline.h>
#include <vantrel/db/OdDb3dPolylineVertex.h>
#include <vantrel/db/OdDbArc.h>
#include <vantrel/db/OdDbBlockTableRecord.h>
#include <vantrel/db/OdDbCircle.h>
#include <vantrel/db/OdDbEllipse.h>
#include <vantrel/db/OdDbLight.h>
#include <vantrel/db/OdDbLine.h>
#include <vantrel/db/OdDbPolygonMesh.h>
#include <vantrel/db/OdDbPolygonMeshVertex.h>
#include <vantrel/db/OdDbPolyline.h>
#include <vantrel/db/OdDbSolid.h>
#include <vantrel/db/OdDbSpline.h>
#include <vantrel/db/OdDbTables.h>
#include <vantrel/db/OdDbText.h>
#include <vantrel/db/OdDbViewport.h>
#include <vantrel/db/SysVarStore.h>

namespace vantrel {

namespace {

using Json = nlohmann::ordered_json;

Json point(const OdGePoint3d& p) { return Json::array({p.x, p.y, p.z}); }
Json point(const OdGePoint2d& p) { return Json::array({p.x, p.y}); }
Json vector(const OdGeVector3d& v) { return Json::array({v.x, v.y, v.z}); }
Json points(const std::vector<OdGePoint3d>& ps)
{
    Json out = Json::array();
    for (const auto& p : ps)
        out.push_back(point(p));
    return out;
}
std::string hexColour(std::uint32_t rgb) { return fmt::format("#{:06x}", rgb & 0xFFFFFF); }
double degrees(double radians) { return radians * 180.0 / std::numbers::pi; }

Json resBufValue(const OdResBuf& rb)
{
    switch (rb.kind()) {
    case OdResBuf::ValueKind::String: return rb.getString().toUtf8();
    case OdResBuf::ValueKind::Double: return rb.getDouble();
    case OdResBuf::ValueKind::Point3d: return point(rb.getPoint3d());
    case OdResBuf::ValueKind::Handle: return rb.getHandle().ascii();
    case OdResBuf::ValueKind::Int16:
    case OdResBuf::ValueKind::Int32:
    case OdResBuf::ValueKind::Int64:
    case OdResBuf::ValueKind::Bool: return rb.getInt64();
    case OdResBuf::ValueKind::Binary: return rb.getBinaryHex();
    case OdResBuf::ValueKind::None: break;
    }
    return nullptr;
}

std::string recordName(OdDbObjectId id)
{
    OdDbSymbolTableRecordPtr rec = OdDbSymbolTableRecord::cast(id.openObject().get());
    return rec ? rec->getName().toUtf8() : std::string();
}

Json header(OdDbDatabase& db)
{
    // Sorted by name, so the order does not depend on how the variables are declared.
    std::map<std::string, Json> values;
    for (const SysVarDef& def : SysVarStore::definitions()) {
        if (!def.inHeader)
            continue;
        OdResBufPtr value = db.getSysVar(OdString::fromUtf8(def.name));
        values.emplace(def.name, resBufValue(*value));
    }
    values.emplace("HANDSEED", db.handseed().ascii());
    Json out = Json::object();
    for (auto& [name, value] : values)
        out[name] = std::move(value);
    return out;
}

Json layers(OdDbDatabase& db)
{
    Json out = Json::array();
    OdDbSymbolTablePtr table = OdDbSymbolTable::cast(db.getLayerTableId().openObject().get());
    if (!table)
        return out;
    for (OdDbObjectId id : table->recordIds()) {
        OdDbLayerTableRecordPtr layer = OdDbLayerTableRecord::cast(id.safeOpenObject().get());
        if (!layer)
            continue;
        Json j;
        j["name"] = layer->getName().toUtf8();
        j["color"] = layer->color().colorIndex();
        j["linetype"] = recordName(layer->linetypeObjectId());
        j["locked"] = layer->isLocked();
        j["frozen"] = layer->isFrozen();
        j["off"] = layer->isOff();
        out.push_back(std::move(j));
    }
    return out;
}

// Type-specific fields, looked up by class; values are as DXF stores them (angles in degrees,
// ellipse parameters in radians; polyline vertices and solid corners in the entity's own plane).
struct TypeFields {
    const OdRxClass* (*desc)();
    void (*fill)(const OdDbEntity&, Json&);
};

const TypeFields kTypeFields[] = {
    {OdDbLine::desc,
     [](const OdDbEntity& e, Json& j) {
         const auto& d = static_cast<const OdDbLine&>(e).data();
         j["start"] = point(d.start);
         j["end"] = point(d.end);
         j["thickness"] = d.thickness;
         j["normal"] = vector(d.normal);
     }},
    {OdDbCircle::desc,
     [](const OdDbEntity& e, Json& j) {
         const auto& c = static_cast<const OdDbCircle&>(e);
         j["center"] = point(c.center());
         j["radius"] = c.radius();
         j["thickness"] = c.thickness();
         j["normal"] = vector(c.normal());
     }},
    {OdDbArc::desc,
     [](const OdDbEntity& e, Json& j) {
         const auto& a = static_cast<const OdDbArc&>(e);
         j["center"] = point(a.center());
         j["radius"] = a.radius();
         j["startAngle"] = degrees(a.startAngle());
         j["endAngle"] = degrees(a.endAngle());
         j["thickness"] = a.thickness();
         j["normal"] = vector(a.normal());
     }},
    {OdDbEllipse::desc,
     [](const OdDbEntity& e, Json& j) {
         const auto& d = static_cast<const OdDbEllipse&>(e).data();
         j["center"] = point(d.center);
         j["majorAxis"] = vector(d.majorAxis);
         j["normal"] = vector(d.normal);
         j["ratio"] = d.radiusRatio;
         j["startParam"] = d.startParam;
         j["endParam"] = d.endParam;
     }},
    {OdDbPolyline::desc,
     [](const OdDbEntity& e, Json& j) {
         const auto& d = static_cast<const OdDbPolyline&>(e).data();
         j["closed"] = d.closed;
         j["plinegen"] = d.plinegen;
         j["constantWidth"] = d.constantWidth;
         j["elevation"] = d.elevation;
         j["thickness"] = d.thickness;
         j["normal"] = vector(d.normal);
         Json vertices = Json::array();
         for (const auto& v : d.vertices) {
             Json jv;
             jv["point"] = point(v.point);
             jv["startWidth"] = v.startWidth;
             jv["endWidth"] = v.endWidth;
             jv["bulge"] = v.bulge;
             vertices.push_back(std::move(jv));
         }
         j["vertices"] = std::move(vertices);
     }},
    {OdDb2dPolyline::desc,
     [](const OdDbEntity& e, Json& j) {
         const auto& pl = static_cast<const OdDb2dPolyline&>(e);
         const auto& d = pl.data();
         j["polyline"] = "2d";
         j["polyType"] = static_cast<int>(d.polyType);
         j["closed"] = d.closed;
         j["linetypeGeneration"] = d.linetypeGen;
         j["defaultStartWidth"] = d.defaultStartWidth;
         j["defaultEndWidth"] = d.defaultEndWidth;
         j["elevation"] = d.elevation;
         j["thickness"] = d.thickness;
         j["normal"] = vector(d.normal);
         Json vertices = Json::array();
         for (OdDbVertexIteratorPtr it = pl.vertexIterator(); !it->done(); it->step()) {
             OdDb2dVertexPtr v = it->vertex();
             const auto& vd = v->data();
             Json jv;
             jv["handle"] = v->getDbHandle().ascii();
             jv["point"] = point(vd.position);
             jv["startWidth"] = vd.startWidth;
             jv["endWidth"] = vd.endWidth;
             jv["bulge"] = vd.bulge;
             jv["tangent"] = vd.tangentUsed ? Json(degrees(vd.tangent)) : Json(nullptr);
             jv["vertexType"] = static_cast<int>(vd.vertexType);
             vertices.push_back(std::move(jv));
         }
         j["vertices"] = std::move(vertices);
     }},
    {OdDbSolid::desc,
     [](const OdDbEntity& e, Json& j) {
         const auto& d = static_cast<const OdDbSolid&>(e).data();
         Json corners = Json::array();
         for (const auto& p : d.ocsCorners)
             corners.push_back(point(p));
         j["corners"] = std::move(corners);
         j["thickness"] = d.thickness;
         j["normal"] = vector(d.normal);
     }},
    {OdDbText::desc,
     [](const OdDbEntity& e, Json& j) {
         const auto& t = static_cast<const OdDbText&>(e);
         const auto& d = t.data();
         j["text"] = d.textString.toUtf8();
         j["position"] = point(t.position());
         j["alignmentPoint"] = point(t.alignmentPoint());
         j["height"] = d.height;
         j["rotation"] = degrees(d.rotation);
         j["widthFactor"] = d.widthFactor;
         j["oblique"] = degrees(d.oblique);
         j["style"] = recordName(d.textStyle);
         j["horizontalMode"] = d.horizontalMode;
         j["verticalMode"] = d.verticalMode;
         j["generationFlags"] = d.generationFlags;
         j["thickness"] = d.thickness;
         j["normal"] = vector(d.normal);
     }},
    {OdDb3dPolyline::desc,
     [](const OdDbEntity& e, Json& j) {
         const auto& pl = static_cast<const OdDb3dPolyline&>(e);
         j["polyline"] = "3d";
         j["polyType"] = static_cast<int>(pl.data().polyType);
         j["closed"] = pl.data().closed;
         Json vertices = Json::array();
         for (OdDbVertexIteratorPtr it = pl.vertexIterator(); !it->done(); it->step()) {
             OdDb3dPolylineVertexPtr v = it->vertex();
             Json jv;
             jv["handle"] = v->getDbHandle().ascii();
             jv["point"] = point(v->position());
             jv["vertexType"] = static_cast<int>(v->vertexType());
             vertices.push_back(std::move(jv));
         }
         j["vertices"] = std::move(vertices);
     }},
    {OdDbPolygonMesh::desc,
     [](const OdDbEntity& e, Json& j) {
         const auto& mesh = static_cast<const OdDbPolygonMesh&>(e);
         const auto& d = mesh.data();
         j["polyline"] = "mesh";
         j["meshType"] = static_cast<int>(d.polyMeshType);
         j["mSize"] = d.mSize;
         j["nSize"] = d.nSize;
         j["mDensity"] = d.mSurfaceDensity;
         j["nDensity"] = d.nSurfaceDensity;
         j["mClosed"] = d.mClosed;
         j["nClosed"] = d.nClosed;
         Json vertices = Json::array();
         for (OdDbVertexIteratorPtr it = mesh.vertexIterator(); !it->done(); it->step()) {
             OdDbPolygonMeshVertexPtr v = it->vertex();
             Json jv;
             jv["handle"] = v->getDbHandle().ascii();
             jv["point"] = point(v->position());
             jv["vertexType"] = static_cast<int>(v->vertexType());
             vertices.push_back(std::move(jv));
         }
         j["vertices"] = std::move(vertices);
     }},
    {OdDbSpline::desc,
     [](const OdDbEntity& e, Json& j) {
         const auto& d = static_cast<const OdDbSpline&>(e).data();
         j["flags"] = d.flags;
         j["degree"] = d.degree;
         j["knots"] = d.knots;
         j["controlPoints"] = points(d.controlPoints);
         j["weights"] = d.weights;
         j["fitPoints"] = points(d.fitPoints);
         j["startTangent"] = vector(d.startTangent);
         j["endTangent"] = vector(d.endTangent);
         j["normal"] = vector(d.normal);
     }},
    {OdDbLight::desc,
     [](const OdDbEntity& e, Json& j) {
         const auto& light = static_cast<const OdDbLight&>(e);
         const auto& d = light.data();
         j["name"] = d.name.toUtf8();
         j["lightType"] = d.lightType;
         j["on"] = d.on;
         j["plotGlyph"] = d.plotGlyph;
         j["intensity"] = d.intensity;
         j["position"] = point(d.position);
         j["target"] = point(d.targetLocation);
         j["hasTarget"] = d.hasTarget;
         j["attenuationType"] = d.attenuationType;
         j["useAttenuationLimits"] = d.useAttenuationLimits;
         j["attenuationStartLimit"] = d.attenuationStartLimit;
         j["attenuationEndLimit"] = d.attenuationEndLimit;
         j["hotspotAngle"] = degrees(d.hotspotAngle);
         j["falloffAngle"] = degrees(d.falloffAngle);
         j["castShadows"] = d.castShadows;
         j["shadowType"] = d.shadowType;
         j["shadowMapSize"] = d.shadowMapSize;
         j["shadowMapSoftness"] = d.shadowMapSoftness;
         j["lightColor"] = hexColour(d.lightColor.rgb());
         j["physicalIntensity"] = d.physicalIntensity;
         j["physicalIntensityMethod"] = d.physicalIntensityMethod;
         j["illuminanceDistance"] = d.illuminanceDistance;
         j["lampColorType"] = d.lampColorType;
         j["lampColorTemp"] = d.lampColorTemp;
         j["lampColorPreset"] = d.lampColorPreset;
         const LampRgb lamp = light.lampColorRGB();
         j["lampColorRGB"] = Json::array({lamp.red, lamp.green, lamp.blue});
         j["resultingColor"] = hexColour(light.resultingColor().rgb());
         j["webFile"] = d.webFile.toUtf8();
         const OdGeVector3d& r = d.webRotation;
         j["webRotation"] = Json::array({degrees(r.x), degrees(r.y), degrees(r.z)});
     }},
    {OdDbViewport::desc,
     [](const OdDbEntity& e, Json& j) {
         const auto& d = static_cast<const OdDbViewport&>(e).data();
         j["number"] = d.number;
         j["status"] = d.status;
         j["center"] = point(d.center);
         j["width"] = d.width;
         j["height"] = d.height;
         j["viewCenter"] = point(d.viewCenter);
         j["viewDirection"] = vector(d.viewDirection);
         j["viewTarget"] = point(d.viewTarget);
         j["viewHeight"] = d.viewHeight;
         j["twistAngle"] = degrees(d.twistAngle);
         j["statusFlags"] = d.statusFlags;
     }},
};

Json entity(const OdDbEntity& e, const char* space)
{
    Json j;
    j["handle"] = e.getDbHandle().ascii();
    j["type"] = dxfRecordName(e);
    j["space"] = space;
    j["layer"] = e.layer().toUtf8();
    j["color"] = e.colorIndex();
    j["trueColor"] = e.color().isByColor() ? Json(hexColour(e.color().rgb())) : Json(nullptr);
    j["linetype"] = recordName(e.linetypeId());
    j["lineweight"] = e.lineWeight();
    j["linetypeScale"] = e.linetypeScale();
    j["visible"] = e.visibility() == OdDb::kVisible;
    for (const TypeFields& t : kTypeFields) {
        if (e.isKindOf(t.desc())) {
            t.fill(e, j);
            break;
        }
    }
    return j;
}

void appendEntities(OdDbObjectId blockId, const char* space, Json& out)
{
    OdDbBlockTableRecordPtr block = OdDbBlockTableRecord::cast(blockId.openObject().get());
    if (!block)
        return;
    for (OdDbObjectIteratorPtr it = block->newIterator(); !it->done(); it->step())
        if (OdDbEntityPtr e = it->entity())
            out.push_back(entity(*e, space));
}

}

Json jsonDump(OdDbDatabase& db)
{
    Json out;
    out["format"] = "vantrel-json";
    out["version"] = 1;
    out["header"] = header(db);
    out["layers"] = layers(db);
    Json entities = Json::array();
    appendEntities(db.getModelSpaceId(), "model", entities);
    // The active layout first, then the other layouts in block table order.
    appendEntities(db.getPaperSpaceId(), "paper", entities);
    if (OdDbSymbolTablePtr blocks = OdDbSymbolTable::cast(db.getBlockTableId().openObject().get())) {
        for (OdDbObjectId id : blocks->recordIds()) {
            if (id == db.getModelSpaceId() || id == db.getPaperSpaceId())
                continue;
            OdDbBlockTableRecordPtr block = OdDbBlockTableRecord::cast(id.openObject().get());
            if (block && block->isLayout())
                appendEntities(id, "paper", entities);
        }
    }
    out["entities"] = std::move(entities);
    return out;
}

std::string jsonText(OdDbDatabase& db)
{
    // Text that is not valid UTF-8 (a lone surrogate read from a file) is written as U+FFFD.
    return jsonDump(db).dump(2, ' ', false, Json::error_handler_t::replace) + "\n";
}

}
