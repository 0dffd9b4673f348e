// The PEdit option loop: the keyword list for the selection, one branch per option, each option
// one step of the command's own undo and applied to every selected object in turn. Selection is
// in selection.cpp, conversion in convert.cpp, the options in the files named after them.
#include "pedit/CPeditCmd.h"

#include <vantrel/db/OdDb3dPolyline.h>
#include <vantrel/db/OdDbArc.h>
#include <vantrel/db/OdDbLine.h>
#include <vantrel/db/OdDbPolygonMesh.h>
#include <vantrel/db/OdDbSpline.h>
#include <vantrel/db/OdError.h>
#include <vantrel/host/HostDocument.h>
#include <vantrel/host/InputEndedError.h>

#include "frame/command_exception.h"
#include "frame/host_binding.h"
#include "frame/module_instance.h"
#include "pedit/HostLocalUndo.h"

using vantrel::pedit::Option;
using vantrel::pedit::OptionKeywords;

namespace {

// Two points closer than this give no direction for the work plane.
constexpr double kSamePoint = 1e-10;

// The start of a curve and the next point that defines it, with the normal of its plane.
struct Frame {
    OdGePoint3d start;
    OdGePoint3d next;
    OdGeVector3d normal;
};

std::optional<Frame> frameOf(const OdDbEntity& object)
{
    if (auto lw = OdDbPolyline::cast(&object)) {
        if (lw->numVerts() < 2)
            return std::nullopt;
        Frame f{{}, {}, lw->normal()};
        lw->getPointAt(0, f.start);
        lw->getPointAt(1, f.next);
        return f;
    }
    if (auto line = OdDbLine::cast(&object))
        return Frame{line->startPoint(), line->endPoint(), line->normal()};
    if (auto arc = OdDbArc::cast(&object)) {
        Frame f{{}, arc->center(), arc->normal()};
        odCheck(arc->getStartPoint(f.start));
        return f;
    }
    if (auto pl = OdDb2dPolyline::cast(&object)) {
        std::vector<OdGePoint3d> defining;
        for (auto it = pl->vertexIterator(); !it->done() && defining.size() < 2; it->step()) {
            const OdDb2dVertexPtr v = it->vertex();
            if (v->vertexType() == OdDb::k2dVertex || v->vertexType() == OdDb::k2dSplineCtlVertex)
                defining.push_back(pl->vertexPosition(*v));
        }
        if (defining.size() < 2)
            return std::nullopt;
        return Frame{defining[0], defining[1], pl->normal()};
    }
    if (auto pl3 = OdDb3dPolyline::cast(&object)) {
        // A 3D polyline has no normal of its own: the plane it lies in, when it lies in one.
        OdGePlane plane;
        if (pl3->numVertices() < 2 || pl3->getPlane(plane) != eOk)
            return std::nullopt;
        return Frame{pl3->vertexAt(0)->position(), pl3->vertexAt(1)->position(), plane.normal()};
    }
    return std::nullopt;
}

} // namespace

CPeditCmd::CPeditCmd() = default;

CPeditCmd::~CPeditCmd() = default;

std::uint32_t classifyObject(const OdDbObject* object)
{
    if (OdDbLine::cast(object))
        return CPeditCmd::kLine;
    if (OdDbArc::cast(object))
        return CPeditCmd::kArc;
    if (OdDbPolyline::cast(object))
        return CPeditCmd::kLwPolyline;
    if (OdDb2dPolyline::cast(object))
        return CPeditCmd::kPolyline2d;
    if (OdDb3dPolyline::cast(object))
        return CPeditCmd::kPolyline3d;
    if (OdDbPolygonMesh::cast(object))
        return CPeditCmd::kPolygonMesh;
    if (OdDbSpline::cast(object))
        return CPeditCmd::kSpline;
    return 0;
}

