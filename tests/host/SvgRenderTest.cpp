// renderSvg and writeSvg on a small drawing: colours resolved through layers, hidden layers and
// invisible entities left out, draw order honoured, files replaced atomically.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include <sys/stat.h>

#include <unistd.h>

#include <vantrel/db/OdDbBlockTableRecord.h>
#include <vantrel/db/OdDbDatabase.h>
#include <vantrel/db/OdDbDictionary.h>
#include <vantrel/db/OdDbSortentsTable.h>
#include <vantrel/db/OdDbLight.h>
#include <vantrel/db/OdDbPoint.h>
#include <vantrel/db/OdDbPolyline.h>
#include <vantrel/db/OdDbTables.h>
#include <vantrel/db/OdDbText.h>
#include <vantrel/db/Template.h>
#include <vantrel/host/SvgSink.h>
#include <vantrel/host/svg_render.h>

namespace {

// Draws one straight segment; enough to see colour, order and visibility in the output.
class SegmentEntity : public OdDbEntity {
    ODDB_DECLARE_MEMBERS(SegmentEntity)
public:
    void set(OdGePoint3d a, OdGePoint3d b)
    {
        assertWriteEnabled();
        m_a = a;
        m_b = b;
    }
    void subWorldDraw(vantrel::WorldDraw& wd) const override
    {
        vantrel::PathVertex v[2] = {{m_a}, {m_b}};
        wd.path(v, false, OdGeVector3d::kZAxis);
    }

private:
    OdGePoint3d m_a, m_b;
};
using SegmentEntityPtr = OdSmartPtr<SegmentEntity>;

} // namespace

ODRX_DEFINE_MEMBERS(SegmentEntity, OdDbEntity, "")

class SvgRenderTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        db = OdDbDatabasePtr(new OdDbDatabase());
        OdDbDatabase::WellKnown w;
        OdDbBlockTablePtr blocks = OdDbBlockTable::createObject();
        w.blockTable = db->addOdDbObject(blocks.get());
        OdDbLayerTablePtr layers = OdDbLayerTable::createObject();
        w.layerTable = db->addOdDbObject(layers.get());
        OdDbDictionaryPtr nod = OdDbDictionary::createObject();
        w.namedObjects = db->addOdDbObject(nod.get());
        OdDbLayerTableRecordPtr zero = OdDbLayerTableRecord::createObject();
        zero->setName(L"0");
        w.layerZero = layers->add(zero.get());
        OdDbLayerTableRecordPtr red = OdDbLayerTableRecord::createObject();
        red->setName(L"Red");
        red->setColor(OdCmColor::byIndex(1));
        redLayer = layers->add(red.get());
        OdDbBlockTableRecordPtr ms = OdDbBlockTableRecord::createObject();
        ms->setName(L"*Model_Space");
        w.modelSpace = blocks->add(ms.get());
        db->setWellKnownIds(w);
    }

    OdDbObjectId add(OdGePoint3d a, OdGePoint3d b, OdDbObjectId layer, const OdCmColor& color = OdCmColor())
    {
        SegmentEntityPtr e = SegmentEntity::createObject();
        e->set(a, b);
        e->setDatabaseDefaults(db.get());
        e->setLayer(layer);
        e->setColor(color);
        OdDbBlockTableRecordPtr ms = db->getModelSpaceId().safeOpenObject(OdDb::kForWrite);
        return ms->appendOdDbEntity(e.get());
    }

    OdDbDatabasePtr db;
    OdDbObjectId redLayer;
};

