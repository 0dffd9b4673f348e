// DXF tables of inserts with their attributes, attribute definitions and dimensions: the
// entities drawn through a block.
#include <vantrel/db/OdDbAttribute.h>
#include <vantrel/db/OdDbAttributeDefinition.h>
#include <vantrel/db/OdDbBlockReference.h>
#include <vantrel/db/OdDbDimension.h>

#include "DxfClassMap.h"
#include "DxfExtra.h"
#include "dxf_values.h"
#include "entity_math.h"
#include "db_key.h"

namespace vantrel {

namespace {

const OdGeVector3d kZAxis(0.0, 0.0, 1.0);

constexpr PropertyEnumName kVerticalModes[] = {{0, "baseline"}, {1, "bottom"}, {2, "middle"}, {3, "top"}};
constexpr PropertyEnumName kDimensionKinds[] = {{0, "rotated"}, {1, "aligned"},         {2, "angular"}, {3, "diameter"},
                                                {4, "radius"},  {5, "angular 3 point"}, {6, "ordinate"}};

// A field of the attribute part of C (attributes and their definitions).
template <class C, class T>
DxfField attributeField(int code, T C::AttributeData::*member, const T& defaultValue, DxfFieldOptions o = {})
{
    DxfField f{code,
               dxfKindOf<T>(),
               o.since,
               o.optional,
               toDxfValue(defaultValue),
               [member](const OdDbObject& obj, DxfContext&) {
                   return toDxfValue(static_cast<const C&>(obj).attributeData().*member);
               },
               [member](OdDbObject& obj, const DxfIn& v, DxfContext&) {
                   static_cast<C&>(obj).attributeDataForWrite(vantrel::dbKey()).*member = fromDxfIn<T>(v);
               }};
    f.name = o.name;
    f.unit = dxfUnitOf<T>(o);
    return f;
}

// The vertical alignment of an attribute's text, which its own part holds under 74.
DxfField attributeVerticalMode()
{
    return dxfEnumeration(dxfField<OdDbText>(74, &OdDbText::Data::verticalMode, std::int16_t(0),
                                             {.optional = true, .name = "verticalMode"}),
                          kVerticalModes);
}

// A scale factor of 0, which real files hold, is kept and said; other values are as the setter has them.
void scaleCheck(const DxfIn& v, DxfContext& c)
{
    if (v.number == 0.0)
        c.noteRepair("inserts of scale 0 kept as they are (they draw as a point or a line)");
    else
        entmath::requireFinite(v.number, "a scale factor");
}

// A count of 0 columns or rows is kept and drawn as 1; a negative one is refused.
void countCheck(const DxfIn& v, DxfContext& c)
{
    if (v.integer == 0)
        c.noteRepair("inserts of 0 columns or rows kept as they are (drawn as 1)");
    else if (v.integer < 0)
        throw OdError(eInvalidInput, "a column or row count is at least 1");
}

DxfClassMap insertMap()
{
    using C = OdDbBlockReference;
    auto scale = [](int code, double C::Data::*member, const char* name) {
        return dxfChecked(dxfField<C>(code, member, 1.0, {.optional = true, .name = name}), scaleCheck);
    };
    auto count = [](int code, std::int16_t C::Data::*member, const char* name) {
        return dxfChecked(dxfField<C>(code, member, std::int16_t(1), {.optional = true, .name = name}), countCheck);
    };
    DxfSubclass reference{
        "AcDbBlockReference",
        {
            {66, DxfFieldKind::Int16, 1009, true, std::int64_t(0),
             [](const OdDbObject& o, DxfContext&) {
                 return DxfValue(std::int64_t(static_cast<const C&>(o).hasAttributeSequence() ? 1 : 0));
             },
             [](OdDbObject& o, const DxfIn& v, DxfContext&) {
                 static_cast<C&>(o).dataForWrite(vantrel::dbKey()).attributesFollow = v.integer != 0;
             }},
            dxfField<C>(2, &C::Data::blockName, OdString(), {.name = "block"}),
            [] {
                DxfField f = dxfNamed(dxfField<C>(10, &C::Data::ocsPosition), "position", PropertyUnit::Point);
                f.show = [](const OdDbObject& o, DxfContext&) -> PropertyValue {
                    return static_cast<const C&>(o).position();
                };
                return f;
            }(),
            scale(41, &C::Data::xScale, "xScale"),
            scale(42, &C::Data::yScale, "yScale"),
            scale(43, &C::Data::zScale, "zScale"),
            dxfField<C>(50, &C::Data::rotation, 0.0, {.optional = true, .angle = true, .name = "rotation"}),
            count(70, &C::Data::columnCount, "columns"),
            count(71, &C::Data::rowCount, "rows"),
            dxfField<C>(44, &C::Data::columnSpacing, 0.0, {.optional = true, .name = "columnSpacing"}),
            dxfField<C>(45, &C::Data::rowSpacing, 0.0, {.optional = true, .name = "rowSpacing"}),
            dxfField<C>(210, &C::Data::normal, kZAxis, {.optional = true, .name = "normal"}),
            dxfShown("attributes", PropertyUnit::Value,
                     [](const OdDbObject& o, DxfContext& ctx) {
                         return dxfItemRecords(static_cast<const C&>(o).attributeIds(), ctx);
                     }),
        }};
    reference.otherMarker = "AcDbMInsertBlock";
    reference.writesOtherMarker = [](const OdDbObject& o) {
        const C::Data& d = static_cast<const C&>(o).data();
        return d.columnCount > 1 || d.rowCount > 1;
    };
    DxfSequence attributes{
        "ATTRIB",
        [](OdDbObject& owner, OdDbObject& item) {
            static_cast<C&>(owner).appendAttribute(static_cast<OdDbAttribute*>(&item));
        },
        [](const OdDbObject& owner) { return static_cast<const C&>(owner).attributeIds(); },
        [](const OdDbObject& owner) { return static_cast<const C&>(owner).data().seqEndHandle; },
        [](OdDbObject& owner, OdDbHandle h) { static_cast<C&>(owner).dataForWrite(vantrel::dbKey()).seqEndHandle = h; },
        [](const OdDbObject& owner) { return static_cast<const C&>(owner).hasAttributeSequence(); }};
    return {"INSERT", C::desc(), {dxfEntitySubclass(), reference}, attributes, dxfCheckData<C>()};
}

DxfClassMap attribMap()
{
    using C = OdDbAttribute;
    return {"ATTRIB",
            C::desc(),
            {dxfEntitySubclass(),
             dxfTextSubclass(),
             {"AcDbAttribute",
              {
                  attributeField<C>(2, &C::AttributeData::tag, OdString(), {.name = "tag"}),
                  attributeField<C>(70, &C::AttributeData::flags, std::int16_t(0), {.name = "flags"}),
                  attributeField<C>(73, &C::AttributeData::fieldLength, std::int16_t(0),
                                    {.optional = true, .name = "fieldLength"}),
                  attributeVerticalMode(),
              }}},
            {},
            dxfCheckData<OdDbText>()};
}

DxfClassMap attdefMap()
{
    using C = OdDbAttributeDefinition;
    return {"ATTDEF",
            C::desc(),
            {dxfEntitySubclass(),
             dxfTextSubclass(),
             {"AcDbAttributeDefinition",
              {
                  attributeField<C>(3, &C::AttributeData::prompt, OdString(), {.name = "prompt"}),
                  attributeField<C>(2, &C::AttributeData::tag, OdString(), {.name = "tag"}),
                  attributeField<C>(70, &C::AttributeData::flags, std::int16_t(0), {.name = "flags"}),
                  attributeField<C>(73, &C::AttributeData::fieldLength, std::int16_t(0),
                                    {.optional = true, .name = "fieldLength"}),
                  attributeVerticalMode(),
              }}},
            {},
            dxfCheckData<OdDbText>()};
}

// The points of a dimension's own kind (13, 14, 15 and 16), kept with the record as read.
PropertyValue definitionPoints(const OdDbObject& o, DxfContext&)
{
    PropertyRecords points;
    const DxfExtra* extra = o.dxfExtra().get();
    if (!extra)
        return points;
    const DxfTagList& tags = extra->tags;
    for (int code : {13, 14, 15, 16}) {
        const std::size_t at = tags.find(code);
        if (at >= tags.size())
            continue;
        OdGePoint3d p;
        double* coords[3] = {&p.x, &p.y, &p.z};
        for (int k = 0; k < 3; ++k) {
            const std::size_t i = tags.find(code + 10 * k, at);
            if (i < tags.size())
                (void)tryParseDxfDouble(tags[i].value, *coords[k]); // a coordinate that does not parse shows as 0
        }
        points.add("code", PropertyUnit::Value, std::int64_t(code));
        points.add("point", PropertyUnit::Point, p);
        points.endRecord();
    }
    return points;
}

DxfClassMap dimensionMap()
{
    using C = OdDbDimension;
    return {
        "DIMENSION",
        C::desc(),
        {dxfEntitySubclass(),
         {"AcDbDimension",
          {
              dxfField<C>(2, &C::Data::blockName, OdString(), {.name = "block"}),
              dxfField<C>(10, &C::Data::definitionPoint, OdGePoint3d(), {.name = "definitionPoint"}),
              [] {
                  DxfField f
                      = dxfNamed(dxfField<C>(11, &C::Data::ocsTextPosition), "textPosition", PropertyUnit::Point);
                  f.show = [](const OdDbObject& o, DxfContext&) -> PropertyValue {
                      return static_cast<const C&>(o).textPosition();
                  };
                  return f;
              }(),
              dxfField<C>(70, &C::Data::dimensionType, std::int16_t(0), {.name = "dimensionType"}),
              dxfEnumeration(dxfShown("kind", PropertyUnit::Value,
                                      [](const OdDbObject& o, DxfContext&) -> PropertyValue {
                                          return std::int64_t(static_cast<const C&>(o).data().dimensionType
                                                              & C::kTypeMask);
                                      }),
                             kDimensionKinds),
              dxfField<C>(42, &C::Data::measurement, 0.0, {.optional = true, .name = "measurement"}),
              dxfField<C>(1, &C::Data::userText, OdString(), {.name = "text"}),
              dxfField<C>(53, &C::Data::textRotation, 0.0, {.optional = true, .angle = true, .name = "textRotation"}),
              dxfField<C>(210, &C::Data::normal, kZAxis, {.optional = true, .name = "normal"}),
              dxfShown("definitionPoints", PropertyUnit::Value, definitionPoints),
          }}},
        {},
        dxfCheckData<C>()};
}

} // namespace

void declareBlockMaps(std::vector<DxfClassMap>& maps)
{
    maps.push_back(insertMap());
    maps.push_back(attribMap());
    maps.push_back(attdefMap());
    maps.push_back(dimensionMap());
}

} // namespace vantrel
