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
        [](OdDbSymbolTableRecord& r, const OdString& v) { r.setName(v); });
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
                  // A negative colour index marks a layer that is off.
                  {62, DxfFieldKind::Int16, 1009, false, std::int64_t(7),
                   [](const OdDbObject& o, DxfContext&) {
                       const L& l = static_cast<const L&>(o);
                       std::int64_t index = l.color().colorIndex();
                       return DxfValue(l.isOff() ? -index : index);
                   },
                   [](OdDbObject& o, const DxfIn& v, DxfContext&) {
                       L& l = static_cast<L&>(o);
                       std::int64_t index = v.integer;
                       if (index == 0 || index < -255 || index > 255)
                           throw OdError(eInvalidInput, "layer colour index " + std::to_string(index) + " is outside 1-255");
                       l.setIsOff(index < 0);
                       l.setColor(OdCmColor::byIndex(static_cast<std::int16_t>(index < 0 ? -index : index)));
                   }},
                  {420, DxfFieldKind::Int32, 1018, true, std::int64_t(-1),
                   [](const OdDbObject& o, DxfContext&) {
                       const OdCmColor& c = static_cast<const L&>(o).color();
                       return DxfValue(c.isByColor() ? std::int64_t(c.rgb()) : std::int64_t(-1));
                   },
                   [](OdDbObject& o, const DxfIn& v, DxfContext&) {
                       L& l = static_cast<L&>(o);
                       auto rgb = static_cast<std::uint32_t>(v.integer);
                       OdCmColor c = l.color();
                       c.setRGB(rgb >> 16 & 0xFF, rgb >> 8 & 0xFF, rgb & 0xFF);
                       l.setColor(c);
                   }},
                  {6, DxfFieldKind::String, 1009, false, std::string("Continuous"),
                   [](const OdDbObject& o, DxfContext& c) {
                       OdDbObjectId lt = static_cast<const L&>(o).linetypeObjectId();
                       return DxfValue(lt.isNull() ? std::string("Continuous") : c.nameOf(lt));
                   },
                   [](OdDbObject& o, const DxfIn& v, DxfContext& c) {
                       static_cast<L&>(o).setLinetypeObjectId(c.linetypeNamed(v.text));
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

DxfClassMap linetypeMap()
{
    using T = OdDbLinetypeTableRecord;
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
                       return DxfValue(std::int64_t(static_cast<const T&>(o).dashes().size()));
                   },
                   [](OdDbObject&, const DxfIn&, DxfContext&) {}, nullptr, true},
                  {40, DxfFieldKind::Double, 1009, false, 0.0,
                   [](const OdDbObject& o, DxfContext&) { return DxfValue(static_cast<const T&>(o).patternLength()); },
                   [](OdDbObject&, const DxfIn&, DxfContext&) {}},
                  // Repeated: one 49 (and a 74 of 0) per dash.
                  {49, DxfFieldKind::Double, 1009, false, 0.0, nullptr,
                   [](OdDbObject& o, const DxfIn& v, DxfContext&) {
                       auto& t = static_cast<T&>(o);
                       std::vector<double> dashes = t.dashes();
                       dashes.push_back(v.number);
                       t.setDashes(std::move(dashes));
                   },
                   [](const OdDbObject& o, DxfTagWriter& w, DxfContext&) {
                       for (double dash : static_cast<const T&>(o).dashes()) {
                           w.writeDouble(49, dash);
                           w.writeInt(74, 0);
                       }
                   }},
                  {74, DxfFieldKind::Int16, 1009, false, std::int64_t(0), nullptr,
                   [](OdDbObject&, const DxfIn& v, DxfContext&) {
                       if (v.integer != 0)
                           throw OdError(eNotImplementedYet, "complex linetype elements (shapes and text) are not supported");
                   }},
              }}},
            {},
            {}};
}

DxfClassMap textStyleMap()
{
    using S = OdDbTextStyleTableRecord;
    return {"STYLE",
            S::desc(),
            {{"AcDbSymbolTableRecord", {}},
             {"AcDbTextStyleTableRecord",
              {
                  nameField(),
                  flagsField(),
                  dxfAccessor<S, double>(40, [](const S& s) { return s.textSize(); }, [](S& s, const double& v) { s.setTextSize(v); }),
                  dxfAccessor<S, double>(41, [](const S& s) { return s.xScale(); }, [](S& s, const double& v) { s.setXScale(v); }, 1.0),
                  dxfAccessor<S, double>(
                      50, [](const S& s) { return s.obliquingAngle(); }, [](S& s, const double& v) { s.setObliquingAngle(v); },
                      0.0, {.angle = true}),
                  dxfAccessor<S, std::int16_t>(
                      71, [](const S& s) { return s.textGenerationFlags(); },
                      [](S& s, const std::int16_t& v) { s.setTextGenerationFlags(v); }),
                  dxfAccessor<S, double>(42, [](const S& s) { return s.priorSize(); }, [](S& s, const double& v) { s.setPriorSize(v); }, 2.5),
                  dxfAccessor<S, OdString>(3, [](const S& s) { return s.fileName(); }, [](S& s, const OdString& v) { s.setFileName(v); }),
                  dxfAccessor<S, OdString>(
                      4, [](const S& s) { return s.bigFontFileName(); }, [](S& s, const OdString& v) { s.setBigFontFileName(v); }),
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
                      340, [](const B& b) { return b.getLayoutId(); }, [](B& b, const OdDbObjectId& v) { b.setLayoutId(v); },
                      OdDbObjectId(), {.since = 1015}),
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
