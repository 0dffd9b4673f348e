// Tests of lights: the rules on values, the lamp colours against published colour-temperature
// data, the LIGHT record with its VANTREL extended data through our reader and ezdxf, and the
// glyph each kind of light draws.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <functional>
#include <numbers>
#include <tuple>
#include <utility>

#include <vantrel/db/DxfFile.h>
#include <vantrel/db/OdDbBlockTableRecord.h>
#include <vantrel/db/OdDbLight.h>
#include <vantrel/db/OdDbTables.h>
#include <vantrel/db/Template.h>
#include <vantrel/db/lamp_color.h>
#include "RecordingDraw.h"
#include "ezdxf_check.h"

using namespace vantrel;

namespace {

constexpr double kPi = std::numbers::pi;

int byte(double channel) { return static_cast<int>(std::lround(channel * 255.0)); }

} // namespace

TEST(LightRules, RefusedValuesRaiseTheirCodeAndChangeNothing)
{
    OdDbLightPtr light = OdDbLight::createObject();
    struct Case {
        const char* what;
        std::function<void(OdDbLight&)> set;
        OdResult code;
    };
    const std::vector<Case> cases = {
        {"temperature below", [](OdDbLight& l) { l.setLampColorTemp(999.99); }, eOutOfRange},
        {"temperature above", [](OdDbLight& l) { l.setLampColorTemp(20005.0); }, eOutOfRange},
        {"negative intensity", [](OdDbLight& l) { l.setIntensity(-0.001); }, eOutOfRange},
        {"negative candela", [](OdDbLight& l) { l.setPhysicalIntensity(-5.0); }, eOutOfRange},
        {"zero distance", [](OdDbLight& l) { l.setIlluminanceDistance(0.0); }, eOutOfRange},
        {"name of 256", [](OdDbLight& l) { l.setName(OdString(std::wstring(256, L'x').c_str())); }, eOutOfRange},
        {"lamp channel",
         [](OdDbLight& l) {
             l.setLampColorRGB({0.5, 1.2, 0.0});
         },
         eOutOfRange},
        {"shadow map size", [](OdDbLight& l) { l.setShadowMapSize(0); }, eOutOfRange},
        {"method",
         [](OdDbLight& l) { l.setPhysicalIntensityMethod(static_cast<OdDbLight::PhysicalIntensityMethod>(3)); },
         eInvalidInput},
        {"preset", [](OdDbLight& l) { l.setLampColorPreset(static_cast<OdDbLight::LampColorPreset>(15)); },
         eInvalidInput},
        {"colour type", [](OdDbLight& l) { l.setLampColorType(static_cast<OdDbLight::LampColorType>(2)); },
         eInvalidInput},
    };
    auto snapshot = [&light] {
        const OdDbLight::Data& d = light->data();
        return std::make_tuple(d.lampColorTemp, d.intensity, d.physicalIntensity, d.illuminanceDistance, d.name,
                               d.lampColorRGB, d.shadowMapSize, d.physicalIntensityMethod, d.lampColorPreset,
                               d.lampColorType);
    };
    const auto before = snapshot();
    for (const Case& c : cases) {
        try {
            c.set(*light);
            ADD_FAILURE() << c.what << " was taken";
        } catch (const OdError& e) {
            EXPECT_EQ(e.code(), c.code) << c.what;
        }
        EXPECT_TRUE(snapshot() == before) << c.what;
    }

    // The bounds themselves, and values within the commands' tolerance of them, are taken.
    light->setLampColorTemp(20000.0 + 5e-11);
    EXPECT_EQ(light->lampColorTemp(), 20000.0);
    light->setLampColorTemp(1000.0);
    light->setIntensity(-1e-11);
    EXPECT_EQ(light->intensity(), 0.0);
    light->setName(OdString(std::wstring(255, L'x').c_str()));
    EXPECT_EQ(light->name().getLength(), 255);

    // The check comes first: a light open only for reading answers with the range error.
    OdDbDatabasePtr db = newDrawing();
    const OdDbObjectId id
        = OdDbBlockTableRecordPtr(db->getModelSpaceId().safeOpenObject(OdDb::kForWrite))->appendOdDbEntity(light.get());
    light = OdDbLightPtr();
    try {
        OdDbLightPtr(id.safeOpenObject())->setLampColorTemp(500.0);
        ADD_FAILURE();
    } catch (const OdError& e) {
        EXPECT_EQ(e.code(), eOutOfRange);
    }
}

