// Light entity: the stored light and photometric properties, the checks on their values, the
// lamp and resulting colours computed from them, and the glyph that shows the light's kind and aim.
#include <vantrel/db/OdDbLight.h>

#include <algorithm>
#include <cmath>
#include <span>
#include <string>
#include <vector>

#include <vantrel/db/lamp_color.h>

#include "entity_math.h"

using namespace vantrel::entmath;

ODRX_DEFINE_MEMBERS(OdDbLight, OdDbEntity, "LIGHT")

namespace {

constexpr double kTolerance = 1e-10;

[[noreturn]] void outOfRange(const char* what, double value, const char* range)
{
    throw OdError(eOutOfRange, std::string(what) + " " + std::to_string(value) + " is outside " + range);
}

// A finite value of at least low, a value within the tolerance below it taken as low.
double atLeast(double value, double low, const char* what)
{
    requireFinite(value, what);
    if (value < low - kTolerance)
        outOfRange(what, value, ("[" + std::to_string(low) + ", inf)").c_str());
    return std::max(value, low);
}

// What each preset's lamp is taken to be: a black body at a temperature, or a published
// chromaticity (CIE 15:2004 illuminants, ISO 7589 photographic sources, the spectral locus).
vantrel::LampRgb presetLampRgb(OdDbLight::LampColorPreset preset)
{
    using vantrel::Chromaticity;
    switch (preset) {
    case OdDbLight::kD65White: return vantrel::lampRgbOf(vantrel::kSrgbWhite);
    case OdDbLight::kFluorescent: return vantrel::lampRgbOf(Chromaticity{0.4402, 0.4031});      // CIE FL4, warm white
    case OdDbLight::kCoolWhite: return vantrel::lampRgbOf(Chromaticity{0.3721, 0.3751});        // CIE FL2
    case OdDbLight::kWhiteFluorescent: return vantrel::lampRgbOf(Chromaticity{0.4091, 0.3941}); // CIE FL3
    case OdDbLight::kDaylightFluorescent: return vantrel::lampRgbOf(Chromaticity{0.3131, 0.3371}); // CIE FL1
    case OdDbLight::kIncadescent: return vantrel::lampRgbOfKelvin(2856.0);                         // CIE A
    case OdDbLight::kXenon: return vantrel::lampRgbOfKelvin(6000.0);
    case OdDbLight::kHalogen: return vantrel::lampRgbOf(Chromaticity{0.43094, 0.40359});   // ISO 7589 studio tungsten
    case OdDbLight::kQuarz: return vantrel::lampRgbOf(Chromaticity{0.41115, 0.39372});     // ISO 7589 photoflood
    case OdDbLight::kMetalHalide: return vantrel::lampRgbOf(Chromaticity{0.3812, 0.3797}); // CIE HP4
    case OdDbLight::kMercury: return vantrel::lampRgbOfKelvin(5900.0);                     // clear
    case OdDbLight::kPhosphorMercury: return vantrel::lampRgbOfKelvin(3900.0);             // deluxe white
    case OdDbLight::kHightPressureSodium: return vantrel::lampRgbOf(Chromaticity{0.5330, 0.4150}); // CIE HP1
    case OdDbLight::kLowPressureSodium: return vantrel::lampRgbOf(Chromaticity{0.57515, 0.42423}); // 590 nm
    case OdDbLight::kCustom: break;
    }
    throw OdError(eInvalidInput, "the custom lamp colour has no preset colour");
}

// The glyphs. Every sink shows the drawing from above, so a cone or an arrowhead that shows where
// a light points is drawn in the XY plane through the light, or through its target.
constexpr std::uint32_t kOffColour = 0x808080;
// In glyph sizes: how far the cone of a spot without a target reaches, the arrowhead's barbs.
constexpr double kFreeConeLength = 3.0;
constexpr double kBarbLength = 0.8;
constexpr double kBarbAngle = std::numbers::pi / 8.0;
constexpr double kEndOnRadius = 0.5;
constexpr double kTargetBox = 0.5; // half the side
// The hotspot lines are this share of the falloff lines, so that the two cones stay apart.
constexpr double kHotspotShare = 0.6;
constexpr int kCircleSteps = 48;

// Lines around an origin, in drawing units or in glyph sizes (then scaled by the sink with the glyph).
class Symbol {
public:
    Symbol(vantrel::WorldDraw& wd, const OdGePoint3d& origin, bool inGlyphSizes)
        : m_wd(wd), m_origin(origin), m_inGlyphSizes(inGlyphSizes)
    {
    }

