// Inserts, attributes, dimensions, points, faces, leaders, wipeouts and images, read from drawings
// that ezdxf writes: what they draw is checked against geometry computed here (the transformations
// of nested inserts and arrays, point figures, face edges), and a drawing saved by vantrel must
// read in ezdxf with everything it had.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>

#include <vantrel/db/DxfFile.h>
#include <vantrel/db/ObjectProperties.h>
#include <vantrel/db/OdDbAttribute.h>
#include <vantrel/db/OdDbBlockReference.h>
#include <vantrel/db/OdDbBlockTableRecord.h>
#include <vantrel/db/OdDbDimension.h>
#include <vantrel/db/OdDbFace.h>
#include <vantrel/db/OdDbLeader.h>
#include <vantrel/db/OdDbLine.h>
#include <vantrel/db/OdDbPoint.h>
#include <vantrel/db/OdDbRasterImage.h>
#include <vantrel/db/OdDbSymbolTable.h>
#include <vantrel/db/OdDbWipeout.h>
#include <vantrel/db/Template.h>
#include <vantrel/db/block_nesting.h>

#include "RecordingDraw.h"
#include "ezdxf_check.h"
#include "ezdxf_drawing.h"

namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kTol = 1e-9;

// One drawing with an entity of every kind, written by ezdxf.
const char* const kDrawing = R"PY(
doc.header["$PDMODE"] = 35
doc.header["$PDSIZE"] = 2.0
doc.header["$LWDISPLAY"] = 1
doc.layers.add("L2", color=3)
inner = doc.blocks.new("INNER")
inner.add_line((0, 0), (1, 0))
inner.add_circle((1, 1), 0.5)
inner.add_line((0, 0), (0, 1), dxfattribs={"color": 0, "lineweight": -2})
outer = doc.blocks.new("OUTER", base_point=(1, 1))
outer.add_blockref("INNER", (2, 0), dxfattribs={"rotation": 90, "xscale": 2, "yscale": 2, "zscale": 2,
                                                  "color": 0, "lineweight": -2})
outer.add_attdef("NAME", (0, -1), dxfattribs={"height": 0.5})
constant = outer.add_attdef("KIND", (0, -2), dxfattribs={"height": 0.5})
constant.dxf.flags = 2
constant.dxf.text = "steel"
flag = msp.add_blockref("OUTER", (10, 5), dxfattribs={"rotation": 30, "xscale": 1.5, "yscale": 1.5,
                                                     "color": 1, "lineweight": 50, "layer": "L2"})
flag.add_attrib("NAME", "flag 1", (10, 3), dxfattribs={"height": 0.5})
flag.add_attrib("NOTE", "secret", (10, 2)).dxf.flags = 1
msp.add_blockref("INNER", (40, 0), dxfattribs={"row_count": 3, "column_count": 2, "row_spacing": 5,
                                                "column_spacing": 4})
msp.add_blockref("INNER", (0, 30), dxfattribs={"extrusion": (0, 0, -1)})
msp.add_blockref("INNER", (0, 40), dxfattribs={"xscale": 2, "yscale": 1})
a = doc.blocks.new("LOOP_A")
a.add_line((0, 0), (1, 1))
a.add_blockref("LOOP_B", (3, 0))
b = doc.blocks.new("LOOP_B")
b.add_line((0, 0), (2, 0))
b.add_blockref("LOOP_A", (0, 3))
msp.add_blockref("LOOP_A", (60, 0))
msp.add_linear_dim(base=(0, -10), p1=(0, -5), p2=(7, -5)).render()
msp.add_point((20, 20))
msp.add_3dface([(30, 30, 0), (34, 30, 0), (34, 33, 0), (30, 33, 0)], dxfattribs={"invisible": 5})
msp.add_leader([(50, 50), (55, 55), (60, 55)])
msp.add_line((0, -30), (10, -30), dxfattribs={"thickness": 5})
msp.add_wipeout([(0, -45), (10, -45), (10, -35), (0, -35)])
photo = doc.add_image_def("photo.png", size_in_pixel=(640, 480))
msp.add_image(photo, insert=(70, 0), size_in_units=(6.4, 4.8))
)PY";

// A segment drawn, with the colour and lineweight it was drawn in.
struct Stroke {
    OdGePoint3d a, b;
    std::uint32_t rgb;
    double weight;
};

