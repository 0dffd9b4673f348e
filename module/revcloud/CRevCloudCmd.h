// RevCloud: a revision cloud traced with the crosshairs or laid along an existing curve, with arc
// lengths and style that persist between runs in the profile section "cmddata\revcloud".
#pragma once

#include <cstdint>
#include <optional>

#include <vantrel/db/OdDbPolyline.h>
#include <vantrel/ge/OdGePlane.h>
#include <vantrel/ge/OdGePoint3d.h>
#include <vantrel/host/InputResult.h>
#include <vantrel/hxicore/CXStringW.h>

#include "frame/command_creators.h"
#include "revcloud/cloud_arcs.h"

class HostDocument;

class CRevCloudCmd {
public:
    // String resources.
    static constexpr unsigned kStyleKeywords = 2000;
    static constexpr unsigned kStylePrompt = 2001;
    static constexpr unsigned kStatusFormat = 2002;
    static constexpr unsigned kTracePrompt = 2003;
    static constexpr unsigned kFinishedMessage = 2004;
    static constexpr unsigned kMinimumPrompt = 2005;
    static constexpr unsigned kMaximumPrompt = 2006;
    static constexpr unsigned kFirstPointKeywords = 2007;
    static constexpr unsigned kMaximumOverThreeMessage = 2008;
    static constexpr unsigned kSelectPrompt = 2009;
    static constexpr unsigned kReversePrompt = 2010;
    static constexpr unsigned kWrongKindMessage = 2011;
    static constexpr unsigned kFirstPointPrompt = 2012;
    static constexpr unsigned kNormalSuffix = 2099;
    static constexpr unsigned kCalligraphySuffix = 2100;
    static constexpr unsigned kNotPositiveMessage = 2101;
    static constexpr unsigned kTooSmallMessage = 111;
    static constexpr unsigned kTooBigMessage = 112;
    static constexpr unsigned kMaximumBelowMinimumMessage = 113;

    // Where the settings live, and their defaults in units of one DIMSCALE.
    static constexpr const wchar_t* kSettingsSection = L"cmddata\\revcloud";
    static constexpr double kDefaultArcLength = 15.0;
    // The selection flags of the conversion: one object (0x2000), and none on a locked layer
    // (0x10000), which the conversion would hide and erase; the host says which it left out.
    static constexpr std::uint32_t kSelectFlags = 0x2000 | 0x10000;

    // Loads the style names, the status format and the settings (scaled by DIMSCALE).
    CRevCloudCmd();

    // The option loop: first point or an option, until a cloud is drawn, a conversion got past
    // the selection, or a cancel. Exceptions are reported with showCommandException.
    void Run();

    // The settings of "cmddata\revcloud"; with scaling the stored lengths are in units of one
    // DIMSCALE (used when DIMSCALE reads above 1e-6).
    void loadSettings(bool scaleByDimscale);
    void saveSettings(bool scaleByDimscale);
    // A line break, then the lengths and the style name on the command line.
    void printStatus();

    // Sets a new, empty polyline up in the current UCS with the drawing's defaults and makes
    // the point its first vertex; cloudPlane follows the UCS.
    void startCloud(OdDbPolyline* cloud, const OdGePoint3d& first);
    // Asks for an object and lays a cloud along it. kInputValue once an object passed the
    // checks (the run ends then); otherwise the selection's answer.
    InputResult convertObject();
    // Optionally asks whether to reverse the arcs (showing the cloud meanwhile), then posts it.
    // False when that question was cancelled: the cloud is not added.
    bool finishCloud(OdDbPolylinePtr& cloud, bool askReverse);

private:
    // The branches of the option loop; each answers the outcome of its last request. Tracing
    // answers nothing when it finished a cloud, which ends the run.
    std::optional<InputResult> traceCloud(HostDocument& document, const OdGePoint3d& first);
    InputResult OnArcLength(HostDocument& document);
    InputResult OnStyle(HostDocument& document);
    const CXStringW& styleName() const;

    CXStringW m_statusFormat;
    CXStringW m_normalName;
    CXStringW m_calligraphyName;
    CloudArcs m_arcs;
    OdGePlane m_cloudPlane;
};

namespace vantrel {
// The entry of the function command "RevCloud": loads the settings, runs the option loop and
// saves the settings, however the run ended.
template <>
void runFunctionCommand<CRevCloudCmd>();
} // namespace vantrel