void CPeditCmd::Run()
{
    try {
        m_document = vantrel::commandDocument();
        if (!m_document)
            return;
        m_database = OdDbDatabasePtr(m_document->database());
        if (SelectPolylines() != kInputValue)
            return;
        // Only a curve has a plane to work in; a single mesh is edited without one.
        if (!(m_kindFlags & kMultipleMode))
            setWorkPlane(*OdDbEntityPtr(m_selectedIds.front().safeOpenObject()));

        HostLocalUndo undo(m_database.get());
        m_undo = &undo;
        const CXStringW prompt = vantrel::loadResource(kOptionPrompt);
        for (;;) {
            const OptionKeywords keywords = buildOptionKeywords();
            const InputResult answer = m_document->editor().getKeyword(prompt, keywords.list(), kAcceptEmpty);
            const InputResult next = dispatch(answer, keywords);
            // Join may leave one polyline of several: from then on it is edited alone.
            if ((m_kindFlags & kMultipleMode) && m_selectedIds.size() == 1) {
                m_kindFlags &= ~kMultipleMode;
                setWorkPlane(*OdDbEntityPtr(m_selectedIds.front().safeOpenObject()));
            }
            if (next < kInputFirstKeyword)
                break;
        }
        m_undo = nullptr;
    } catch (...) {
        m_undo = nullptr;
        showCommandException(L"CPeditCmd::Run");
    }
}

OptionKeywords CPeditCmd::buildOptionKeywords()
{
    OptionKeywords keywords;
    buildOpenCloseKeywords(keywords);
    const bool single = !(m_kindFlags & kMultipleMode);
    if (single)
        keywords.add(vantrel::loadResource(kEditVertexKeyword), Option::EditVertex);
    if (m_kindFlags & kPolygonMesh)
        keywords.addOptions(vantrel::loadResource(kMeshOptions),
                            {Option::SmoothSurface, Option::Desmooth, Option::Undo});
    else if (m_kindFlags & kPolyline3d)
        keywords.addOptions(vantrel::loadResource(kPolyline3dOptions), {Option::Spline, Option::Decurve, Option::Undo});
    else
        keywords.addOptions(vantrel::loadResource(kPolylineOptions),
                            {Option::Join, Option::Width, Option::Fit, Option::Spline, Option::Decurve,
                             Option::LtypeGen, Option::Undo, Option::Exit});
    return keywords;
}

void CPeditCmd::buildOpenCloseKeywords(OptionKeywords& keywords)
{
    m_closedSeen = m_openSeen = m_nClosedSeen = m_nOpenSeen = false;
    const bool mesh = m_kindFlags & kPolygonMesh;
    if (m_kindFlags & kMultipleMode) {
        m_closedSeen = m_openSeen = m_nClosedSeen = m_nOpenSeen = true;
    } else {
        for (const OdDbObjectId id : m_selectedIds) {
            const OdDbObjectPtr object = id.openObject();
            if (auto m = OdDbPolygonMesh::cast(object.get())) {
                (m->isMClosed() ? m_closedSeen : m_openSeen) = true;
                (m->isNClosed() ? m_nClosedSeen : m_nOpenSeen) = true;
            } else if (auto curve = OdDbCurve::cast(object.get())) {
                (curve->isClosed() ? m_closedSeen : m_openSeen) = true;
            }
        }
    }
    if (mesh) {
        if (m_closedSeen)
            keywords.add(vantrel::loadResource(kMOpenKeyword), Option::MOpen);
        if (m_openSeen)
            keywords.add(vantrel::loadResource(kMCloseKeyword), Option::MClose);
        if (m_nClosedSeen)
            keywords.add(vantrel::loadResource(kNOpenKeyword), Option::NOpen);
        if (m_nOpenSeen)
            keywords.add(vantrel::loadResource(kNCloseKeyword), Option::NClose);
        return;
    }
    if (m_closedSeen)
        keywords.add(vantrel::loadResource(kOpenKeyword), Option::Open);
    if (m_openSeen)
        keywords.add(vantrel::loadResource(kCloseKeyword), Option::Close);
}