// Records straight paths as segments with their traits, and everything else as RecordingDraw does.
struct StrokeDraw : RecordingDraw {
    std::vector<Stroke> strokes;
    void path(std::span<const vantrel::PathVertex> v, bool closed, const OdGeVector3d& n) override
    {
        RecordingDraw::path(v, closed, n);
        for (std::size_t i = 0; i + 1 < v.size(); ++i)
            strokes.push_back({v[i].point, v[i + 1].point, traits.back().rgb, traits.back().lineWeightMm});
    }
};

OdGePoint3d at(const OdGeMatrix3d& m, const OdGePoint3d& p)
{
    OdGePoint3d q = p;
    q.transformBy(m);
    return q;
}

OdGeMatrix3d placement(OdGeVector3d move, double degrees, double scale, OdGeVector3d base = {})
{
    return OdGeMatrix3d::translation(move) * OdGeMatrix3d::rotation(degrees * kPi / 180.0, OdGeVector3d::kZAxis)
        * OdGeMatrix3d::scaling(scale) * OdGeMatrix3d::translation(-base);
}

// The stroke between two points (either way round), or null.
const Stroke* strokeBetween(const std::vector<Stroke>& strokes, const OdGePoint3d& a, const OdGePoint3d& b)
{
    for (const Stroke& s : strokes)
        if ((s.a.distanceTo(a) < 1e-7 && s.b.distanceTo(b) < 1e-7)
            || (s.a.distanceTo(b) < 1e-7 && s.b.distanceTo(a) < 1e-7))
            return &s;
    return nullptr;
}

const vantrel::Property* property(const std::vector<vantrel::Property>& props, std::string_view name)
{
    for (const vantrel::Property& p : props)
        if (p.name == name)
            return &p;
    return nullptr;
}

class BlocksTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        EzdxfDrawing d = ezdxfDrawing("blocks", kDrawing);
        problem = d.problem.empty() ? d.read.error : d.problem;
        repairs = d.read.repairs;
        db = d.read.database;
    }
    static void TearDownTestSuite() { db = OdDbDatabasePtr(); }
    void SetUp() override { ASSERT_TRUE(db) << problem; }

    // The model-space entities of a class, in file order.
    template <class T>
    static std::vector<OdSmartPtr<T>> all()
    {
        std::vector<OdSmartPtr<T>> out;
        OdDbBlockTableRecordPtr ms = db->getModelSpaceId().safeOpenObject();
        for (OdDbObjectId id : ms->entityIds())
            if (OdSmartPtr<T> e = T::cast(id.openObject().get()))
                out.push_back(e);
        return out;
    }
    static OdDbBlockReferencePtr insertOf(const wchar_t* block, int nth = 0)
    {
        for (const OdDbBlockReferencePtr& ref : all<OdDbBlockReference>())
            if (ref->blockName() == OdString(block) && nth-- == 0)
                return ref;
        return {};
    }

    static inline OdDbDatabasePtr db;
    static inline std::string problem;
    static inline std::vector<std::string> repairs;
};

TEST_F(BlocksTest, NestedInsertsPlaceEveryEntityThroughEachTransformation)
{
    OdDbBlockReferencePtr flag = insertOf(L"OUTER");
    ASSERT_TRUE(flag);
    StrokeDraw draw;
    flag->draw(draw);
    // OUTER (base point 1,1) at (10,5) turned 30 degrees, scale 1.5; INNER in it at (2,0) turned
    // 90 degrees, scale 2.
    const OdGeMatrix3d m = placement({10, 5, 0}, 30, 1.5, {1, 1, 0}) * placement({2, 0, 0}, 90, 2);
    EXPECT_TRUE(strokeBetween(draw.strokes, at(m, {0, 0, 0}), at(m, {1, 0, 0})));
    EXPECT_TRUE(strokeBetween(draw.strokes, at(m, {0, 0, 0}), at(m, {0, 1, 0})));
    ASSERT_EQ(draw.arcs.size(), 1u);
    EXPECT_TRUE(draw.arcs[0].center.isEqualTo(at(m, {1, 1, 0}), OdGeTol(1e-9)));
    EXPECT_NEAR(draw.arcs[0].radius, 0.5 * 2 * 1.5, kTol);
}

