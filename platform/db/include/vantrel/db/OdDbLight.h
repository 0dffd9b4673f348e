// A light placed in the drawing: its kind, position and target, brightness, spot cone,
// attenuation, shadows, and the photometric properties (physical intensity, lamp colour,
// web distribution). Setters refuse values outside the ranges below before changing anything.
#pragma once

#include <vantrel/db/OdCmColor.h>
#include <vantrel/db/OdDbEntity.h>
#include <vantrel/db/LampRgb.h>
#include <vantrel/db/OdGiDrawable.h>
#include <vantrel/db/OdGiLightAttenuation.h>
#include <vantrel/db/OdDbExport.h>

#include <cstddef>
#include <numbers>

class VANTREL_DB_EXPORT OdDbLight : public OdDbEntity {
    ODDB_DECLARE_MEMBERS(OdDbLight)
public:
    // Enumerations with a fixed type: any number read from a file is a value that the setters can
    // check and refuse.
    enum PhysicalIntensityMethod : int { kPeakIntensity = 0, kFlux = 1, kIlluminance = 2 };
    enum LampColorType : int { kKelvin = 0, kPreset = 1 };
    enum LampColorPreset : int {
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
    enum ShadowType : int { kShadowsRayTraced = 0, kShadowMaps = 1 };

    // Positions in world coordinates, angles in radians. The first block is what DXF LIGHT
    // stores (group codes given; a web light is written as a point light); the rest has no
    // group code and travels in the extended data of the application VANTREL (docs/lights.md).
    struct Data {
        std::int32_t version = 1;                                            // 90, the record's layout
        OdString name;                                                       // 1
        std::int16_t lightType = OdGiDrawable::kPointLight;                  // 70 (1 distant, 2 point, 3 spot; 10 web)
        bool on = true;                                                      // 290
        bool plotGlyph = false;                                              // 291
        double intensity = 1.0;                                              // 40
        OdGePoint3d position;                                                // 10
        OdGePoint3d targetLocation{0.0, 0.0, -10.0};                         // 11
        bool hasTarget = false;                                              // extended data
        std::int16_t attenuationType = OdGiLightAttenuation::kInverseSquare; // 72
        bool useAttenuationLimits = false;                                   // 292
        double attenuationStartLimit = 1.0;                                  // 41
        double attenuationEndLimit = 10.0;                                   // 42
        double hotspotAngle = std::numbers::pi / 4.0;                        // 50 (degrees in DXF)
        double falloffAngle = 50.0 * std::numbers::pi / 180.0;               // 51 (degrees in DXF)
        bool castShadows = true;                                             // 293
        std::int16_t shadowType = kShadowsRayTraced;                         // 73
        std::int32_t shadowMapSize = 256;                                    // 91
        std::int16_t shadowMapSoftness = 1;                                  // 280

        OdCmColor lightColor = OdCmColor::byRGB(255, 255, 255); // the filter colour

        double physicalIntensity = 1500.0;
        std::int16_t physicalIntensityMethod = kPeakIntensity;
        double illuminanceDistance = 1.0;
        std::int16_t lampColorType = kPreset;
        double lampColorTemp = 6500.0; // kelvin
        std::int16_t lampColorPreset = kD65White;
        vantrel::LampRgb lampColorRGB{1.0, 1.0, 1.0}; // the kCustom preset's colour
        OdString webFile;
        OdGeVector3d webRotation; // degrees about x, y and z
    };

    OdDbLight() = default;

    // Every setter checks its value before the object is opened for write, so a refused value
    // changes nothing: a NaN or infinite number or an unknown enumeration value raises
    // OdError(eInvalidInput), a finite number outside its range OdError(eOutOfRange). Where a
    // range is closed, a value within 1e-10 outside it is taken as the bound (the commands'
    // tolerance).
    static constexpr std::size_t kMaxNameLength = 255;
    static constexpr double kMinLampColorTemp = 1000.0;
    static constexpr double kMaxLampColorTemp = 20000.0;

    const OdString& name() const
    {
        assertReadEnabled();
        return m_data.name;
    }
    // At most kMaxNameLength characters.
    void setName(const OdString& name);
    OdGiDrawable::DrawableType lightType() const;
    // Distant, point, spot or web.
    void setLightType(OdGiDrawable::DrawableType type);
    bool isOn() const
    {
        assertReadEnabled();
        return m_data.on;
    }
    void setOn(bool on);
    bool isPlottable() const
    {
        assertReadEnabled();
        return m_data.plotGlyph;
    }
    void setIsPlottable(bool plot);
    double intensity() const
    {
        assertReadEnabled();
        return m_data.intensity;
    }
    // At least 0.
    void setIntensity(double intensity);
    OdGePoint3d position() const
    {
        assertReadEnabled();
        return m_data.position;
    }
    void setPosition(const OdGePoint3d& position);
    OdGePoint3d targetLocation() const
    {
        assertReadEnabled();
        return m_data.targetLocation;
    }
    void setTargetLocation(const OdGePoint3d& target);
    bool hasTarget() const
    {
        assertReadEnabled();
        return m_data.hasTarget;
    }
    void setHasTarget(bool hasTarget);
    // From the position towards the target, unit length (zero when they coincide).
    OdGeVector3d lightDirection() const;

