// The command line's engine: shows a request's prompt, pulls events from the front end's input
// source until one answers the request, and meanwhile feeds the request's tracker and draws its
// preview. What a typed line or a picked point means is the request's business (HostEditor).
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <string_view>

#include <vantrel/ge/OdGePoint3d.h>
#include <vantrel/host/InputEvent.h>
#include <vantrel/host/InputResult.h>
#include <vantrel/host/RecordingDrawer.h>
#include <vantrel/host/UserCoordinateSystem.h>
#include <vantrel/host/host_window.h>
#include <vantrel/host/HostExport.h>

class HostEdInputTracker;

namespace vantrel {

class InputSource;
class Transcript;

class VANTREL_HOST_EXPORT InputEngine {
public:
    // A request's answer to one line or picked point: a result, or a message after which the
    // same prompt is asked again.
    struct Reply {
        InputResult result = kInputValue;
        std::wstring refusal;

        static Reply of(InputResult result) { return {result, {}}; }
        static Reply refuse(std::wstring message) { return {kInputValue, std::move(message)}; }
    };

    struct Request {
        std::wstring prompt;      // as the user sees it
        bool commandName = false; // the `Command:` prompt
        bool freeText = false;    // free text is an answer (InputPrompt::freeText)
        bool selection = false;   // entities are asked for (InputPrompt::selection)
        const OdGePoint3d* basePoint = nullptr;
        // Cursor points (moves and clicks) land on the UCS XY plane, as a command's points do;
        // a selection leaves them where the view shows them.
        bool onUcsPlane = false;
        InputFlags flags = 0;
        HostEdInputTracker* tracker = nullptr;
        // A line that is not blank, as typed.
        std::function<Reply(std::wstring_view text)> onText;
        // A picked point; without it a pick is refused with `refusal`.
        std::function<Reply(const OdGePoint3d& point)> onPoint;
        std::wstring refusal;
        // The words of a `!dlg` event, for a request that stands for a dialog; without it such
        // an event is refused with "No dialog is open.".
        std::function<Reply(std::wstring_view words)> onDialog;
    };

    // The drawer style of the rubber line that kRubberBand asks for.
    static constexpr std::int32_t kRubberBandStyle = 2;
    // After the input ended, requests answer kInputCancel this many times before the engine
    // raises InputEndedError.
    static constexpr int kRequestsAfterEnd = 100;

    InputEngine(InputSource& source, Transcript& transcript);
    ~InputEngine();
    InputEngine(const InputEngine&) = delete;
    InputEngine& operator=(const InputEngine&) = delete;

    // Runs one request to its answer. Blank lines and posted character 13 answer kInputEmpty,
    // a cancel or the end of input kInputCancel; everything else goes to the request.
    InputResult run(const Request& request);

    // Dialogs pull their events from the same source while they are open.
    InputSource& source() { return *m_source; }
    void setSource(InputSource& source) { m_source = &source; }
    Transcript& transcript() { return m_transcript; }
    // The drawer previews go to; by default one of the engine's own that only records.
    HostEdDrawer& drawer() { return *m_drawer; }
    void setDrawer(HostEdDrawer& drawer) { m_drawer = &drawer; }

    // The coordinate system typed points are read in.
    UserCoordinateSystem& ucs() { return m_ucs; }
    const UserCoordinateSystem& ucs() const { return m_ucs; }

    // The point relative input (`@`) starts from when a request has no base point.
    const OdGePoint3d& lastPoint() const { return m_lastPoint; }
    void setLastPoint(const OdGePoint3d& point) { m_lastPoint = point; }
    // Where the cursor last moved or clicked.
    const OdGePoint3d& cursor() const { return m_cursor; }

    HostWindowId window() const { return m_window; }
    // The engine of a command-line window, or null.
    static InputEngine* forWindow(HostWindowId window);
    bool isRequestOpen() const { return m_depth > 0; }
    bool inputEnded() const { return m_ended; }
    // hostPostChar's way in: queues the character for the open request.
    bool postChar(std::uint32_t character);

private:
    class OpenRequest;

    InputEvent nextEvent(const Request& request);

    InputSource* m_source;
    Transcript& m_transcript;
    RecordingDrawer m_ownDrawer;
    HostEdDrawer* m_drawer = &m_ownDrawer;
    std::deque<InputEvent> m_posted;
    UserCoordinateSystem m_ucs;
    OdGePoint3d m_lastPoint;
    OdGePoint3d m_cursor;
    HostWindowId m_window;
    int m_depth = 0;
    bool m_ended = false;
    int m_requestsAfterEnd = 0;
};

} // namespace vantrel