TEST_F(BlocksTest, ArraysExtrusionsAndUnequalScalesPlaceTheBlock)
{
    StrokeDraw array;
    insertOf(L"INNER", 0)->draw(array);
    // Two columns 4 apart, three rows 5 apart.
    for (int c = 0; c < 2; ++c)
        for (int r = 0; r < 3; ++r)
            EXPECT_TRUE(strokeBetween(array.strokes, {40.0 + 4 * c, 5.0 * r, 0}, {41.0 + 4 * c, 5.0 * r, 0}))
                << c << "," << r;
    EXPECT_EQ(array.arcs.size(), 6u);

    // Seen along -Z the block's X axis points to -X.
    StrokeDraw flipped;
    insertOf(L"INNER", 1)->draw(flipped);
    EXPECT_TRUE(strokeBetween(flipped.strokes, {0, 30, 0}, {-1, 30, 0}));

    // Stretched twice along X, the circle is an ellipse with semi-axes 1 and 0.5.
    StrokeDraw stretched;
    insertOf(L"INNER", 2)->draw(stretched);
    EXPECT_TRUE(stretched.arcs.empty());
    ASSERT_EQ(stretched.ellipses.size(), 1u);
    const auto& e = stretched.ellipses[0];
    EXPECT_TRUE(e.center.isEqualTo({2, 41, 0}));
    EXPECT_NEAR(std::max(e.major.length(), e.minor.length()), 1.0, kTol);
    EXPECT_NEAR(std::min(e.major.length(), e.minor.length()), 0.5, kTol);
    EXPECT_NEAR(e.major.dotProduct(e.minor), 0.0, kTol);
}

TEST_F(BlocksTest, ByBlockAndLayerZeroResolveThroughTheInserts)
{
    StrokeDraw draw;
    insertOf(L"OUTER")->draw(draw);
    const OdGeMatrix3d m = placement({10, 5, 0}, 30, 1.5, {1, 1, 0}) * placement({2, 0, 0}, 90, 2);
    // By block, through the inner insert (by block too), from the outer one: red, 0.50 mm.
    const Stroke* byBlock = strokeBetween(draw.strokes, at(m, {0, 0, 0}), at(m, {0, 1, 0}));
    ASSERT_TRUE(byBlock);
    EXPECT_EQ(byBlock->rgb, 0xFF0000u);
    EXPECT_DOUBLE_EQ(byBlock->weight, 0.5);
    // By layer on layer 0 takes the layer of the insert, L2: green.
    const Stroke* byLayer = strokeBetween(draw.strokes, at(m, {0, 0, 0}), at(m, {1, 0, 0}));
    ASSERT_TRUE(byLayer);
    EXPECT_EQ(byLayer->rgb, 0x00FF00u);
}

TEST_F(BlocksTest, BlocksThatInsertThemselvesAreDrawnOnceAndSaid)
{
    StrokeDraw draw;
    insertOf(L"LOOP_A")->draw(draw);
    ASSERT_EQ(draw.strokes.size(), 2u);
    EXPECT_TRUE(strokeBetween(draw.strokes, {60, 0, 0}, {61, 1, 0}));
    EXPECT_TRUE(strokeBetween(draw.strokes, {63, 0, 0}, {65, 0, 0}));
    const std::string said = "blocks that insert themselves, directly or through others, kept as read and drawn once";
    EXPECT_NE(std::find(repairs.begin(), repairs.end(), said + " (2)"), repairs.end());
    // The loops are kept as the file has them: a save reads back saying only that, and saves alike.
    const std::string saved = vantrel::dxfText(*db);
    const vantrel::DxfReadResult reread = vantrel::readDxfText(saved);
    ASSERT_TRUE(reread.database) << reread.error;
    EXPECT_EQ(reread.repairs, std::vector<std::string>{said + " (2)"});
    EXPECT_EQ(vantrel::dxfText(*reread.database), saved);

    // A block made here that inserts itself directly.
    OdDbDatabasePtr own = vantrel::newDrawing();
    OdDbBlockTableRecordPtr self = OdDbBlockTableRecord::createObject();
    self->setName(L"SELF");
    OdDbObjectId selfId = OdDbSymbolTablePtr(own->getBlockTableId().safeOpenObject(OdDb::kForWrite))->add(self.get());
    self.release();
    OdDbBlockTableRecordPtr(selfId.safeOpenObject(OdDb::kForWrite))->appendOdDbEntity(OdDbLine::createObject().get());
    OdDbBlockReferencePtr again = OdDbBlockReference::createObject();
    again->setBlockTableRecord(selfId);
    OdDbBlockTableRecordPtr(selfId.safeOpenObject(OdDb::kForWrite))->appendOdDbEntity(again.get());
    StrokeDraw once;
    OdDbBlockReferencePtr(again->objectId().safeOpenObject())->draw(once);
    EXPECT_EQ(once.strokes.size(), 1u);
}

