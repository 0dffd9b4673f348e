// DXF table of MTEXT. Its contents come as 250-character chunks under 3 followed by the rest
// under 1; they are joined when read and cut again when written. Column layouts and background
// fills are not modelled: their tags stay in the record as read.
#include <vantrel/db/OdDbMText.h>

#include <algorithm>

#include "DxfClassMap.h"
#include "DxfTagWriter.h"
#include "dxf_values.h"
#include "db_key.h"

namespace vantrel {

namespace {

using C = OdDbMText;

constexpr std::size_t kChunk = 250;
constexpr PropertyEnumName kAttachments[]
    = {{1, "top left"},     {2, "top center"},  {3, "top right"},     {4, "middle left"}, {5, "middle center"},
       {6, "middle right"}, {7, "bottom left"}, {8, "bottom center"}, {9, "bottom right"}};
constexpr PropertyEnumName kDirections[] = {{1, "left to right"}, {3, "top to bottom"}, {5, "by style"}};
constexpr PropertyEnumName kSpacingStyles[] = {{1, "at least"}, {2, "exactly"}};
const OdGeVector3d kZAxis(0.0, 0.0, 1.0);

C::Data& dataW(OdDbObject& o) { return static_cast<C&>(o).dataForWrite(vantrel::dbKey()); }
const C::Data& data(const OdDbObject& o) { return static_cast<const C&>(o).data(); }

DxfField contentsField()
{
    // 3 chunks come first; each tag adds to what came before.
    DxfField f{
        1,
        DxfFieldKind::String,
        1009,
        false,
        std::string(),
        nullptr,
        [](OdDbObject& o, const DxfIn& v, DxfContext&) { dataW(o).contents.str() += OdString::fromUtf8(v.text).str(); },
        [](const OdDbObject& o, DxfTagWriter& w, DxfContext&) {
            const std::wstring& s = data(o).contents.str();
            std::size_t at = 0;
            for (; s.size() - at > kChunk; at += kChunk)
                w.writeString(3, OdString(s.substr(at, kChunk)).toUtf8());
            w.writeString(1, OdString(s.substr(at)).toUtf8());
        }};
    f.name = "contents";
    f.show = [](const OdDbObject& o, DxfContext&) -> PropertyValue { return data(o).contents.toUtf8(); };
    return f;
}

DxfField chunkField()
{
    return {
        3, DxfFieldKind::String, 1009, false, std::string(), nullptr, [](OdDbObject& o, const DxfIn& v, DxfContext&) {
            dataW(o).contents.str() += OdString::fromUtf8(v.text).str();
        }};
}

// 50 comes again, as column heights, in files with columns: only the first is the rotation,
// which is then written even at 0 so that it stays the first.
DxfField rotationField()
{
    DxfField f = dxfField<C>(50, &C::Data::rotation, 0.0, {.optional = true, .angle = true, .name = "rotation"});
    f.set = [](OdDbObject& o, const DxfIn& v, DxfContext& c) {
        const bool first = std::none_of(c.gathered.begin(), c.gathered.end(),
                                        [](const DxfContext::GatheredTag& t) { return t.code == 50; });
        if (first)
            dataW(o).rotation = v.number;
        else
            dataW(o).columnHeights.push_back(stableDegrees(v.number));
        c.gathered.push_back({50, DxfFieldKind::Angle, v.number, 0, {}, {}});
    };
    f.alsoWhen = [](const OdDbObject& o) { return !data(o).columnHeights.empty(); };
    f.show = [](const OdDbObject& o, DxfContext&) -> PropertyValue { return static_cast<const C&>(o).rotation(); };
    return f;
}

DxfField columnHeightsField()
{
    return {kNoDxfCode,
            DxfFieldKind::Double,
            1009,
            false,
            0.0,
            nullptr,
            nullptr,
            [](const OdDbObject& o, DxfTagWriter& w, DxfContext&) {
                for (double h : data(o).columnHeights)
                    w.writeDouble(50, h);
            }};
}

DxfField directionField()
{
    DxfField f{11,
               DxfFieldKind::Point3d,
               1009,
               true,
               OdGePoint3d(),
               [](const OdDbObject& o, DxfContext&) {
                   const auto& d = data(o).direction;
                   return DxfValue(d ? OdGePoint3d(d->x, d->y, d->z) : OdGePoint3d());
               },
               [](OdDbObject& o, const DxfIn& v, DxfContext&) {
                   dataW(o).direction = OdGeVector3d(v.point.x, v.point.y, v.point.z);
               }};
    f.alsoWhen = [](const OdDbObject& o) { return data(o).direction.has_value(); };
    f.name = "direction";
    f.unit = PropertyUnit::Vector;
    f.show = [](const OdDbObject& o, DxfContext&) -> PropertyValue { return static_cast<const C&>(o).direction(); };
    return f;
}

DxfField styleField()
{
    return dxfNamed(
        {7, DxfFieldKind::String, 1009, true, std::string("Standard"),
         [](const OdDbObject& o, DxfContext& c) {
             const OdDbObjectId style = data(o).textStyle;
             return DxfValue(style.isNull() ? std::string("Standard") : c.nameOf(style));
         },
         [](OdDbObject& o, const DxfIn& v, DxfContext& c) { dataW(o).textStyle = c.textStyleNamed(v.text, 7); }},
        "style");
}

DxfField definedHeightField()
{
    DxfField f{46,
               DxfFieldKind::Double,
               1032,
               true,
               0.0,
               [](const OdDbObject& o, DxfContext&) { return DxfValue(data(o).definedHeight.value_or(0.0)); },
               [](OdDbObject& o, const DxfIn& v, DxfContext&) { dataW(o).definedHeight = v.number; }};
    f.alsoWhen = [](const OdDbObject& o) { return data(o).definedHeight.has_value(); };
    return f;
}

DxfClassMap mtextMap()
{
    return {"MTEXT",
            C::desc(),
            {dxfEntitySubclass(),
             {"AcDbMText",
              {
                  dxfField<C>(10, &C::Data::location, OdGePoint3d(), {.name = "location"}),
                  dxfField<C>(40, &C::Data::height, 2.5, {.name = "height"}),
                  dxfField<C>(41, &C::Data::width, 0.0, {.optional = true, .name = "width"}),
                  definedHeightField(),
                  dxfEnumeration(dxfField<C>(71, &C::Data::attachment, std::int16_t(1), {.name = "attachment"}),
                                 kAttachments),
                  dxfEnumeration(dxfField<C>(72, &C::Data::drawingDirection, std::int16_t(1),
                                             {.optional = true, .name = "drawingDirection"}),
                                 kDirections),
                  chunkField(),
                  contentsField(),
                  dxfShown("text", PropertyUnit::Value,
                           [](const OdDbObject& o, DxfContext&) -> PropertyValue {
                               return static_cast<const C&>(o).text().toUtf8();
                           }),
                  styleField(),
                  dxfField<C>(210, &C::Data::normal, kZAxis, {.optional = true, .name = "normal"}),
                  directionField(),
                  rotationField(),
                  columnHeightsField(),
                  dxfEnumeration(dxfField<C>(73, &C::Data::lineSpacingStyle, std::int16_t(1),
                                             {.optional = true, .name = "lineSpacingStyle"}),
                                 kSpacingStyles),
                  dxfField<C>(44, &C::Data::lineSpacingFactor, 1.0, {.optional = true, .name = "lineSpacingFactor"}),
              }}},
            {},
            dxfCheckData<C>()};
}

} // namespace

void declareTextMaps(std::vector<DxfClassMap>& maps) { maps.push_back(mtextMap()); }

} // namespace vantrel
