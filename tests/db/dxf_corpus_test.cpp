// The reader on drawings as other programs write them: every release from R12 to R2018, ASCII and
// binary, old code pages (written by ezdxf), and the conventions and faults of real files that
// ezdxf does not write (written here as text). Every drawing is read, saved, read again and saved
// again: the second save equals the first, and ezdxf sees the save as it saw the original.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include <vantrel/db/DxfFile.h>
#include <vantrel/db/OdDbBlockReference.h>
#include <vantrel/db/OdDbBlockTableRecord.h>
#include <vantrel/db/OdDbCircle.h>
#include <vantrel/db/OdDbLine.h>
#include <vantrel/db/OdDbSortentsTable.h>
#include <vantrel/db/OdDbTables.h>

#include "scratch_files.h"

using namespace vantrel;
namespace fs = std::filesystem;

namespace {

// DXF text from tags written "CODE VALUE|CODE VALUE|...".
std::string tags(std::string_view written)
{
    std::string text;
    while (!written.empty()) {
        const std::size_t bar = written.find('|');
        const std::string_view tag = written.substr(0, bar);
        const std::size_t blank = tag.find(' ');
        const std::string_view code = tag.substr(0, blank);
        text.append(code.size() < 3 ? 3 - code.size() : 0, ' ').append(code).append("\n");
        text.append(blank == std::string_view::npos ? std::string_view() : tag.substr(blank + 1)).append("\n");
        written = bar == std::string_view::npos ? std::string_view() : written.substr(bar + 1);
    }
    return text;
}

std::string section(std::string_view name, std::string_view content)
{
    return tags("0 SECTION|2 " + std::string(name)) + tags(content) + tags("0 ENDSEC");
}

std::string drawing(std::string_view body)
{
    return section("HEADER", "9 $ACADVER|1 AC1015|9 $HANDSEED|5 FFFF") + std::string(body) + tags("0 EOF");
}

// Reads text; the saved text of what was read must read back without repairs and save the same.
std::string savedStably(const std::string& text, std::vector<std::string>* repairs = nullptr)
{
    DxfReadResult first = readDxfText(text);
    EXPECT_TRUE(first.database) << first.error;
    if (!first.database)
        return {};
    if (repairs)
        *repairs = first.repairs;
    else
        EXPECT_TRUE(first.repairs.empty()) << first.repairs.front();
    std::string saved = dxfText(*first.database);
    DxfReadResult again = readDxfText(saved);
    EXPECT_TRUE(again.database) << again.error;
    if (!again.database)
        return saved;
    EXPECT_TRUE(again.repairs.empty()) << again.repairs.front();
    EXPECT_EQ(dxfText(*again.database), saved);
    return saved;
}

bool has(const std::string& text, std::string_view tagSpec) { return text.find(tags(tagSpec)) != std::string::npos; }

std::vector<OdDbObjectId> modelSpaceIds(OdDbDatabase& db)
{
    return OdDbBlockTableRecordPtr(db.getModelSpaceId().safeOpenObject())->entityIds();
}

} // namespace

TEST(DxfCorpus, EveryReleaseAndEncodingReadsAndSavesAsItWas)
{
    if (!haveEzdxf())
        GTEST_SKIP() << "python3-ezdxf is not installed (tools/setup installs it)";
    const fs::path dir = scratchDir("corpus");
    const std::string corpus = VANTREL_TEST_DATA "/corpus";
    ASSERT_EQ(std::system(("/usr/bin/python3 " + corpus + "/make_corpus.py " + dir.string() + " > "
                           + (dir / "make.log").string() + " 2>&1")
                              .c_str()),
              0)
        << slurpFile(dir / "make.log");
    std::string pairs;
    int drawings = 0;
    for (const auto& entry : fs::directory_iterator(dir)) {
        const fs::path& input = entry.path();
        if (input.extension() != ".dxf")
            continue;
        SCOPED_TRACE(input.filename().string());
        DxfReadResult read = readDxf(input.string());
        ASSERT_TRUE(read.database) << read.error;
        EXPECT_TRUE(read.repairs.empty()) << read.repairs.front();
        const fs::path saved = dir / ("saved-" + input.filename().string());
        ASSERT_EQ(writeDxf(*read.database, saved.string()), "");
        DxfReadResult again = readDxf(saved.string());
        ASSERT_TRUE(again.database) << again.error;
        EXPECT_EQ(dxfText(*again.database), slurpFile(saved)) << "the second save differs from the first";
        pairs += " " + input.string() + " " + saved.string();
        ++drawings;
    }
    EXPECT_EQ(drawings, 17);
    const int status = std::system(
        ("/usr/bin/python3 " + corpus + "/compare.py" + pairs + " > " + (dir / "compare.log").string() + " 2>&1")
            .c_str());
    EXPECT_EQ(status, 0) << slurpFile(dir / "compare.log");
    fs::remove_all(dir);
}