// Layouts are walked only when a block inserts one: model space inserting a block that inserts
// model space is still a cycle, and one block inserting another is none.
TEST(BlockNesting, ALayoutIsOnACycleOnlyWhenABlockInsertsIt)
{
    OdDbDatabasePtr db = vantrel::newDrawing();
    auto block = [&](const wchar_t* name) {
        OdDbBlockTableRecordPtr btr = OdDbBlockTableRecord::createObject();
        btr->setName(name);
        return OdDbSymbolTablePtr(db->getBlockTableId().safeOpenObject(OdDb::kForWrite))->add(btr.get());
    };
    auto insert = [&](OdDbObjectId into, OdDbObjectId inserted) {
        OdDbBlockReferencePtr ref = OdDbBlockReference::createObject();
        ref->setBlockTableRecord(inserted);
        OdDbBlockTableRecordPtr(into.safeOpenObject(OdDb::kForWrite))->appendOdDbEntity(ref.get());
    };
    const OdDbObjectId part = block(L"PART"), frame = block(L"FRAME");
    insert(db->getModelSpaceId(), frame);
    insert(frame, part);
    EXPECT_TRUE(vantrel::blocksInsertingThemselves(*db).empty());

    insert(part, db->getModelSpaceId());
    const std::vector<OdDbObjectId> cycle = vantrel::blocksInsertingThemselves(*db);
    EXPECT_EQ(cycle.size(), 3u);
    for (OdDbObjectId b : {db->getModelSpaceId(), part, frame})
        EXPECT_NE(std::find(cycle.begin(), cycle.end(), b), cycle.end());
}

TEST_F(BlocksTest, AttributesShowTheirValuesAndDefinitionsStayHidden)
{
    OdDbBlockReferencePtr flag = insertOf(L"OUTER");
    const std::vector<OdDbObjectId> ids = flag->attributeIds();
    ASSERT_EQ(ids.size(), 2u);
    EXPECT_EQ(flag->openAttribute(ids[0])->tag(), OdString(L"NAME"));
    EXPECT_TRUE(flag->openAttribute(ids[1])->isInvisible());
    RecordingDraw draw;
    flag->draw(draw);
    std::vector<std::wstring> texts;
    for (const auto& t : draw.texts)
        texts.push_back(t.text.str());
    // The attribute's value and the constant definition's value; not the definitions' tags,
    // not the invisible attribute.
    std::sort(texts.begin(), texts.end());
    EXPECT_EQ(texts, (std::vector<std::wstring>{L"flag 1", L"steel"}));
    EXPECT_THROW(flag->openAttribute(ids[0], OdDb::kForWrite)->setTag(L"TWO WORDS"), OdError);
}

TEST_F(BlocksTest, DimensionsDrawTheirBlockAndKeepWhatTheyMeasure)
{
    const auto dims = all<OdDbDimension>();
    ASSERT_EQ(dims.size(), 1u);
    OdDbBlockTableRecordPtr block = dims[0]->dimBlockId().safeOpenObject();
    RecordingDraw direct;
    for (OdDbObjectId id : block->entityIds())
        OdDbEntityPtr(id.safeOpenObject())->draw(direct);
    RecordingDraw through;
    dims[0]->draw(through);
    EXPECT_FALSE(through.paths.empty());
    EXPECT_EQ(through.paths.size(), direct.paths.size());
    EXPECT_EQ(through.texts.size(), direct.texts.size());
    const auto props = vantrel::objectProperties(*dims[0]);
    const vantrel::Property* points = property(props, "definitionPoints");
    ASSERT_TRUE(points);
    const auto& records = std::get<vantrel::PropertyRecords>(points->value);
    ASSERT_EQ(records.size(), 2u);
    EXPECT_TRUE(std::get<OdGePoint3d>(records[0][1].value).isEqualTo({0, -5, 0}));
    EXPECT_TRUE(std::get<OdGePoint3d>(records[1][1].value).isEqualTo({7, -5, 0}));
}

