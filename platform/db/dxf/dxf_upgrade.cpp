// The subclass layouts of the entity records an old file may hold and this system does not model,
// as later releases write them; the layout can depend on the record's flags.
#include "dxf_upgrade.h"

#include <algorithm>
#include <charconv>

#include "dxf_values.h"

namespace vantrel {

namespace {

struct Layout {
    const char* marker;
    std::vector<int> codes; // a point's first code stands for its y and z codes too
};

bool listed(const Layout& layout, int code)
{
    for (int c : layout.codes) {
        if (c == code)
            return true;
        const bool point = (c >= 10 && c <= 18) || c == 210;
        if (point && (code == c + 10 || code == c + 20))
            return true;
    }
    return false;
}

int intValue(const DxfTagList& tags, int code, int otherwise = 0)
{
    for (DxfTagList::Tag t : tags) {
        int v = 0;
        if (t.code == code && tryParseDxfInteger(t.value, v))
            return v;
    }
    return otherwise;
}

const Layout kText{"AcDbText", {39, 10, 40, 1, 50, 41, 51, 7, 71, 72, 11, 210}};
const Layout kDimension{"AcDbDimension", {2, 3, 10, 11, 12, 70, 71, 72, 41, 42, 73, 74, 75, 1, 52, 53, 51, 210}};

// The layouts of a record type, by its flags where they decide.
std::vector<Layout> layoutsOf(std::string_view record, const DxfTagList& tags)
{
    if (record == "POINT")
        return {{"AcDbPoint", {10, 39, 210, 50}}};
    if (record == "TRACE")
        return {{"AcDbTrace", {39, 10, 11, 12, 13, 210}}};
    if (record == "SHAPE")
        return {{"AcDbShape", {39, 10, 40, 2, 50, 41, 51, 210}}};
    if (record == "3DFACE")
        return {{"AcDbFace", {10, 11, 12, 13, 70}}};
    if (record == "INSERT") {
        const bool array = intValue(tags, 70, 1) > 1 || intValue(tags, 71, 1) > 1;
        return {{array ? "AcDbMInsertBlock" : "AcDbBlockReference", {66, 2, 10, 41, 42, 43, 50, 70, 71, 44, 45, 210}}};
    }
    if (record == "ATTDEF")
        return {kText, {"AcDbAttributeDefinition", {3, 2, 70, 73, 74, 280}}};
    if (record == "ATTRIB")
        return {kText, {"AcDbAttribute", {2, 70, 73, 74, 280}}};
    if (record == "POLYLINE") // a polyface mesh: the other kinds of POLYLINE are modelled
        return {{"AcDbPolyFaceMesh", {66, 10, 70, 71, 72, 73, 74, 75, 39, 40, 41, 210}}};
    if (record == "VERTEX") {
        const int flags = intValue(tags, 70);
        if ((flags & 192) == 128)
            return {{"AcDbFaceRecord", {10, 70, 71, 72, 73, 74}}};
        if ((flags & 192) == 192)
            return {{"AcDbVertex", {}}, {"AcDbPolyFaceMeshVertex", {10, 40, 41, 42, 70, 50}}};
        return {{"AcDbVertex", {}}, {"AcDb2dVertex", {10, 40, 41, 42, 70, 50}}};
    }
    if (record == "DIMENSION") {
        switch (intValue(tags, 70) & 7) {
        case 0: return {kDimension, {"AcDbAlignedDimension", {13, 14, 50}}, {"AcDbRotatedDimension", {}}};
        case 1: return {kDimension, {"AcDbAlignedDimension", {13, 14, 50}}};
        case 2: return {kDimension, {"AcDb2LineAngularDimension", {13, 14, 15, 16}}};
        case 3: return {kDimension, {"AcDbDiametricDimension", {15, 40}}};
        case 4: return {kDimension, {"AcDbRadialDimension", {15, 40}}};
        case 5: return {kDimension, {"AcDb3PointAngularDimension", {13, 14, 15, 16}}};
        default: return {kDimension, {"AcDbOrdinateDimension", {13, 14}}};
        }
    }
    return {};
}

} // namespace

std::vector<DxfUpgradedSubclass> upgradeUnmarkedEntity(std::string_view recordName, const DxfTagList& tags,
                                                       const DxfTagList& flags)
{
    const std::vector<Layout> layouts = layoutsOf(recordName, flags);
    std::vector<DxfUpgradedSubclass> out;
    out.reserve(layouts.size());
    for (const Layout& l : layouts)
        out.push_back({l.marker, {}});
    if (out.empty())
        return out;
    for (DxfTagList::Tag t : tags) {
        auto it = std::find_if(layouts.begin(), layouts.end(), [&](const Layout& l) { return listed(l, t.code); });
        const std::size_t at
            = it == layouts.end() ? layouts.size() - 1 : static_cast<std::size_t>(it - layouts.begin());
        out[at].tags.append(t.code, t.value);
    }
    return out;
}

const char* dxfTableRecordMarker(std::string_view tableName)
{
    if (tableName == "VPORT")
        return "AcDbViewportTableRecord";
    if (tableName == "VIEW")
        return "AcDbViewTableRecord";
    if (tableName == "UCS")
        return "AcDbUCSTableRecord";
    if (tableName == "DIMSTYLE")
        return "AcDbDimStyleTableRecord";
    return nullptr;
}

} // namespace vantrel
