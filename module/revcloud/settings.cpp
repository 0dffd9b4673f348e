// The settings RevCloud keeps between runs: arc lengths in units of one DIMSCALE and the style,
// in the profile section "cmddata\revcloud", and the status line that shows them.
#include <cmath>
#include <optional>

#include <vantrel/db/OdError.h>
#include <vantrel/host/HostApplication.h>
#include <vantrel/host/HostEditor.h>
#include <vantrel/host/IProfileSection.h>

#include "frame/host_binding.h"
#include "revcloud/CRevCloudCmd.h"

namespace {

// Below this DIMSCALE the lengths are left unscaled.
constexpr double kSmallestDimscale = 1e-6;

double readDimscale(HostApplication& application)
{
    try {
        return application.getSysVar(L"DIMSCALE")->getDouble();
    } catch (const OdError&) {
        return 1.0;
    }
}

// A stored length; the default when it is missing, not a number, or not a positive finite one
// (which would lay no arcs, or never stop laying them).
double storedLength(const IProfileSection& section, const wchar_t* key)
{
    const std::optional<double> value = section.getValue(key).asDouble();
    return value && std::isfinite(*value) && *value > 0.0 ? *value : CRevCloudCmd::kDefaultArcLength;
}

} // namespace

void CRevCloudCmd::loadSettings(bool scaleByDimscale)
{
    m_arcs = CloudArcs{kDefaultArcLength, kDefaultArcLength, kRevCloudNormal};
    HostApplication* application = vantrel::hostApplication();
    if (!application)
        return;
    try {
        const IProfileSection& section = application->profile().openSection(kSettingsSection);
        m_arcs.minArcLength = storedLength(section, L"MIN_ARC_LENGTH");
        m_arcs.maxArcLength = storedLength(section, L"MAX_ARC_LENGTH");
        const std::optional<std::int32_t> style = section.getValue(L"CLOUD_STYLE").asInt32();
        m_arcs.arcStyle = style && *style != 0 ? kRevCloudCalligraphy : kRevCloudNormal;
    } catch (const OdError&) {
        // A profile that cannot be read leaves the defaults.
    }
    if (scaleByDimscale) {
        const double dimscale = readDimscale(*application);
        if (dimscale > kSmallestDimscale) {
            m_arcs.minArcLength *= dimscale;
            m_arcs.maxArcLength *= dimscale;
        }
    }
}

void CRevCloudCmd::saveSettings(bool scaleByDimscale)
{
    HostApplication* application = vantrel::hostApplication();
    if (!application)
        return;
    double minimum = m_arcs.minArcLength, maximum = m_arcs.maxArcLength;
    if (scaleByDimscale) {
        const double dimscale = readDimscale(*application);
        if (dimscale > kSmallestDimscale) {
            minimum /= dimscale;
            maximum /= dimscale;
        }
    }
    IProfileSection& section = application->profile().openSection(kSettingsSection);
    section.setValue(L"MIN_ARC_LENGTH", CHxVariant(minimum));
    section.setValue(L"MAX_ARC_LENGTH", CHxVariant(maximum));
    section.setValue(L"CLOUD_STYLE", CHxVariant(std::int32_t{m_arcs.arcStyle == kRevCloudCalligraphy ? 1 : 0}));
}

void CRevCloudCmd::printStatus()
{
    HostEditor* editor = vantrel::messageEditor();
    if (!editor)
        return;
    editor->printMessage(L"\n");
    editor->printMessage(m_statusFormat, m_arcs.minArcLength, m_arcs.maxArcLength, styleName());
}

const CXStringW& CRevCloudCmd::styleName() const
{
    return m_arcs.arcStyle == kRevCloudCalligraphy ? m_calligraphyName : m_normalName;
}