TEST_F(BlocksTest, PointsTakeTheDrawingsStyle)
{
    const auto points = all<OdDbPoint>();
    ASSERT_EQ(points.size(), 1u);
    RecordingDraw draw;
    points[0]->draw(draw);
    // PDMODE 35: a cross (3) and a circle (32) round the point, both of the figure's size.
    ASSERT_EQ(draw.symbols.size(), 3u);
    EXPECT_TRUE(draw.symbols[0].position.isEqualTo({20, 20, 0}));
    EXPECT_TRUE(draw.symbols[0].offsets.front().isEqualTo({-0.5, -0.5, 0}));
    EXPECT_TRUE(draw.symbols[0].offsets.back().isEqualTo({0.5, 0.5, 0}));
    for (const OdGeVector3d& o : draw.symbols[2].offsets)
        EXPECT_NEAR(o.length(), 0.5, kTol);
    // 1: nothing; 64 + 2: a plus in a square.
    EXPECT_EQ(vantrel::pointFigure(1).size(), 0u);
    const auto plusInSquare = vantrel::pointFigure(66);
    ASSERT_EQ(plusInSquare.size(), 3u);
    EXPECT_EQ(plusInSquare[2].size(), 5u);
}

TEST_F(BlocksTest, FacesDrawOnlyTheirVisibleEdges)
{
    const auto faces = all<OdDbFace>();
    ASSERT_EQ(faces.size(), 1u);
    StrokeDraw draw;
    faces[0]->draw(draw);
    // Flags 5 hide the first and third edges.
    ASSERT_EQ(draw.strokes.size(), 2u);
    EXPECT_TRUE(strokeBetween(draw.strokes, {34, 30, 0}, {34, 33, 0}));
    EXPECT_TRUE(strokeBetween(draw.strokes, {30, 33, 0}, {30, 30, 0}));
}

TEST_F(BlocksTest, LeadersWipeoutsImagesAndThickLines)
{
    RecordingDraw leader;
    all<OdDbLeader>().at(0)->draw(leader);
    ASSERT_EQ(leader.paths.size(), 1u);
    EXPECT_EQ(leader.paths[0].size(), 3u);
    ASSERT_EQ(leader.polygons.size(), 1u); // the arrowhead, its tip on the first vertex
    EXPECT_TRUE(leader.filled[0]);
    EXPECT_TRUE(leader.polygons[0][0].isEqualTo({50, 50, 0}));

    RecordingDraw wipeout;
    all<OdDbWipeout>().at(0)->draw(wipeout);
    ASSERT_EQ(wipeout.polygons.size(), 1u);
    EXPECT_TRUE(wipeout.filled[0]);
    EXPECT_TRUE(wipeout.traits.back().background);
    const std::vector<OdGePoint3d> square{{0, -45, 0}, {10, -45, 0}, {10, -35, 0}, {0, -35, 0}};
    ASSERT_EQ(wipeout.polygons[0].size(), 4u);
    for (std::size_t i = 0; i < 4; ++i)
        EXPECT_TRUE(wipeout.polygons[0][i].isEqualTo(square[i], OdGeTol(1e-9))) << i;

    OdDbRasterImagePtr image;
    for (const auto& i : all<OdDbRasterImage>())
        if (!OdDbWipeout::cast(i.get()))
            image = i;
    ASSERT_TRUE(image);
    RecordingDraw frame;
    image->draw(frame);
    ASSERT_EQ(frame.polygons.size(), 1u);
    EXPECT_TRUE(frame.polygons[0][2].isEqualTo({76.4, 4.8, 0}, OdGeTol(1e-9)));
    EXPECT_EQ(frame.paths.size(), 2u); // the placeholder's cross
    const auto props = vantrel::objectProperties(*image);
    ASSERT_TRUE(property(props, "imageFile"));
    EXPECT_EQ(std::get<std::string>(property(props, "imageFile")->value), "photo.png");

    // Seen from above, a line extruded straight up is the line.
    StrokeDraw thick;
    for (const auto& line : all<OdDbLine>())
        if (line->thickness() != 0.0)
            line->draw(thick);
    EXPECT_TRUE(thick.polygons.empty());
    ASSERT_EQ(thick.strokes.size(), 1u);
}

