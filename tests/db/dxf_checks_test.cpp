// Tests of the rules checked on load: a value or record that breaks a rule its class's setters
// keep is refused with its line, record and field; recovering repairs or drops it, says so in one
// line, and gives a drawing that saves and reopens without complaint.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <vantrel/db/DxfFile.h>
#include <vantrel/db/OdDbBlockTableRecord.h>
#include <vantrel/db/Template.h>

using namespace vantrel;

namespace {

// A file of one entity section holding `entities` (records from "  0\nNAME\n" on).
std::string drawingOf(const std::string& entities)
{
    return "  0\nSECTION\n  2\nENTITIES\n" + entities + "  0\nENDSEC\n  0\nEOF\n";
}

std::size_t entityCount(OdDbDatabase& db)
{
    std::size_t n = 0;
    OdDbBlockTableRecordPtr ms = db.getModelSpaceId().safeOpenObject();
    for (auto it = ms->newIterator(); !it->done(); it->step())
        ++n;
    return n;
}

// What recovering gave saves, reads back strictly, needing no repair, and saves the same again.
void expectCleanReopen(OdDbDatabase& db)
{
    const std::string saved = dxfText(db);
    const DxfReadResult again = readDxfText(saved);
    ASSERT_TRUE(again.database) << again.error;
    EXPECT_TRUE(again.repairs.empty()) << again.repairs.front();
    EXPECT_EQ(dxfText(*again.database), saved);
}

const char* const kLine = "  0\nLINE\n  5\n20\n100\nAcDbEntity\n  8\n0\n100\nAcDbLine\n"
                          " 10\n0.0\n 20\n0.0\n 30\n0.0\n 11\n1.0\n 21\n0.0\n 31\n0.0\n";

struct BadValue {
    std::string record;  // the bad entity's record, from its "  0" line
    std::string refusal; // the strict reader's error
    std::string repair;  // the repair line of recovering
    std::size_t kept;    // entities after recovering, of the bad one and a good line
};

// One file per rule: each refused by name, each recovered with a line that says what was done.
TEST(DxfChecks, EachBrokenRuleIsRefusedByLineRecordAndFieldAndRecovered)
{
    const std::string entity = "  5\n30\n100\nAcDbEntity\n  8\n0\n";
    const std::vector<BadValue> cases = {
        {"  0\nCIRCLE\n" + entity + "100\nAcDbCircle\n 10\n0.0\n 20\n0.0\n 30\n0.0\n 40\n-3.0\n",
         "line 44: CIRCLE, radius (group code 40) \"-3.0\": a radius must be a positive number",
         "line 44: CIRCLE, radius (group code 40) \"-3.0\": a radius must be a positive number; set to 1", 2},
        {"  0\nCIRCLE\n" + entity + "370\n300\n100\nAcDbCircle\n 10\n0.0\n 20\n0.0\n 30\n0.0\n 40\n1.0\n",
         "line 36: CIRCLE, lineweight (group code 370) \"300\": a lineweight is -3 to 211",
         "line 36: CIRCLE, lineweight (group code 370) \"300\": a lineweight is -3 to 211; set to -1", 2},
        {"  0\nLINE\n" + entity
             + " 48\n0.0\n100\nAcDbLine\n 10\n0.0\n 20\n0.0\n 30\n0.0\n 11\n1.0\n 21\n0.0\n 31\n0.0\n",
         "line 36: LINE, linetypeScale (group code 48) \"0.0\": a linetype scale must be a positive number",
         "line 36: LINE, linetypeScale (group code 48) \"0.0\": a linetype scale must be a positive number; set to 1",
         2},
        {"  0\nLWPOLYLINE\n" + entity
             + "100\nAcDbPolyline\n 90\n2\n 70\n0\n 10\n0.0\n 20\n0.0\n 40\n-2.0\n 10\n1.0\n 20\n0.0\n",
         "line 46: LWPOLYLINE, group code 40 \"-2.0\": a width must not be negative",
         "line 46: LWPOLYLINE, group code 40 \"-2.0\": a width must not be negative; set to 0", 2},
        {"  0\nPOLYLINE\n" + entity
             + "100\nAcDb2dPolyline\n 66\n1\n 10\n0.0\n 20\n0.0\n 30\n0.0\n 40\n-1.0\n"
               "  0\nVERTEX\n  5\n31\n100\nAcDbEntity\n  8\n0\n100\nAcDbVertex\n100\nAcDb2dVertex\n"
               " 10\n0.0\n 20\n0.0\n 30\n0.0\n  0\nSEQEND\n  5\n32\n100\nAcDbEntity\n  8\n0\n",
         "line 46: POLYLINE, defaultStartWidth (group code 40) \"-1.0\": a width must not be negative",
         "line 46: POLYLINE, defaultStartWidth (group code 40) \"-1.0\": a width must not be negative; set to 0", 2},
        {"  0\nPOLYLINE\n" + entity
             + "100\nAcDbPolygonMesh\n 66\n1\n 10\n0.0\n 20\n0.0\n 30\n0.0\n 70\n16\n 71\n2\n 72\n2\n 75\n7\n"
               "  0\nSEQEND\n  5\n32\n100\nAcDbEntity\n  8\n0\n",
         "line 52: POLYLINE, meshType (group code 75) \"7\": unknown mesh type",
         "line 52: POLYLINE, meshType (group code 75) \"7\": unknown mesh type; set to 0", 2},
        {"  0\nTEXT\n" + entity
             + "100\nAcDbText\n 10\n0.0\n 20\n0.0\n 30\n0.0\n 40\n2.0\n  1\nx\n 51\n86.0\n100\nAcDbText\n",
         "line 27: TEXT: an obliquing angle must lie within 85 degrees of upright",
         "line 27: TEXT: an obliquing angle must lie within 85 degrees of upright; the record dropped", 1},
        {"  0\nTEXT\n" + entity + "100\nAcDbText\n 10\n0.0\n 20\n0.0\n 30\n0.0\n 40\n0.0\n  1\nx\n100\nAcDbText\n",
         "line 27: TEXT: a text height must be a positive number",
         "line 27: TEXT: a text height must be a positive number; the record dropped", 1},
        {"  0\nELLIPSE\n" + entity
             + "100\nAcDbEllipse\n 10\n0.0\n 20\n0.0\n 30\n0.0\n 11\n2.0\n 21\n0.0\n 31\n1.0\n 40\n0.5\n",
         "line 27: ELLIPSE: the major axis must be perpendicular to the normal",
         "line 27: ELLIPSE: the major axis must be perpendicular to the normal; the record dropped", 1},
        {"  0\nELLIPSE\n" + entity
             + "100\nAcDbEllipse\n 10\n0.0\n 20\n0.0\n 30\n0.0\n 11\n2.0\n 21\n0.0\n 31\n0.0\n 40\n1.5\n",
         "line 27: ELLIPSE: a radius ratio must not exceed 1",
         "line 27: ELLIPSE: a radius ratio must not exceed 1; the record dropped", 1},
    };
    for (const BadValue& c : cases) {
        SCOPED_TRACE(c.refusal);
        const std::string text = drawingOf(kLine + c.record);
        const DxfReadResult refused = readDxfText(text);
        EXPECT_FALSE(refused.database);
        EXPECT_EQ(refused.error, c.refusal);

        const DxfReadResult recovered = readDxfText(text, {.recover = true});
        ASSERT_TRUE(recovered.database) << recovered.error;
        EXPECT_EQ(recovered.repairs, std::vector<std::string>{c.repair});
        EXPECT_EQ(entityCount(*recovered.database), c.kept);
        expectCleanReopen(*recovered.database);
    }
}

// Values real files hold that a setter would not take are read as they are, and said: an arc of
// radius 0 and a slant given as a whole turn less (345 for -15 degrees).
TEST(DxfChecks, ValuesOfRealFilesAreKept)
{
    const std::string text = drawingOf(
        "  0\nARC\n  5\n30\n100\nAcDbEntity\n  8\n0\n100\nAcDbCircle\n 10\n1.0\n 20\n1.0\n 30\n0.0\n 40\n0\n"
        "100\nAcDbArc\n 50\n0.0\n 51\n90.0\n"
        "  0\nTEXT\n  5\n31\n100\nAcDbEntity\n  8\n0\n100\nAcDbText\n 10\n0.0\n 20\n0.0\n 30\n0.0\n 40\n2.0\n  1\nx\n"
        " 51\n345.0\n100\nAcDbText\n");
    const DxfReadResult r = readDxfText(text);
    ASSERT_TRUE(r.database) << r.error;
    EXPECT_EQ(r.repairs, std::vector<std::string>{"arcs and circles of radius 0 kept as they are (1)"});
    EXPECT_EQ(entityCount(*r.database), 2u);
    EXPECT_NE(dxfText(*r.database).find(" 51\n345.0\n"), std::string::npos);
}

// A file cut anywhere is refused; recovering keeps the entities read whole before the cut, says
// how many, and what it gives saves and reopens.
TEST(DxfChecks, ACutFileKeepsWhatCameBeforeTheCut)
{
    std::string entities;
    for (int i = 0; i < 5; ++i)
        entities += kLine;
    const std::string text = drawingOf(entities);
    const std::size_t thirdLineEnd
        = text.find("  0\nLINE", text.find("  0\nLINE", text.find("  0\nLINE") + 1) + 1) + 60;
    for (std::size_t cut : {thirdLineEnd, thirdLineEnd + 1, text.size() - 10}) {
        SCOPED_TRACE(cut);
        const std::string part = text.substr(0, cut);
        EXPECT_FALSE(readDxfText(part).database);
        const DxfReadResult recovered = readDxfText(part, {.recover = true});
        ASSERT_TRUE(recovered.database) << recovered.error;
        ASSERT_FALSE(recovered.repairs.empty());
        const std::size_t kept = entityCount(*recovered.database);
        EXPECT_NE(recovered.repairs.back().find("the " + std::to_string(kept) + " entities read before it kept"),
                  std::string::npos)
            << recovered.repairs.back();
        EXPECT_EQ(kept, cut == text.size() - 10 ? 5u : 2u);
        expectCleanReopen(*recovered.database);
    }
}

// A cut inside the head of a table no class models (the file ends before the table has its
// handle) leaves a drawing whose tables all have heads.
TEST(DxfChecks, ACutInsideAKeptTableStillSavesEveryTableWhole)
{
    const std::string text = dxfText(*newDrawing());
    const std::size_t view = text.find("  0\nTABLE\n  2\nVIEW\n");
    ASSERT_NE(view, std::string::npos);
    const std::size_t cut = text.find("330\n", view);
    const DxfReadResult recovered = readDxfText(text.substr(0, cut) + "330", {.recover = true});
    ASSERT_TRUE(recovered.database) << recovered.error;
    const std::string saved = dxfText(*recovered.database);
    EXPECT_EQ(saved.find("TABLE\n  2\nVIEW\n  0\nENDTAB"), std::string::npos);
    expectCleanReopen(*recovered.database);
}

} // namespace
