// The registry of class maps, the name and handle services of fields, and the AcDbEntity part
// that every entity map shares.
#include "DxfClassMap.h"

#include <vantrel/db/OdDbSymbolTable.h>
#include <vantrel/db/OdDbTables.h>

namespace vantrel {

namespace {

struct Registry {
    std::vector<DxfClassMap> maps;
    std::unordered_map<const OdRxClass*, const DxfClassMap*> byClass;
    std::unordered_map<std::string_view, const DxfClassMap*> byName;

    Registry()
    {
        declareSymbolTableMaps(maps);
        declareEntityMaps(maps);
        declarePolylineMaps(maps);
        declareObjectMaps(maps);
        for (const DxfClassMap& m : maps) {
            byClass.emplace(m.cls, &m);
            byName.emplace(m.key ? m.key : m.recordName, &m);
        }
    }
};

const Registry& registry()
{
    static const Registry r;
    return r;
}

} // namespace

const DxfClassMap* dxfClassMap(const OdRxClass* cls)
{
    const auto& r = registry();
    auto it = r.byClass.find(cls);
    return it == r.byClass.end() ? nullptr : it->second;
}

const DxfClassMap* dxfClassMap(std::string_view recordName)
{
    const auto& r = registry();
    auto it = r.byName.find(recordName);
    return it == r.byName.end() ? nullptr : it->second;
}

OdDbObjectId DxfContext::idOfHandle(std::uint64_t handle)
{
    return m_db.getOdDbObjectId(OdDbHandle(handle), true);
}

OdDbObjectId DxfContext::recordNamed(OdDbObjectId tableId, const std::string& utf8, int kind)
{
    auto& cache = m_byName[kind];
    if (auto it = cache.find(utf8); it != cache.end())
        return it->second;
    OdDbSymbolTablePtr table = OdDbSymbolTable::cast(tableId.openObject().get());
    if (!table)
        throw OdError(eInvalidInput, "the name \"" + utf8 + "\" refers to a table the drawing does not have");
    OdString name = OdString::fromUtf8(utf8);
    OdDbObjectId id = table->getAt(name);
    if (id.isNull()) {
        if (name.isEmpty())
            throw OdError(eInvalidInput, "an empty name where a table record is expected");
        OdDbSymbolTableRecordPtr record;
        if (kind == 0)
            record = OdDbLayerTableRecord::createObject();
        else if (kind == 1)
            record = OdDbLinetypeTableRecord::createObject();
        else
            record = OdDbTextStyleTableRecord::createObject();
        record->setName(name);
        table->upgradeOpen();
        id = table->add(record.get());
    }
    cache.emplace(utf8, id);
    return id;
}

OdDbObjectId DxfContext::layerNamed(const std::string& utf8)
{
    return recordNamed(m_db.getLayerTableId(), utf8, 0);
}

OdDbObjectId DxfContext::linetypeNamed(const std::string& utf8)
{
    return recordNamed(m_db.getLinetypeTableId(), utf8, 1);
}

OdDbObjectId DxfContext::textStyleNamed(const std::string& utf8)
{
    return recordNamed(m_db.getTextStyleTableId(), utf8, 2);
}

const std::string& DxfContext::nameOf(OdDbObjectId record)
{
    auto it = m_names.find(record);
    if (it == m_names.end()) {
        OdDbSymbolTableRecordPtr rec = OdDbSymbolTableRecord::cast(record.openObject(OdDb::kForRead, true).get());
        it = m_names.emplace(record, rec ? rec->getName().toUtf8() : std::string()).first;
    }
    return it->second;
}

DxfSubclass dxfEntitySubclass()
{
    using E = OdDbEntity;
    auto common = [](const OdDbObject& o) -> const E::CommonData& { return static_cast<const E&>(o).commonData(); };
    auto commonW = [](OdDbObject& o) -> E::CommonData& { return static_cast<E&>(o).commonDataForWrite(); };
    return {"AcDbEntity",
            {
                {67, DxfFieldKind::Bool, 1009, true, std::int64_t(0),
                 [=](const OdDbObject& o, DxfContext& c) {
                     return DxfValue(std::int64_t(c.space >= 0 ? c.space : common(o).paperSpace));
                 },
                 [=](OdDbObject& o, const DxfValue& v, DxfContext&) { commonW(o).paperSpace = std::get<std::int64_t>(v) != 0; }},
                {8, DxfFieldKind::String, 1009, false, std::string("0"),
                 [=](const OdDbObject& o, DxfContext& c) {
                     OdDbObjectId layer = common(o).layer;
                     return DxfValue(layer.isNull() ? std::string("0") : c.nameOf(layer));
                 },
                 [=](OdDbObject& o, const DxfValue& v, DxfContext& c) { commonW(o).layer = c.layerNamed(std::get<std::string>(v)); }},
                {6, DxfFieldKind::String, 1009, true, std::string(),
                 [=](const OdDbObject& o, DxfContext& c) {
                     OdDbObjectId lt = common(o).linetype;
                     return DxfValue(lt.isNull() ? std::string() : c.nameOf(lt));
                 },
                 [=](OdDbObject& o, const DxfValue& v, DxfContext& c) { commonW(o).linetype = c.linetypeNamed(std::get<std::string>(v)); }},
                {62, DxfFieldKind::Int16, 1009, true, std::int64_t(256),
                 [=](const OdDbObject& o, DxfContext&) { return DxfValue(std::int64_t(common(o).color.colorIndex())); },
                 [=](OdDbObject& o, const DxfValue& v, DxfContext&) {
                     auto index = std::get<std::int64_t>(v);
                     if (index < 0 || index > 256)
                         throw OdError(eInvalidInput, "colour index " + std::to_string(index) + " is outside 0-256");
                     commonW(o).color = OdCmColor::byIndex(static_cast<std::int16_t>(index));
                 }},
                {420, DxfFieldKind::Int32, 1018, true, std::int64_t(-1),
                 [=](const OdDbObject& o, DxfContext&) {
                     const OdCmColor& c = common(o).color;
                     return DxfValue(c.isByColor() ? std::int64_t(c.rgb()) : std::int64_t(-1));
                 },
                 [=](OdDbObject& o, const DxfValue& v, DxfContext&) {
                     auto rgb = static_cast<std::uint32_t>(std::get<std::int64_t>(v));
                     commonW(o).color.setRGB(rgb >> 16 & 0xFF, rgb >> 8 & 0xFF, rgb & 0xFF);
                 }},
                {430, DxfFieldKind::String, 1018, true, std::string(),
                 [=](const OdDbObject& o, DxfContext&) { return DxfValue(common(o).color.colorName().toUtf8()); },
                 [=](OdDbObject& o, const DxfValue& v, DxfContext&) {
                     OdCmColor& c = commonW(o).color;
                     c.setNames(OdString::fromUtf8(std::get<std::string>(v)), c.bookName());
                 }},
                {370, DxfFieldKind::Int16, 1015, true, std::int64_t(-1),
                 [=](const OdDbObject& o, DxfContext&) { return DxfValue(std::int64_t(common(o).lineWeight)); },
                 [=](OdDbObject& o, const DxfValue& v, DxfContext&) { commonW(o).lineWeight = static_cast<std::int16_t>(std::get<std::int64_t>(v)); }},
                {48, DxfFieldKind::Double, 1015, true, 1.0,
                 [=](const OdDbObject& o, DxfContext&) { return DxfValue(common(o).linetypeScale); },
                 [=](OdDbObject& o, const DxfValue& v, DxfContext&) { commonW(o).linetypeScale = std::get<double>(v); }},
                {60, DxfFieldKind::Int16, 1009, true, std::int64_t(0),
                 [=](const OdDbObject& o, DxfContext&) { return DxfValue(std::int64_t(common(o).invisible)); },
                 [=](OdDbObject& o, const DxfValue& v, DxfContext&) { commonW(o).invisible = std::get<std::int64_t>(v) != 0; }},
            }};
}

} // namespace vantrel