TEST_F(BlocksTest, MovingAnInsertMovesWhatItDraws)
{
    OdDbBlockReferencePtr flag = insertOf(L"OUTER");
    StrokeDraw before;
    flag->draw(before);
    OdDbBlockReferencePtr moved = OdDbBlockReference::cast(flag->clone().get());
    // A turn, a mirroring and a uniform scaling.
    const OdGeMatrix3d m = OdGeMatrix3d::translation({3, -2, 0}) * OdGeMatrix3d::rotation(0.7, OdGeVector3d::kZAxis)
        * OdGeMatrix3d::mirroring(OdGePoint3d::kOrigin) * OdGeMatrix3d::scaling(2.0);
    moved->transformBy(m);
    StrokeDraw after;
    moved->draw(after);
    ASSERT_EQ(after.strokes.size(), before.strokes.size());
    for (const Stroke& s : before.strokes)
        EXPECT_TRUE(strokeBetween(after.strokes, at(m, s.a), at(m, s.b)));
    EXPECT_THROW(moved->transformBy(OdGeMatrix3d::scaling(1.0) *
                                    [] {
                                        OdGeMatrix3d stretch;
                                        stretch.entry[0][0] = 2.0;
                                        return stretch;
                                    }()),
                 OdError);
}

TEST_F(BlocksTest, AVastArrayEndsAtTheDrawingLimit)
{
    OdDbBlockReferencePtr huge = OdDbBlockReference::cast(insertOf(L"INNER", 0)->clone().get());
    huge->setArray(32767, 32767, 1.0, 1.0);
    RecordingDraw draw;
    huge->draw(draw);
    EXPECT_LT(draw.paths.size(), 32767u * 32767u);
    EXPECT_GT(draw.paths.size(), 0u);
}

TEST_F(BlocksTest, ASavedDrawingKeepsEveryKindForAnotherReader)
{
    const EzdxfCheck check = runEzdxfCheck(*db, "blocks", R"PY(
doc = ezdxf.readfile(sys.argv[1])
msp = doc.modelspace()
count = lambda kind: len(msp.query(kind))
assert count("INSERT") == 5, count("INSERT")
flag = [i for i in msp.query("INSERT") if i.dxf.name == "OUTER"][0]
assert [a.dxf.tag for a in flag.attribs] == ["NAME", "NOTE"], flag.attribs
assert flag.attribs[0].dxf.text == "flag 1" and flag.attribs[1].dxf.flags == 1
array = [i for i in msp.query("INSERT") if i.dxf.get("row_count", 1) == 3][0]
assert array.dxf.column_count == 2 and array.dxf.column_spacing == 4 and array.dxf.row_spacing == 5
outer = doc.blocks.get("OUTER")
assert [d.dxf.tag for d in outer.query("ATTDEF")] == ["NAME", "KIND"]
dim = msp.query("DIMENSION")[0]
assert dim.dxf.defpoint2.isclose((0, -5)) and dim.dxf.defpoint3.isclose((7, -5)), dim.dxf.defpoint2
assert doc.blocks.get(dim.dxf.geometry) is not None
for kind in ("POINT", "3DFACE", "LEADER", "WIPEOUT", "IMAGE"):
    assert count(kind) == 1, kind
assert msp.query("3DFACE")[0].dxf.invisible == 5
assert len(msp.query("LEADER")[0].vertices) == 3
assert msp.query("IMAGE")[0].image_def.dxf.filename == "photo.png"
assert len(msp.query("WIPEOUT")[0].boundary_path) == 5
from ezdxf import recover
doc, auditor = recover.readfile(sys.argv[1])
faults = [e.message for e in auditor.errors if e.code != ezdxf.audit.AuditError.INVALID_BLOCK_REFERENCE_CYCLE]
assert not faults, faults
print("ok")
)PY");
    EXPECT_TRUE(check.passed) << check.output;
}

} // namespace
