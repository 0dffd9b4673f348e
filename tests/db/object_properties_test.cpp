// Tests of the properties an object shows to LIST and the JSON dump: named once with its DXF
// field, in the units a user types (degrees, world points), with the names of enumerated values.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <numbers>

#include <vantrel/db/DxfFile.h>
#include <vantrel/db/ObjectProperties.h>
#include <vantrel/db/OdDb2dPolyline.h>
#include <vantrel/db/OdDb2dVertex.h>
#include <vantrel/db/OdDbArc.h>
#include <vantrel/db/OdDbBlockTableRecord.h>
#include <vantrel/db/OdDbLight.h>
#include <vantrel/db/OdDbPolyline.h>
#include <vantrel/db/OdDbSolid.h>
#include <vantrel/db/OdDbTables.h>
#include <vantrel/db/Template.h>

using namespace vantrel;

namespace {

class ObjectPropertiesTest : public ::testing::Test {
protected:
    template <class T>
    std::vector<Property> shown(OdSmartPtr<T> entity)
    {
        OdDbBlockTableRecordPtr(db->getModelSpaceId().safeOpenObject(OdDb::kForWrite))->appendOdDbEntity(entity.get());
        return objectProperties(*entity);
    }

    static const Property& named(std::span<const Property> properties, std::string_view name)
    {
        auto it = std::find_if(properties.begin(), properties.end(), [&](const Property& p) { return p.name == name; });
        if (it == properties.end())
            throw std::runtime_error("no property " + std::string(name));
        return *it;
    }

    static std::vector<std::string_view> names(std::span<const Property> properties)
    {
        std::vector<std::string_view> out;
        out.reserve(properties.size());
        for (const Property& p : properties)
            out.push_back(p.name);
        return out;
    }