    OdGiLightAttenuation lightAttenuation() const;
    // A known type and finite limits.
    void setLightAttenuation(const OdGiLightAttenuation& attenuation);
    double hotspotAngle() const
    {
        assertReadEnabled();
        return m_data.hotspotAngle;
    }
    double falloffAngle() const
    {
        assertReadEnabled();
        return m_data.falloffAngle;
    }
    // Sets both cone angles at once when 0 <= hotspot <= falloff < pi and falloff > 0, and
    // answers true; any other finite pair is refused with false and nothing changes (the
    // commands pass what the user typed and leave the judgement here). NaN or infinity raises.
    bool setHotspotAndFalloff(double hotspot, double falloff);

    bool castShadows() const
    {
        assertReadEnabled();
        return m_data.castShadows;
    }
    void setCastShadows(bool cast);
    ShadowType shadowType() const;
    void setShadowType(ShadowType type);
    std::int32_t shadowMapSize() const
    {
        assertReadEnabled();
        return m_data.shadowMapSize;
    }
    // At least 1.
    void setShadowMapSize(std::int32_t size);
    std::int16_t shadowMapSoftness() const
    {
        assertReadEnabled();
        return m_data.shadowMapSoftness;
    }
    // At least 0.
    void setShadowMapSoftness(std::int16_t softness);

    // The filter colour.
    const OdCmColor& lightColor() const
    {
        assertReadEnabled();
        return m_data.lightColor;
    }
    void setLightColor(const OdCmColor& color);

    double physicalIntensity() const
    {
        assertReadEnabled();
        return m_data.physicalIntensity;
    }
    // At least 0, in the unit of the physical intensity method.
    void setPhysicalIntensity(double intensity);
    PhysicalIntensityMethod physicalIntensityMethod() const;
    void setPhysicalIntensityMethod(PhysicalIntensityMethod method);
    double illuminanceDistance() const
    {
        assertReadEnabled();
        return m_data.illuminanceDistance;
    }
    // Greater than 0 (drawing units).
    void setIlluminanceDistance(double distance);
    LampColorType lampColorType() const;
    void setLampColorType(LampColorType type);
    double lampColorTemp() const
    {
        assertReadEnabled();
        return m_data.lampColorTemp;
    }
    // From kMinLampColorTemp to kMaxLampColorTemp kelvin.
    void setLampColorTemp(double kelvin);
    LampColorPreset lampColorPreset() const;
    void setLampColorPreset(LampColorPreset preset);
    // The lamp colour as shown on screen (sRGB, each channel 0 to 1, the brightest 1): for
    // kKelvin the colour of a black body at lampColorTemp(), for kPreset the colour of the
    // preset's lamp, and for the kCustom preset the colour set with setLampColorRGB.
    vantrel::LampRgb lampColorRGB() const;
    // The kCustom preset's colour: each channel from 0 to 1.
    void setLampColorRGB(const vantrel::LampRgb& color);
    // The colour the light casts: the lamp colour filtered by the filter colour, channel by
    // channel (lampColorRGB() times the filter's red, green and blue, rounded), as a true
    // colour. An index filter colour filters with its palette colour; by layer and by block
    // filter nothing (white).
    OdCmColor resultingColor() const;
    const OdString& webFile() const
    {
        assertReadEnabled();
        return m_data.webFile;
    }
    void setWebFile(const OdString& file);
    // Rotations about x, y and z, as entered.
    OdGeVector3d webRotation() const
    {
        assertReadEnabled();
        return m_data.webRotation;
    }
    void setWebRotation(const OdGeVector3d& rotation);

    const Data& data() const
    {
        assertReadEnabled();
        return m_data;
    }
    Data& dataForWrite(vantrel::DbKey)
    {
        assertWriteEnabled();
        return m_data;
    }

    // Moves the position and the target; the cone angles and intensities stay.
    void transformBy(const OdGeMatrix3d& xform) override;
    // A glyph of the sink's default size that tells the kind, seen from above: a sun for a point
    // light, a ringed sun for a web light (either with a line to its target and a box there when it
    // has one), a smaller sun and its falloff and hotspot cones for a spot, an arrow along the
    // light for a distant one; all grey when the light is off.
    void subWorldDraw(vantrel::WorldDraw& wd) const override;
    // A light is drawn as a symbol, whatever its linetype.
    vantrel::LinetypeUse linetypeUse() const override { return vantrel::LinetypeUse::None; }

private:
    Data m_data;
};
using OdDbLightPtr = OdSmartPtr<OdDbLight>;
