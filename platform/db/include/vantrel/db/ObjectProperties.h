// What an object shows of itself to people and scripts (LIST, the JSON dump): its properties,
// named and in the units a user types, declared once, with the object's DXF form.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
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
using PropertyRecord = std::vector<Property>;
using PropertyValue
    = std::variant<std::nullptr_t, bool, std::int64_t, double, std::string, OdGePoint3d, OdGePoint2d, OdGeVector3d,
                   std::vector<double>, std::vector<OdGePoint3d>, std::vector<PropertyRecord>>;

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
