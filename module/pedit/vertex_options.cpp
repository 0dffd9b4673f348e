// The sub-operations of PEdit's vertex editing (Insert, Move, Tangent, Width, Break and
// Straighten) and the point and width requests they share. A fitted or splined polyline is
// edited by its defining vertices and fitted again the same way afterwards.
#include <cmath>
#include <numbers>

#include <vantrel/db/OdDbBlockTableRecord.h>
#include <vantrel/db/OdDbSortentsTable.h>
#include <vantrel/ge/OdGeLine3d.h>
#include <vantrel/host/HostDocument.h>
#include <vantrel/host/hostutils.h>

#include "frame/AlpCmdUtils.h"
#include "frame/host_binding.h"
#include "frame/module_instance.h"
#include "pedit/CPeditCmd.h"
#include "pedit/MarkerTracker.h"
#include "pedit/polyline_edits.h"
#include "pedit/sysvars.h"
#include "pedit/vertex_edits.h"

namespace {

// Flags of the requests: Insert, Move and Tangent (a rubber line from the vertex), the widths.
constexpr InputFlags kVertexPointFlags = 8;
constexpr InputFlags kWidthFlags = 268;
// The answers of "Next Previous Go eXit".
constexpr InputResult kRangeNext = kInputFirstKeyword;
constexpr InputResult kRangePrevious = kInputFirstKeyword + 1;
constexpr InputResult kRangeGo = kInputFirstKeyword + 2;
constexpr InputResult kRangeExit = kInputFirstKeyword + 3;

// An edit of the defining vertices of the polyline behind the id: its generated vertices are
// dropped first and generated again afterwards (for pieces broken off too), and it is redrawn.
template <class Edit>
void editDefining(OdDbDatabase* db, OdDbObjectId id, Edit edit)
{
    const OdDbCurvePtr polyline = id.safeOpenObject(OdDb::kForWrite);
    const vantrel::pedit::PathFit fit = vantrel::pedit::unfit(*polyline);
    const std::int16_t segments = vantrel::pedit::splineSettings(db).segments;
    edit(*polyline, [&](OdDbCurve& piece) { vantrel::pedit::refit(piece, fit, segments); });
    vantrel::pedit::refit(*polyline, fit, segments);
    AlpCmdUtils::touchEntity(polyline);
}

OdGePoint3d vertexPosition(OdDbObjectId id, unsigned index)
{
    return vantrel::pedit::definingVertexPosition(*OdDbCurvePtr(id.safeOpenObject()), index);
}

} // namespace

InputResult CPeditCmd::getVertexPoint(const OdGePoint3d& basePoint, OdGePoint3d& point, const wchar_t* prompt,
                                      const wchar_t* keywords, InputFlags flags, HostEdInputTracker* tracker)
{
    const InputResult answer
        = m_document->editor().getPoint(&basePoint, point, prompt, keywords, flags, nullptr, tracker);
    if (answer == kInputValue && m_workPlane) {
        OdGePoint3d onPlane;
        if (m_workPlane->intersectWith(OdGeLine3d(point, getViewDirection(m_database.get())), onPlane))
            point = onPlane;
    }
    return answer;
}

InputResult CPeditCmd::askAtMarker(unsigned promptId, const CXStringW& keywords, const CXStringW& defaultText,
                                   InputResult defaultKeyword, const OdGePoint3d& at, HostEdInputTracker& marker)
{
    if (HostFuncPtr procedure = vantrel::hostService(kHostProcedure3))
        procedure();
    CXStringW prompt;
    prompt.Format(vantrel::loadResource(promptId), L"%s", defaultText);
    OdGePoint3d picked;
    const InputResult answer = getVertexPoint(at, picked, prompt, keywords, kAcceptEmpty, &marker);
    return answer == kInputEmpty ? defaultKeyword : answer;
}

std::int32_t CPeditCmd::OnVertexInsert(OdDbObjectId id, unsigned current)
{
    OdGePoint3d point;
    const InputResult answer = getVertexPoint(vertexPosition(id, current), point, vantrel::loadResource(kInsertPrompt),
                                              nullptr, kVertexPointFlags, nullptr);
    if (answer == kInputCancel)
        return kOptionCancelled;
    if (answer != kInputValue)
        return answer;
    editDefining(m_database.get(), id,
                 [&](OdDbCurve& polyline, auto) { vantrel::pedit::insertVertexAfter(polyline, current, point); });
    return kOptionDone;
}

std::int32_t CPeditCmd::OnVertexMove(OdDbObjectId id, unsigned current)
{
    OdGePoint3d point;
    const InputResult answer = getVertexPoint(vertexPosition(id, current), point, vantrel::loadResource(kMovePrompt),
                                              nullptr, kVertexPointFlags, nullptr);
    if (answer != kInputValue)
        return answer;
    editDefining(m_database.get(), id,
                 [&](OdDbCurve& polyline, auto) { vantrel::pedit::moveVertex(polyline, current, point); });
    return kOptionDone;
}

