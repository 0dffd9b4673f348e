// The registry of class maps, the name and handle services of fields, and the AcDbEntity part
// that every entity map shares.
#include "DxfClassMap.h"

#include <algorithm>
#include <cassert>

#include <vantrel/db/OdDbSymbolTable.h>
#include <vantrel/db/OdDbTables.h>

#include "DxfRepairLog.h"
#include "DxfUnknownObject.h"
#include "dxf_classes.h"
#include "dxf_values.h"
#include "entity_math.h"

namespace vantrel {

namespace {

void prepare(DxfClassMap& map)
{
    map.entity = map.cls->isDerivedFrom(OdDbEntity::desc());
    map.tableRecord = map.cls->isDerivedFrom(OdDbSymbolTableRecord::desc());
    map.classDefinition = dxfClassDefinition(map.recordName);
    assert(!map.classDefinition || map.classDefinition->isAnEntity == map.entity);
    for (DxfSubclass& sub : map.subclasses) {
        sub.markerText = sub.marker ? std::string_view(sub.marker) : std::string_view();
        sub.readCodes.clear();
        for (const DxfField& f : sub.fields)
            sub.readCodes.push_back(static_cast<std::int16_t>(f.set ? f.code : -1));
        sub.quickReaders.fill(0);
        for (std::size_t i = sub.readCodes.size(); i-- > 0;)
            if (const int code = sub.readCodes[i]; code >= 0 && code < DxfSubclass::kQuickCodes)
                sub.quickReaders[static_cast<std::size_t>(code)] = static_cast<std::uint16_t>(i + 1);
    }
}

// Record names (and keys) to maps, looked up for every record read: open addressing in a table
// of a power-of-two size at most half full, keyed by an FNV-1a hash.
class NameTable {
public:
    void add(std::string_view name, const DxfClassMap* map)
    {
        if (2 * (m_count + 1) > m_slots.size()) {
            std::vector<Slot> old(std::max<std::size_t>(64, 2 * m_slots.size()));
            old.swap(m_slots);
            m_count = 0;
            for (const Slot& s : old)
                if (s.map)
                    add(s.name, s.map);
        }
        Slot& slot = m_slots[indexOf(name)];
        if (!slot.map) {
            slot = {name, map};
            ++m_count;
        }
    }
    const DxfClassMap* get(std::string_view name) const
    {
        return m_slots.empty() ? nullptr : m_slots[indexOf(name)].map;
    }

private:
    struct Slot {
        std::string_view name;
        const DxfClassMap* map = nullptr;
    };
    // The slot holding name, or the empty one where it would go.
    std::size_t indexOf(std::string_view name) const
    {
        std::uint64_t hash = 14695981039346656037u;
        for (char c : name)
            hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211u;
        const std::size_t mask = m_slots.size() - 1;
        std::size_t i = hash & mask;
        while (m_slots[i].map && !sameDxfText(m_slots[i].name, name))
            i = (i + 1) & mask;
        return i;
    }

    std::vector<Slot> m_slots;
    std::size_t m_count = 0;
};

struct Registry {
    std::vector<DxfClassMap> maps;
    std::vector<const DxfClassMap*> byClass; // by the class's index
    NameTable byName;
    DxfClassMap unknownEntity{"", DxfUnknownEntity::desc(), {dxfEntitySubclass()}, {}, {}};
    DxfClassMap unknownObject{"", DxfUnknownObject::desc(), {}, {}, {}};

