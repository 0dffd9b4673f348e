// Tests of the solid, text, viewport and light entities: stored data in DXF form, what they
// draw, index and value checks, and transformations.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <numbers>

#include <vantrel/db/OdDbLight.h>
#include <vantrel/db/OdDbSolid.h>
#include <vantrel/db/OdDbText.h>
#include <vantrel/db/OdDbViewport.h>
#include <vantrel/ge/OdGePlane.h>

#include "RecordingDraw.h"

namespace {
constexpr double kPi = std::numbers::pi;
constexpr double kTol = 1e-9;

bool near(const OdGePoint3d& a, const OdGePoint3d& b) { return a.distanceTo(b) < kTol; }
} // namespace

TEST(OdDbSolid, KeepsCornersInItsOcsAndDrawsThemInSolidOrder)
{
    OdDbSolidPtr solid = OdDbSolid::createObject();
    solid->setNormal({0, 0, -1});
    const OdGePoint3d corners[4] = {{0, 0, 2}, {4, 0, 2}, {0, 3, 2}, {4, 3, 2}};
    for (int i = 0; i < 4; ++i)
        solid->setPointAt(i, corners[i]);
    OdGePoint3d p;
    solid->getPointAt(1, p);
    EXPECT_TRUE(near(p, corners[1]));
    // The OCS of -Z mirrors X and Z: DXF stores (-4, 0, -2).
    EXPECT_TRUE(near(solid->data().ocsCorners[1], {-4, 0, -2}));

    RecordingDraw draw;
    solid->subWorldDraw(draw);
    ASSERT_EQ(draw.polygons.size(), 1u);
    ASSERT_EQ(draw.polygons[0].size(), 4u);
    EXPECT_TRUE(draw.filled[0]);
    EXPECT_TRUE(near(draw.polygons[0][0], corners[0]));
    EXPECT_TRUE(near(draw.polygons[0][1], corners[1]));
    EXPECT_TRUE(near(draw.polygons[0][2], corners[3]));
    EXPECT_TRUE(near(draw.polygons[0][3], corners[2]));

    EXPECT_THROW(solid->setPointAt(4, {}), OdError_InvalidIndex);
    EXPECT_THROW(solid->setPointAt(-1, {}), OdError_InvalidIndex);
    EXPECT_THROW(solid->getPointAt(4, p), OdError_InvalidIndex);

    solid->transformBy(OdGeMatrix3d::rotation(kPi / 2, {1, 0, 0}));
    solid->getPointAt(3, p);
    EXPECT_TRUE(near(p, {4, -2, 3}));
    EXPECT_TRUE(solid->normal().isEqualTo({0, 1, 0}));
}

TEST(OdDbText, PlacesByJustificationAndTransforms)
{
    OdDbTextPtr text = OdDbText::createObject();
    text->setTextString(L"ABCD");
    text->setHeight(2);
    text->setPosition({1, 1, 0});
    text->setRotation(kPi / 2);

    RecordingDraw draw;
    text->subWorldDraw(draw);
    ASSERT_EQ(draw.texts.size(), 1u);
    EXPECT_TRUE(near(draw.texts[0].origin, {1, 1, 0}));
    EXPECT_TRUE(draw.texts[0].advance.isEqualTo({0, 1, 0}));
    EXPECT_EQ(draw.texts[0].height, 2);

    // Right justified: the run the font measures ends at the alignment point.
    text->setRotation(0);
    text->setHorizontalMode(OdDb::kTextRight);
    text->setAlignmentPoint({10, 0, 0});
    draw = RecordingDraw();
    text->subWorldDraw(draw);
    EXPECT_TRUE(near(draw.texts[0].origin + draw.texts[0].advance * draw.texts[0].width, {10, 0, 0}));

    // Scaling grows the height; a mirror sets the text backwards and keeps it upright.
    text->transformBy(OdGeMatrix3d::scaling(2));
    EXPECT_NEAR(text->height(), 4, kTol);
    EXPECT_NEAR(text->widthFactor(), 1, kTol);
    EXPECT_TRUE(near(text->alignmentPoint(), {20, 0, 0}));
    text->transformBy(OdGeMatrix3d::mirroring(OdGePlane({0, 0, 0}, {1, 0, 0})));
    EXPECT_TRUE(text->isMirroredInX());
    EXPECT_FALSE(text->isMirroredInY());
    EXPECT_NEAR(text->rotation(), 0, kTol);
    EXPECT_NEAR(text->height(), 4, kTol);
    EXPECT_TRUE(text->normal().isEqualTo({0, 0, 1}));
    // Mirrored back it reads forwards again.
    text->transformBy(OdGeMatrix3d::mirroring(OdGePlane({0, 0, 0}, {1, 0, 0})));
    EXPECT_FALSE(text->isMirroredInX());

    // A stretch along the baseline widens the glyphs rather than the height.
    OdGeMatrix3d stretch;
    stretch.entry[0][0] = 3;
    text->transformBy(stretch);
    EXPECT_NEAR(text->widthFactor(), 3, kTol);
    EXPECT_NEAR(text->height(), 4, kTol);

    EXPECT_THROW(text->setHeight(0), OdError);
    EXPECT_THROW(text->setOblique(kPi / 2), OdError);
    EXPECT_THROW(text->setHorizontalMode(static_cast<OdDb::TextHorzMode>(7)), OdError);
}

