// JSON dump of a drawing: the header variables the database models, the layer table, and every
// entity of model space and then of the paper-space layouts, each with its type's own fields.
#include "JsonDump.h"

#include <map>
#include <variant>

#include <fmt/format.h>

#include <vantrel/db/DxfFile.h>
#include <vantrel/db/ObjectProperties.h>
#include <vantrel/db/OdDbBlockTableRecord.h>
#include <vantrel/db/OdDbTables.h>
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

Json propertyValue(const Property& property);

Json records(const std::vector<PropertyRecord>& list)
{
    Json out = Json::array();
    for (const PropertyRecord& record : list) {
        Json j = Json::object();
        for (const Property& p : record)
            j[std::string(p.name)] = propertyValue(p);
        out.push_back(std::move(j));
    }
    return out;
}

// A property's value as JSON: numbers and flags as they are, points and vectors as arrays,
// true colours as "#rrggbb".
Json propertyValue(const Property& property)
{
    return std::visit(
        [&](const auto& v) -> Json {
            using T = std::decay_t<decltype(v)>;
            if constexpr (std::is_same_v<T, std::nullptr_t>)
                return nullptr;
            else if constexpr (std::is_same_v<T, std::int64_t>)
                return property.unit == PropertyUnit::Colour ? Json(hexColour(static_cast<std::uint32_t>(v))) : Json(v);
            else if constexpr (std::is_same_v<T, OdGePoint3d> || std::is_same_v<T, OdGePoint2d>)
                return point(v);
            else if constexpr (std::is_same_v<T, OdGeVector3d>)
                return vector(v);
            else if constexpr (std::is_same_v<T, std::vector<OdGePoint3d>>)
                return points(v);
            else if constexpr (std::is_same_v<T, std::vector<PropertyRecord>>)
                return records(v);
            else
                return v;
        },
        property.value);
}

Json entity(const OdDbEntity& e)
{
    Json j;
    j["handle"] = e.getDbHandle().ascii();
    j["type"] = dxfRecordName(e);
    for (const Property& p : objectProperties(e))
        j[std::string(p.name)] = propertyValue(p);
    return j;
}

void appendEntities(OdDbObjectId blockId, Json& out)
{
    OdDbBlockTableRecordPtr block = OdDbBlockTableRecord::cast(blockId.openObject().get());
    if (!block)
        return;
    for (OdDbObjectIteratorPtr it = block->newIterator(); !it->done(); it->step())
        if (OdDbEntityPtr e = it->entity())
            out.push_back(entity(*e));
}

} // namespace

Json jsonDump(OdDbDatabase& db)
{
    Json out;
    out["format"] = "vantrel-json";
    out["version"] = 2;
    out["header"] = header(db);
    out["layers"] = layers(db);
    Json entities = Json::array();
    appendEntities(db.getModelSpaceId(), entities);
    // The active layout first, then the other layouts in block table order.
    appendEntities(db.getPaperSpaceId(), entities);
    if (OdDbSymbolTablePtr blocks = OdDbSymbolTable::cast(db.getBlockTableId().openObject().get())) {
        for (OdDbObjectId id : blocks->recordIds()) {
            if (id == db.getModelSpaceId() || id == db.getPaperSpaceId())
                continue;
            OdDbBlockTableRecordPtr block = OdDbBlockTableRecord::cast(id.openObject().get());
            if (block && block->isLayout())
                appendEntities(id, entities);
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

} // namespace vantrel