TEST(LightRules, ConePairsAreJudgedByTheLight)
{
    OdDbLightPtr light = OdDbLight::createObject();
    ASSERT_TRUE(light->setHotspotAndFalloff(0.3, 0.6));
    EXPECT_FALSE(light->setHotspotAndFalloff(0.7, 0.6)); // hotspot wider than falloff
    EXPECT_FALSE(light->setHotspotAndFalloff(0.3, kPi));
    EXPECT_FALSE(light->setHotspotAndFalloff(0.0, 0.0));
    EXPECT_EQ(light->hotspotAngle(), 0.3);
    EXPECT_EQ(light->falloffAngle(), 0.6);
    // A hotspot typed as -1e-11 degrees is a hotspot of 0.
    EXPECT_TRUE(light->setHotspotAndFalloff(-1e-11 * kPi / 180.0, 160.0 * kPi / 180.0));
    EXPECT_EQ(light->hotspotAngle(), 0.0);
}

// Published values: CIE illuminant A (2856 K, x 0.44758 y 0.40745) for the locus, Mitchell
// Charity's blackbody table (CIE 1931 2 degree with Judd-Vos corrections, sRGB) for the colours.
TEST(LampColor, AgreesWithPublishedColourTemperatures)
{
    const Chromaticity a = planckianChromaticity(2856.0);
    EXPECT_NEAR(a.x, 0.44758, 5e-4);
    EXPECT_NEAR(a.y, 0.40745, 5e-4);

    struct Row {
        double kelvin;
        LampRgb linear; // the table's normalised linear channels
        int r, g, b;    // its sRGB bytes
    };
    const Row rows[] = {
        {1000, {1.0, 0.0337, 0.0}, 255, 51, 0},        {2000, {1.0, 0.2647, 0.0033}, 255, 141, 11},
        {2856, {1.0, 0.4577, 0.1152}, 255, 180, 95},   {4000, {1.0, 0.6636, 0.3583}, 255, 213, 161},
        {5000, {1.0, 0.7992, 0.6045}, 255, 231, 204},  {6500, {1.0, 0.9436, 0.9621}, 255, 249, 251},
        {10000, {0.6268, 0.7039, 1.0}, 207, 218, 255},
    };
    for (const Row& row : rows) {
        const LampRgb lin = linearRgbOf(planckianChromaticity(row.kelvin));
        EXPECT_NEAR(lin.red, row.linear.red, 0.035) << row.kelvin;
        EXPECT_NEAR(lin.green, row.linear.green, 0.035) << row.kelvin;
        EXPECT_NEAR(lin.blue, row.linear.blue, 0.035) << row.kelvin;
        const LampRgb shown = lampRgbOfKelvin(row.kelvin);
        EXPECT_NEAR(byte(shown.red), row.r, 12) << row.kelvin;
        EXPECT_NEAR(byte(shown.green), row.g, 12) << row.kelvin;
        EXPECT_NEAR(byte(shown.blue), row.b, 12) << row.kelvin;
    }
}

TEST(LampColor, LightsComputeTheirLampAndResultingColours)
{
    OdDbLightPtr light = OdDbLight::createObject();
    light->setLampColorType(OdDbLight::kPreset);
    EXPECT_EQ(light->lampColorRGB(), (LampRgb{1.0, 1.0, 1.0})); // D65 white is the sRGB white exactly
    light->setLampColorPreset(OdDbLight::kIncadescent);
    EXPECT_EQ(light->lampColorRGB(), lampRgbOfKelvin(2856.0));
    light->setLampColorPreset(OdDbLight::kCustom);
    light->setLampColorRGB({0.25, 0.5, 1.0});
    EXPECT_EQ(light->lampColorRGB(), (LampRgb{0.25, 0.5, 1.0}));

    // Kelvin overrides the preset; the colour moves from red to blue as the temperature rises.
    light->setLampColorType(OdDbLight::kKelvin);
    light->setLampColorTemp(1000.0);
    EXPECT_EQ(light->lampColorRGB().red, 1.0);
    light->setLampColorTemp(20000.0);
    EXPECT_EQ(light->lampColorRGB().blue, 1.0);

    // The filter multiplies channel by channel; an index filters with its palette colour, by
    // layer filters nothing.
    light->setLampColorTemp(4000.0);
    const LampRgb lamp = light->lampColorRGB();
    const std::pair<OdCmColor, std::array<int, 3>> filters[] = {
        {OdCmColor::byRGB(255, 255, 255), {255, byte(lamp.green), byte(lamp.blue)}},
        {OdCmColor::byIndex(5), {0, 0, byte(lamp.blue)}},
        {OdCmColor::byRGB(128, 64, 200), {128, int(std::lround(lamp.green * 64)), int(std::lround(lamp.blue * 200))}},
        {OdCmColor(), {255, byte(lamp.green), byte(lamp.blue)}},
    };
    for (const auto& [filter, expected] : filters) {
        light->setLightColor(filter);
        const OdCmColor result = light->resultingColor();
        EXPECT_TRUE(result.isByColor());
        EXPECT_EQ((std::array<int, 3>{result.red(), result.green(), result.blue()}), expected)
            << filter.description().toUtf8();
    }
}

