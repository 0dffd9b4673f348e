// A light placed in the drawing: its kind, position and target, brightness, spot cone,
// attenuation, shadows, and the photometric properties (physical intensity, lamp colour,
// web distribution). Values are only checked for being finite here.
#pragma once

#include <vantrel/db/OdCmColor.h>
#include <vantrel/db/OdDbEntity.h>
#include <vantrel/db/LampRgb.h>
#include <vantrel/db/OdGiDrawable.h>
#include <vantrel/db/OdGiLightAttenuation.h>

#include <numbers>

class OdDbLight : public OdDbEntity {
    ODDB_DECLARE_MEMBERS(OdDbLight)
public:
    enum PhysicalIntensityMethod { kPeakIntensity = 0, kFlux = 1, kIlluminance = 2 };
    enum LampColorType { kKelvin = 0, kPreset = 1 };
    enum LampColorPreset {
        kD65White = 0,
        kFluorescent,
        kCoolWhite,
        kWhiteFluorescent,
        kDaylightFluorescent,
        kIncadescent,
        kXenon,
        kHalogen,
        kQuarz,
        kMetalHalide,
        kMercury,
        kPhosphorMercury,
        kHightPressureSodium,
        kLowPressureSodium,
        kCustom,
    };
    // DXF 73.
    enum ShadowType { kShadowsRayTraced = 0, kShadowMaps = 1 };

    // Positions in world coordinates, angles in radians. The first block is what DXF LIGHT
    // stores (group codes given); the photometric block is kept elsewhere in the file.
    struct Data {
        OdString name;                                                  // 1
        std::int16_t lightType = OdGiDrawable::kPointLight;             // 70 (1 distant, 2 point, 3 spot; 10 web)
        bool on = true;                                                 // 290
        bool plotGlyph = false;                                         // 291
        double intensity = 1.0;                                         // 40
        OdGePoint3d position;                                           // 10
        OdGePoint3d targetLocation{0.0, 0.0, -10.0};                    // 11
        bool hasTarget = false;
        std::int16_t attenuationType = OdGiLightAttenuation::kInverseSquare; // 72
        bool useAttenuationLimits = false;                              // 292
        double attenuationStartLimit = 1.0;                             // 41
        double attenuationEndLimit = 10.0;                              // 42
        double hotspotAngle = std::numbers::pi / 4.0;                   // 50 (degrees in DXF)
        double falloffAngle = 50.0 * std::numbers::pi / 180.0;          // 51 (degrees in DXF)
        bool castShadows = true;                                        // 293
        std::int16_t shadowType = kShadowsRayTraced;                    // 73
        std::int32_t shadowMapSize = 256;                               // 91
        std::int16_t shadowMapSoftness = 1;                             // 280
        OdCmColor lightColor = OdCmColor::byRGB(255, 255, 255);         // 63 / 421, the filter colour

        double physicalIntensity = 1500.0;
        std::int16_t physicalIntensityMethod = kPeakIntensity;
        double illuminanceDistance = 1.0;
        std::int16_t lampColorType = kPreset;
        double lampColorTemp = 6500.0;                                  // kelvin
        std::int16_t lampColorPreset = kD65White;
        vantrel::LampRgb lampColorRGB{1.0, 1.0, 1.0};
        OdString webFile;
        OdGeVector3d webRotation;                                       // about x, y and z
    };

    OdDbLight() = default;

    const OdString& name() const { assertReadEnabled(); return m_data.name; }
    void setName(const OdString& name);
    OdGiDrawable::DrawableType lightType() const;
    // Distant, point, spot or web; any other kind raises OdError(eInvalidInput).
    void setLightType(OdGiDrawable::DrawableType type);
    bool isOn() const { assertReadEnabled(); return m_data.on; }
    void setOn(bool on);
    bool isPlottable() const { assertReadEnabled(); return m_data.plotGlyph; }
    void setIsPlottable(bool plot);
    double intensity() const { assertReadEnabled(); return m_data.intensity; }
    void setIntensity(double intensity);
    OdGePoint3d position() const { assertReadEnabled(); return m_data.position; }
    void setPosition(const OdGePoint3d& position);
    OdGePoint3d targetLocation() const { assertReadEnabled(); return m_data.targetLocation; }
    void setTargetLocation(const OdGePoint3d& target);
    bool hasTarget() const { assertReadEnabled(); return m_data.hasTarget; }
    void setHasTarget(bool hasTarget);
    // From the position towards the target, unit length (zero when they coincide).
    OdGeVector3d lightDirection() const;

    OdGiLightAttenuation lightAttenuation() const;
    void setLightAttenuation(const OdGiLightAttenuation& attenuation);
    double hotspotAngle() const { assertReadEnabled(); return m_data.hotspotAngle; }
    double falloffAngle() const { assertReadEnabled(); return m_data.falloffAngle; }
    // Sets both cone angles at once; answers whether the pair was taken.
    bool setHotspotAndFalloff(double hotspot, double falloff);

    bool castShadows() const { assertReadEnabled(); return m_data.castShadows; }
    void setCastShadows(bool cast);
    ShadowType shadowType() const;
    void setShadowType(ShadowType type);
    std::int32_t shadowMapSize() const { assertReadEnabled(); return m_data.shadowMapSize; }
    void setShadowMapSize(std::int32_t size);
    std::int16_t shadowMapSoftness() const { assertReadEnabled(); return m_data.shadowMapSoftness; }
    void setShadowMapSoftness(std::int16_t softness);

    const OdCmColor& lightColor() const { assertReadEnabled(); return m_data.lightColor; }
    void setLightColor(const OdCmColor& color);

    double physicalIntensity() const { assertReadEnabled(); return m_data.physicalIntensity; }
    void setPhysicalIntensity(double intensity);
    PhysicalIntensityMethod physicalIntensityMethod() const;
    void setPhysicalIntensityMethod(PhysicalIntensityMethod method);
    double illuminanceDistance() const { assertReadEnabled(); return m_data.illuminanceDistance; }
    void setIlluminanceDistance(double distance);
    LampColorType lampColorType() const;
    void setLampColorType(LampColorType type);
    double lampColorTemp() const { assertReadEnabled(); return m_data.lampColorTemp; }
    void setLampColorTemp(double kelvin);
    LampColorPreset lampColorPreset() const;
    void setLampColorPreset(LampColorPreset preset);
    const vantrel::LampRgb& lampColorRGB() const { assertReadEnabled(); return m_data.lampColorRGB; }
    void setLampColorRGB(const vantrel::LampRgb& color);
    const OdString& webFile() const { assertReadEnabled(); return m_data.webFile; }
    void setWebFile(const OdString& file);
    OdGeVector3d webRotation() const { assertReadEnabled(); return m_data.webRotation; }
    void setWebRotation(const OdGeVector3d& rotation);

    const Data& data() const { assertReadEnabled(); return m_data; }
    Data& dataForWrite() { assertWriteEnabled(); return m_data; }

    // Moves the position and the target; the cone angles and intensities stay.
    void transformBy(const OdGeMatrix3d& xform) override;
    // A light glyph at the position, of the sink's default size.
    void subWorldDraw(vantrel::WorldDraw& wd) const override;

private:
    Data m_data;
};
using OdDbLightPtr = OdSmartPtr<OdDbLight>;