    void polyline(std::span<const OdGeVector3d> offsets) const
    {
        if (m_inGlyphSizes) {
            m_wd.markerPolyline(m_origin, offsets, 0.0);
            return;
        }
        std::vector<vantrel::PathVertex> vertices;
        for (const OdGeVector3d& offset : offsets)
            vertices.push_back({m_origin + offset});
        m_wd.path(vertices, false, OdGeVector3d::kZAxis);
    }

    // Two lines from the origin at +-halfAngle about the unit axis.
    void cone(const OdGeVector3d& axis, double halfAngle, double length) const
    {
        OdGeVector3d left = axis * length, right = axis * length;
        left.rotateBy(halfAngle, OdGeVector3d::kZAxis);
        right.rotateBy(-halfAngle, OdGeVector3d::kZAxis);
        const OdGeVector3d lines[] = {left, OdGeVector3d(), right};
        polyline(lines);
    }

    void circle(double radius) const
    {
        if (!(radius > 0.0))
            return;
        std::vector<OdGeVector3d> points;
        for (int k = 0; k <= kCircleSteps; ++k) {
            double t = kTwoPi * k / kCircleSteps;
            points.emplace_back(radius * std::cos(t), radius * std::sin(t), 0.0);
        }
        polyline(points);
    }

private:
    vantrel::WorldDraw& m_wd;
    OdGePoint3d m_origin;
    bool m_inGlyphSizes;
};

// The falloff cone and, shorter, the hotspot cone, reaching the target when the spot has one. A
// spot aimed straight up or down shows the circles its cones make at that reach.
void drawSpotCone(vantrel::WorldDraw& wd, const OdGePoint3d& position, const OdGeVector3d& toTarget, bool hasTarget,
                  double hotspot, double falloff)
{
    if (toTarget.isZeroLength())
        return;
    const Symbol symbol(wd, position, !hasTarget);
    if (toTarget.isParallelTo(OdGeVector3d::kZAxis)) {
        double reach = hasTarget ? toTarget.length() : kFreeConeLength;
        symbol.circle(reach * std::tan(falloff / 2.0));
        symbol.circle(reach * std::tan(hotspot / 2.0));
        return;
    }
    const OdGeVector3d inView(toTarget.x, toTarget.y, 0.0);
    double reach = hasTarget ? inView.length() : kFreeConeLength;
    symbol.cone(inView.normal(), falloff / 2.0, reach);
    symbol.cone(inView.normal(), hotspot / 2.0, reach * kHotspotShare);
}

// A line to the target and a box on it: seen from above, a target straight below the light is
// only the box around the glyph.
void drawTarget(vantrel::WorldDraw& wd, const OdGePoint3d& position, const OdGePoint3d& target)
{
    if (!target.isEqualTo(position)) {
        const OdGeVector3d line[] = {OdGeVector3d(), target - position};
        Symbol(wd, position, false).polyline(line);
    }
    const double b = kTargetBox;
    const OdGeVector3d box[] = {{-b, -b, 0.0}, {b, -b, 0.0}, {b, b, 0.0}, {-b, b, 0.0}, {-b, -b, 0.0}};
    Symbol(wd, target, true).polyline(box);
}

// An arrow from the position to the target; seen end on, a circle with the arrow's tail (a cross)
// when the light shines down and its point (a dot) when it shines up.
void drawDistantArrow(vantrel::WorldDraw& wd, const OdGePoint3d& position, const OdGeVector3d& toTarget)
{
    const Symbol end(wd, position, true);
    if (toTarget.isZeroLength()) {
        end.circle(kEndOnRadius);
        return;
    }
    if (toTarget.isParallelTo(OdGeVector3d::kZAxis)) {
        end.circle(kEndOnRadius);
        if (toTarget.z > 0.0) {
            end.circle(kEndOnRadius / 5.0);
            return;
        }
        double d = kEndOnRadius * std::numbers::sqrt2 / 2.0;
        const OdGeVector3d one[] = {{-d, -d, 0.0}, {d, d, 0.0}}, other[] = {{-d, d, 0.0}, {d, -d, 0.0}};
        end.polyline(one);
        end.polyline(other);
        return;
    }
    const Symbol shaft(wd, position, false);
    const OdGeVector3d line[] = {OdGeVector3d(), toTarget};
    shaft.polyline(line);
    const OdGeVector3d back = -OdGeVector3d(toTarget.x, toTarget.y, 0.0).normal();
    Symbol(wd, position + toTarget, true).cone(back, kBarbAngle, kBarbLength);
}

} // namespace

