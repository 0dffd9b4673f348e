// The properties LIST and the JSON dump show, read off the class maps: a named field shows its
// value in its unit (angles in degrees, ids as handles), or what its own show function gives.
#include <vantrel/db/ObjectProperties.h>

#include <cctype>

#include <vantrel/db/OdDbDatabase.h>

#include "DxfClassMap.h"
#include "dxf_values.h"

namespace vantrel {

namespace {

PropertyValue shownValue(const DxfField& f, const OdDbObject& object, DxfContext& ctx)
{
    if (f.show)
        return f.show(object, ctx);
    const DxfValue v = f.get(object, ctx);
    switch (f.kind) {
    case DxfFieldKind::Angle: return stableDegrees(std::get<double>(v));
    case DxfFieldKind::Double: return std::get<double>(v);
    case DxfFieldKind::Bool: return std::get<std::int64_t>(v) != 0;
    case DxfFieldKind::Int16:
    case DxfFieldKind::Int32:
    case DxfFieldKind::HandleValue: return std::get<std::int64_t>(v);
    case DxfFieldKind::String: return std::get<std::string>(v);
    case DxfFieldKind::Handle: {
        const OdDbObjectId id = std::get<OdDbObjectId>(v);
        return id.isNull() ? PropertyValue(nullptr) : PropertyValue(id.getHandle().ascii());
    }
    case DxfFieldKind::Point2d: {
        const OdGePoint3d& p = std::get<OdGePoint3d>(v);
        return OdGePoint2d(p.x, p.y);
    }
    case DxfFieldKind::Point3d: {
        const OdGePoint3d& p = std::get<OdGePoint3d>(v);
        if (f.unit == PropertyUnit::Vector)
            return OdGeVector3d(p.x, p.y, p.z);
        return p;
    }
    }
    return nullptr;
}

bool shown(const DxfField& f) { return !f.name.empty() && (f.show || f.get); }

// How many properties the subclasses from first on show: the size of the record they make.
std::size_t shownCount(const std::vector<DxfSubclass>& subclasses, std::size_t first)
{
    std::size_t count = 0;
    for (std::size_t i = first; i < subclasses.size(); ++i)
        for (const DxfField& f : subclasses[i].fields)
            count += shown(f) ? 1U : 0U;
    return count;
}

const DxfClassMap& mapOf(const OdDbObject& object)
{
    if (const DxfClassMap* map = dxfClassMap(object.isA()))
        return *map;
    return object.isKindOf(OdDbEntity::desc()) ? dxfUnknownEntityMap() : dxfUnknownObjectMap();
}

// Hands add each property the subclasses from first on show of object.
template <class Add>
void forEachShown(const std::vector<DxfSubclass>& subclasses, std::size_t first, const OdDbObject& object,
                  DxfContext& ctx, Add add)
{
    for (std::size_t i = first; i < subclasses.size(); ++i)
        for (const DxfField& f : subclasses[i].fields)
            if (shown(f))
                add(Property{f.name, f.unit, shownValue(f, object, ctx), f.names});
}

} // namespace

std::vector<Property> objectProperties(const OdDbObject& object)
{
    std::vector<Property> out;
    if (OdDbDatabase* db = object.database())
        PropertyReader(*db).properties(object, out);
    return out;
}

PropertyReader::PropertyReader(OdDbDatabase& db) : m_context(std::make_unique<DxfContext>(db)) {}

PropertyReader::~PropertyReader() = default;

std::vector<Property> PropertyReader::properties(const OdDbObject& object)
{
    std::vector<Property> out;
    properties(object, out);
    return out;
}

void PropertyReader::properties(const OdDbObject& object, std::vector<Property>& into)
{
    if (object.database() != &m_context->db()) {
        into = objectProperties(object);
        return;
    }
    into.clear();
    const std::vector<DxfSubclass>& subclasses = mapOf(object).subclasses;
    into.reserve(shownCount(subclasses, 0));
    forEachShown(subclasses, 0, object, *m_context, [&](Property&& p) { into.push_back(std::move(p)); });
}

PropertyValue dxfItemRecords(const std::vector<OdDbObjectId>& items, DxfContext& ctx)
{
    PropertyRecords records;
    for (OdDbObjectId id : items) {
        if (id.isErased())
            continue;
        const OdDbObjectPtr item = id.safeOpenObject();
        records.add("handle", PropertyUnit::Handle, id.getHandle().ascii());
        // What an item has as an entity (its layer, ...) is its owner's.
        forEachShown(mapOf(*item).subclasses, item->isKindOf(OdDbEntity::desc()) ? 1 : 0, *item, ctx,
                     [&](Property&& p) { records.add(std::move(p)); });
        records.endRecord();
    }
    return records;
}

std::string propertyWords(std::string_view name)
{
    // A capital after a small letter opens a word; a run of capitals is one word kept in
    // capitals (an abbreviation), except its last when a small letter follows: that opens the next.
    auto upper = [&](std::size_t i) { return i < name.size() && std::isupper(static_cast<unsigned char>(name[i])); };
    auto lower = [&](std::size_t i) { return i < name.size() && std::islower(static_cast<unsigned char>(name[i])); };
    std::string words;
    for (std::size_t i = 0; i < name.size(); ++i) {
        const char c = name[i];
        if (!upper(i)) {
            words += c;
            continue;
        }
        const bool inRun = i > 0 && upper(i - 1);
        if (i > 0 && (!inRun || lower(i + 1)))
            words += ' ';
        const bool abbreviation = (inRun || upper(i + 1)) && !lower(i + 1);
        words += abbreviation ? c : static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return words;
}

} // namespace vantrel