namespace {

// A drawing with one light of each kind, every property away from its default.
class LightDrawing : public ::testing::Test {
protected:
    void SetUp() override
    {
        db = newDrawing();
        const OdGiDrawable::DrawableType types[] = {OdGiDrawable::kDistantLight, OdGiDrawable::kPointLight,
                                                    OdGiDrawable::kSpotLight, OdGiDrawable::kWebLight};
        OdDbBlockTableRecordPtr ms = db->getModelSpaceId().safeOpenObject(OdDb::kForWrite);
        for (int i = 0; i < 4; ++i) {
            OdDbLightPtr l = OdDbLight::createObject();
            l->setLightType(types[i]);
            l->setName(OdString::fromUtf8("Lampe é " + std::to_string(i)));
            l->setOn(false);
            l->setIsPlottable(true);
            l->setIntensity(2.5 + i);
            l->setPosition({1.0 + i, -2.25, 3.5});
            l->setTargetLocation({4.0, 5.0 / 3.0, -6.0});
            l->setHasTarget(true);
            l->setLightAttenuation(OdGiLightAttenuation(OdGiLightAttenuation::kInverseLinear, true, 2.0, 12.5));
            l->setHotspotAndFalloff(0.3 + 0.01 * i, 0.9);
            l->setCastShadows(false);
            l->setShadowType(OdDbLight::kShadowMaps);
            l->setShadowMapSize(1024);
            l->setShadowMapSoftness(4);
            l->setLightColor(i == 0 ? OdCmColor::byIndex(30)
                                    : OdCmColor::byRGB(10, 200, static_cast<std::uint8_t>(30 + i)));
            l->setPhysicalIntensity(1234.5 + i);
            l->setPhysicalIntensityMethod(OdDbLight::kIlluminance);
            l->setIlluminanceDistance(2.75);
            l->setLampColorType(i % 2 ? OdDbLight::kKelvin : OdDbLight::kPreset);
            l->setLampColorTemp(3210.5);
            l->setLampColorPreset(i == 2 ? OdDbLight::kCustom : OdDbLight::kXenon);
            l->setLampColorRGB({0.25, 0.5, 1.0 / 3.0});
            // A web file name longer than one extended data string holds.
            l->setWebFile(OdString::fromUtf8("/ies/" + std::string(300, 'w') + "é.ies"));
            l->setWebRotation({10.0, 20.5, 359.0});
            ids.push_back(ms->appendOdDbEntity(l.get()));
        }
        OdResBufPtr other = OdResBuf::newRb(1001, OdString(L"OTHERAPP"));
        other->setNext(OdResBuf::newRb(1000, OdString(L"kept")));
        OdDbLightPtr(ids[1].safeOpenObject(OdDb::kForWrite))->setXData(other.get());
    }