void OdDbLight::setName(const OdString& name)
{
    if (name.getLength() > static_cast<int>(kMaxNameLength))
        throw OdError(eOutOfRange, "a light name has at most " + std::to_string(kMaxNameLength) + " characters");
    assertWriteEnabled();
    m_data.name = name;
}

OdGiDrawable::DrawableType OdDbLight::lightType() const
{
    assertReadEnabled();
    return static_cast<OdGiDrawable::DrawableType>(m_data.lightType);
}

void OdDbLight::setLightType(OdGiDrawable::DrawableType type)
{
    if (type != OdGiDrawable::kDistantLight && type != OdGiDrawable::kPointLight && type != OdGiDrawable::kSpotLight
        && type != OdGiDrawable::kWebLight)
        throw OdError(eInvalidInput, "a light is distant, point, spot or web");
    assertWriteEnabled();
    m_data.lightType = static_cast<std::int16_t>(type);
}

void OdDbLight::setOn(bool on)
{
    assertWriteEnabled();
    m_data.on = on;
}

void OdDbLight::setIsPlottable(bool plot)
{
    assertWriteEnabled();
    m_data.plotGlyph = plot;
}

void OdDbLight::setIntensity(double intensity)
{
    intensity = atLeast(intensity, 0.0, "an intensity");
    assertWriteEnabled();
    m_data.intensity = intensity;
}

void OdDbLight::setPosition(const OdGePoint3d& position)
{
    requireFinite(position, "a light position");
    assertWriteEnabled();
    m_data.position = position;
}

void OdDbLight::setTargetLocation(const OdGePoint3d& target)
{
    requireFinite(target, "a target location");
    assertWriteEnabled();
    m_data.targetLocation = target;
}

void OdDbLight::setHasTarget(bool hasTarget)
{
    assertWriteEnabled();
    m_data.hasTarget = hasTarget;
}

OdGeVector3d OdDbLight::lightDirection() const
{
    assertReadEnabled();
    return (m_data.targetLocation - m_data.position).normal();
}

OdGiLightAttenuation OdDbLight::lightAttenuation() const
{
    assertReadEnabled();
    return OdGiLightAttenuation(static_cast<OdGiLightAttenuation::AttenuationType>(m_data.attenuationType),
                                m_data.useAttenuationLimits, m_data.attenuationStartLimit, m_data.attenuationEndLimit);
}

void OdDbLight::setLightAttenuation(const OdGiLightAttenuation& a)
{
    if (a.attenuationType() < OdGiLightAttenuation::kNone || a.attenuationType() > OdGiLightAttenuation::kInverseSquare)
        throw OdError(eInvalidInput, "unknown attenuation type");
    requireFinite(a.startLimit(), "an attenuation start limit");
    requireFinite(a.endLimit(), "an attenuation end limit");
    assertWriteEnabled();
    m_data.attenuationType = static_cast<std::int16_t>(a.attenuationType());
    m_data.useAttenuationLimits = a.useLimits();
    m_data.attenuationStartLimit = a.startLimit();
    m_data.attenuationEndLimit = a.endLimit();
}

