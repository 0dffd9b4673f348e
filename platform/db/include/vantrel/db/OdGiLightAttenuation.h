// How a light's intensity falls off with distance, and the distances where it starts and
// stops; a plain value handed to and from lights whole.
#pragma once

#include <vantrel/db/OdDbExport.h>

class VANTREL_DB_EXPORT OdGiLightAttenuation {
public:
    enum AttenuationType { kNone = 0, kInverseLinear = 1, kInverseSquare = 2 };

    OdGiLightAttenuation() = default;
    OdGiLightAttenuation(AttenuationType type, bool useLimits, double startLimit, double endLimit)
        : m_type(type), m_useLimits(useLimits), m_startLimit(startLimit), m_endLimit(endLimit)
    {
    }

    AttenuationType attenuationType() const { return m_type; }
    void setAttenuationType(AttenuationType type) { m_type = type; }
    bool useLimits() const { return m_useLimits; }
    void setUseLimits(bool on) { m_useLimits = on; }
    double startLimit() const { return m_startLimit; }
    double endLimit() const { return m_endLimit; }
    void setLimits(double startLimit, double endLimit)
    {
        m_startLimit = startLimit;
        m_endLimit = endLimit;
    }

    friend bool operator==(const OdGiLightAttenuation&, const OdGiLightAttenuation&) = default;

private:
    AttenuationType m_type = kNone;
    bool m_useLimits = false;
    double m_startLimit = 1.0;
    double m_endLimit = 10.0;
};