// What a file holds in records this system does not model is not its to judge: pointers that
// hold names or nothing (as one program writes in every file), numbers of any size.
TEST(DxfRealFiles, ValuesOfUnmodelledRecordsAreKeptWhateverTheyHold)
{
    const std::string text
        = drawing(section("HEADER", "9 $PSVPSCALE|40 8.44e+162")
                  + section("TABLES",
                            "0 TABLE|2 DIMSTYLE|5 A|330 0|100 AcDbSymbolTable|70 1|100 AcDbDimStyleTable|71 0|"
                            "0 DIMSTYLE|105 1B|330 A|100 AcDbSymbolTableRecord|100 AcDbDimStyleTableRecord|2 Standard|"
                            "70 0|340 Standard|341 |0 ENDTAB")
                  + section("ENTITIES",
                            "0 ACME_GADGET|5 30|100 AcDbEntity|8 0|100 AcDbGadget|70 99999|330 named|40 1e300|"
                            "10 nan"));
    const std::string saved = savedStably(text);
    EXPECT_TRUE(has(saved, "9 $PSVPSCALE|40 8.44e+162"));
    EXPECT_TRUE(has(saved, "70 0|340 Standard|341 |0 ENDTAB"));
    EXPECT_TRUE(has(saved, "100 AcDbGadget|70 99999|330 named|40 1e300|10 nan"));
}

// A complex linetype draws shapes of a shape file, or texts, at its dashes; the shape file is an
// unnamed text style, referred to by handle. Both come back exactly, with the file's own
// pattern length and the name case of its records.
TEST(DxfRealFiles, ComplexLinetypesAndShapeFileStylesAreKept)
{
    const std::string ltype
        = "0 LTYPE|5 20|330 5|100 AcDbSymbolTableRecord|100 AcDbLinetypeTableRecord|2 BATTING|70 0|3 Batting|72 65|"
          "73 3|40 2.5|49 0.25|74 0|49 -0.1|74 4|75 132|340 31|46 -0.1|50 180.0|44 -0.1|45 0.0|49 -0.2|74 2|75 0|"
          "340 11|46 0.1|50 0.0|44 -0.1|45 -0.05|9 GAS";
    const std::string text = drawing(
        section("TABLES",
                "0 TABLE|2 LTYPE|5 5|330 0|100 AcDbSymbolTable|70 2|" + ltype
                    + "|0 LTYPE|5 21|330 5|100 AcDbSymbolTableRecord|100 AcDbLinetypeTableRecord|2 CONTINUOUS|70 0|"
                      "3 Solid line|72 65|73 0|40 0.0|0 ENDTAB|"
                      "0 TABLE|2 STYLE|5 3|330 0|100 AcDbSymbolTable|70 2|"
                      "0 STYLE|5 11|330 3|100 AcDbSymbolTableRecord|100 AcDbTextStyleTableRecord|2 Standard|70 0|"
                      "40 0.0|41 1.0|50 0.0|71 0|42 2.5|3 txt|4 |"
                      "0 STYLE|5 31|330 3|100 AcDbSymbolTableRecord|100 AcDbTextStyleTableRecord|2 |70 1|40 0.0|"
                      "41 1.0|50 0.0|71 0|42 2.5|3 ltypeshp.shx|4 |0 ENDTAB")
        + section("ENTITIES",
                  "0 LINE|5 40|100 AcDbEntity|8 0|6 continuous|100 AcDbLine|"
                  "10 0|20 0|30 0|11 1|21 0|31 0"));
    DxfReadResult read = readDxfText(text);
    ASSERT_TRUE(read.database) << read.error;
    OdDbSymbolTablePtr linetypes = read.database->getLinetypeTableId().safeOpenObject();
    OdDbLinetypeTableRecordPtr batting = linetypes->getAt(L"BATTING").safeOpenObject();
    ASSERT_EQ(batting->dashElements().size(), 3U);
    const auto& shape = batting->dashElements()[1];
    EXPECT_EQ(shape.flags, OdDbLinetypeTableRecord::Dash::kShape);
    EXPECT_EQ(shape.shapeNumber, 132);
    OdDbTextStyleTableRecordPtr shapeFile = shape.style.safeOpenObject();
    EXPECT_TRUE(shapeFile->isShapeFile());
    EXPECT_EQ(shapeFile->fileName(), OdString(L"ltypeshp.shx"));
    EXPECT_EQ(batting->dashElements()[2].text, OdString(L"GAS"));
    EXPECT_EQ(batting->patternLength(), 2.5) << "as the file states it, not the sum of its dashes";
    EXPECT_EQ(batting->dashes(), (std::vector<double>{0.25, -0.1, -0.2}));

    const std::string saved = savedStably(text);
    EXPECT_TRUE(has(saved, ltype.substr(ltype.find("|2 BATTING") + 1))) << saved;
    EXPECT_TRUE(has(saved, "2 |70 1|40 0.0|41 1.0|50 0.0|71 0|42 2.5|3 ltypeshp.shx")) << saved;
    EXPECT_TRUE(has(saved, "8 0|6 continuous|100 AcDbLine")) << "the line names its linetype as the file did";
}

