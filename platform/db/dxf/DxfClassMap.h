// The declared DXF form of a modelled class: its record name and, per subclass marker, a table
// of fields (group code, kind, first release, default, accessors). Reading and writing walk these
// tables; the classes themselves know nothing of DXF.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <variant>
#include <vector>

#include <vantrel/db/OdDbDatabase.h>
#include <vantrel/db/OdDbEntity.h>
#include <vantrel/db/OdDbExport.h>
#include <vantrel/db/ObjectProperties.h>
#include <vantrel/ge/OdGePoint2d.h>
#include <vantrel/ge/OdGePoint3d.h>
#include <vantrel/ge/OdGeVector3d.h>
#include "db_key.h"

namespace vantrel {

struct DxfClassDefinition;
class DxfRepairLog;
class DxfTagReader;
class DxfTagWriter;

// A field value between the file and an object: numbers, UTF-8 text, points and object ids.
using DxfValue = std::variant<double, std::int64_t, std::string, OdGePoint3d, OdDbObjectId>;

// A value read from a file, as a field's set takes it: the member of the field's kind holds it.
// Nothing is owned, so that reading a tag allocates nothing.
struct DxfIn {
    double number = 0.0;      // Double; Angle in radians
    std::int64_t integer = 0; // Int16, Int32, Bool, HandleValue
    std::string_view text;    // String: UTF-8, escapes decoded; valid during the call only
    OdGePoint3d point;        // Point3d; Point2d with z 0
    OdDbObjectId id;          // Handle: null for handle 0
};

enum class DxfFieldKind : std::uint8_t {
    Double,
    Angle, // radians in the object, degrees in the file
    Int16,
    Int32,
    Bool, // 0 or 1 under an integer code (or a 290-299 bool code)
    String,
    Handle,      // an object id, written as its handle; a null id is not written
    HandleValue, // a handle kept as a number, not an object reference (sort handles)
    Point3d,     // code, code + 10, code + 20
    Point2d,     // code, code + 10
};

// The services fields need from the drawing: handles and symbol names to ids and back.
class DxfContext {
public:
    explicit DxfContext(OdDbDatabase& db) : m_db(db) {}
    OdDbDatabase& db() const { return m_db; }

    // The id of a handle, reserved when its object comes later in the file.
    OdDbObjectId idOfHandle(std::uint64_t handle);
    // Records by name; a name no record bears gets a new record (as files may use layers and
    // linetypes they never declare). code: the group code the name was read under; a name that
    // differs from the record's in case only is kept in `asRead`, to be written as read.
    OdDbObjectId layerNamed(std::string_view utf8, int code);
    OdDbObjectId linetypeNamed(std::string_view utf8, int code);
    OdDbObjectId textStyleNamed(std::string_view utf8, int code);
    // The name of a symbol table record, UTF-8.
    const std::string& nameOf(OdDbObjectId record);

    // The first half of a pair of tags (a dictionary entry's name), held for the field that
    // reads the second half.
    std::optional<std::string> pendingName;
    // A draw-order table's (entity, sort handle) pairs as read, set on the table at its end:
    // setting them pair by pair would sort the block's entities once per pair.
    std::vector<std::pair<OdDbObjectId, std::optional<OdDbHandle>>> sortHandles;
    // While writing a space's entities: 1 paper space, 0 model space (group code 67 follows the
    // space an entity is in); -1 elsewhere.
    int space = -1;
    // While reading a record: values whose text the writer would not give back by itself (names
    // spelt in another case than their records, angles whose degrees no shortest text gives), by
    // group code.
    std::vector<std::pair<int, std::string>> asRead;
    // While reading: makes the table (0 layers, 1 linetypes, 2 text styles) that a record names
    // a record of before the file gives that table; answers its id.
    std::function<OdDbObjectId(int kind)> makeTable;
    // While reading a record: tags whose meaning depends on the tags around them (a hatch's
    // boundary paths), in file order, for the map's finish to take apart.
    struct GatheredTag {
        int code;
        DxfFieldKind kind;
        double number;
        std::int64_t integer;
        std::string text;
        OdGePoint3d point;
    };
    std::vector<GatheredTag> gathered;
    // While reading: where fields report what they repaired.
    DxfRepairLog* repairs = nullptr;
    void noteRepair(const char* what, std::size_t count = 1);

private:
    OdDbObjectId recordNamed(OdDbObjectId table, std::string_view utf8, int kind, int code);