    Registry()
    {
        declareSymbolTableMaps(maps);
        declareEntityMaps(maps);
        declarePolylineMaps(maps);
        declareObjectMaps(maps);
        declareHatchMaps(maps);
        declareTextMaps(maps);
        declareBlockMaps(maps);
        declareMarkMaps(maps);
        for (DxfClassMap& m : maps) {
            prepare(m);
            if (m.cls->index() >= byClass.size())
                byClass.resize(m.cls->index() + 1);
            if (!byClass[m.cls->index()])
                byClass[m.cls->index()] = &m;
            byName.add(m.key ? m.key : m.recordName, &m);
        }
        prepare(unknownEntity);
        prepare(unknownObject);
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
    return cls->index() < r.byClass.size() ? r.byClass[cls->index()] : nullptr;
}

const DxfClassMap* dxfClassMap(std::string_view recordName) { return registry().byName.get(recordName); }

const DxfClassMap& dxfUnknownEntityMap() { return registry().unknownEntity; }

const DxfClassMap& dxfUnknownObjectMap() { return registry().unknownObject; }

void DxfContext::noteRepair(const char* what, std::size_t count)
{
    if (repairs)
        repairs->note(what, count);
}

OdDbObjectId DxfContext::idOfHandle(std::uint64_t handle) { return m_db.getOdDbObjectId(OdDbHandle(handle), true); }

OdDbObjectId DxfContext::recordNamed(OdDbObjectId tableId, std::string_view utf8, int kind, int code)
{
    if (utf8.empty()) {
        noteRepair("references by an empty name to a layer, linetype or text style taken as the default");
        return OdDbObjectId();
    }
    Named found;
    Recent& recent = m_recent[kind];
    auto& cache = m_byName[kind];
    if (!recent.named.id.isNull() && sameDxfText(recent.name, utf8)) {
        if (!recent.named.spelledAsRecord)
            asRead.emplace_back(code, std::string(utf8));
        return recent.named.id;
    }
    if (auto it = cache.find(std::string(utf8)); it != cache.end()) {
        recent = {it->first, it->second};
        found = it->second;
    } else {
        if (tableId.isNull() && makeTable)
            tableId = makeTable(kind);
        OdDbSymbolTablePtr table = OdDbSymbolTable::cast(tableId.openObject().get());
        if (!table)
            throw OdError(eInvalidInput,
                          "the name \"" + std::string(utf8) + "\" refers to a table the drawing does not have");
        const OdString name = OdString::fromUtf8(utf8);
        found.id = table->getAt(name);
        if (found.id.isNull()) {
            OdDbSymbolTableRecordPtr record;
            if (kind == 0)
                record = OdDbLayerTableRecord::createObject();
            else if (kind == 1)
                record = OdDbLinetypeTableRecord::createObject();
            else
                record = OdDbTextStyleTableRecord::createObject();
            record->setName(name);
            table->upgradeOpen();
            found.id = table->add(record.get());
        } else {
            found.spelledAsRecord = OdDbSymbolTableRecordPtr(found.id.safeOpenObject())->getName() == name;
        }
        cache.emplace(utf8, found);
        recent = {std::string(utf8), found};
    }
    if (!found.spelledAsRecord)
        asRead.emplace_back(code, std::string(utf8));
    return found.id;
}

OdDbObjectId DxfContext::layerNamed(std::string_view utf8, int code)
{
    return recordNamed(m_db.getLayerTableId(), utf8, 0, code);
}

OdDbObjectId DxfContext::linetypeNamed(std::string_view utf8, int code)
{
    return recordNamed(m_db.getLinetypeTableId(), utf8, 1, code);
}

OdDbObjectId DxfContext::textStyleNamed(std::string_view utf8, int code)
{
    return recordNamed(m_db.getTextStyleTableId(), utf8, 2, code);
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

void setDxfColorIndex(OdCmColor& color, std::int16_t index)
{
    if (color.isByColor()) {
        if (index >= 1 && index <= 255)
            color.setIndexBesideRGB(index);
    } else {
        color.setColorIndex(index);
    }
}

void setDxfTrueColor(OdCmColor& color, std::uint32_t rgb)
{
    const std::int16_t index = color.isByACI() ? color.colorIndex() : std::int16_t{0};
    color.setRGB(rgb >> 16 & 0xFF, rgb >> 8 & 0xFF, rgb & 0xFF);
    if (index)
        color.setIndexBesideRGB(index);
}

DxfSubclass dxfEntitySubclass()
{
    using E = OdDbEntity;
    auto common = [](const OdDbObject& o) -> const E::CommonData& { return static_cast<const E&>(o).commonData(); };
    auto commonW = [](OdDbObject& o) -> E::CommonData& { return static_cast<E&>(o).commonDataForWrite(); };
    DxfSubclass sub{
        "AcDbEntity",
        {
            {67, DxfFieldKind::Bool, 1009, true, std::int64_t(0),
             [=](const OdDbObject& o, DxfContext& c) {
                 return DxfValue(std::int64_t(c.space >= 0 ? c.space : common(o).paperSpace));
             },
             [=](OdDbObject& o, const DxfIn& v, DxfContext&) { commonW(o).paperSpace = v.integer != 0; }},
            {8, DxfFieldKind::String, 1009, false, std::string("0"),
             [=](const OdDbObject& o, DxfContext& c) {
                 OdDbObjectId layer = common(o).layer;
                 return DxfValue(layer.isNull() ? std::string("0") : c.nameOf(layer));
             },
             [=](OdDbObject& o, const DxfIn& v, DxfContext& c) { commonW(o).layer = c.layerNamed(v.text, 8); }},
            {6, DxfFieldKind::String, 1009, true, std::string(),
             [=](const OdDbObject& o, DxfContext& c) {
                 OdDbObjectId lt = common(o).linetype;
                 return DxfValue(lt.isNull() ? std::string() : c.nameOf(lt));
             },
             [=](OdDbObject& o, const DxfIn& v, DxfContext& c) { commonW(o).linetype = c.linetypeNamed(v.text, 6); }},
            {62, DxfFieldKind::Int16, 1009, true, std::int64_t(256),
             [=](const OdDbObject& o, DxfContext&) { return DxfValue(std::int64_t(common(o).color.colorIndex())); },
             [=](OdDbObject& o, const DxfIn& v, DxfContext& c) {
                 if (v.integer < 0 || v.integer > 256) {
                     c.noteRepair("entity colours outside the palette set to by layer");
                     return;
                 }
                 setDxfColorIndex(commonW(o).color, static_cast<std::int16_t>(v.integer));
             }},
            {420, DxfFieldKind::Int32, 1018, true, std::int64_t(-1),
             [=](const OdDbObject& o, DxfContext&) {
                 const OdCmColor& c = common(o).color;
                 return DxfValue(c.isByColor() ? std::int64_t(c.rgb()) : std::int64_t(-1));
             },
             [=](OdDbObject& o, const DxfIn& v, DxfContext&) {
                 setDxfTrueColor(commonW(o).color, static_cast<std::uint32_t>(v.integer));
             }},
            {430, DxfFieldKind::String, 1018, true, std::string(),
             [=](const OdDbObject& o, DxfContext&) { return DxfValue(common(o).color.colorName().toUtf8()); },
             [=](OdDbObject& o, const DxfIn& v, DxfContext&) {
                 OdCmColor& c = commonW(o).color;
                 c.setNames(OdString::fromUtf8(v.text), c.bookName());
             }},
            dxfChecked({370, DxfFieldKind::Int16, 1015, true, std::int64_t(-1),
                        [=](const OdDbObject& o, DxfContext&) { return DxfValue(std::int64_t(common(o).lineWeight)); },
                        [=](OdDbObject& o, const DxfIn& v, DxfContext&) {
                            commonW(o).lineWeight = static_cast<std::int16_t>(v.integer);
                        }},
                       [](const DxfIn& v, DxfContext&) { entmath::requireLineweight(static_cast<int>(v.integer)); }),
            dxfChecked({48, DxfFieldKind::Double, 1015, true, 1.0,
                        [=](const OdDbObject& o, DxfContext&) { return DxfValue(common(o).linetypeScale); },
                        [=](OdDbObject& o, const DxfIn& v, DxfContext&) { commonW(o).linetypeScale = v.number; }},
                       [](const DxfIn& v, DxfContext&) { entmath::requireLinetypeScale(v.number); }),
            {60, DxfFieldKind::Int16, 1009, true, std::int64_t(0),
             [=](const OdDbObject& o, DxfContext&) { return DxfValue(std::int64_t(common(o).invisible)); },
             [=](OdDbObject& o, const DxfIn& v, DxfContext&) { commonW(o).invisible = v.integer != 0; }},
        }};
    // What LIST and the JSON dump show first of every entity.
    std::vector<DxfField>& f = sub.fields;
    f[0] = dxfNamed(f[0], "space");
    f[0].show = [](const OdDbObject& o, DxfContext& c) -> PropertyValue {
        return std::string(o.ownerId() == c.db().getModelSpaceId() ? "model" : "paper");
    };
    f[1] = dxfNamed(f[1], "layer");
    f[2] = dxfNamed(f[2], "linetype");
    f[2].show = [=](const OdDbObject& o, DxfContext& c) -> PropertyValue {
        const OdDbObjectId lt = common(o).linetype;
        return lt.isNull() ? std::string("ByLayer") : c.nameOf(lt);
    };
    f[3] = dxfNamed(f[3], "color");
    f[4] = dxfNamed(f[4], "trueColor", PropertyUnit::Colour);
    f[4].show = [=](const OdDbObject& o, DxfContext&) -> PropertyValue {
        const OdCmColor& c = common(o).color;
        return c.isByColor() ? PropertyValue(std::int64_t(c.rgb())) : PropertyValue(nullptr);
    };
    static constexpr PropertyEnumName kLineweights[] = {{-1, "ByLayer"}, {-2, "ByBlock"}, {-3, "Default"}};
    f[6] = dxfEnumeration(dxfNamed(f[6], "lineweight"), kLineweights);
    f[7] = dxfNamed(f[7], "linetypeScale");
    f[8] = dxfNamed(f[8], "visible");
    f[8].show = [=](const OdDbObject& o, DxfContext&) -> PropertyValue { return !common(o).invisible; };
    return sub;
}

} // namespace vantrel
