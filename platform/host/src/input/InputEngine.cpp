// The request loop of the command line, the tracker protocol while a request is open, and the
// registry of command-line windows that hostPostChar reaches.
#include <vantrel/host/InputEngine.h>

#include <cassert>
#include <map>
#include <mutex>

#include <fmt/format.h>
#include <fmt/xchar.h>

#include <vantrel/db/OdDbLine.h>
#include <vantrel/host/HostEdInputTracker.h>
#include <vantrel/host/InputEndedError.h>
#include <vantrel/host/InputSource.h>
#include <vantrel/host/InputSyntax.h>
#include <vantrel/host/Transcript.h>

namespace vantrel {

namespace {

constexpr std::uint32_t kCarriageReturn = 13;
constexpr std::uint32_t kEscape = 27;
constexpr std::uintptr_t kLeftButtonDown = 1;
constexpr const wchar_t* kCancelEcho = L"*Cancel*";

struct WindowRegistry {
    std::mutex mutex;
    std::map<HostWindowId, InputEngine*> engines;
    HostWindowId next = 1;
};

WindowRegistry& windows()
{
    static WindowRegistry registry;
    return registry;
}

std::wstring formatPoint(const OdGePoint3d& p) { return fmt::format(L"{},{},{}", p.x, p.y, p.z); }

} // namespace

// What lives only while one request is open: the tracker's preview and the rubber line.
class InputEngine::OpenRequest {
public:
    OpenRequest(InputEngine& engine, const Request& request) : m_engine(engine), m_request(request)
    {
        ++m_engine.m_depth;
        if (m_request.tracker && m_request.tracker->previewBeforeMove())
            drawPreview();
    }

    ~OpenRequest()
    {
        if (!m_closed) {
            // Only reached while an exception unwinds the request; that exception is the one
            // to report, so a second one from the tracker's release is dropped.
            try {
                release();
            } catch (...) {
            }
        }
        --m_engine.m_depth;
    }

    OpenRequest(const OpenRequest&) = delete;
    OpenRequest& operator=(const OpenRequest&) = delete;

    InputResult close(InputResult result)
    {
        m_closed = true;
        // A posted character belongs to the request it was posted to.
        m_engine.m_posted.clear();
        release();
        return result;
    }

    void moved(const OdGePoint3d& point)
    {
        m_engine.m_cursor = point;
        m_cursorKnown = true;
        if (m_request.tracker) {
            m_request.tracker->filterMessage(message(kTrackerMouseMove, 0), point);
            drawPreview();
        }
        showRubberBand();
    }

    // True when the tracker took the click, so it does not answer the request.
    bool clicked(const OdGePoint3d& point)
    {
        // A mouse reaches the point before it clicks there.
        if (!m_cursorKnown || point != m_engine.m_cursor)
            moved(point);
        if (!m_request.tracker)
            return false;
        bool taken = m_request.tracker->filterMessage(message(kTrackerLeftButtonDown, kLeftButtonDown), point);
        if (taken)
            drawPreview();
        return taken;
    }

private:
    HostMessage message(std::uint32_t number, std::uintptr_t wParam) const
    {
        HostMessage m;
        m.window = m_engine.m_window;
        m.message = number;
        m.wParam = wParam;
        return m;
    }

    void drawPreview()
    {
        if (m_request.tracker->drawPreview(m_engine.m_drawer) != 0)
            m_previewDrawn = true;
    }

    void showRubberBand()
    {
        if (!(m_request.flags & kRubberBand) || !m_request.basePoint)
            return;
        if (m_request.tracker && m_request.tracker->drawsOwnRubberBand())
            return;
        if (!m_rubberBand)
            m_rubberBand = OdDbLine::createObject();
        m_rubberBand->setStartPoint(*m_request.basePoint);
        m_rubberBand->setEndPoint(m_engine.m_cursor);
        m_engine.m_drawer->addEntity(m_rubberBand.get(), kRubberBandStyle, 0, 0, 0);
        m_rubberBandShown = true;
    }

    void release()
    {
        if (m_rubberBandShown) {
            m_rubberBandShown = false;
            m_engine.m_drawer->removeEntity(m_rubberBand.get());
        }
        if (m_previewDrawn && !m_request.tracker->keepsPreview()) {
            m_previewDrawn = false;
            m_request.tracker->releasePreview(m_engine.m_drawer);
        }
    }