TEST(DxfRealFiles, LayerColourZeroAndPaletteIndicesBesideTrueColoursAreKept)
{
    const std::string text = drawing(
        section("TABLES",
                "0 TABLE|2 LAYER|5 2|330 0|100 AcDbSymbolTable|70 2|"
                "0 LAYER|5 10|330 2|100 AcDbSymbolTableRecord|100 AcDbLayerTableRecord|2 0|70 0|62 0|6 Continuous|"
                "0 LAYER|5 12|330 2|100 AcDbSymbolTableRecord|100 AcDbLayerTableRecord|2 glass|70 0|62 -5|"
                "420 687645|6 Continuous|0 ENDTAB")
        + section("ENTITIES",
                  "0 CIRCLE|5 40|100 AcDbEntity|8 glass|62 30|420 16744448|100 AcDbCircle|10 0|20 0|30 0|"
                  "40 1"));
    DxfReadResult read = readDxfText(text);
    ASSERT_TRUE(read.database) << read.error;
    OdDbCirclePtr circle = modelSpaceIds(*read.database).front().safeOpenObject();
    EXPECT_TRUE(circle->color().isByColor());
    EXPECT_EQ(circle->color().rgb(), 16744448U);
    EXPECT_EQ(circle->color().colorIndex(), 30) << "the index the file keeps beside it, not the nearest one";
    OdDbLayerTableRecordPtr glass
        = OdDbSymbolTablePtr(read.database->getLayerTableId().safeOpenObject())->getAt(L"glass").safeOpenObject();
    EXPECT_TRUE(glass->isOff());
    EXPECT_EQ(glass->color().colorIndex(), 5);

    const std::string saved = savedStably(text);
    EXPECT_TRUE(has(saved, "2 0|70 0|62 0|6 Continuous"));
    EXPECT_TRUE(has(saved, "2 glass|70 0|62 -5|420 687645|6 Continuous"));
    EXPECT_TRUE(has(saved, "8 glass|62 30|420 16744448|100 AcDbCircle"));

    // A colour the user sets anew forgets the file's index.
    circle->upgradeOpen();
    circle->setColor(OdCmColor::byRGB(0, 0, 255));
    EXPECT_EQ(circle->color().colorIndex(), OdCmColor::nearestIndex(0x0000FF));
}