    OdDbDatabasePtr db = newDrawing();
};

void expectNear(const OdGePoint3d& a, const OdGePoint3d& b)
{
    EXPECT_NEAR(a.x, b.x, 1e-9);
    EXPECT_NEAR(a.y, b.y, 1e-9);
    EXPECT_NEAR(a.z, b.z, 1e-9);
}

// A web rotation typed as 45 degrees shows as 45 (it once showed as 2578.31), arc angles show in
// degrees, and a centre kept in a tilted plane shows where it is in the world.
TEST_F(ObjectPropertiesTest, AnglesShowInDegreesAndPlanePointsInTheWorld)
{
    OdDbLightPtr light = OdDbLight::createObject();
    light->setLightType(OdGiDrawable::kWebLight);
    light->setWebRotation(OdGeVector3d(45.0, 0.0, -90.0));
    const auto lightProperties = shown(light);
    const auto& rotation = std::get<std::vector<double>>(named(lightProperties, "webRotation").value);
    EXPECT_EQ(rotation, (std::vector<double>{45.0, 0.0, -90.0}));

    const OdGePoint3d center(3.0, -4.0, 7.0);
    OdDbArcPtr arc = OdDbArc::createObject();
    arc->setNormal(OdGeVector3d(0.0, 0.0, -1.0));
    arc->setCenter(center);
    arc->setRadius(2.0);
    arc->setStartAngle(std::numbers::pi / 6);
    arc->setEndAngle(std::numbers::pi);
    const auto arcProperties = shown(arc);
    EXPECT_EQ(named(arcProperties, "center").unit, PropertyUnit::Point);
    expectNear(std::get<OdGePoint3d>(named(arcProperties, "center").value), center);
    EXPECT_NEAR(std::get<double>(named(arcProperties, "startAngle").value), 30.0, 1e-12);
    EXPECT_EQ(std::get<double>(named(arcProperties, "endAngle").value), 180.0);
    EXPECT_EQ(named(arcProperties, "startAngle").unit, PropertyUnit::Angle);
}

// A solid's corners and a lightweight polyline's vertices are kept in their plane and shown in
// the world, so that LIST can give them in the user's coordinate system.
TEST_F(ObjectPropertiesTest, CornersAndVerticesShowAsWorldPoints)
{
    const OdGeVector3d tilted = OdGeVector3d(1.0, 0.0, 1.0).normal();
    OdDbSolidPtr solid = OdDbSolid::createObject();
    solid->setNormal(tilted);
    const OdGePoint3d corners[] = {{0, 0, 0}, {1, 0, -1}, {0, 5, 0}, {1, 5, -1}};
    for (int i = 0; i < 4; ++i)
        solid->setPointAt(i, corners[i]);
    const auto solidProperties = shown(solid);
    expectNear(std::get<OdGePoint3d>(named(solidProperties, "corner2").value), corners[1]);
    expectNear(std::get<OdGePoint3d>(named(solidProperties, "corner4").value), corners[3]);

    OdDbPolylinePtr polyline = OdDbPolyline::createObject();
    polyline->setElevation(2.0);
    polyline->addVertexAt(0, OdGePoint2d(1.0, 1.0), 0.5, 0.25, 0.75);
    polyline->addVertexAt(1, OdGePoint2d(4.0, 1.0));
    const auto polylineProperties = shown(polyline);
    const auto& vertices = std::get<PropertyRecords>(named(polylineProperties, "vertices").value);
    ASSERT_EQ(vertices.size(), 2u);
    EXPECT_EQ(names(vertices[0]), (std::vector<std::string_view>{"point", "startWidth", "endWidth", "bulge"}));
    expectNear(std::get<OdGePoint3d>(vertices[0][0].value), OdGePoint3d(1.0, 1.0, 2.0));
    EXPECT_EQ(std::get<double>(vertices[0][3].value), 0.5);
}

// Every entity starts with what all entities have, in one order; enumerated values carry their
// names; the vertices of a 2D polyline are listed with their handles, without repeating the
// layer and colour they share with the polyline.
TEST_F(ObjectPropertiesTest, CommonPropertiesEnumerationsAndVertexRecords)
{
    OdDb2dPolylinePtr polyline = OdDb2dPolyline::createObject();
    const auto empty = shown(polyline);
    const std::vector<std::string_view> common{"space",     "layer",      "linetype",      "color",
                                               "trueColor", "lineweight", "linetypeScale", "visible"};
    EXPECT_TRUE(std::equal(common.begin(), common.end(), names(empty).begin()));
    EXPECT_EQ(std::get<std::string>(named(empty, "space").value), "model");
    EXPECT_EQ(std::get<std::string>(named(empty, "linetype").value), "ByLayer");
    const Property& lineweight = named(empty, "lineweight");
    ASSERT_FALSE(lineweight.names.empty());
    EXPECT_EQ(std::get<std::int64_t>(lineweight.value), -1);
    EXPECT_STREQ(lineweight.names.front().name, "ByLayer");

    polyline->appendVertex(OdDb2dVertex::createObject().get());
    OdDb2dVertexPtr second = OdDb2dVertex::createObject();
    second->setPosition(OdGePoint3d(2.0, 3.0, 0.0));
    second->setTangent(std::numbers::pi / 2);
    second->useTangent();
    const OdDbObjectId secondId = polyline->appendVertex(second.get());
    const auto withVertices = objectProperties(*polyline);
    const auto& vertices = std::get<PropertyRecords>(named(withVertices, "vertices").value);
    ASSERT_EQ(vertices.size(), 2u);
    const std::span<const Property> record = vertices[1];
    EXPECT_EQ(record.front().name, "handle");
    EXPECT_EQ(std::get<std::string>(record.front().value), secondId.getHandle().ascii());
    EXPECT_EQ(std::count_if(record.begin(), record.end(), [](const Property& p) { return p.name == "layer"; }), 0);
    EXPECT_EQ(std::get<double>(named(record, "tangent").value), 90.0);
    EXPECT_TRUE(std::holds_alternative<std::nullptr_t>(named(vertices[0], "tangent").value));
}

TEST(PropertyWords, CamelCaseBecomesWordsAndAbbreviationsStay)
{
    EXPECT_EQ(propertyWords("startAngle"), "start angle");
    EXPECT_EQ(propertyWords("lampColorRGB"), "lamp color RGB");
    EXPECT_EQ(propertyWords("corner1"), "corner1");
    EXPECT_EQ(propertyWords("mSize"), "m size");
    EXPECT_EQ(propertyWords("RGBValue"), "RGB value");
}

// A reader that looks each layer's name up once shows every entity as objectProperties does,
// entities on other layers and of another drawing included, also into one record reused for all.
TEST_F(ObjectPropertiesTest, AReaderOfManyObjectsShowsEachAsItIsShownAlone)
{
    const auto onLayer = [](OdDbDatabase& drawing, const OdString& name) {
        OdDbLayerTablePtr layers = drawing.getLayerTableId().safeOpenObject(OdDb::kForWrite);
        OdDbObjectId id = layers->getAt(name);
        if (id.isNull()) {
            OdDbLayerTableRecordPtr layer = OdDbLayerTableRecord::createObject();
            layer->setName(name);
            id = layers->add(layer.get());
        }
        OdDbArcPtr arc = OdDbArc::createObject();
        arc->setRadius(2.0);
        OdDbBlockTableRecordPtr(drawing.getModelSpaceId().safeOpenObject(OdDb::kForWrite))->appendOdDbEntity(arc.get());
        arc->setLayer(id);
        return arc;
    };
    OdDbDatabasePtr other = newDrawing();
    const std::vector<OdDbArcPtr> arcs = {onLayer(*db, L"Walls"), onLayer(*db, L"Doors"), onLayer(*db, L"Walls"),
                                          onLayer(*other, L"Elsewhere"), onLayer(*db, L"Doors")};
    PropertyReader reader(*db);
    const std::vector<std::string> expected = {"Walls", "Doors", "Walls", "Elsewhere", "Doors"};
    std::vector<Property> read;
    for (std::size_t i = 0; i < arcs.size(); ++i) {
        reader.properties(*arcs[i], read);
        ASSERT_EQ(names(reader.properties(*arcs[i])), names(read));
        const std::vector<Property> alone = objectProperties(*arcs[i]);
        EXPECT_EQ(std::get<std::string>(named(read, "layer").value), expected[i]);
        ASSERT_EQ(names(read), names(alone));
        for (std::size_t k = 0; k < read.size(); ++k) {
            ASSERT_EQ(read[k].value.index(), alone[k].value.index()) << read[k].name;
            std::visit(
                [&](const auto& value) {
                    using T = std::decay_t<decltype(value)>;
                    if constexpr (!std::is_same_v<T, PropertyRecords>) {
                        EXPECT_TRUE(value == std::get<T>(alone[k].value)) << read[k].name;
                    }
                },
                read[k].value);
        }
    }
}

// Names are written as JSON keys without a look for escapes: each is a word of ASCII letters and
// digits, in every record of every entity and block entity of the sample drawings.
TEST(PropertyNames, AreWordsOfLettersAndDigits)
{
    std::function<void(std::span<const Property>, const std::string&)> expectWords
        = [&](std::span<const Property> record, const std::string& where) {
              for (const Property& p : record) {
                  EXPECT_TRUE(!p.name.empty()
                              && std::all_of(p.name.begin(), p.name.end(),
                                             [](char c) {
                                                 return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z')
                                                     || (c >= '0' && c <= '9');
                                             }))
                      << where << ": '" << p.name << "'";
                  if (const auto* items = std::get_if<PropertyRecords>(&p.value))
                      for (std::size_t k = 0; k < items->size(); ++k)
                          expectWords((*items)[k], where + " " + std::string(p.name));
              }
          };
    std::size_t shown = 0;
    for (const auto& file : std::filesystem::directory_iterator(VANTREL_SAMPLES)) {
        if (file.path().extension() != ".dxf")
            continue;
        const DxfReadResult read = readDxf(file.path().string());
        ASSERT_TRUE(read.database) << file.path() << ": " << read.error;
        PropertyReader reader(*read.database);
        OdDbBlockTablePtr blocks = read.database->getBlockTableId().safeOpenObject();
        for (OdDbObjectId blockId : blocks->recordIds()) {
            OdDbBlockTableRecordPtr block = blockId.safeOpenObject();
            for (OdDbObjectIteratorPtr it = block->newIterator(); !it->done(); it->step(), ++shown)
                expectWords(reader.properties(*it->entity()), file.path().filename().string());
        }
    }
    EXPECT_GT(shown, 100U);
}

} // namespace
