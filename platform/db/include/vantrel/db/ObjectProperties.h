// What an object shows of itself to people and scripts (LIST, the JSON dump): its properties,
// named and in the units a user types, declared once, with the object's DXF form.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

#include <vantrel/db/OdDbObject.h>
#include <vantrel/ge/OdGePoint2d.h>
#include <vantrel/ge/OdGePoint3d.h>
#include <vantrel/ge/OdGeVector3d.h>
#include <vantrel/db/OdDbExport.h>

namespace vantrel {

enum class PropertyUnit : std::uint8_t {
    Value,      // a number, text, flag or enumeration value as it is
    Angle,      // degrees
    Point,      // a point in world coordinates
    PlanePoint, // a point in the object's own plane (its object coordinate system)
    Vector,     // a direction in world coordinates
    Handle,     // an object's handle, upper-case hex
    Colour,     // a true colour, 0xRRGGBB
};

struct Property;

// Records one after another, each a run of properties (a polyline's vertices, a dimension's
// points), all in one vector: a drawing shows them by the hundred thousand, and a vector each
// would cost an allocation each.
class PropertyRecords {
public:
    void reserve(std::size_t records, std::size_t properties);
    // Adds a property, made from args, to the record being made.
    template <class... Args>
    void add(Args&&... args);
    // Ends the record being made: the properties added since the last one ended are its own.
    void endRecord();

    std::size_t size() const { return m_ends.size(); }
    std::span<const Property> operator[](std::size_t record) const;

private:
    std::vector<Property> m_properties;
    std::vector<std::size_t> m_ends; // of each record, past its last property
};

using PropertyValue = std::variant<std::nullptr_t, bool, std::int64_t, double, std::string, OdGePoint3d, OdGePoint2d,
                                   OdGeVector3d, std::vector<double>, std::vector<OdGePoint3d>, PropertyRecords>;

// The name of a value of an enumeration ("spot" for a light type of 3).
struct VANTREL_DB_EXPORT PropertyEnumName {
    std::int64_t value;
    const char* name;
};

struct VANTREL_DB_EXPORT Property {
    std::string_view name; // camelCase: "startAngle"
    PropertyUnit unit;
    PropertyValue value;
    std::span<const PropertyEnumName> names = {}; // of an enumeration's values, for people
};

inline void PropertyRecords::reserve(std::size_t records, std::size_t properties)
{
    m_ends.reserve(records);
    m_properties.reserve(properties);
}

template <class... Args>
void PropertyRecords::add(Args&&... args)
{
    m_properties.push_back(Property{std::forward<Args>(args)...});
}

inline void PropertyRecords::endRecord() { m_ends.push_back(m_properties.size()); }

inline std::span<const Property> PropertyRecords::operator[](std::size_t record) const
{
    const std::size_t first = record == 0 ? 0 : m_ends[record - 1];
    return std::span<const Property>(m_properties).subspan(first, m_ends[record] - first);
}

// The properties of an object of a class the drawing models, in the order its class declares
// them: for an entity its common ones (space, layer, colour, ...) first. An object of a class
// the drawing does not model shows what every object of its kind has (an entity's layer, ...).
VANTREL_DB_EXPORT std::vector<Property> objectProperties(const OdDbObject& object);

class DxfContext;

// The properties of many objects of one drawing in a row (a dump of every entity), as
// objectProperties gives them, with the names of the records they refer to (layers, linetypes)
// looked up once. The drawing must not change while it is in use.
class VANTREL_DB_EXPORT PropertyReader {
public:
    explicit PropertyReader(OdDbDatabase& db);
    ~PropertyReader();
    PropertyReader(const PropertyReader&) = delete;
    PropertyReader& operator=(const PropertyReader&) = delete;

    // (An object of another drawing is read on its own, as objectProperties reads it.)
    std::vector<Property> properties(const OdDbObject& object);
    // The same into a record of the caller's, whose room is kept from one object to the next.
    void properties(const OdDbObject& object, std::vector<Property>& into);

private:
    std::unique_ptr<DxfContext> m_context;
};

// "startAngle" as words: "start angle" ("lampColorRGB": "lamp color RGB").
VANTREL_DB_EXPORT std::string propertyWords(std::string_view name);

} // namespace vantrel