bool OdDbLight::setHotspotAndFalloff(double hotspot, double falloff)
{
    requireFinite(hotspot, "a hotspot angle");
    requireFinite(falloff, "a falloff angle");
    if (hotspot < -kTolerance || falloff <= 0.0 || falloff >= std::numbers::pi || hotspot > falloff + kTolerance)
        return false;
    hotspot = std::clamp(hotspot, 0.0, falloff);
    assertWriteEnabled();
    m_data.hotspotAngle = hotspot;
    m_data.falloffAngle = falloff;
    return true;
}

void OdDbLight::setCastShadows(bool cast)
{
    assertWriteEnabled();
    m_data.castShadows = cast;
}

OdDbLight::ShadowType OdDbLight::shadowType() const
{
    assertReadEnabled();
    return static_cast<ShadowType>(m_data.shadowType);
}

void OdDbLight::setShadowType(ShadowType type)
{
    if (type != kShadowsRayTraced && type != kShadowMaps)
        throw OdError(eInvalidInput, "unknown shadow type");
    assertWriteEnabled();
    m_data.shadowType = static_cast<std::int16_t>(type);
}

void OdDbLight::setShadowMapSize(std::int32_t size)
{
    if (size < 1)
        outOfRange("a shadow map size", size, "[1, inf)");
    assertWriteEnabled();
    m_data.shadowMapSize = size;
}

void OdDbLight::setShadowMapSoftness(std::int16_t softness)
{
    if (softness < 0)
        outOfRange("a shadow map softness", softness, "[0, inf)");
    assertWriteEnabled();
    m_data.shadowMapSoftness = softness;
}

void OdDbLight::setLightColor(const OdCmColor& color)
{
    assertWriteEnabled();
    m_data.lightColor = color;
}

void OdDbLight::setPhysicalIntensity(double intensity)
{
    intensity = atLeast(intensity, 0.0, "a physical intensity");
    assertWriteEnabled();
    m_data.physicalIntensity = intensity;
}

OdDbLight::PhysicalIntensityMethod OdDbLight::physicalIntensityMethod() const
{
    assertReadEnabled();
    return static_cast<PhysicalIntensityMethod>(m_data.physicalIntensityMethod);
}

void OdDbLight::setPhysicalIntensityMethod(PhysicalIntensityMethod method)
{
    if (method < kPeakIntensity || method > kIlluminance)
        throw OdError(eInvalidInput, "unknown physical intensity method");
    assertWriteEnabled();
    m_data.physicalIntensityMethod = static_cast<std::int16_t>(method);
}

void OdDbLight::setIlluminanceDistance(double distance)
{
    requireFinite(distance, "an illuminance distance");
    if (distance <= 0.0)
        outOfRange("an illuminance distance", distance, "(0, inf)");
    assertWriteEnabled();
    m_data.illuminanceDistance = distance;
}

OdDbLight::LampColorType OdDbLight::lampColorType() const
{
    assertReadEnabled();
    return static_cast<LampColorType>(m_data.lampColorType);
}

void OdDbLight::setLampColorType(LampColorType type)
{
    if (type != kKelvin && type != kPreset)
        throw OdError(eInvalidInput, "unknown lamp colour type");
    assertWriteEnabled();
    m_data.lampColorType = static_cast<std::int16_t>(type);
}

void OdDbLight::setLampColorTemp(double kelvin)
{
    requireFinite(kelvin, "a lamp colour temperature");
    if (kelvin < kMinLampColorTemp - kTolerance || kelvin > kMaxLampColorTemp + kTolerance)
        outOfRange("a lamp colour temperature", kelvin, "[1000, 20000] kelvin");
    kelvin = std::clamp(kelvin, kMinLampColorTemp, kMaxLampColorTemp);
    assertWriteEnabled();
    m_data.lampColorTemp = kelvin;
}

