// Inserts, wipeouts and lineweights in the SVG of a drawing made here: an insert's lines land where
// it places them, entities inside a hidden layer's block part stay out, a wipeout is a polygon in
// the background colour after what it hides, and LWDISPLAY decides whether weights show.
#include <gtest/gtest.h>

#include <numbers>
#include <regex>

#include <vantrel/db/OdDbBlockReference.h>
#include <vantrel/db/OdDbBlockTableRecord.h>
#include <vantrel/db/OdDbLine.h>
#include <vantrel/db/OdDbSymbolTable.h>
#include <vantrel/db/OdDbTables.h>
#include <vantrel/db/OdDbWipeout.h>
#include <vantrel/db/Template.h>
#include <vantrel/host/SvgSink.h>
#include <vantrel/host/svg_render.h>

namespace {

class BlockSvgTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        db = vantrel::newDrawing();
        OdDbBlockTableRecordPtr block = OdDbBlockTableRecord::createObject();
        block->setName(L"TICK");
        blockId = OdDbSymbolTablePtr(db->getBlockTableId().safeOpenObject(OdDb::kForWrite))->add(block.get());
        block.release();
        line = OdDbLine::createObject();
        line->setDatabaseDefaults(db.get());
        line->setStartPoint({0, 0, 0});
        line->setEndPoint({2, 0, 0});
        line->setColorIndex(0); // by block
        line->setLineWeight(-2);
        OdDbBlockTableRecordPtr(blockId.safeOpenObject(OdDb::kForWrite))->appendOdDbEntity(line.get());
    }

    OdDbObjectId append(OdDbEntity* entity)
    {
        entity->setDatabaseDefaults(db.get());
        return OdDbBlockTableRecordPtr(db->getModelSpaceId().safeOpenObject(OdDb::kForWrite))->appendOdDbEntity(entity);
    }

    OdDbObjectId insertAt(const OdGePoint3d& p, double rotation, std::int16_t colour, std::int16_t weight)
    {
        OdDbBlockReferencePtr ref = OdDbBlockReference::createObject();
        ref->setBlockTableRecord(blockId);
        ref->setPosition(p);
        ref->setRotation(rotation);
        const OdDbObjectId id = append(ref.get());
        ref->setColorIndex(colour);
        ref->setLineWeight(weight);
        return id;
    }

    OdDbDatabasePtr db;
    OdDbObjectId blockId;
    OdDbLinePtr line;
};

TEST_F(BlockSvgTest, InsertsDrawTheirBlockWhereAndAsTheyPlaceIt)
{
    insertAt({10, 5, 0}, std::numbers::pi / 2, 1, 50);
    insertAt({-3, 0, 0}, 0.0, 3, 25);
    db->setSysVar(L"LWDISPLAY", OdResBuf::newRb(290, std::int16_t(1)).get());
    const std::string svg = vantrel::renderSvg(*db);
    // Turned a quarter: from (10,5) up to (10,7), SVG's Y pointing down; red, 0.50 mm.
    EXPECT_NE(svg.find(R"(<path d="M10,-5 L10,-7" class="s w50" fill="none" stroke="#ff0000"/>)"), std::string::npos)
        << svg;
    EXPECT_NE(svg.find(R"(<path d="M-3,0 L-1,0" class="s w25" fill="none" stroke="#00ff00"/>)"), std::string::npos)
        << svg;
    EXPECT_NE(svg.find(".w50{stroke-width:"), std::string::npos);

    // With LWDISPLAY off every line is the thinnest.
    db->setSysVar(L"LWDISPLAY", OdResBuf::newRb(290, std::int16_t(0)).get());
    const std::string thin = vantrel::renderSvg(*db);
    EXPECT_EQ(thin.find("w50"), std::string::npos);
    EXPECT_NE(thin.find(R"(<path d="M10,-5 L10,-7" class="s w0" fill="none" stroke="#ff0000"/>)"), std::string::npos)
        << thin;
}

TEST_F(BlockSvgTest, AWipeoutIsFilledWithTheBackgroundAfterWhatItHides)
{
    insertAt({0, 0, 0}, 0.0, 1, -1);
    OdDbWipeoutPtr wipeout = OdDbWipeout::createObject();
    wipeout->setBoundary({{0.5, -1, 0}, {1.5, -1, 0}, {1.5, 1, 0}, {0.5, 1, 0}});
    append(wipeout.get());
    const std::string svg = vantrel::renderSvg(*db);
    const std::size_t hidden = svg.find(R"(stroke="#ff0000")");
    std::smatch mask;
    ASSERT_TRUE(std::regex_search(svg, mask, std::regex(R"~(<polygon points="([^"]*)" class="s w0" fill="([^"]*)")~")));
    EXPECT_EQ(mask[2].str(), vantrel::SvgSink::kBackground);
    EXPECT_EQ(mask[1].str(), "0.5,1 1.5,1 1.5,-1 0.5,-1");
    ASSERT_NE(hidden, std::string::npos);
    EXPECT_LT(hidden, static_cast<std::size_t>(mask.position(0)));
}

TEST_F(BlockSvgTest, EntitiesOfABlockOnAHiddenLayerAreLeftOut)
{
    OdDbLayerTableRecordPtr off = OdDbLayerTableRecord::createObject();
    off->setName(L"Hidden");
    off->setIsOff(true);
    const OdDbObjectId offId
        = OdDbSymbolTablePtr(db->getLayerTableId().safeOpenObject(OdDb::kForWrite))->add(off.get());
    insertAt({0, 0, 0}, 0.0, 1, -1);
    EXPECT_NE(vantrel::renderSvg(*db).find("#ff0000"), std::string::npos);
    OdDbLinePtr(line->objectId().safeOpenObject(OdDb::kForWrite))->setLayer(offId);
    EXPECT_EQ(vantrel::renderSvg(*db).find("#ff0000"), std::string::npos);
}

} // namespace
