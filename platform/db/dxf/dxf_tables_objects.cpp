// DXF tables of the modelled non-graphical objects: dictionaries, groups and draw-order tables.
#include <vantrel/db/OdDbDictionary.h>
#include <vantrel/db/OdDbGroup.h>
#include <vantrel/db/OdDbLayout.h>
#include <vantrel/db/OdDbSortentsTable.h>

#include "DxfClassMap.h"
#include "DxfTagWriter.h"

namespace vantrel {

namespace {

// Entries are pairs: 3 the name, then 350 (or 360 when the dictionary owns its entries) the id.
DxfClassMap dictionaryMap()
{
    using D = OdDbDictionary;
    auto setEntry = [](OdDbObject& o, const DxfIn& v, DxfContext& c) {
        if (!c.pendingName)
            throw OdError(eInvalidInput, "a dictionary entry without its name (group code 3)");
        static_cast<D&>(o).setAt(OdString::fromUtf8(*c.pendingName), v.id);
        c.pendingName.reset();
    };
    return {"DICTIONARY",
            D::desc(),
            {{"AcDbDictionary",
              {
                  dxfAccessor<D, bool>(
                      280, [](const D& d) { return d.isHardOwner(); }, [](D& d, const bool& v) { d.setHardOwner(v); },
                      false, {.since = 1015, .optional = true}),
                  dxfAccessor<D, std::int16_t>(
                      281, [](const D& d) { return d.mergeStyle(); },
                      [](D& d, const std::int16_t& v) { d.setMergeStyle(v); }, 1, {.since = 1015}),
                  {3, DxfFieldKind::String, 1015, false, std::string(), nullptr,
                   [](OdDbObject&, const DxfIn& v, DxfContext& c) { c.pendingName = std::string(v.text); },
                   [](const OdDbObject& o, DxfTagWriter& w, DxfContext&) {
                       const D& d = static_cast<const D&>(o);
                       const int code = d.isHardOwner() ? 360 : 350;
                       for (const D::Entry& e : d.entries()) {
                           if (!e.id.isValid())
                               continue;
                           w.writeString(3, e.name.toUtf8());
                           w.writeHandle(code, e.id.getHandle().value());
                       }
                   }},
                  {350, DxfFieldKind::Handle, 1015, false, OdDbObjectId(), nullptr, setEntry},
                  {360, DxfFieldKind::Handle, 1015, false, OdDbObjectId(), nullptr, setEntry},
              }}},
            {},
            {}};
}

DxfClassMap groupMap()
{
    using G = OdDbGroup;
    return {"GROUP",
            G::desc(),
            {{"AcDbGroup",
              {
                  dxfAccessor<G, OdString>(
                      300, [](const G& g) { return g.description(); },
                      [](G& g, const OdString& v) { g.setDescription(v); }),
                  dxfAccessor<G, bool>(
                      70, [](const G& g) { return g.isAnonymous(); }, [](G& g, const bool& v) { g.setAnonymous(v); }),
                  dxfAccessor<G, bool>(
                      71, [](const G& g) { return g.isSelectable(); }, [](G& g, const bool& v) { g.setSelectable(v); },
                      true),
                  {340, DxfFieldKind::Handle, 1015, false, OdDbObjectId(), nullptr,
                   [](OdDbObject& o, const DxfIn& v, DxfContext&) { static_cast<G&>(o).append(v.id); },
                   [](const OdDbObject& o, DxfTagWriter& w, DxfContext&) {
                       for (OdDbObjectId id : static_cast<const G&>(o).allEntityIds())
                           w.writeHandle(340, id.getHandle().value());
                   }},
              }}},
            {},
            {}};
}

// Pairs: 331 the entity, then 5 the sort handle whose place it takes. A pair that names no
// entity (331 0) or lacks its sort handle says nothing about the order and is dropped.
DxfClassMap sortentsMap()
{
    using S = OdDbSortentsTable;
    DxfClassMap map{
        "SORTENTSTABLE",
        S::desc(),
        {{"AcDbSortentsTable",
          {
              dxfAccessor<S, OdDbObjectId>(
                  330, [](const S& s) { return s.blockId(); }, [](S& s, const OdDbObjectId& v) { s.setBlockId(v); }),
              {331, DxfFieldKind::Handle, 1015, false, OdDbObjectId(), nullptr,
               [](OdDbObject&, const DxfIn& v, DxfContext& c) { c.sortHandles.emplace_back(v.id, std::nullopt); },
               [](const OdDbObject& o, DxfTagWriter& w, DxfContext&) {
                   for (const auto& [entity, sortHandle] : static_cast<const S&>(o).sortHandles()) {
                       w.writeHandle(331, entity.getHandle().value());
                       w.writeHandle(5, sortHandle.value());
                   }
               }},
              {5, DxfFieldKind::HandleValue, 1015, false, std::int64_t(0), nullptr,
               [](OdDbObject&, const DxfIn& v, DxfContext& c) {
                   if (c.sortHandles.empty() || c.sortHandles.back().second)
                       throw OdError(eInvalidInput, "a sort handle (group code 5) without its entity (group code 331)");
                   c.sortHandles.back().second = OdDbHandle(static_cast<std::uint64_t>(v.integer));
               }},
          }}},
        {},
        [](OdDbObject& o, DxfContext& c) {
            std::vector<std::pair<OdDbObjectId, OdDbHandle>> pairs;
            pairs.reserve(c.sortHandles.size());
            std::size_t dropped = 0;
            for (const auto& [entity, sortHandle] : c.sortHandles) {
                if (entity.isNull() || !sortHandle)
                    ++dropped;
                else
                    pairs.emplace_back(entity, *sortHandle);
            }
            if (dropped)
                c.noteRepair("draw-order entries that name no entity or no sort handle dropped", dropped);
            static_cast<S&>(o).setSortHandles(std::move(pairs));
        }};
    return map;
}

// The plot settings part is not modelled: what a file has there is kept as it is.
DxfClassMap layoutMap()
{
    using C = OdDbLayout;
    constexpr DxfFieldOptions optional{.optional = true};
    return {"LAYOUT",
            C::desc(),
            {{"AcDbPlotSettings", {}},
             {"AcDbLayout",
              {
                  dxfField<C>(1, &C::Data::layoutName),
                  dxfField<C>(70, &C::Data::layoutFlags, std::int16_t(1)),
                  dxfField<C>(71, &C::Data::tabOrder, std::int16_t(0)),
                  dxfField<C>(10, &C::Data::limMin),
                  dxfField<C>(11, &C::Data::limMax),
                  dxfField<C>(12, &C::Data::insertionBase),
                  dxfField<C>(14, &C::Data::extMin),
                  dxfField<C>(15, &C::Data::extMax),
                  dxfField<C>(146, &C::Data::elevation, 0.0),
                  dxfField<C>(13, &C::Data::ucsOrigin),
                  dxfField<C>(16, &C::Data::ucsXAxis),
                  dxfField<C>(17, &C::Data::ucsYAxis),
                  dxfField<C>(76, &C::Data::ucsOrthoType, std::int16_t(0)),
                  dxfField<C>(330, &C::Data::blockTableRecord),
                  dxfField<C>(331, &C::Data::lastActiveViewport, OdDbObjectId(), optional),
              }}},
            {},
            {}};
}

} // namespace

void declareObjectMaps(std::vector<DxfClassMap>& maps)
{
    maps.push_back(dictionaryMap());
    maps.push_back(groupMap());
    maps.push_back(sortentsMap());
    maps.push_back(layoutMap());
}

} // namespace vantrel