    static void expectSame(const OdDbLight::Data& a, const OdDbLight::Data& b)
    {
        auto fields = [](const OdDbLight::Data& d) {
            return std::tie(d.name, d.lightType, d.on, d.plotGlyph, d.intensity, d.position, d.targetLocation,
                            d.hasTarget, d.attenuationType, d.useAttenuationLimits, d.attenuationStartLimit,
                            d.attenuationEndLimit, d.castShadows, d.shadowType, d.shadowMapSize, d.shadowMapSoftness,
                            d.lightColor, d.physicalIntensity, d.physicalIntensityMethod, d.illuminanceDistance,
                            d.lampColorType, d.lampColorTemp, d.lampColorPreset, d.lampColorRGB, d.webFile,
                            d.webRotation);
        };
        EXPECT_TRUE(fields(a) == fields(b));
        EXPECT_DOUBLE_EQ(a.hotspotAngle, b.hotspotAngle); // degrees in the file
        EXPECT_DOUBLE_EQ(a.falloffAngle, b.falloffAngle);
    }

    OdDbLight::Data dataOf(OdDbDatabase& d, std::size_t i)
    {
        return OdDbLightPtr(d.getOdDbObjectId(ids[i].getHandle()).safeOpenObject())->data();
    }

    OdDbDatabasePtr db;
    std::vector<OdDbObjectId> ids;
};

std::string replaced(std::string text, const std::string& from, const std::string& to)
{
    const std::size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    return at == std::string::npos ? text : text.replace(at, from.size(), to);
}

} // namespace

TEST_F(LightDrawing, EveryPropertyComesBackAndTheFileIsStable)
{
    const std::string first = dxfText(*db);
    DxfReadResult back = readDxfText(first);
    ASSERT_TRUE(back.database) << back.error;
    for (std::size_t i = 0; i < ids.size(); ++i) {
        SCOPED_TRACE(i);
        expectSame(dataOf(*back.database, i), dataOf(*db, i));
    }
    EXPECT_EQ(dxfText(*back.database), first);

    OdDbSymbolTablePtr apps = back.database->getRegAppTableId().safeOpenObject();
    EXPECT_TRUE(apps->has(L"VANTREL"));
    OdDbLightPtr withOther = back.database->getOdDbObjectId(ids[1].getHandle()).safeOpenObject();
    OdResBufPtr other = withOther->xData(L"OTHERAPP");
    ASSERT_TRUE(other && other->next());
    EXPECT_EQ(other->next()->getString(), OdString(L"kept"));
    EXPECT_FALSE(withOther->xData(L"VANTREL")); // taken into the light, not kept twice
    // Other readers see a web light as the point light it is.
    EXPECT_NE(first.find("AcDbLight\n 90\n1\n  1\nLampe é 3\n 70\n2\n"), std::string::npos);
}

// A VANTREL block that is not what we write is kept as plain extended data, the light keeps
// its defaults for what the block would have set, and the next save writes the light's own.
TEST_F(LightDrawing, MalformedExtendedDataIsKeptAndIgnored)
{
    const std::string good = dxfText(*db);
    const std::string head = "1001\nVANTREL\n1070\n1\n1070\n0\n1070\n1\n1040\n1234.5\n";
    ASSERT_NE(good.find(head), std::string::npos);
    const std::vector<std::string> bad = {
        replaced(good, head, "1001\nVANTREL\n1070\n2\n1070\n0\n1070\n1\n1040\n1234.5\n"),  // another layout
        replaced(good, head, "1001\nVANTREL\n1070\n1\n1070\n0\n1070\n1\n1000\n1234.5\n"),  // wrong code
        replaced(good, head, "1001\nVANTREL\n1070\n1\n1070\n0\n1070\n1\n1040\n-1234.5\n"), // out of range
        replaced(good, head, "1001\nVANTREL\n1070\n1\n1070\n0\n1070\n1\n"),                // cut short
    };
    const OdDbLight::Data defaults = OdDbLight::createObject()->data();
    for (std::size_t k = 0; k < bad.size(); ++k) {
        SCOPED_TRACE(k);
        DxfReadResult r = readDxfText(bad[k]);
        ASSERT_TRUE(r.database) << r.error;
        OdDbLightPtr light = r.database->getOdDbObjectId(ids[0].getHandle()).safeOpenObject();
        EXPECT_EQ(light->name(), OdString::fromUtf8("Lampe é 0"));
        EXPECT_EQ(light->physicalIntensity(), defaults.physicalIntensity);
        EXPECT_EQ(light->lampColorTemp(), defaults.lampColorTemp);
        EXPECT_EQ(light->lightColor(), defaults.lightColor);
        EXPECT_TRUE(light->xData(L"VANTREL"));
        DxfReadResult again = readDxfText(dxfText(*r.database));
        ASSERT_TRUE(again.database) << again.error;
        OdDbLightPtr saved = again.database->getOdDbObjectId(ids[0].getHandle()).safeOpenObject();
        EXPECT_FALSE(saved->xData(L"VANTREL"));
        EXPECT_EQ(saved->physicalIntensity(), defaults.physicalIntensity);
    }
    // The documented codes are held to their enumerations, with the line named.
    DxfReadResult wrongType = readDxfText(
        replaced(good, "AcDbLight\n 90\n1\n  1\nLampe é 0\n 70\n1\n", "AcDbLight\n 90\n1\n  1\nLampe é 0\n 70\n7\n"));
    EXPECT_FALSE(wrongType.database);
    EXPECT_NE(wrongType.error.find("light type (70) 7"), std::string::npos) << wrongType.error;
}