// Values the drawing models are written back as read, also where they equal a default that
// other fields make count.
TEST(DxfRealFiles, ModelledValuesComeBackAsRead)
{
    const std::string text = drawing(
        section("ENTITIES",
                "0 LIGHT|5 40|100 AcDbEntity|8 0|100 AcDbLight|90 0|1 Lamp|70 2|290 1|291 0|40 1.0|10 0|20 0|30 0|"
                "11 0|21 0|31 -1|72 0|292 0|41 1|42 10|50 45|51 50|293 1|73 0|91 256|280 1|"
                "0 POLYLINE|5 41|100 AcDbEntity|8 0|100 AcDb2dPolyline|66 1|10 0|20 0|30 0|70 0|"
                "0 VERTEX|5 42|100 AcDbEntity|8 0|100 AcDbVertex|100 AcDb2dVertex|10 0|20 0|30 0|70 2|50 0.0|"
                "0 VERTEX|5 43|100 AcDbEntity|8 0|100 AcDbVertex|100 AcDb2dVertex|10 1|20 0|30 0|70 0|"
                "0 SEQEND|5 44|100 AcDbEntity|8 0|"
                "0 SOLID|5 45|100 AcDbEntity|8 0|100 AcDbTrace|10 0|20 0|30 0|11 1|21 0|31 0|12 0|22 1|32 0|"
                "13 0|23 1|33 0|39 2.5|210 0.0|220 0.0|230 -1.0"));
    const std::string saved = savedStably(text);
    EXPECT_TRUE(has(saved, "100 AcDbLight|90 0|1 Lamp")) << "the light's layout version";
    EXPECT_TRUE(has(saved, "70 2|50 0.0")) << "a tangent of 0 that the vertex says it has";
    EXPECT_TRUE(has(saved, "39 2.5|210 0.0|220 0.0|230 -1.0")) << "the solid's thickness and normal";
}

// Tables may come in any order, or not at all: a layer's linetype named before its table (or in a
// file without one) is the linetype the file gives later (or a new one of that name).
TEST(DxfRealFiles, ALayerMayNameItsLinetypeBeforeTheLinetypeTable)
{
    const std::string layers = "0 TABLE|2 LAYER|5 2|330 0|100 AcDbSymbolTable|70 1|0 LAYER|5 12|330 2|"
                               "100 AcDbSymbolTableRecord|100 AcDbLayerTableRecord|2 walls|70 0|62 3|6 DASHED|0 ENDTAB";
    const std::string linetypes = "0 TABLE|2 LTYPE|5 5|330 0|100 AcDbSymbolTable|70 1|0 LTYPE|5 20|330 5|"
                                  "100 AcDbSymbolTableRecord|100 AcDbLinetypeTableRecord|2 DASHED|70 0|3 __ __|72 65|"
                                  "73 2|40 1.5|49 1.0|74 0|49 -0.5|74 0|0 ENDTAB";
    const std::string layersAndLinetypes = layers + "|" + linetypes;
    for (const std::string& tables : {layersAndLinetypes, layers}) {
        DxfReadResult read = readDxfText(drawing(section("TABLES", tables)));
        ASSERT_TRUE(read.database) << read.error;
        OdDbLayerTableRecordPtr walls
            = OdDbSymbolTablePtr(read.database->getLayerTableId().safeOpenObject())->getAt(L"walls").safeOpenObject();
        OdDbLinetypeTableRecordPtr dashed = walls->linetypeObjectId().safeOpenObject();
        EXPECT_EQ(dashed->getName(), OdString(L"DASHED"));
        const bool given = tables.size() > layers.size();
        const std::vector<double> dashes = given ? std::vector<double>{1.0, -0.5} : std::vector<double>{};
        EXPECT_EQ(dashed->dashes(), dashes);
        const std::string saved = savedStably(drawing(section("TABLES", tables)));
        EXPECT_EQ(saved.find(tags("2 DASHED")), saved.rfind(tags("2 DASHED"))) << "one linetype of the name";
    }
}