TEST_F(SvgRenderTest, ColoursVisibilityAndDrawOrder)
{
    OdDbObjectId first = add({0, 0, 0}, {10, 0, 0}, redLayer);
    add({0, 0, 0}, {0, 20, 0}, db->getLayerZeroId(), OdCmColor::byIndex(3));
    std::string svg = vantrel::renderSvg(*db);
    std::size_t red = svg.find(R"(stroke="#ff0000")"), green = svg.find(R"(stroke="#00ff00")");
    ASSERT_NE(red, std::string::npos) << svg;
    ASSERT_NE(green, std::string::npos);
    EXPECT_LT(red, green);
    EXPECT_NE(svg.find(R"(viewBox="-1 -21 12 22")"), std::string::npos) << svg;

    // Moving the first entity to the top draws it last.
    {
        OdDbBlockTableRecordPtr ms = db->getModelSpaceId().safeOpenObject(OdDb::kForWrite);
        OdDbSortentsTablePtr sortents = ms->getSortentsTable(true);
        sortents->upgradeOpen();
        sortents->moveToTop({first});
    }
    svg = vantrel::renderSvg(*db);
    EXPECT_GT(svg.find(R"(stroke="#ff0000")"), svg.find(R"(stroke="#00ff00")"));

    // A switched-off layer and an invisible entity leave nothing, and the view box shrinks.
    OdDbLayerTableRecordPtr(redLayer.safeOpenObject(OdDb::kForWrite))->setIsOff(true);
    svg = vantrel::renderSvg(*db);
    EXPECT_EQ(svg.find("#ff0000"), std::string::npos);
    EXPECT_NE(svg.find(R"(viewBox="-1 -21 2 22")"), std::string::npos) << svg;
    OdDbObjectId blue = add({5, 5, 0}, {6, 6, 0}, db->getLayerZeroId(), OdCmColor::byIndex(5));
    OdDbEntityPtr(blue.safeOpenObject(OdDb::kForWrite))->setVisibility(OdDb::kInvisible);
    EXPECT_EQ(vantrel::renderSvg(*db).find("#0000ff"), std::string::npos);
}

TEST_F(SvgRenderTest, WriteSvgReplacesTheFileOrReportsWhy)
{
    add({0, 0, 0}, {10, 0, 0}, redLayer);
    auto dir = std::filesystem::temp_directory_path() / ("vantrel_svg_" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    auto file = dir / "plan.svg";
    std::ofstream(file) << "old";
    EXPECT_EQ(vantrel::writeSvg(*db, file.string()), "");
    std::stringstream content;
    content << std::ifstream(file).rdbuf();
    EXPECT_EQ(content.str(), vantrel::renderSvg(*db));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir), {}), 1) << "a temporary file was left";

    std::string missing = (dir / "no" / "such.svg").string();
    std::string error = vantrel::writeSvg(*db, missing);
    EXPECT_NE(error.find(missing), std::string::npos);
    EXPECT_NE(error.find("No such file"), std::string::npos) << error;
    std::filesystem::remove_all(dir);
}

TEST(SvgRenderEntities, RealEntitiesOfTheTemplateDrawing)
{
    OdDbDatabasePtr db = vantrel::newDrawing();
    OdDbBlockTableRecordPtr ms = db->getModelSpaceId().safeOpenObject(OdDb::kForWrite);
    OdDbPolylinePtr pl = OdDbPolyline::createObject();
    pl->addVertexAt(0, OdGePoint2d(0, 0), 1.0);
    pl->addVertexAt(1, OdGePoint2d(10, 0));
    ms->appendOdDbEntity(pl.get());
    OdDbTextPtr text = OdDbText::createObject();
    text->setTextString(L"R&D <1>");
    text->setPosition(OdGePoint3d(0, 10, 0));
    ms->appendOdDbEntity(text.get());
    OdDbLightPtr light = OdDbLight::createObject();
    light->setPosition(OdGePoint3d(20, 20, 0));
    ms->appendOdDbEntity(light.get());
    ms.release();

    std::string svg = vantrel::renderSvg(*db);
    EXPECT_NE(svg.find("M0,0 A5 5 0 0 0 10,0"), std::string::npos) << svg;
    EXPECT_NE(svg.find(">R&amp;D &lt;1&gt;</text>"), std::string::npos);
    EXPECT_NE(svg.find(R"(<circle cx="20" cy="-20")"), std::string::npos);
    // Extents run from the arc's lowest point (y = -5) to the light (20, 20).
    EXPECT_NE(svg.find(R"(viewBox="-1.25 -21.25 22.5 27.5")"), std::string::npos) << svg;
}

// A picture is written as it is drawn, after a pass that measures it: that must give the very
// document one sink collecting everything makes, markers sized by the extents and lineweight
// styles included.
TEST(SvgRenderEntities, StreamedPictureIsTheDocumentOfOneSink)
{
    OdDbDatabasePtr db = vantrel::newDrawing();
    db->setSysVar(L"LWDISPLAY", OdResBuf::newRb(290, std::int32_t(1)).get());
    {
        OdDbBlockTableRecordPtr ms = db->getModelSpaceId().safeOpenObject(OdDb::kForWrite);
        OdDbPolylinePtr pl = OdDbPolyline::createObject();
        pl->setDatabaseDefaults(db.get());
        for (unsigned i = 0; i < 6; ++i)
            pl->addVertexAt(i, OdGePoint2d(3.0 * i, i % 2), i % 3 ? 0.4 : 0.0, 0.1 * i, 0.1 * i + 0.05);
        pl->setLineWeight(50);
        ms->appendOdDbEntity(pl.get());
        OdDbTextPtr text = OdDbText::createObject();
        text->setDatabaseDefaults(db.get());
        text->setTextString(L"Lamp <A>");
        text->setPosition(OdGePoint3d(-4, 7, 0));
        ms->appendOdDbEntity(text.get());
        OdDbLightPtr light = OdDbLight::createObject();
        light->setDatabaseDefaults(db.get());
        light->setPosition(OdGePoint3d(30, -12, 0));
        ms->appendOdDbEntity(light.get());
    }

    vantrel::SvgSink sink;
    sink.showLineweights(true);
    OdDbBlockTableRecordPtr ms = db->getModelSpaceId().safeOpenObject();
    for (OdDbObjectIteratorPtr it = ms->newIterator(); !it->done(); it->step())
        it->entity()->draw(sink);
    const std::string streamed = vantrel::renderSvg(*db);
    EXPECT_EQ(streamed, sink.document());
    EXPECT_NE(streamed.find(".w50{"), std::string::npos) << streamed;
    EXPECT_NE(streamed.find(R"(<circle cx="30" cy="12")"), std::string::npos) << streamed;
}

// Linetypes reach the SVG as dash arrays: the pattern scaled by LTSCALE and the entity's own
// scale, through the layer for a by-layer linetype; by-block outside a block and the lights'
// symbols stay solid. A polyline starts its pattern again at each vertex unless it generates its
// linetype through them.
TEST(SvgRenderEntities, LinetypesAreDrawnAsDashes)
{
    OdDbDatabasePtr db = vantrel::newDrawing();
    db->setSysVar(L"LTSCALE", OdResBuf::newRb(40, 2.0).get());
    const OdDbObjectId dashed = OdDbLinetypeTablePtr(db->getLinetypeTableId().safeOpenObject())->getAt(L"DASHED");
    ASSERT_FALSE(dashed.isNull());
    OdDbLayerTableRecordPtr hidden = OdDbLayerTableRecord::createObject();
    hidden->setName(L"HIDDEN_EDGES");
    hidden->setLinetypeObjectId(dashed);
    const OdDbObjectId hiddenLayer
        = OdDbLayerTablePtr(db->getLayerTableId().safeOpenObject(OdDb::kForWrite))->add(hidden.get());

    OdDbBlockTableRecordPtr ms = db->getModelSpaceId().safeOpenObject(OdDb::kForWrite);
    auto polyline = [&](double y, OdDbObjectId layer, OdDbObjectId linetype, double scale, bool plinegen) {
        OdDbPolylinePtr pl = OdDbPolyline::createObject();
        pl->setDatabaseDefaults(db.get());
        pl->addVertexAt(0, OdGePoint2d(0, y));
        pl->addVertexAt(1, OdGePoint2d(100, y));
        pl->addVertexAt(2, OdGePoint2d(100, y + 50));
        pl->setLayer(layer);
        pl->setLinetype(linetype);
        pl->setLinetypeScale(scale);
        pl->setPlinegen(plinegen);
        ms->appendOdDbEntity(pl.get());
    };
    polyline(0, hiddenLayer, db->getLinetypeByLayerId(), 0.5, false);
    polyline(100, db->getLayerZeroId(), dashed, 1.0, true);
    polyline(200, hiddenLayer, db->getLinetypeByBlockId(), 1.0, false);
    OdDbLightPtr light = OdDbLight::createObject();
    light->setDatabaseDefaults(db.get());
    light->setLayer(hiddenLayer);
    light->setPosition(OdGePoint3d(50, 300, 0));
    ms->appendOdDbEntity(light.get());
    ms.release();

    const std::string svg = vantrel::renderSvg(*db);
    EXPECT_NE(svg.find(R"(<path d="M0,0 L100,0 M100,0 L100,-50" class="s w0" fill="none" stroke="#ffffff" )"
                       R"(stroke-dasharray="12.7 6.35" stroke-dashoffset="0"/>)"),
              std::string::npos)
        << svg;
    EXPECT_NE(svg.find(R"(<path d="M0,-100 L100,-100 L100,-150" class="s w0" fill="none" stroke="#ffffff" )"
                       R"(stroke-dasharray="25.4 12.7" stroke-dashoffset="0"/>)"),
              std::string::npos)
        << svg;
    EXPECT_NE(svg.find(R"(<path d="M0,-200 L100,-200 L100,-250" class="s w0" fill="none" stroke="#ffffff"/>)"),
              std::string::npos)
        << svg;
    // The light's symbol comes last and is solid.
    const std::size_t lamp = svg.find(R"(cy="-300")");
    ASSERT_NE(lamp, std::string::npos) << svg;
    EXPECT_EQ(svg.find("dasharray", lamp), std::string::npos) << svg;
}

// A file and a pipe get the picture renderSvg gives, for a drawing large enough to cross the
// file's blocks (their numbers printed by the file's writing thread), with lineweights, points of
// the default size (written at the end) and wide arcs. A file being replaced gets a drawing this
// large drawn once: its start is written last, over room left for it, and blanks fill the rest of
// the room; a start too long for the room (two hundred lineweights) is drawn twice instead.
TEST(SvgRenderEntities, FilesAndPipesGetThePictureRenderSvgGives)
{
    OdDbDatabasePtr db = vantrel::newDrawing();
    db->setSysVar(L"PDMODE", OdResBuf::newRb(70, std::int16_t(35)).get()); // a cross in a circle
    db->setSysVar(L"LWDISPLAY", OdResBuf::newRb(290, std::int16_t(1)).get());
    std::vector<OdDbObjectId> polylines;
    {
        OdDbBlockTableRecordPtr ms = db->getModelSpaceId().safeOpenObject(OdDb::kForWrite);
        for (int i = 0; i < 5000; ++i) {
            const int column = i % 60, row = i / 60;
            OdDbPolylinePtr pl = OdDbPolyline::createObject();
            for (unsigned v = 0; v < 6; ++v)
                pl->addVertexAt(v, OdGePoint2d(column * 10.0 + v * 1.5, row * 7.0 + v % 2), v % 2 ? 0.5 : 0.0, 0.1 * v,
                                0.1 * v + 0.05);
            pl->setLineWeight(static_cast<std::int16_t>(i % 3 * 25));
            polylines.push_back(ms->appendOdDbEntity(pl.get()));
        }
        OdDbPointPtr point = OdDbPoint::createObject();
        point->setPosition(OdGePoint3d(-40, -30, 0));
        ms->appendOdDbEntity(point.get());
    }
    const auto dir = std::filesystem::temp_directory_path() / ("vantrel_svg_pass_" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    const auto slurp = [](const std::filesystem::path& path) {
        std::stringstream content;
        content << std::ifstream(path).rdbuf();
        return content.str();
    };
    const auto file = dir / "plan.svg";

    const std::string expected = vantrel::renderSvg(*db);
    ASSERT_GT(expected.size(), std::size_t(1) << 21);
    // The point's figure (the only thing left of x = 0) is the last element; the lineweights have
    // their styles.
    ASSERT_NE(expected.substr(expected.rfind("<path")).find(" -40,"), std::string::npos);
    ASSERT_NE(expected.find(".w50{"), std::string::npos);
    // The start ends with the background.
    const std::size_t startEnd = expected.find("\n", expected.find("<rect")) + 1;
    EXPECT_EQ(vantrel::writeSvg(*db, file.string()), "");
    const std::string written = slurp(file);
    ASSERT_GT(written.size(), expected.size());
    EXPECT_TRUE(written.compare(0, startEnd, expected, 0, startEnd) == 0) << written.substr(0, startEnd);
    const std::size_t room = written.find_first_not_of(' ', startEnd);
    EXPECT_EQ(room, std::size_t(4095));
    EXPECT_EQ(written.substr(room, 1), "\n");
    EXPECT_TRUE(written.compare(room + 1, std::string::npos, expected, startEnd) == 0);

    const auto pipe = dir / "plan.pipe";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    std::string received;
    std::thread reader([&] { received = slurp(pipe); });
    EXPECT_EQ(vantrel::writeSvg(*db, pipe.string()), "");
    reader.join();
    EXPECT_TRUE(received == expected);

    for (std::size_t i = 0; i < 211; ++i)
        OdDbEntityPtr(polylines[i].safeOpenObject(OdDb::kForWrite))->setLineWeight(static_cast<std::int16_t>(i + 1));
    const std::string manyWeights = vantrel::renderSvg(*db);
    ASSERT_GT(manyWeights.find("<rect"), std::size_t(4096));
    EXPECT_EQ(vantrel::writeSvg(*db, file.string()), "");
    EXPECT_TRUE(slurp(file) == manyWeights);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir), {}), 2) << "a temporary file was left";
    std::filesystem::remove_all(dir);
}