    InputEngine& m_engine;
    const Request& m_request;
    OdDbLinePtr m_rubberBand;
    bool m_rubberBandShown = false;
    bool m_previewDrawn = false;
    bool m_cursorKnown = false;
    bool m_closed = false;
};

InputEngine::InputEngine(InputSource& source, Transcript& transcript) : m_source(&source), m_transcript(transcript)
{
    auto& registry = windows();
    std::lock_guard lock(registry.mutex);
    m_window = registry.next++;
    registry.engines[m_window] = this;
}

InputEngine::~InputEngine()
{
    assert(m_depth == 0 && "an engine must outlive its open requests");
    auto& registry = windows();
    std::lock_guard lock(registry.mutex);
    registry.engines.erase(m_window);
}

InputEngine* InputEngine::forWindow(HostWindowId window)
{
    auto& registry = windows();
    std::lock_guard lock(registry.mutex);
    auto it = registry.engines.find(window);
    return it == registry.engines.end() ? nullptr : it->second;
}

bool InputEngine::postChar(std::uint32_t character)
{
    if (m_depth == 0 || (character != kCarriageReturn && character != kEscape))
        return false;
    InputEvent e = InputEvent::of(InputEvent::Kind::PostedChar);
    e.character = character;
    m_posted.push_back(std::move(e));
    return true;
}

InputEvent InputEngine::nextEvent(const Request& request)
{
    if (!m_posted.empty()) {
        InputEvent e = std::move(m_posted.front());
        m_posted.pop_front();
        return e;
    }
    return m_source->next({request.prompt, request.commandName, request.freeText, request.selection});
}

InputResult InputEngine::run(const Request& request)
{
    assert(request.onText && "every request interprets typed text");
    if (m_ended) {
        if (++m_requestsAfterEnd > kRequestsAfterEnd)
            throw InputEndedError();
        m_transcript.prompt(request.prompt);
        m_transcript.answer(kCancelEcho);
        return kInputCancel;
    }

    OpenRequest open(*this, request);
    bool prompted = false;
    for (;;) {
        if (!prompted) {
            m_transcript.prompt(request.prompt);
            prompted = true;
        }
        InputEvent event = nextEvent(request);
        Reply reply;
        switch (event.kind) {
        case InputEvent::Kind::Text:
            m_transcript.answer(event.echo);
            if (InputSyntax::trim(event.text).empty())
                return open.close(kInputEmpty);
            reply = request.onText(event.text);
            break;
        case InputEvent::Kind::Cancel: m_transcript.answer(kCancelEcho); return open.close(kInputCancel);
        case InputEvent::Kind::End:
            m_ended = true;
            m_transcript.answer(kCancelEcho);
            return open.close(kInputCancel);
        case InputEvent::Kind::PostedChar:
            m_transcript.answer(event.character == kCarriageReturn ? L"" : kCancelEcho);
            return open.close(event.character == kCarriageReturn ? kInputEmpty : kInputCancel);
        case InputEvent::Kind::Move:
            open.moved(request.onUcsPlane ? m_ucs.onPlane(event.point) : event.point);
            continue;
        case InputEvent::Kind::Click: {
            const OdGePoint3d point = request.onUcsPlane ? m_ucs.onPlane(event.point) : event.point;
            if (open.clicked(point))
                continue;
            m_transcript.answer(event.echo.empty() ? formatPoint(event.point) : event.echo);
            reply = request.onPoint ? request.onPoint(point) : Reply::refuse(request.refusal);
            break;
        }
        case InputEvent::Kind::View: m_drawer->setViewExtents(OdGeExtents3d(event.point, event.corner)); continue;
        case InputEvent::Kind::Dialog:
            m_transcript.answer(event.echo);
            reply = request.onDialog ? request.onDialog(event.text) : Reply::refuse(L"No dialog is open.");
            break;
        case InputEvent::Kind::Error:
            m_transcript.answer(event.echo);
            reply = Reply::refuse(event.text);
            break;
        }
        if (reply.refusal.empty())
            return open.close(reply.result);
        m_transcript.message(reply.refusal);
        prompted = false;
    }
}

} // namespace vantrel

bool hostPostChar(HostWindowId window, std::uint32_t character)
{
    vantrel::InputEngine* engine = vantrel::InputEngine::forWindow(window);
    return engine && engine->postChar(character);
}
