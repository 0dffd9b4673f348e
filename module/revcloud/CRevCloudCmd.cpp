// The RevCloud option loop: first point or an option, tracing a cloud with its tracker, and the
// "Arc length" and "Style" options. Geometry lives in cloud_arcs, the settings in settings.cpp,
// the conversion of an object and the finishing of a cloud in convert.cpp.
#include "revcloud/CRevCloudCmd.h"

#include <algorithm>
#include <optional>

#include <vantrel/db/OdError.h>
#include <vantrel/host/HostDocument.h>
#include <vantrel/host/HostEditor.h>

#include "frame/command_exception.h"
#include "frame/host_binding.h"
#include "frame/module_instance.h"
#include "revcloud/RevCloudTracker.h"

namespace {

// The answers of the first-point prompt's keywords "\"Arc length\" Object Style".
constexpr InputResult kArcLength = kInputFirstKeyword;
constexpr InputResult kObject = kInputFirstKeyword + 1;
constexpr InputResult kStyle = kInputFirstKeyword + 2;
// The answers of the style prompt's keywords "Normal Calligraphy".
constexpr InputResult kNormal = kInputFirstKeyword;
constexpr InputResult kCalligraphy = kInputFirstKeyword + 1;
// Tracing starts with a rubber line when this many minimum arcs do not fit across the view.
constexpr double kArcsAcrossView = 10.0;

// The words of a list split at single blanks.
CXStringW wordAt(const CXStringW& list, std::size_t n)
{
    std::size_t begin = 0;
    for (std::size_t i = 0; i < n && begin != std::wstring::npos; ++i) {
        begin = list.str().find(L' ', begin);
        if (begin != std::wstring::npos)
            ++begin;
    }
    if (begin == std::wstring::npos)
        return CXStringW();
    return CXStringW(list.str().substr(begin, list.str().find(L' ', begin) - begin));
}

double viewSize(HostDocument& document)
{
    const OdGeExtents3d view = document.viewExtents();
    if (!view.isValidExtents())
        return 0.0;
    const OdGeVector3d size = view.maxPoint() - view.minPoint();
    return std::min(size.x, size.y);
}

} // namespace

CRevCloudCmd::CRevCloudCmd() : m_statusFormat(vantrel::loadResource(kStatusFormat))
{
    const CXStringW styles = vantrel::loadResource(kStyleKeywords);
    m_normalName = wordAt(styles, 0);
    m_calligraphyName = wordAt(styles, 1);
    loadSettings(true);
}

void CRevCloudCmd::Run()
{
    try {
        HostDocument* document = vantrel::commandDocument();
        if (!document)
            return;
        const OdDbDatabasePtr db(document->database());
        HostEditor& editor = document->editor();
        const CXStringW prompt = vantrel::loadResource(kFirstPointPrompt);
        const CXStringW keywords = vantrel::loadResource(kFirstPointKeywords);
        InputResult last = kInputValue;
        for (;;) {
            if (last != kInputValue && last < kInputEmpty)
                return;
            printStatus();
            OdGePoint3d first;
            last = editor.getPoint(nullptr, first, prompt, keywords, kAcceptEmpty);
            switch (last) {
            case kInputValue:
                if (const std::optional<InputResult> traced = traceCloud(*document, first))
                    last = *traced;
                else
                    return;
                break;
            case kInputEmpty:
            case kObject:
                // Otherwise the selection was cancelled or left empty: the first point again.
                if (convertObject() == kInputValue)
                    return;
                break;
            case kArcLength: last = OnArcLength(*document); break;
            case kStyle: last = OnStyle(*document); break;
            default: break;
            }
        }
    } catch (...) {
        showCommandException(L"CRevCloudCmd::Run");
    }
}

std::optional<InputResult> CRevCloudCmd::traceCloud(HostDocument& document, const OdGePoint3d& first)
{
    OdDbPolylinePtr cloud = OdDbPolyline::createObject();
    startCloud(cloud.get(), first);
    RevCloudTracker tracker(cloud.get(), m_arcs, m_cloudPlane, document.database());
    if (kArcsAcrossView * m_arcs.minArcLength > viewSize(document))
        tracker.setTraceState(kTraceRubberBand);

    // The tracker adds the vertices and ends the request itself when the cloud closes; a typed
    // point only asks again.
    const CXStringW prompt = vantrel::loadResource(kTracePrompt);
    OdGePoint3d picked = first;
    InputResult result;
    do {
        const OdGePoint3d base = picked;
        result = document.editor().getPoint(&base, picked, prompt, nullptr, kAcceptEmpty, nullptr, &tracker);
    } while (result == kInputValue);

    if (result == kInputEmpty && cloud->numVerts() >= 2) {
        finishCloud(cloud, tracker.traceState() != kTraceClosed);
        return std::nullopt;
    }
    return result;
}

InputResult CRevCloudCmd::OnArcLength(HostDocument& document)
{
    HostEditor& editor = document.editor();
    CXStringW minimumPrompt;
    minimumPrompt.Format(vantrel::loadResource(kMinimumPrompt), m_arcs.minArcLength);
    double minimum = 0.0;
    InputResult result = editor.getReal(minimum, minimumPrompt, nullptr, kAcceptEmpty);
    // A length that is not positive would lay no arcs at all.
    while (result == kInputValue && !(minimum > 0.0)) {
        editor.printMessage(L"\n%s", vantrel::loadResource(kNotPositiveMessage));
        result = editor.getReal(minimum, minimumPrompt, nullptr, kAcceptEmpty);
    }
    if (result == kInputValue) {
        if (minimum == m_arcs.minArcLength)
            return result;
        m_arcs.minArcLength = m_arcs.maxArcLength = minimum;
        printStatus();
    }

    CXStringW maximumPrompt;
    maximumPrompt.Format(vantrel::loadResource(kMaximumPrompt), m_arcs.maxArcLength);
    for (;;) {
        double maximum = m_arcs.maxArcLength;
        result = editor.getReal(maximum, maximumPrompt, nullptr, kAcceptEmpty);
        if (result != kInputValue)
            return result;
        if (maximum > 3.0 * m_arcs.minArcLength)
            editor.printMessage(L"\n%s", vantrel::loadResource(kMaximumOverThreeMessage));
        else if (maximum < m_arcs.minArcLength)
            editor.printMessage(L"\n%s", vantrel::loadResource(kMaximumBelowMinimumMessage));
        else {
            m_arcs.maxArcLength = maximum;
            return result;
        }
    }
}

InputResult CRevCloudCmd::OnStyle(HostDocument& document)
{
    CXStringW prompt = vantrel::loadResource(kStylePrompt);
    if (m_arcs.arcStyle == kRevCloudNormal) {
        prompt += L" ";
        prompt += vantrel::loadResource(kNormalSuffix);
    } else {
        prompt += L" <";
        prompt += vantrel::loadResource(kCalligraphySuffix);
        prompt += L">";
    }
    const InputResult result
        = document.editor().getKeyword(prompt, vantrel::loadResource(kStyleKeywords), kAcceptEmpty);
    if (result == kNormal)
        m_arcs.arcStyle = kRevCloudNormal;
    else if (result == kCalligraphy)
        m_arcs.arcStyle = kRevCloudCalligraphy;
    return result;
}

template <>
void vantrel::runFunctionCommand<CRevCloudCmd>()
{
    CRevCloudCmd command;
    command.Run();
    try {
        command.saveSettings(true);
    } catch (const OdError& error) {
        // The lengths and style still hold for this session; the cloud stays drawn.
        if (HostEditor* editor = vantrel::messageEditor())
            editor->printMessage(L"\n%s", error.description());
    }
}