TEST(OdDbViewport, NumbersStatusAndBorder)
{
    OdDbViewportPtr vp = OdDbViewport::createObject();
    vp->setNumber(2);
    vp->setCenterPoint({100, 50, 0});
    vp->setWidth(40);
    vp->setHeight(20);
    vp->setViewHeight(200);
    EXPECT_FALSE(vp->isOn());
    vp->setOn();
    EXPECT_TRUE(vp->isOn());
    vp->setOff();
    EXPECT_FALSE(vp->isOn());
    EXPECT_EQ(vp->status(), 0);
    EXPECT_THROW(vp->setNumber(0), OdError);

    RecordingDraw draw;
    vp->subWorldDraw(draw);
    ASSERT_EQ(draw.polygons.size(), 1u);
    EXPECT_TRUE(near(draw.polygons[0][0], {80, 40, 0}));
    EXPECT_TRUE(near(draw.polygons[0][2], {120, 60, 0}));

    // Scaled on the sheet, the window grows and the model shows at the same scale.
    vp->transformBy(OdGeMatrix3d::scaling(2, {100, 50, 0}));
    EXPECT_EQ(vp->width(), 80);
    EXPECT_EQ(vp->height() / vp->viewHeight(), 20.0 / 200.0);
    EXPECT_THROW(vp->transformBy(OdGeMatrix3d::rotation(0.3, OdGeVector3d::kZAxis)), OdError);

    vp->setNumber(1);
    draw = RecordingDraw();
    vp->subWorldDraw(draw);
    EXPECT_TRUE(draw.polygons.empty());
}

TEST(OdDbLight, StoresEveryPropertyAndRefusesNonFiniteValues)
{
    OdDbLightPtr light = OdDbLight::createObject();
    light->setLightType(OdGiDrawable::kWebLight);
    EXPECT_EQ(light->lightType(), OdGiDrawable::kWebLight);
    EXPECT_THROW(light->setLightType(OdGiDrawable::kGeometry), OdError);
    light->setLightType(OdGiDrawable::kSpotLight);
    EXPECT_EQ(light->data().lightType, 3);

    light->setPosition({1, 2, 3});
    light->setTargetLocation({1, 2, -7});
    EXPECT_TRUE(light->lightDirection().isEqualTo({0, 0, -1}));
    EXPECT_TRUE(light->setHotspotAndFalloff(0.5, 0.7));
    EXPECT_EQ(light->hotspotAngle(), 0.5);
    EXPECT_EQ(light->falloffAngle(), 0.7);
    const OdGiLightAttenuation att(OdGiLightAttenuation::kInverseLinear, true, 2, 12);
    light->setLightAttenuation(att);
    EXPECT_EQ(light->lightAttenuation(), att);
    light->setPhysicalIntensityMethod(OdDbLight::kIlluminance);
    EXPECT_EQ(light->data().physicalIntensityMethod, 2);
    light->setLampColorType(OdDbLight::kKelvin);
    light->setLampColorPreset(OdDbLight::kXenon);
    EXPECT_EQ(light->data().lampColorPreset, 6);
    EXPECT_EQ(light->data().lampColorType, 0);
    light->setLightColor(OdCmColor::byRGB(10, 20, 30));
    EXPECT_EQ(light->lightColor().rgb(), 0x0A141Eu);
    light->setWebRotation({10, 20, 30});
    EXPECT_TRUE(light->webRotation().isEqualTo({10, 20, 30}));

    const double bad[] = {std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity(),
                          -std::numeric_limits<double>::infinity()};
    const std::vector<std::function<void(OdDbLight&, double)>> setters = {
        [](OdDbLight& l, double v) { l.setIntensity(v); },
        [](OdDbLight& l, double v) { l.setPhysicalIntensity(v); },
        [](OdDbLight& l, double v) { l.setIlluminanceDistance(v); },
        [](OdDbLight& l, double v) { l.setLampColorTemp(v); },
        [](OdDbLight& l, double v) { l.setHotspotAndFalloff(v, 0.5); },
        [](OdDbLight& l, double v) { l.setHotspotAndFalloff(0.5, v); },
        [](OdDbLight& l, double v) {
            l.setPosition({0, v, 0});
        },
        [](OdDbLight& l, double v) {
            l.setTargetLocation({0, 0, v});
        },
        [](OdDbLight& l, double v) {
            l.setWebRotation({v, 0, 0});
        },
        [](OdDbLight& l, double v) {
            l.setLampColorRGB({v, 0, 0});
        },
        [](OdDbLight& l, double v) {
            l.setLightAttenuation(OdGiLightAttenuation(OdGiLightAttenuation::kNone, false, v, 1));
        },
    };
    const OdDbLight::Data before = light->data();
    for (std::size_t i = 0; i < setters.size(); ++i) {
        for (double v : bad) {
            try {
                setters[i](*light, v);
                ADD_FAILURE() << "setter " << i << " took " << v;
            } catch (const OdError& e) {
                EXPECT_EQ(e.code(), eInvalidInput) << i;
            }
        }
    }
    EXPECT_EQ(light->intensity(), before.intensity);
    EXPECT_TRUE(near(light->position(), before.position));
    EXPECT_EQ(light->lightAttenuation(), att);

    RecordingDraw draw;
    light->subWorldDraw(draw);
    ASSERT_EQ(draw.markers.size(), 1u);
    EXPECT_TRUE(near(draw.markers[0].position, {1, 2, 3}));
    EXPECT_EQ(draw.markers[0].kind, vantrel::MarkerKind::SpotLight);

    light->transformBy(OdGeMatrix3d::translation({1, 0, 0}));
    EXPECT_TRUE(near(light->targetLocation(), {2, 2, -7}));
}