TEST_F(LightDrawing, AnIndependentReaderSeesTheAttributesAndPassesItsAudit)
{
    const EzdxfCheck check = runEzdxfCheck(*db, "lights", R"(doc = ezdxf.readfile(sys.argv[1])
auditor = doc.audit()
for e in auditor.errors:
    print('audit:', e)
assert not auditor.errors
assert 'VANTREL' in doc.appids
lights = doc.modelspace().query('LIGHT')
assert [l.dxf.type for l in lights] == [1, 2, 3, 2], [l.dxf.type for l in lights]
for i, l in enumerate(lights):
    d = l.dxf
    assert d.name == 'Lampe é %d' % i, d.name
    assert d.status == 0 and d.plot_glyph == 1 and d.cast_shadows == 0 and d.shadow_type == 1
    assert d.intensity == 2.5 + i
    assert tuple(d.location) == (1.0 + i, -2.25, 3.5) and abs(d.target[1] - 5 / 3) < 1e-12
    assert d.attenuation_type == 1 and d.use_attenuation_limits == 1
    assert d.attenuation_start_limits == 2.0 and d.attenuation_end_limits == 12.5
    assert abs(d.falloff_angle - 0.9 * 180 / 3.141592653589793) < 1e-9
    assert d.shadow_map_size == 1024 and d.shadow_map_softness == 4
    x = l.get_xdata('VANTREL')
    assert x[0] == (1070, 1) and x[1] == (1070, 1 if i == 3 else 0), x[:2]
    assert x[3] == (1040, 1234.5 + i), x[3]
assert lights[1].get_xdata('OTHERAPP')[0] == (1000, 'kept')
print('ok')
)");
    EXPECT_TRUE(check.passed) << check.output;
}

namespace {

OdDbLightPtr aimedLight(OdGiDrawable::DrawableType type, const OdGePoint3d& target, bool hasTarget)
{
    OdDbLightPtr light = OdDbLight::createObject();
    light->setLightType(type);
    light->setTargetLocation(target);
    light->setHasTarget(hasTarget);
    return light;
}

RecordingDraw drawn(const OdDbLight& light)
{
    RecordingDraw draw;
    light.subWorldDraw(draw);
    return draw;
}

std::vector<OdGeVector3d> offsets(const std::vector<PathVertex>& path)
{
    std::vector<OdGeVector3d> v;
    v.reserve(path.size());
    for (const PathVertex& p : path)
        v.push_back(p.point.asVector());
    return v;
}

// Lines from the origin at +-half (degrees) about the direction at angle axis, in the plane z = 0.
void expectCone(const std::vector<OdGeVector3d>& v, double axis, double half, double length)
{
    auto at
        = [&](double deg) { return OdGeVector3d(std::cos(deg * kPi / 180), std::sin(deg * kPi / 180), 0) * length; };
    ASSERT_EQ(v.size(), 3u);
    EXPECT_TRUE(v[0].isEqualTo(at(axis + half), OdGeTol(1e-9, 1e-9)) && v[1].isZeroLength()
                && v[2].isEqualTo(at(axis - half), OdGeTol(1e-9, 1e-9)))
        << v[0].x << "," << v[0].y << "," << v[0].z << " " << v[2].x << "," << v[2].y << "," << v[2].z;
}

} // namespace

