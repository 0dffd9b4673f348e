// Light entity: the stored light and photometric properties with finite-value checks.
#include <vantrel/db/OdDbLight.h>

#include "entity_math.h"

using namespace vantrel::entmath;

ODRX_DEFINE_MEMBERS(OdDbLight, OdDbEntity, "LIGHT")

void OdDbLight::setName(const OdString& name)
{
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
    requireFinite(intensity, "an intensity");
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
    assertWriteEnabled();
    m_data.shadowMapSize = size;
}

void OdDbLight::setShadowMapSoftness(std::int16_t softness)
{
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
    requireFinite(intensity, "a physical intensity");
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

void OdDbLight::setLampColorRGB(const vantrel::LampRgb& color)
{
    requireFinite(color.red, "a lamp colour");
    requireFinite(color.green, "a lamp colour");
    requireFinite(color.blue, "a lamp colour");
    assertWriteEnabled();
    m_data.lampColorRGB = color;
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
    wd.marker(m_data.position, vantrel::MarkerKind::Light, 0.0);
}