InputResult CPeditCmd::dispatch(InputResult answer, const OptionKeywords& keywords)
{
    if (answer < kInputFirstKeyword)
        return answer;
    const std::optional<Option> option = keywords.optionOf(answer);
    if (!option)
        return kInputFirstKeyword;
    switch (*option) {
    case Option::Exit: return kInputEmpty;
    case Option::Undo:
        if (m_undo->undo()) {
            m_selectedIds = std::move(m_selectionBeforeStep.back().ids);
            m_kindFlags = m_selectionBeforeStep.back().kindFlags;
            m_selectionBeforeStep.pop_back();
        }
        return kInputFirstKeyword;
    default: break;
    }
    m_sharedWidth = -1.0;
    m_sharedLtypeAnswer = -1;
    m_selectionBeforeStep.push_back({m_selectedIds, m_kindFlags});
    const HostLocalUndo::step step(*m_undo);
    switch (*option) {
    case Option::Open:
    case Option::Close: {
        const bool open = *option == Option::Open;
        return applyToEach(L"CPeditCmd::OnKeyOpenClose", [&](OdDbObjectId id) {
            OnKeyOpenClose(id, open);
            return kOptionDone;
        });
    }
    case Option::EditVertex: {
        const OdDbObjectId id = m_selectedIds.front();
        const std::int32_t result = (m_kindFlags & kPolygonMesh) ? OnKeyEditMeshVertex(id) : OnKeyEditVertex(id);
        return result == kOptionCancelled ? kInputCancel : kInputFirstKeyword;
    }
    case Option::Join: return OnKeyJoin() == kOptionCancelled ? kInputCancel : kInputFirstKeyword;
    case Option::Width: return applyToEach(L"CPeditCmd::OnKeyWidth", [&](OdDbObjectId id) { return OnKeyWidth(id); });
    case Option::Fit:
        return applyToEach(L"CPeditCmd::OnKeyFit", [&](OdDbObjectId id) {
            OnKeyFit(id);
            return kOptionDone;
        });
    case Option::Spline:
        return applyToEach(L"CPeditCmd::OnKeySpline", [&](OdDbObjectId id) {
            OnKeySpline(id);
            return kOptionDone;
        });
    case Option::Decurve:
        return applyToEach(L"CPeditCmd::OnKeyDecurve", [&](OdDbObjectId id) {
            OnKeyDecurve(id);
            return kOptionDone;
        });
    case Option::LtypeGen:
        return applyToEach(L"CPeditCmd::OnKeyLtypeGen", [&](OdDbObjectId id) { return OnKeyLtypeGen(id); });
    case Option::MOpen:
    case Option::MClose:
    case Option::NOpen:
    case Option::NClose: {
        const bool open = *option == Option::MOpen || *option == Option::NOpen;
        const bool mDirection = *option == Option::MOpen || *option == Option::MClose;
        return applyToEach(L"CPeditCmd::OnKeyMeshOpenClose", [&](OdDbObjectId id) {
            OnKeyMeshOpenClose(id, open, mDirection);
            return kOptionDone;
        });
    }
    case Option::SmoothSurface:
        return applyToEach(L"CPeditCmd::OnKeySmoothSurface", [&](OdDbObjectId id) {
            OnKeySmoothSurface(id);
            return kOptionDone;
        });
    case Option::Desmooth:
        return applyToEach(L"CPeditCmd::OnKeyDesmooth", [&](OdDbObjectId id) {
            OnKeyDesmooth(id);
            return kOptionDone;
        });
    case Option::Undo:
    case Option::Exit: break;
    }
    return kInputFirstKeyword;
}

InputResult CPeditCmd::applyToEach(const wchar_t* optionName, const std::function<std::int32_t(OdDbObjectId)>& option)
{
    for (const OdDbObjectId id : m_selectedIds) {
        // Each polyline changes as a whole or not at all.
        OdDbTransactionScope change(*m_database);
        std::int32_t result = kOptionDone;
        try {
            result = option(id);
            change.commit();
        } catch (const OdError& error) {
            change.abort();
            if (error.code() == eNotImplementedYet)
                printResource(kNotImplementedMessage);
            else
                m_document->editor().printMessage(L"\n%s", error.description());
            continue;
        } catch (const vantrel::InputEndedError&) {
            throw;
        } catch (...) {
            change.abort();
            showCommandException(optionName);
            continue;
        }
        if (result == kOptionCancelled)
            return kInputCancel;
    }
    return kInputFirstKeyword;
}

void CPeditCmd::setWorkPlane(const OdDbEntity& object)
{
    const std::optional<Frame> frame = frameOf(object);
    if (!frame || frame->start.distanceTo(frame->next) <= kSamePoint)
        return;
    const OdGeVector3d u = (frame->next - frame->start).normal();
    const OdGeVector3d v = frame->normal.crossProduct(u);
    if (v.isZeroLength())
        return;
    m_workPlane = std::make_unique<OdGePlane>(frame->start, u, v.normal());
}

void CPeditCmd::printResource(unsigned id) { m_document->editor().printMessage(L"\n%s", vantrel::loadResource(id)); }
