// DXF tables of the symbol tables and their records: layers, linetypes, text styles,
// registered applications and block records.
#include <vantrel/db/OdDbBlockTableRecord.h>
#include <vantrel/db/OdDbTables.h>

#include "DxfClassMap.h"
#include "DxfTagWriter.h"

namespace vantrel {

namespace {

// The count under 70 is derived from the records; a count read from a file is not kept.
DxfSubclass tableSubclass()
{
    return {"AcDbSymbolTable",
            {{70, DxfFieldKind::Int16, 1009, false, std::int64_t(0),
              [](const OdDbObject& o, DxfContext&) {
                  return DxfValue(std::int64_t(static_cast<const OdDbSymbolTable&>(o).recordIds().size()));
              },
              [](OdDbObject&, const DxfIn&, DxfContext&) {}}}};
}

DxfField nameField()
{
    return dxfAccessor<OdDbSymbolTableRecord, OdString>(
        2, [](const OdDbSymbolTableRecord& r) { return r.getName(); },
        [](OdDbSymbolTableRecord& r, const OdString& v) {
            if (!v.isEmpty()) // a record left without a name is dealt with once read
                r.setName(v);
        });
}

DxfField flagsField()
{
    return dxfAccessor<OdDbSymbolTableRecord, std::int16_t>(
        70, [](const OdDbSymbolTableRecord& r) { return r.flags(); },
        [](OdDbSymbolTableRecord& r, const std::int16_t& v) { r.setFlags(v); });
}

template <class Table>
DxfClassMap tableMap(const char* pseudoName)
{
    return {pseudoName, Table::desc(), {tableSubclass()}, {}, {}};
}

DxfClassMap layerMap()
{
    using L = OdDbLayerTableRecord;
    return {"LAYER",
            L::desc(),
            {{"AcDbSymbolTableRecord", {}},
             {"AcDbLayerTableRecord",
              {
                  nameField(),
                  flagsField(),
                  // A negative colour index marks a layer that is off. Layers should have 1-255,
                  // but files from several programs carry 0 (by block), which is kept as it is.
                  {62, DxfFieldKind::Int16, 1009, false, std::int64_t(7),
                   [](const OdDbObject& o, DxfContext&) {
                       const L& l = static_cast<const L&>(o);
                       std::int64_t index = l.color().colorIndex();
                       return DxfValue(l.isOff() ? -index : index);
                   },
                   [](OdDbObject& o, const DxfIn& v, DxfContext& c) {
                       L& l = static_cast<L&>(o);
                       std::int64_t index = v.integer;
                       if (index < -256 || index > 256) {
                           c.noteRepair("layer colours outside the palette set to white (7)");
                           index = index < 0 ? -7 : 7;
                       }
                       l.setIsOff(index < 0);
                       OdCmColor color = l.color();
                       setDxfColorIndex(color, static_cast<std::int16_t>(index < 0 ? -index : index));
                       l.setColor(color);
                   }},
                  {420, DxfFieldKind::Int32, 1018, true, std::int64_t(-1),
                   [](const OdDbObject& o, DxfContext&) {
                       const OdCmColor& c = static_cast<const L&>(o).color();
                       return DxfValue(c.isByColor() ? std::int64_t(c.rgb()) : std::int64_t(-1));
                   },
                   [](OdDbObject& o, const DxfIn& v, DxfContext&) {
                       L& l = static_cast<L&>(o);
                       OdCmColor color = l.color();
                       setDxfTrueColor(color, static_cast<std::uint32_t>(v.integer));
                       l.setColor(color);
                   }},
                  {6, DxfFieldKind::String, 1009, false, std::string("Continuous"),
                   [](const OdDbObject& o, DxfContext& c) {
                       // A layer without a linetype has the drawing's continuous one, as the
                       // drawing spells it.
                       OdDbObjectId lt = static_cast<const L&>(o).linetypeObjectId();
                       if (lt.isNull())
                           lt = c.db().getLinetypeContinuousId();
                       return DxfValue(lt.isNull() ? std::string("Continuous") : c.nameOf(lt));
                   },
                   [](OdDbObject& o, const DxfIn& v, DxfContext& c) {
                       static_cast<L&>(o).setLinetypeObjectId(c.linetypeNamed(v.text, 6));
                   }},
                  dxfAccessor<L, bool>(
                      290, [](const L& l) { return l.isPlottable(); }, [](L& l, const bool& v) { l.setIsPlottable(v); },
                      true, {.since = 1015, .optional = true}),
                  dxfAccessor<L, std::int16_t>(
                      370, [](const L& l) { return l.lineWeight(); },
                      [](L& l, const std::int16_t& v) { l.setLineWeight(v); }, -3, {.since = 1015}),
              }}},
            {},
            {}};
}

// LTYPE: 73 counts the elements, 40 states the pattern length; each element opens with its 49
// length and 74 flags, and a complex one (74 not 0) goes on with its shape number, style, scale,
// rotation, offsets and, for a text, the text.
DxfClassMap linetypeMap()
{
    using T = OdDbLinetypeTableRecord;
    using Dash = T::Dash;
    // Changes the last element read; a value before the first 49 belongs to none.
    auto lastDash = [](auto change) {
        return [change](OdDbObject& o, const DxfIn& v, DxfContext&) {
            auto& t = static_cast<T&>(o);
            std::vector<Dash> dashes = t.dashElements();
            if (dashes.empty())
                throw OdError(eInvalidInput, "a dash's value comes before its length (group code 49)");
            change(dashes.back(), v);
            t.setDashElements(std::move(dashes), t.patternLength());
        };
    };
    auto element
        = [](int code, auto change) { return DxfField{code, DxfFieldKind::Double, 1009, false, 0.0, nullptr, change}; };
    return {"LTYPE",
            T::desc(),
            {{"AcDbSymbolTableRecord", {}},
             {"AcDbLinetypeTableRecord",
              {
                  nameField(),
                  flagsField(),
                  dxfAccessor<T, OdString>(
                      3, [](const T& t) { return t.comments(); }, [](T& t, const OdString& v) { t.setComments(v); }),
                  {72, DxfFieldKind::Int16, 1009, false, std::int64_t(65),
                   [](const OdDbObject&, DxfContext&) { return DxfValue(std::int64_t(65)); },
                   [](OdDbObject&, const DxfIn&, DxfContext&) {}},
                  {73, DxfFieldKind::Int16, 1009, false, std::int64_t(0),
                   [](const OdDbObject& o, DxfContext&) {
                       return DxfValue(std::int64_t(static_cast<const T&>(o).dashElements().size()));
                   },
                   [](OdDbObject&, const DxfIn&, DxfContext&) {}, nullptr, true},
                  {40, DxfFieldKind::Double, 1009, false, 0.0,
                   [](const OdDbObject& o, DxfContext&) { return DxfValue(static_cast<const T&>(o).patternLength()); },
                   [](OdDbObject& o, const DxfIn& v, DxfContext& c) {
                       if (v.number < 0.0) {
                           c.noteRepair("negative linetype pattern lengths made positive");
                           static_cast<T&>(o).setPatternLength(-v.number);
                       } else {
                           static_cast<T&>(o).setPatternLength(v.number);
                       }
                   }},
                  {49, DxfFieldKind::Double, 1009, false, 0.0, nullptr,
                   [](OdDbObject& o, const DxfIn& v, DxfContext&) {
                       auto& t = static_cast<T&>(o);
                       std::vector<Dash> dashes = t.dashElements();
                       Dash dash;
                       dash.length = v.number;
                       dashes.push_back(dash);
                       t.setDashElements(std::move(dashes), t.patternLength());
                   },
                   [](const OdDbObject& o, DxfTagWriter& w, DxfContext&) {
                       for (const Dash& d : static_cast<const T&>(o).dashElements()) {
                           w.writeDouble(49, d.length);
                           w.writeInt(74, d.flags);
                           if (!d.isComplex())
                               continue;
                           w.writeInt(75, d.shapeNumber);
                           w.writeHandle(340, d.style.isNull() ? 0 : d.style.getHandle().value());
                           w.writeDouble(46, d.scale);
                           w.writeDouble(50, d.rotation);
                           w.writeDouble(44, d.offsetX);
                           w.writeDouble(45, d.offsetY);
                           if (d.flags & Dash::kText)
                               w.writeString(9, d.text.toUtf8());
                       }
                   }},
                  {74, DxfFieldKind::Int16, 1009, false, std::int64_t(0), nullptr,
                   lastDash([](Dash& d, const DxfIn& v) { d.flags = static_cast<std::int16_t>(v.integer); })},
                  {75, DxfFieldKind::Int16, 1009, false, std::int64_t(0), nullptr,
                   lastDash([](Dash& d, const DxfIn& v) { d.shapeNumber = static_cast<std::int16_t>(v.integer); })},
                  {340, DxfFieldKind::Handle, 1009, false, OdDbObjectId(), nullptr,
                   lastDash([](Dash& d, const DxfIn& v) { d.style = v.id; })},
                  element(46, lastDash([](Dash& d, const DxfIn& v) { d.scale = v.number; })),
                  element(50, lastDash([](Dash& d, const DxfIn& v) { d.rotation = v.number; })),
                  element(44, lastDash([](Dash& d, const DxfIn& v) { d.offsetX = v.number; })),
                  element(45, lastDash([](Dash& d, const DxfIn& v) { d.offsetY = v.number; })),
                  {9, DxfFieldKind::String, 1009, false, std::string(), nullptr,
                   lastDash([](Dash& d, const DxfIn& v) { d.text = OdString::fromUtf8(v.text); })},
              }}},
            {},
            {}};
}

DxfClassMap textStyleMap()
{
    using S = OdDbTextStyleTableRecord;
    return {
        "STYLE",
        S::desc(),
        {{"AcDbSymbolTableRecord", {}},
         {"AcDbTextStyleTableRecord",
          {
              nameField(),
              flagsField(),
              dxfAccessor<S, double>(
                  40, [](const S& s) { return s.textSize(); }, [](S& s, const double& v) { s.setTextSize(v); }),
              dxfAccessor<S, double>(
                  41, [](const S& s) { return s.xScale(); }, [](S& s, const double& v) { s.setXScale(v); }, 1.0),
              dxfAccessor<S, double>(
                  50, [](const S& s) { return s.obliquingAngle(); },
                  [](S& s, const double& v) { s.setObliquingAngle(v); }, 0.0, {.angle = true}),
              dxfAccessor<S, std::int16_t>(
                  71, [](const S& s) { return s.textGenerationFlags(); },
                  [](S& s, const std::int16_t& v) { s.setTextGenerationFlags(v); }),
              dxfAccessor<S, double>(
                  42, [](const S& s) { return s.priorSize(); }, [](S& s, const double& v) { s.setPriorSize(v); }, 2.5),
              dxfAccessor<S, OdString>(
                  3, [](const S& s) { return s.fileName(); }, [](S& s, const OdString& v) { s.setFileName(v); }),
              dxfAccessor<S, OdString>(
                  4, [](const S& s) { return s.bigFontFileName(); },
                  [](S& s, const OdString& v) { s.setBigFontFileName(v); }),
          }}},
        {},
        {}};
}

DxfClassMap regAppMap()
{
    return {"APPID",
            OdDbRegAppTableRecord::desc(),
            {{"AcDbSymbolTableRecord", {}}, {"AcDbRegAppTableRecord", {nameField(), flagsField()}}},
            {},
            {}};
}

DxfClassMap blockRecordMap()
{
    using B = OdDbBlockTableRecord;
    return {"BLOCK_RECORD",
            B::desc(),
            {{"AcDbSymbolTableRecord", {}},
             {"AcDbBlockTableRecord",
              {
                  nameField(),
                  dxfAccessor<B, OdDbObjectId>(
                      340, [](const B& b) { return b.getLayoutId(); },
                      [](B& b, const OdDbObjectId& v) { b.setLayoutId(v); }, OdDbObjectId(), {.since = 1015}),
              }}},
            {},
            {}};
}

} // namespace

void declareSymbolTableMaps(std::vector<DxfClassMap>& maps)
{
    maps.push_back(tableMap<OdDbBlockTable>("TABLE BLOCK_RECORD"));
    maps.push_back(tableMap<OdDbLayerTable>("TABLE LAYER"));
    maps.push_back(tableMap<OdDbLinetypeTable>("TABLE LTYPE"));
    maps.push_back(tableMap<OdDbTextStyleTable>("TABLE STYLE"));
    maps.push_back(tableMap<OdDbRegAppTable>("TABLE APPID"));
    maps.push_back(layerMap());
    maps.push_back(linetypeMap());
    maps.push_back(textStyleMap());
    maps.push_back(regAppMap());
    maps.push_back(blockRecordMap());
}

} // namespace vantrel