std::int32_t CPeditCmd::OnVertexTangent(OdDbObjectId id, unsigned current)
{
    const OdDbCurvePtr polyline = id.safeOpenObject();
    OdDb2dPolylinePtr pl = OdDb2dPolyline::cast(polyline.get());
    const OdDbPolylinePtr lw = OdDbPolyline::cast(polyline.get());
    if (!pl && !lw)
        return kOptionWrongKind;
    // A lightweight polyline has no tangents: it becomes a 2D polyline, which keeps the one
    // given, under the same id.
    if (lw)
        pl = vantrel::pedit::toPolyline2d(*m_database, *lw);
    const OdDb2dVertexPtr vertex = vantrel::pedit::definingVertex2d(*pl, current, OdDb::kForRead);
    CXStringW prompt = vantrel::loadResource(kTangentPrompt);
    if (vertex->isTangentUsed()) {
        CXStringW withDefault;
        // Rounded: 45 degrees in radians and back is 44.99999... and must not show as 44.
        withDefault.Format(vantrel::loadResource(kWithDefaultFormat), prompt,
                           static_cast<int>(std::lround(vertex->tangent() * 180.0 / std::numbers::pi)));
        prompt = withDefault;
    }
    double angle = vertex->tangent();
    const OdGePoint3d at = pl->vertexPosition(*vertex);
    // Without an angle nothing changes and the sub-mode goes on, also after Esc.
    if (m_document->editor().getAngle(&at, angle, prompt, nullptr, kVertexPointFlags) != kInputValue)
        return kOptionDone;
    if (lw) {
        const OdDb2dVertexPtr free = vantrel::pedit::definingVertex2d(*pl, current, OdDb::kForWrite);
        free->useTangent();
        free->setTangent(angle);
        lw->upgradeOpen();
        lw->handOverTo(pl.get(), true, true);
        AlpCmdUtils::touchEntity(pl);
        return kOptionDone;
    }
    editDefining(m_database.get(), id, [&](OdDbCurve& edited, auto) {
        const OdDb2dVertexPtr v
            = vantrel::pedit::definingVertex2d(static_cast<OdDb2dPolyline&>(edited), current, OdDb::kForWrite);
        v->useTangent();
        v->setTangent(angle);
    });
    return kOptionDone;
}

std::int32_t CPeditCmd::getWidth(unsigned promptId, const OdGePoint3d& basePoint, double& width)
{
    CXStringW prompt;
    prompt.Format(vantrel::loadResource(promptId), width);
    for (;;) {
        double answer = width;
        const InputResult result = m_document->editor().getDistance(&basePoint, answer, prompt, nullptr, kWidthFlags);
        if (result == kInputCancel)
            return kOptionCancelled;
        if (result != kInputValue)
            return kOptionDone;
        if (answer < 0.0) {
            printResource(kNegativeWidthMessage);
            continue;
        }
        width = answer;
        return kOptionDone;
    }
}

std::int32_t CPeditCmd::OnVertexWidth(OdDbObjectId id, unsigned current)
{
    const OdGePoint3d at = vertexPosition(id, current);
    double startWidth, endWidth;
    vantrel::pedit::segmentWidths(*OdDbCurvePtr(id.safeOpenObject()), current, startWidth, endWidth);
    if (getWidth(kStartWidthPrompt, at, startWidth) == kOptionCancelled)
        return kOptionCancelled;
    // The ending width proposed is the starting width just given.
    endWidth = startWidth;
    if (getWidth(kEndWidthPrompt, at, endWidth) == kOptionCancelled)
        return kOptionCancelled;
    editDefining(m_database.get(), id, [&](OdDbCurve& polyline, auto) {
        vantrel::pedit::setSegmentWidths(polyline, current, startWidth, endWidth);
    });
    return kOptionDone;
}

std::int32_t CPeditCmd::OnVertices(OdDbObjectId id, unsigned& current, int mode)
{
    const unsigned first = current;
    unsigned second = current;
    InputResult defaultKeyword = kRangeNext;
    const CXStringW keywords = vantrel::loadResource(kRangeKeywords);
    for (bool go = false; !go;) {
        const unsigned count = vantrel::pedit::definingVertexCount(*OdDbCurvePtr(id.safeOpenObject()));
        const OdGePoint3d at = vertexPosition(id, second);
        MarkerTracker marker(m_database.get(), at, nullptr, vertexPosition(id, first));
        const CXStringW defaultName = AlpCmdUtils::keywordAt(keywords, defaultKeyword - kInputFirstKeyword + 1, L" ");
        switch (askAtMarker(kRangePrompt, keywords, defaultName, defaultKeyword, at, marker)) {
        case kInputCancel: return kOptionCancelled;
        case kRangeNext:
            defaultKeyword = kRangeNext;
            if (second + 1 < count)
                ++second;
            break;
        case kRangePrevious:
            defaultKeyword = kRangePrevious;
            if (second > 0)
                --second;
            break;
        case kRangeGo: go = true; break;
        case kRangeExit: return kOptionDone;
        default: break;
        }
    }

    const unsigned lo = std::min(first, second), hi = std::max(first, second);
    if (mode == kStraightenMode) {
        editDefining(m_database.get(), id,
                     [&](OdDbCurve& polyline, auto) { vantrel::pedit::straightenBetween(polyline, lo, hi); });
        current = lo;
        return kOptionDone;
    }
    bool broken = false;
    editDefining(m_database.get(), id, [&](OdDbCurve& polyline, auto refitPiece) {
        OdDbCurvePtr piece;
        broken = vantrel::pedit::breakBetween(polyline, lo, hi, piece);
        if (!piece)
            return;
        refitPiece(*piece);
        OdDbObjectId pieceId;
        AlpCmdUtils::postToDb(pieceId, piece, true);
        // The piece is drawn where the polyline is in the draw order.
        if (!pieceId.isNull() && !OdDb3dPolyline::cast(pieceId.safeOpenObject().get())) {
            const OdDbBlockTableRecordPtr space = getActiveBTRId(m_database.get()).safeOpenObject(OdDb::kForWrite);
            space->getSortentsTable(true)->moveBelow({pieceId}, id);
        }
    });
    if (broken)
        current = lo;
    return kOptionDone;
}