    OdDbDatabase& m_db;
    struct Named {
        OdDbObjectId id;
        bool spelledAsRecord = true;
    };
    std::unordered_map<std::string, Named> m_byName[3];
    // The last answer per kind: records name the same layer and linetype over and over.
    struct Recent {
        std::string name;
        Named named;
    };
    Recent m_recent[3];
    std::unordered_map<OdDbObjectId, std::string> m_names;
};

struct DxfField {
    int code;
    DxfFieldKind kind;
    int since = 1009;      // the AC number of the first release that has the field
    bool optional = false; // written only when its value differs from defaultValue
    DxfValue defaultValue;
    // Reads the value of the object; null for a field written by another field's write.
    std::function<DxfValue(const OdDbObject&, DxfContext&)> get;
    // Takes a value read from a file; called once per occurrence of the code.
    std::function<void(OdDbObject&, const DxfIn&, DxfContext&)> set;
    // Writes a field that is not one tag (repeated groups such as dashes); replaces get.
    std::function<void(const OdDbObject&, DxfTagWriter&, DxfContext&)> write = {};
    // The value read is a count that get must answer once the record is read (vertices, dashes).
    bool count = false;
    // An optional field is also written at its default when this answers true (a tangent of 0
    // that a vertex says it has).
    std::function<bool(const OdDbObject&)> alsoWhen = {};
    // What LIST and the JSON dump show of it: its property name (none: not shown) and unit, and
    // for a value that is not the field's own as get answers it (world points of values kept in
    // the object's plane, lists, computed values), how to get that. A field of code kNoDxfCode
    // is such a property alone, with no DXF form.
    std::string_view name = {};
    PropertyUnit unit = PropertyUnit::Value;
    std::function<PropertyValue(const OdDbObject&, DxfContext&)> show = {};
    std::span<const PropertyEnumName> names = {};
};

inline constexpr int kNoDxfCode = -1;

struct DxfSubclass {
    const char* marker; // the 100 marker; null for a part written without one
    std::vector<DxfField> fields;
    // Filled when the map is registered, for the reader's look-up of every tag: the marker as a
    // view and, per field, the group code it reads (-1 for a field that only writes).
    std::string_view markerText = {};
    std::vector<std::int16_t> readCodes = {};
    // For the common codes below kQuickCodes, one more than the index of the first field that
    // reads each; 0 for none.
    static constexpr int kQuickCodes = 128;
    std::array<std::uint16_t, kQuickCodes> quickReaders = {};
    // A second marker the subclass goes by (an INSERT with columns and rows is written as
    // AcDbMInsertBlock), and when the writer uses it.
    const char* otherMarker = nullptr;
    std::function<bool(const OdDbObject&)> writesOtherMarker = {};

    // The field that reads code, or null.
    const DxfField* readerOf(int code) const
    {
        if (code >= 0 && code < kQuickCodes) {
            const std::size_t i = quickReaders[static_cast<std::size_t>(code)];
            return i == 0 ? nullptr : &fields[i - 1];
        }
        for (std::size_t i = 0; i < readCodes.size(); ++i)
            if (readCodes[i] == code)
                return &fields[i];
        return nullptr;
    }
};

// Sub-entities that follow their owner in the file up to a SEQEND (vertices of polylines and
// meshes): the owner takes each as it is read and lists them for writing.
struct DxfSequence {
    const char* itemKey = nullptr; // the key of the items' class map; null: no sequence
    std::function<void(OdDbObject& owner, OdDbObject& item)> append = {};
    std::function<std::vector<OdDbObjectId>(const OdDbObject& owner)> items = {};
    std::function<OdDbHandle(const OdDbObject& owner)> seqEnd = {};
    std::function<void(OdDbObject& owner, OdDbHandle)> setSeqEnd = {};
    // Whether the owner has the sequence at all (an INSERT only with attributes, which its 66
    // says when read); null: always.
    std::function<bool(const OdDbObject& owner)> present = {};