OdDbLight::LampColorPreset OdDbLight::lampColorPreset() const
{
    assertReadEnabled();
    return static_cast<LampColorPreset>(m_data.lampColorPreset);
}

void OdDbLight::setLampColorPreset(LampColorPreset preset)
{
    if (preset < kD65White || preset > kCustom)
        throw OdError(eInvalidInput, "unknown lamp colour preset");
    assertWriteEnabled();
    m_data.lampColorPreset = static_cast<std::int16_t>(preset);
}

vantrel::LampRgb OdDbLight::lampColorRGB() const
{
    assertReadEnabled();
    if (m_data.lampColorType == kKelvin)
        return vantrel::lampRgbOfKelvin(m_data.lampColorTemp);
    if (m_data.lampColorPreset == kCustom)
        return m_data.lampColorRGB;
    return presetLampRgb(static_cast<LampColorPreset>(m_data.lampColorPreset));
}

void OdDbLight::setLampColorRGB(const vantrel::LampRgb& color)
{
    double channels[3] = {color.red, color.green, color.blue};
    for (double& c : channels) {
        requireFinite(c, "a lamp colour channel");
        if (c < -kTolerance || c > 1.0 + kTolerance)
            outOfRange("a lamp colour channel", c, "[0, 1]");
        c = std::clamp(c, 0.0, 1.0);
    }
    assertWriteEnabled();
    m_data.lampColorRGB = vantrel::LampRgb{channels[0], channels[1], channels[2]};
}

OdCmColor OdDbLight::resultingColor() const
{
    const vantrel::LampRgb lamp = lampColorRGB();
    const OdCmColor& filter = m_data.lightColor;
    auto channel = [](double lampChannel, std::uint8_t filterChannel) {
        return static_cast<std::uint8_t>(std::lround(lampChannel * filterChannel));
    };
    return OdCmColor::byRGB(channel(lamp.red, filter.red()), channel(lamp.green, filter.green()),
                            channel(lamp.blue, filter.blue()));
}

void OdDbLight::setWebFile(const OdString& file)
{
    assertWriteEnabled();
    m_data.webFile = file;
}

void OdDbLight::setWebRotation(const OdGeVector3d& rotation)
{
    requireFinite(rotation, "a web rotation");
    assertWriteEnabled();
    m_data.webRotation = rotation;
}

void OdDbLight::transformBy(const OdGeMatrix3d& xform)
{
    requireInvertible(xform);
    OdGePoint3d p = m_data.position, t = m_data.targetLocation;
    p.transformBy(xform);
    t.transformBy(xform);
    assertWriteEnabled();
    m_data.position = p;
    m_data.targetLocation = t;
}

void OdDbLight::subWorldDraw(vantrel::WorldDraw& wd) const
{
    assertReadEnabled();
    if (!m_data.on) {
        vantrel::DrawTraits off;
        off.rgb = kOffColour;
        wd.setTraits(off);
    }
    const OdGePoint3d& position = m_data.position;
    const OdGeVector3d toTarget = m_data.targetLocation - position;
    switch (lightType()) {
    case OdGiDrawable::kDistantLight: drawDistantArrow(wd, position, toTarget); return;
    case OdGiDrawable::kSpotLight:
        wd.marker(position, vantrel::MarkerKind::SpotLight, 0.0);
        drawSpotCone(wd, position, toTarget, m_data.hasTarget, m_data.hotspotAngle, m_data.falloffAngle);
        return;
    case OdGiDrawable::kWebLight: wd.marker(position, vantrel::MarkerKind::WebLight, 0.0); break;
    default: wd.marker(position, vantrel::MarkerKind::Light, 0.0); break;
    }
    if (m_data.hasTarget)
        drawTarget(wd, position, m_data.targetLocation);
}