// A fault the reader can mend is mended and said, one line per kind with its count; the drawing
// opens, and what it saves opens without any repair.
TEST(DxfRealFiles, RepairsAreMadeAndSaidOneLinePerKind)
{
    const std::string line = "100 AcDbEntity|8 0|100 AcDbLine|10 0|20 0|30 0|11 1|21 1|31 0";
    struct Case {
        std::string name;
        std::string text;
        std::string repair;
    };
    const std::vector<Case> cases = {
        {"null draw-order entries",
         drawing(section("ENTITIES", "0 LINE|5 40|" + line + "|0 LINE|5 41|" + line)
                 + section("OBJECTS",
                           "0 DICTIONARY|5 C|100 AcDbDictionary|0 SORTENTSTABLE|5 50|330 1F|"
                           "100 AcDbSortentsTable|330 1F|331 41|5 1|331 0|5 2|331 40|5 3")),
         "draw-order entries that name no entity or no sort handle dropped (1)"},
        {"duplicate handles",
         drawing(section("ENTITIES", "0 LINE|5 40|" + line + "|0 LINE|5 40|" + line + "|0 LINE|5 40|" + line)),
         "records whose handle was already taken given new handles (2)"},
        {"header variables after the HEADER section",
         section("HEADER", "9 $ACADVER|1 AC1015") + tags("9 $DIMSCALE|40 2.5|9 $ACME|70 1|0 ENDSEC")
             + section("ENTITIES", "0 LINE|5 40|" + line) + tags("0 EOF"),
         "header variables after the end of the HEADER section kept in it (1)"},
        {"a linetype without its subclass marker",
         drawing(section("TABLES",
                         "0 TABLE|2 LTYPE|5 5|330 0|100 AcDbSymbolTable|70 1|0 LTYPE|5 20|330 5|"
                         "100 AcDbSymbolTableRecord|2 DASHED|70 0|3 __ __|72 65|73 2|40 1.5|49 1.0|74 0|"
                         "49 -0.5|74 0|0 ENDTAB")),
         "table records without their subclass marker read as if it were there (1)"},
        {"a misspelt text style marker",
         drawing(section("TABLES",
                         "0 TABLE|2 STYLE|5 3|330 0|100 AcDbSymbolTable|70 1|0 STYLE|5 11|330 3|"
                         "100 AcDbSymbolTableRecord|100 AcDbStyleRecord|2 Notes|70 0|40 0.0|"
                         "41 1.0|50 0.0|71 0|42 2.5|3 txt|4 |0 ENDTAB")),
         "misspelt subclass markers of table records read as the record's own (1)"},
        {"unreadable handles", drawing(section("ENTITIES", "0 LINE|5 XYZ|" + line + "|0 LINE|5 0|" + line)),
         "records with a null or unreadable handle given new handles (2)"},
        {"an entity colour outside the palette",
         drawing(section("ENTITIES",
                         "0 LINE|5 40|100 AcDbEntity|8 0|62 300|"
                         "100 AcDbLine|10 0|20 0|30 0|11 1|21 1|31 0")),
         "entity colours outside the palette set to by layer (1)"},
        {"a block ended by the next one",
         drawing(section("BLOCKS",
                         "0 BLOCK|5 20|8 0|2 A|70 0|10 0|20 0|30 0|3 A|0 LINE|5 40|" + line
                             + "|0 BLOCK|5 22|8 0|2 B|70 0|10 0|20 0|30 0|3 B|0 ENDBLK|5 23|8 0")),
         "blocks without their ENDBLK ended (1)"},
        {"a layer without a name",
         drawing(section("TABLES",
                         "0 TABLE|2 LAYER|5 2|330 0|100 AcDbSymbolTable|70 1|0 LAYER|5 12|330 2|"
                         "100 AcDbSymbolTableRecord|100 AcDbLayerTableRecord|2 |70 0|62 7|0 ENDTAB")),
         "table records without a name dropped (1)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<std::string> repairs;
        const std::string saved = savedStably(c.text, &repairs);
        ASSERT_EQ(repairs, std::vector<std::string>{c.repair});
    }

    // What was mended keeps what the file said.
    DxfReadResult header = readDxfText(cases[2].text);
    ASSERT_TRUE(header.database);
    EXPECT_EQ(header.database->getSysVar(L"DIMSCALE")->getDouble(), 2.5);
    EXPECT_TRUE(has(dxfText(*header.database), "9 $ACME|70 1"));
    DxfReadResult duplicates = readDxfText(cases[1].text);
    ASSERT_TRUE(duplicates.database);
    EXPECT_EQ(modelSpaceIds(*duplicates.database).size(), 3U);
    const std::string dashed = dxfText(*readDxfText(cases[3].text).database);
    EXPECT_TRUE(has(dashed, "100 AcDbLinetypeTableRecord|2 DASHED|70 0|3 __ __|72 65|73 2|40 1.5|49 1.0|74 0|49 -0.5"));
    EXPECT_FALSE(has(dashed, "2 |70 0|3 |72 65")) << "no second, unnamed linetype";
}

// Sort handles need not be handles of entities (a hatch sent to the bottom takes "1"); the order
// they give is what every save keeps.
TEST(DxfRealFiles, DrawOrderSurvivesEverySave)
{
    std::string entities;
    for (int i = 0; i < 6; ++i)
        entities += "0 LINE|5 " + std::to_string(40 + i) + "|100 AcDbEntity|8 0|100 AcDbLine|10 " + std::to_string(i)
            + "|20 0|30 0|11 " + std::to_string(i) + "|21 1|31 0|";
    entities.pop_back();
    const std::string text
        = drawing(section("TABLES",
                          "0 TABLE|2 BLOCK_RECORD|5 1|330 0|100 AcDbSymbolTable|70 1|0 BLOCK_RECORD|5 1F|"
                          "102 {ACAD_XDICTIONARY|360 51|102 }|330 1|100 AcDbSymbolTableRecord|100 AcDbBlockTableRecord|"
                          "2 *Model_Space|0 ENDTAB")
                  + section("ENTITIES", entities)
                  + section("OBJECTS",
                            "0 DICTIONARY|5 C|100 AcDbDictionary|0 DICTIONARY|5 51|330 1F|100 AcDbDictionary|"
                            "280 1|3 ACAD_SORTENTS|360 50|0 SORTENTSTABLE|5 50|330 51|100 AcDbSortentsTable|330 1F|"
                            "331 45|5 1|331 43|5 2|331 40|5 44"));
    auto drawOrder = [](OdDbDatabase& db) {
        OdDbBlockTableRecordPtr space = db.getModelSpaceId().safeOpenObject(OdDb::kForWrite);
        std::vector<std::string> order;
        for (OdDbObjectId id : space->getSortentsTable()->drawOrder())
            order.push_back(id.getHandle().ascii());
        return order;
    };
    DxfReadResult read = readDxfText(text);
    ASSERT_TRUE(read.database) << read.error;
    const std::vector<std::string> expected = {"45", "43", "41", "42", "40", "44"};
    ASSERT_EQ(drawOrder(*read.database), expected);
    std::string saved = dxfText(*read.database);
    for (int save = 0; save < 3; ++save) {
        DxfReadResult again = readDxfText(saved);
        ASSERT_TRUE(again.database) << again.error;
        ASSERT_EQ(drawOrder(*again.database), expected) << "after save " << save + 1;
        saved = dxfText(*again.database);
    }
}

// An R12 file has no handles on its tables, no owners and no subclass markers: saved as R2010,
// every table, record and entity gets them, the entity's codes in the subclasses they belong to.
TEST(DxfRealFiles, OldReleasesAreUpgradedWithHandlesOwnersAndMarkers)
{
    for (const char* release : {"AC1006", "AC1009"}) {
        SCOPED_TRACE(release);
        const std::string text = section("HEADER", std::string("9 $ACADVER|1 ") + release)
            + section("TABLES",
                      "0 TABLE|2 VPORT|70 1|0 VPORT|2 *ACTIVE|70 0|10 0|20 0|0 ENDTAB|"
                      "0 TABLE|2 DIMSTYLE|70 1|0 DIMSTYLE|2 STANDARD|70 0|3 |40 1.0|0 ENDTAB")
            + section("BLOCKS",
                      "0 BLOCK|8 0|2 *D1|70 1|10 0|20 0|30 0|3 *D1|0 LINE|8 0|10 0|20 0|30 0|11 5|21 0|31 0|"
                      "0 ENDBLK|8 0")
            + section("ENTITIES",
                      "0 DIMENSION|8 0|2 *D1|10 0|20 5|30 0|11 5|21 5.2|31 0|70 0|1 |13 0|23 0|33 0|14 10|"
                      "24 0|34 0|50 0|3 STANDARD|0 INSERT|8 0|66 1|2 *D1|10 1|20 2|30 0|0 ATTRIB|8 0|10 1|20 2|"
                      "30 0|40 1|1 A1|2 TAG|70 0|0 SEQEND|8 0")
            + tags("0 EOF");
        const std::string saved = savedStably(text);
        EXPECT_NE(saved.find("  2\nVPORT\n  5\n"), std::string::npos) << saved;
        EXPECT_TRUE(has(saved, "100 AcDbSymbolTableRecord|100 AcDbViewportTableRecord|2 *ACTIVE"));
        EXPECT_TRUE(has(saved, "100 AcDbSymbolTableRecord|100 AcDbDimStyleTableRecord|2 STANDARD"));
        // The dimension's own values are written as numbers; its kind's points are kept as read.
        EXPECT_TRUE(has(saved,
                        "100 AcDbDimension|2 *D1|10 0.0|20 5.0|30 0.0|11 5.0|21 5.2|31 0.0|70 0|1 |3 STANDARD|"
                        "100 AcDbAlignedDimension|13 0|23 0|33 0|14 10|24 0|34 0|50 0|100 AcDbRotatedDimension"));
        EXPECT_TRUE(has(saved, "100 AcDbBlockReference|66 1|2 *D1"));
        // The attribute and the end of the sequence belong to the insert.
        DxfReadResult read = readDxfText(saved);
        ASSERT_TRUE(read.database);
        std::vector<OdDbObjectId> ids = modelSpaceIds(*read.database);
        ASSERT_EQ(ids.size(), 2U);
        OdDbBlockReferencePtr insert = ids[1].safeOpenObject();
        ASSERT_EQ(insert->attributeIds().size(), 1U);
        EXPECT_EQ(insert->attributeIds()[0].safeOpenObject()->ownerId(), ids[1]);
    }
}

// Records that give the file its structure are never taken for entities or objects: a file that
// has one where an entity belongs cannot be read as it stands.
TEST(DxfRealFiles, AStructureRecordWhereAnEntityBelongsIsRefused)
{
    for (const char* stray : {"ENDTAB", "SECTION", "TABLE", "ENDBLK"}) {
        DxfReadResult read = readDxfText(drawing(section("ENTITIES", std::string("0 ") + stray + "|5 40")));
        EXPECT_FALSE(read.database) << stray;
        EXPECT_NE(read.error.find(std::string("a ") + stray + " record where an entity was expected"),
                  std::string::npos)
            << read.error;
    }
}

TEST(DxfBinary, ReadsAsTheAsciiItStandsForAndNamesTheByteOfAFault)
{
    // 0 SECTION, 2 ENTITIES, 0 LINE, 8 walls, 10 1.5 (a double), 62 3 (a 16-bit integer), a text
    // with a line break, 0 ENDSEC, 0 EOF; codes of two bytes.
    auto code = [](int c) { return std::string{static_cast<char>(c & 0xFF), static_cast<char>(c >> 8)}; };
    auto text = [](std::string_view s) { return std::string(s) + '\0'; };
    auto number = [](auto v) { return std::string(reinterpret_cast<const char*>(&v), sizeof v); };
    std::string file = std::string("AutoCAD Binary DXF\r\n\x1a", 21) + '\0';
    file += code(0) + text("SECTION") + code(2) + text("ENTITIES") + code(0) + text("TEXT") + code(8) + text("walls")
        + code(10) + number(1.5) + code(20) + number(-2.0) + code(40) + number(0.1) + code(62) + number(std::int16_t(3))
        + code(1) + text("one\ntwo") + code(0) + text("ENDSEC") + code(0) + text("EOF");
    DxfReadResult read = readDxfText(file);
    ASSERT_TRUE(read.database) << read.error;
    const std::string saved = dxfText(*read.database);
    EXPECT_TRUE(has(saved, "8 walls|62 3|100 AcDbText|10 1.5|20 -2.0|30 0.0|40 0.1|1 one^Jtwo")) << saved;

    DxfReadResult cut = readDxfText(file.substr(0, 60));
    EXPECT_FALSE(cut.database);
    EXPECT_NE(cut.error.find("byte offset "), std::string::npos) << cut.error;
    EXPECT_EQ(cut.error.find("line "), std::string::npos) << cut.error;
}
