// JSON dump of a drawing: the header variables the database models, the layer table, and every
// entity of model space and then of the paper-space layouts, each with its type's own fields.
// Written as it is read, so a drawing of any size costs no more memory than one entity.
#include "JsonDump.h"

#include <array>
#include <map>
#include <span>
#include <variant>

#include <fmt/format.h>

#include <vantrel/db/DxfFile.h>
#include <vantrel/db/ObjectProperties.h>
#include <vantrel/db/OdDbBlockTableRecord.h>
#include <vantrel/db/OdDbTables.h>
#include <vantrel/db/SysVarStore.h>

#include "JsonWriter.h"

namespace vantrel {

namespace {

void point(JsonWriter& j, const OdGePoint3d& p)
{
    const double xyz[] = {p.x, p.y, p.z};
    j.numbers(xyz);
}

void point(JsonWriter& j, const OdGePoint2d& p)
{
    const double xy[] = {p.x, p.y};
    j.numbers(xy);
}

void vector(JsonWriter& j, const OdGeVector3d& v) { point(j, OdGePoint3d(v.x, v.y, v.z)); }

std::string hexColour(std::uint32_t rgb) { return fmt::format("#{:06x}", rgb & 0xFFFFFF); }

void resBufValue(JsonWriter& j, const OdResBuf& rb)
{
    switch (rb.kind()) {
    case OdResBuf::ValueKind::String: return j.value(rb.getString().toUtf8());
    case OdResBuf::ValueKind::Double: return j.value(rb.getDouble());
    case OdResBuf::ValueKind::Point3d: return point(j, rb.getPoint3d());
    case OdResBuf::ValueKind::Handle: return j.value(rb.getHandle().ascii());
    case OdResBuf::ValueKind::Int16:
    case OdResBuf::ValueKind::Int32:
    case OdResBuf::ValueKind::Int64:
    case OdResBuf::ValueKind::Bool: return j.value(rb.getInt64());
    case OdResBuf::ValueKind::Binary: return j.value(rb.getBinaryHex());
    case OdResBuf::ValueKind::None: break;
    }
    j.null();
}

std::string recordName(OdDbObjectId id)
{
    OdDbSymbolTableRecordPtr rec = OdDbSymbolTableRecord::cast(id.openObject().get());
    return rec ? rec->getName().toUtf8() : std::string();
}

void header(JsonWriter& j, OdDbDatabase& db)
{
    // Sorted by name, so the order does not depend on how the variables are declared; the first
    // of a name counts.
    std::map<std::string, OdResBufPtr> values;
    for (const SysVarDef& def : SysVarStore::definitions())
        if (def.inHeader)
            values.emplace(def.name, db.getSysVar(OdString::fromUtf8(def.name)));
    const bool handseedDeclared = values.contains("HANDSEED");
    if (!handseedDeclared)
        values.emplace("HANDSEED", OdResBufPtr());
    j.beginObject();
    for (const auto& [name, value] : values) {
        j.key(name);
        if (value)
            resBufValue(j, *value);
        else
            j.value(db.handseed().ascii());
    }
    j.endObject();
}

void layers(JsonWriter& j, OdDbDatabase& db)
{
    j.beginArray();
    OdDbSymbolTablePtr table = OdDbSymbolTable::cast(db.getLayerTableId().openObject().get());
    for (OdDbObjectId id : table ? table->recordIds() : std::vector<OdDbObjectId>()) {
        OdDbLayerTableRecordPtr layer = OdDbLayerTableRecord::cast(id.safeOpenObject().get());
        if (!layer)
            continue;
        j.beginObject();
        j.key("name");
        j.value(layer->getName().toUtf8());
        j.key("color");
        j.value(static_cast<std::int64_t>(layer->color().colorIndex()));
        j.key("linetype");
        j.value(recordName(layer->linetypeObjectId()));
        j.key("locked");
        j.value(layer->isLocked());
        j.key("frozen");
        j.value(layer->isFrozen());
        j.key("off");
        j.value(layer->isOff());
        j.endObject();
    }
    j.endArray();
}

void propertyValue(JsonWriter& j, const Property& property);

// Properties as one JSON object, after fields of its own (an entity's handle and type): each
// name once, where it first comes, with the last value given for it, as a JSON object assigned
// key by key keeps them.
void object(JsonWriter& j, std::span<const std::pair<std::string_view, std::string>> own,
            std::span<const Property> list)
{
    // Of each name, which property gives its value; -1 - k for the k-th own field. Plain data,
    // so that the room for them on the stack is not filled before use.
    struct Field {
        const char* text;
        std::size_t size;
        long source;
        std::string_view name() const { return {text, size}; }
    };
    // The records of every class there is (an entity's, a vertex's) fit on the stack: they are
    // written by the hundred thousand.
    constexpr std::size_t kOnStack = 64;
    std::array<Field, kOnStack> onStack;
    std::vector<Field> onHeap;
    const std::size_t most = own.size() + list.size();
    if (most > kOnStack)
        onHeap.resize(most);
    const std::span<Field> room = most > kOnStack ? std::span<Field>(onHeap) : std::span<Field>(onStack);
    std::size_t count = 0;
    // Names seldom repeat: a name whose bit in the mask is clear is new without a search.
    std::uint64_t seen = 0;
    auto add = [&](std::string_view name, long source) {
        const unsigned last = name.empty() ? 0 : static_cast<unsigned char>(name.back());
        const std::uint64_t bit = std::uint64_t(1) << ((name.size() * 7 + last) % 64);
        if (seen & bit)
            for (Field& f : room.first(count))
                if (f.name() == name) {
                    f.source = source;
                    return;
                }
        seen |= bit;
        room[count++] = {name.data(), name.size(), source};
    };
    for (std::size_t k = 0; k < own.size(); ++k)
        add(own[k].first, -1 - static_cast<long>(k));
    for (std::size_t k = 0; k < list.size(); ++k)
        add(list[k].name, static_cast<long>(k));
    j.beginObject();
    for (const Field& f : room.first(count)) {
        j.name(f.name());
        if (f.source < 0)
            j.value(own[static_cast<std::size_t>(-1 - f.source)].second);
        else
            propertyValue(j, list[static_cast<std::size_t>(f.source)]);
    }
    j.endObject();
}

// A property's value as JSON: numbers and flags as they are, points and vectors as arrays,
// true colours as "#rrggbb".
void propertyValue(JsonWriter& j, const Property& property)
{
    std::visit(
        [&](const auto& v) {
            using T = std::decay_t<decltype(v)>;
            if constexpr (std::is_same_v<T, std::nullptr_t>) {
                j.null();
            } else if constexpr (std::is_same_v<T, std::int64_t>) {
                if (property.unit == PropertyUnit::Colour)
                    j.value(hexColour(static_cast<std::uint32_t>(v)));
                else
                    j.value(v);
            } else if constexpr (std::is_same_v<T, OdGePoint3d> || std::is_same_v<T, OdGePoint2d>) {
                point(j, v);
            } else if constexpr (std::is_same_v<T, OdGeVector3d>) {
                vector(j, v);
            } else if constexpr (std::is_same_v<T, std::vector<double>>) {
                j.numbers(v);
            } else if constexpr (std::is_same_v<T, std::vector<OdGePoint3d>>) {
                j.beginArray();
                for (const OdGePoint3d& p : v)
                    point(j, p);
                j.endArray();
            } else if constexpr (std::is_same_v<T, PropertyRecords>) {
                j.beginArray();
                for (std::size_t k = 0; k < v.size(); ++k)
                    object(j, {}, v[k]);
                j.endArray();
            } else {
                j.value(v);
            }
        },
        property.value);
}

void appendEntities(JsonWriter& j, PropertyReader& reader, OdDbObjectId blockId)
{
    OdDbBlockTableRecordPtr block = OdDbBlockTableRecord::cast(blockId.openObject().get());
    if (!block)
        return;
    std::vector<Property> properties;
    for (OdDbObjectIteratorPtr it = block->newIterator(); !it->done(); it->step())
        if (OdDbEntityPtr e = it->entity()) {
            const std::pair<std::string_view, std::string> own[]
                = {{"handle", e->getDbHandle().ascii()}, {"type", dxfRecordName(*e)}};
            reader.properties(*e, properties);
            object(j, own, properties);
        }
}

} // namespace

void writeJson(OdDbDatabase& db, TextOutput& out)
{
    JsonWriter j(out);
    j.beginObject();
    j.key("format");
    j.value("vantrel-json");
    j.key("version");
    j.value(std::int64_t(2));
    j.key("header");
    header(j, db);
    j.key("layers");
    layers(j, db);
    j.key("entities");
    j.beginArray();
    PropertyReader reader(db);
    appendEntities(j, reader, db.getModelSpaceId());
    // The active layout first, then the other layouts in block table order.
    appendEntities(j, reader, db.getPaperSpaceId());
    if (OdDbSymbolTablePtr blocks = OdDbSymbolTable::cast(db.getBlockTableId().openObject().get())) {
        for (OdDbObjectId id : blocks->recordIds()) {
            if (id == db.getModelSpaceId() || id == db.getPaperSpaceId())
                continue;
            OdDbBlockTableRecordPtr block = OdDbBlockTableRecord::cast(id.openObject().get());
            if (block && block->isLayout())
                appendEntities(j, reader, id);
        }
    }
    j.endArray();
    j.endObject();
    out.append('\n');
}

} // namespace vantrel