    bool presentIn(const OdDbObject& owner) const { return itemKey && (!present || present(owner)); }
};

struct DxfClassMap {
    const char* recordName; // "LINE"
    const OdRxClass* cls;
    std::vector<DxfSubclass> subclasses;
    DxfSequence sequence; // empty functions for classes without sub-entities
    // Completes an object once its tags are read: checks across fields (raising OdError with the
    // problem, which the reader reports with the record's line) and values gathered from
    // repeated groups.
    std::function<void(OdDbObject&, DxfContext&)> finish;
    // The registry key when several classes share a record name ("POLYLINE 3D"); null: the name.
    const char* key = nullptr;
    // Fields with no group code, kept in the extended data of an application of ours: the writer
    // registers xdataApp in the APPID table and writes the chain ownXData builds (first node
    // 1001 xdataApp) after the object's other chains, in place of any chain of that application
    // the object holds; the reader hands that application's chain to takeXData, which applies it
    // and answers true (the chain is then dropped), or answers false and leaves the object as it
    // was (the chain stays as plain extended data).
    const wchar_t* xdataApp = nullptr;
    std::function<OdResBufPtr(const OdDbObject&)> ownXData = {};
    std::function<bool(OdDbObject&, const OdResBuf&)> takeXData = {};
    // Filled when the map is registered: the class is an entity, or a symbol table record; the
    // CLASS record its records need, or null for a record type DXF defines itself.
    bool entity = false;
    bool tableRecord = false;
    const DxfClassDefinition* classDefinition = nullptr;
};

// The map of a class (exactly that class), or null.
VANTREL_DB_FOR_TESTS const DxfClassMap* dxfClassMap(const OdRxClass* cls);
// The map of a record name (or key), or null.
VANTREL_DB_FOR_TESTS const DxfClassMap* dxfClassMap(std::string_view recordName);
// The maps of entities and objects of classes this system does not model: the AcDbEntity part
// only, or nothing.
const DxfClassMap& dxfUnknownEntityMap();
const DxfClassMap& dxfUnknownObjectMap();

// The declarations, one function per family of classes (dxf_tables_*.cpp).
void declareSymbolTableMaps(std::vector<DxfClassMap>& maps);
void declareEntityMaps(std::vector<DxfClassMap>& maps);
void declarePolylineMaps(std::vector<DxfClassMap>& maps);
void declareObjectMaps(std::vector<DxfClassMap>& maps);
void declareHatchMaps(std::vector<DxfClassMap>& maps);
void declareTextMaps(std::vector<DxfClassMap>& maps);
void declareBlockMaps(std::vector<DxfClassMap>& maps);
void declareMarkMaps(std::vector<DxfClassMap>& maps);

// --- building tables ---

template <class T>
constexpr DxfFieldKind dxfKindOf()
{
    if constexpr (std::is_same_v<T, double>)
        return DxfFieldKind::Double;
    else if constexpr (std::is_same_v<T, bool>)
        return DxfFieldKind::Bool;
    else if constexpr (std::is_same_v<T, std::int16_t>)
        return DxfFieldKind::Int16;
    else if constexpr (std::is_integral_v<T> || std::is_enum_v<T>)
        return DxfFieldKind::Int32;
    else if constexpr (std::is_same_v<T, OdString>)
        return DxfFieldKind::String;
    else if constexpr (std::is_same_v<T, OdDbObjectId>)
        return DxfFieldKind::Handle;
    else if constexpr (std::is_same_v<T, OdGePoint2d>)
        return DxfFieldKind::Point2d;
    else
        return DxfFieldKind::Point3d;
}

template <class T>
DxfValue toDxfValue(const T& v)
{
    if constexpr (std::is_integral_v<T> || std::is_enum_v<T>)
        return static_cast<std::int64_t>(v);
    else if constexpr (std::is_same_v<T, OdString>)
        return v.toUtf8();
    else if constexpr (std::is_same_v<T, double> || std::is_same_v<T, OdDbObjectId>)
        return v;
    else if constexpr (std::is_same_v<T, OdGePoint2d>)
        return OdGePoint3d(v.x, v.y, 0.0);
    else
        return OdGePoint3d(v.x, v.y, v.z);
}

template <class T>
T fromDxfIn(const DxfIn& v)
{
    if constexpr (std::is_same_v<T, double>)
        return v.number;
    else if constexpr (std::is_same_v<T, bool>)
        return v.integer != 0;
    else if constexpr (std::is_integral_v<T> || std::is_enum_v<T>)
        return static_cast<T>(v.integer);
    else if constexpr (std::is_same_v<T, OdString>)
        return OdString::fromUtf8(v.text);
    else if constexpr (std::is_same_v<T, OdDbObjectId>)
        return v.id;
    else if constexpr (std::is_same_v<T, OdGePoint2d>)
        return OdGePoint2d(v.point.x, v.point.y);
    else
        return T(v.point.x, v.point.y, v.point.z);
}

struct DxfFieldOptions {
    int since = 1009;
    bool optional = false;
    bool angle = false;         // a double kept in radians, written in degrees
    std::string_view name = {}; // the property shown by LIST and the JSON dump
    bool plane = false;         // a point in the object's own plane, shown as such
};

// The unit a field of a C++ type shows its value in.
template <class T>
constexpr PropertyUnit dxfUnitOf(const DxfFieldOptions& o)
{
    if (o.angle)
        return PropertyUnit::Angle;
    if constexpr (std::is_same_v<T, OdGeVector3d>)
        return PropertyUnit::Vector;
    else if constexpr (std::is_same_v<T, OdGePoint3d> || std::is_same_v<T, OdGePoint2d>)
        return o.plane ? PropertyUnit::PlanePoint : PropertyUnit::Point;
    else if constexpr (std::is_same_v<T, OdDbObjectId>)
        return PropertyUnit::Handle;
    else
        return PropertyUnit::Value;
}

// A field of a class's nested Data struct, through data() and dataForWrite(vantrel::dbKey()).
template <class C, class T>
DxfField dxfField(int code, T C::Data::*member, const T& defaultValue = T(), DxfFieldOptions o = {})
{
    DxfFieldKind kind = o.angle ? DxfFieldKind::Angle : dxfKindOf<T>();
    DxfField f{
        code,
        kind,
        o.since,
        o.optional,
        toDxfValue(defaultValue),
        [member](const OdDbObject& obj, DxfContext&) { return toDxfValue(static_cast<const C&>(obj).data().*member); },
        [member](OdDbObject& obj, const DxfIn& v, DxfContext&) {
            static_cast<C&>(obj).dataForWrite(vantrel::dbKey()).*member = fromDxfIn<T>(v);
        }};
    f.name = o.name;
    f.unit = dxfUnitOf<T>(o);
    return f;
}

// A field reached through accessor functions (classes without a Data struct, derived values).
template <class C, class T>
DxfField dxfAccessor(int code, T (*get)(const C&), void (*set)(C&, const T&), const T& defaultValue = T(),
                     DxfFieldOptions o = {})
{
    DxfFieldKind kind = o.angle ? DxfFieldKind::Angle : dxfKindOf<T>();
    DxfField f{code,
               kind,
               o.since,
               o.optional,
               toDxfValue(defaultValue),
               [get](const OdDbObject& obj, DxfContext&) { return toDxfValue(get(static_cast<const C&>(obj))); },
               [set](OdDbObject& obj, const DxfIn& v, DxfContext&) { set(static_cast<C&>(obj), fromDxfIn<T>(v)); }};
    f.name = o.name;
    f.unit = dxfUnitOf<T>(o);
    return f;
}

// A field as shown by LIST and the JSON dump.
inline DxfField dxfNamed(DxfField f, std::string_view name, PropertyUnit unit = PropertyUnit::Value)
{
    f.name = name;
    f.unit = unit;
    return f;
}

// A field whose value read from a file must keep a rule its class's setter keeps: check raises
// OdError naming the problem, which the reader reports with the line, the record and the field.
// The context lets a check accept, as a noted repair, a value real files hold.
inline DxfField dxfChecked(DxfField f, void (*check)(const DxfIn&, DxfContext&))
{
    f.set = [set = std::move(f.set), check](OdDbObject& o, const DxfIn& v, DxfContext& c) {
        check(v, c);
        set(o, v, c);
    };
    return f;
}

// A class's own check of a record read whole (the rules that tie fields together), as a map's finish.
template <class C>
std::function<void(OdDbObject&, DxfContext&)> dxfCheckData()
{
    return [](OdDbObject& o, DxfContext&) { static_cast<const C&>(o).checkData(); };
}

// A property with no DXF code of its own: a flag of a combined code, a value kept in extended
// data, a value computed from others.
inline DxfField dxfShown(std::string_view name, PropertyUnit unit,
                         std::function<PropertyValue(const OdDbObject&, DxfContext&)> show)
{
    DxfField f{kNoDxfCode, DxfFieldKind::Double, 1009, false, 0.0, nullptr, nullptr};
    f.name = name;
    f.unit = unit;
    f.show = std::move(show);
    return f;
}

// An enumeration field, with the names people read for its values.
inline DxfField dxfEnumeration(DxfField f, std::span<const PropertyEnumName> names)
{
    f.names = names;
    return f;
}

// A shown value of the class's Data struct.
template <class C, class T>
DxfField dxfShownMember(std::string_view name, T C::Data::*member, PropertyUnit unit = PropertyUnit::Value)
{
    return dxfShown(name, unit, [member](const OdDbObject& o, DxfContext&) -> PropertyValue {
        const T& v = static_cast<const C&>(o).data().*member;
        if constexpr ((std::is_integral_v<T> && !std::is_same_v<T, bool>) || std::is_enum_v<T>)
            return static_cast<std::int64_t>(v);
        else if constexpr (std::is_same_v<T, OdString>)
            return v.toUtf8();
        else
            return v; // doubles, points, bools as themselves
    });
}

// The subclass AcDbEntity: layer, linetype, colour, lineweight, scale, visibility, space.
DxfSubclass dxfEntitySubclass();
// The AcDbText part of texts, attributes and attribute definitions (their placement and look).
DxfSubclass dxfTextSubclass();

// The items of a sequence (vertices) as shown: each its handle and the properties of its own
// class, without those it has as an entity; read through ctx, their owner's.
PropertyValue dxfItemRecords(const std::vector<OdDbObjectId>& items, DxfContext& ctx);

// The colour codes of entities and layers, in whichever order a file gives them: 62 a palette
// index (0-256), 420 a true colour; an index next to a true colour is kept beside it.
void setDxfColorIndex(OdCmColor& color, std::int16_t index);
void setDxfTrueColor(OdCmColor& color, std::uint32_t rgb);

} // namespace vantrel
