// The declared CLASS records: one table of the values DXF files carry for each class-defined
// record type this system writes, so that other programs accept the file.
#include "dxf_classes.h"

#include <algorithm>
#include <array>

namespace vantrel {

namespace {

constexpr const char* kObjectDbx = "ObjectDBX Classes";

// Proxy flags as the DXF reference defines them: 1 erase, 2 transform, 4 colour, ..., 128
// cloning, 1024 no proxy warning, 2048 R13 format proxy (4095 all of them). The values are the
// ones files of other writers carry for these classes (ezdxf's class table); LIGHT belongs to
// the scene application and takes the values of SUN, its sibling there.
constexpr std::array kDefinitions = std::to_array<DxfClassDefinition>({
    // Records this system writes from its own classes.
    {"LAYOUT", "AcDbLayout", kObjectDbx, 0, false},
    {"SORTENTSTABLE", "AcDbSortentsTable", kObjectDbx, 0, false},
    {"LIGHT", "AcDbLight", "SCENEOE", 1153, true},
    {"MPOLYGON", "AcDbMPolygon", "AcMPolygonObj15", 1025, true},
    // Records kept from files, written back as read.
    {"ACDBDICTIONARYWDFLT", "AcDbDictionaryWithDefault", kObjectDbx, 0, false},
    {"ACDBPLACEHOLDER", "AcDbPlaceHolder", kObjectDbx, 0, false},
    {"DICTIONARYVAR", "AcDbDictionaryVar", kObjectDbx, 0, false},
    {"SUN", "AcDbSun", "SCENEOE", 1153, false},
    {"VISUALSTYLE", "AcDbVisualStyle", kObjectDbx, 4095, false},
    {"MATERIAL", "AcDbMaterial", kObjectDbx, 1153, false},
    {"SCALE", "AcDbScale", kObjectDbx, 1153, false},
    {"TABLESTYLE", "AcDbTableStyle", kObjectDbx, 4095, false},
    {"MLEADERSTYLE", "AcDbMLeaderStyle", "ACDB_MLEADERSTYLE_CLASS", 4095, false},
    {"CELLSTYLEMAP", "AcDbCellStyleMap", kObjectDbx, 1152, false},
    {"MENTALRAYRENDERSETTINGS", "AcDbMentalRayRenderSettings", "SCENEOE", 1024, false},
    {"ACDBDETAILVIEWSTYLE", "AcDbDetailViewStyle", kObjectDbx, 1025, false},
    {"ACDBSECTIONVIEWSTYLE", "AcDbSectionViewStyle", kObjectDbx, 1025, false},
    {"IDBUFFER", "AcDbIdBuffer", kObjectDbx, 0, false},
    {"LAYER_INDEX", "AcDbLayerIndex", kObjectDbx, 0, false},
    {"SPATIAL_INDEX", "AcDbSpatialIndex", kObjectDbx, 0, false},
    {"GEODATA", "AcDbGeoData", kObjectDbx, 4095, false},
    {"RASTERVARIABLES", "AcDbRasterVariables", "ISM", 0, false},
    {"IMAGEDEF", "AcDbRasterImageDef", "ISM", 0, false},
    {"IMAGEDEF_REACTOR", "AcDbRasterImageDefReactor", "ISM", 1, false},
    {"IMAGE", "AcDbRasterImage", "ISM", 2175, true},
    {"WIPEOUTVARIABLES", "AcDbWipeoutVariables", "WipeOut", 0, false},
    {"WIPEOUT", "AcDbWipeout", "WipeOut", 127, true},
    {"HELIX", "AcDbHelix", kObjectDbx, 4095, true},
    {"ACAD_TABLE", "AcDbTable", kObjectDbx, 1025, true},
    {"ARC_DIMENSION", "AcDbArcDimension", kObjectDbx, 1025, true},
});

} // namespace

std::span<const DxfClassDefinition> dxfClassDefinitions() { return kDefinitions; }

const DxfClassDefinition* dxfClassDefinition(std::string_view recordName)
{
    auto it = std::find_if(kDefinitions.begin(), kDefinitions.end(),
                           [recordName](const DxfClassDefinition& d) { return recordName == d.recordName; });
    return it == kDefinitions.end() ? nullptr : &*it;
}

} // namespace vantrel