TEST(LightGlyph, SpotConesReachTheTargetSeenFromAbove)
{
    OdDbLightPtr spot = aimedLight(OdGiDrawable::kSpotLight, {10, 0, 0}, true);
    ASSERT_TRUE(spot->setHotspotAndFalloff(40 * kPi / 180, 60 * kPi / 180));
    RecordingDraw d = drawn(*spot);
    ASSERT_EQ(d.markers.size(), 1u);
    EXPECT_EQ(d.markers[0].kind, MarkerKind::SpotLight);
    ASSERT_EQ(d.paths.size(), 2u);
    expectCone(offsets(d.paths[0]), 0, 30, 10);
    expectCone(offsets(d.paths[1]), 0, 20, 6);
    OdGeExtents3d ext;
    ASSERT_EQ(spot->getGeomExtents(ext), eOk);
    EXPECT_TRUE(ext.maxPoint().isEqualTo({10 * std::cos(kPi / 6), 5, 0}) && ext.minPoint().isEqualTo({0, -5, 0}));

    // A target below: the cone lies in the light's plane and reaches the target as seen from above.
    spot->setTargetLocation({0, 10, -5});
    expectCone(offsets(drawn(*spot).paths[0]), 90, 30, 10);
    // Without a target only the direction counts: the cone is three glyphs long.
    spot->setHasTarget(false);
    d = drawn(*spot);
    ASSERT_TRUE(d.paths.empty() && d.symbols.size() == 2u);
    expectCone(d.symbols[0].offsets, 90, 30, 3);
    // Aimed straight down at a target 10 below: the circles the cones make there.
    spot->setTargetLocation({0, 0, -10});
    spot->setHasTarget(true);
    d = drawn(*spot);
    ASSERT_EQ(d.paths.size(), 2u);
    for (auto [path, half] : {std::pair{std::size_t{0}, 30.0}, std::pair{std::size_t{1}, 20.0}})
        for (const PathVertex& p : d.paths[path])
            EXPECT_NEAR(p.point.asVector().length(), 10 * std::tan(half * kPi / 180), 1e-9);
}

TEST(LightGlyph, EachKindShowsItsGlyphAndAimAndOffLightsAreGrey)
{
    RecordingDraw point = drawn(*aimedLight(OdGiDrawable::kPointLight, {3, 4, -2}, false));
    ASSERT_EQ(point.markers.size(), 1u);
    EXPECT_TRUE(point.markers[0].kind == MarkerKind::Light && point.paths.empty() && point.traits.empty());

    // A target: a line to it and a box around it.
    RecordingDraw targeted = drawn(*aimedLight(OdGiDrawable::kWebLight, {3, 4, -2}, true));
    ASSERT_TRUE(targeted.markers.size() == 1u && targeted.paths.size() == 1u && targeted.symbols.size() == 1u);
    EXPECT_EQ(targeted.markers[0].kind, MarkerKind::WebLight);
    EXPECT_EQ(offsets(targeted.paths[0]), (std::vector<OdGeVector3d>{{0, 0, 0}, {3, 4, -2}}));
    EXPECT_EQ(targeted.symbols[0].position, OdGePoint3d(3, 4, -2));

    // A distant light: an arrow to the target, its barbs pointing back; seen end on, a circle with
    // a cross when it shines down and with a dot when it shines up.
    RecordingDraw distant = drawn(*aimedLight(OdGiDrawable::kDistantLight, {10, 0, 0}, false));
    ASSERT_TRUE(distant.markers.empty() && distant.paths.size() == 1u && distant.symbols.size() == 1u);
    EXPECT_EQ(offsets(distant.paths[0]), (std::vector<OdGeVector3d>{{0, 0, 0}, {10, 0, 0}}));
    EXPECT_EQ(distant.symbols[0].position, OdGePoint3d(10, 0, 0));
    expectCone(distant.symbols[0].offsets, 180, 22.5, 0.8);
    EXPECT_EQ(drawn(*aimedLight(OdGiDrawable::kDistantLight, {0, 0, -10}, false)).symbols.size(), 3u);
    EXPECT_EQ(drawn(*aimedLight(OdGiDrawable::kDistantLight, {0, 0, 10}, false)).symbols.size(), 2u);

    OdDbLightPtr off = aimedLight(OdGiDrawable::kSpotLight, {10, 0, 0}, true);
    off->setOn(false);
    RecordingDraw grey = drawn(*off);
    ASSERT_EQ(grey.traits.size(), 1u);
    EXPECT_EQ(grey.traits[0].rgb, 0x808080u);
}
