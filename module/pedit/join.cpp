// Join of PEdit. One polyline takes the objects selected for it that touch its ends (it keeps its
// id; the objects are erased); several selected polylines are joined to each other across gaps,
// by the join type and fuzz distance asked first (each joined polyline is a new object). Which
// objects join, and in which order, is join_search's.
#include <unordered_map>

#include <vantrel/db/OdError.h>
#include <vantrel/host/HostDocument.h>
#include <vantrel/host/InputEndedError.h>

#include "frame/AlpCmdUtils.h"
#include "frame/command_exception.h"
#include "frame/module_instance.h"
#include "pedit/CPeditCmd.h"
#include "pedit/join_search.h"

using vantrel::pedit::JoinItem;
using vantrel::pedit::JoinType;

namespace {

// The answer of the fuzz prompt's keyword "Jointype", and of the join types "Extend Add Both".
constexpr InputResult kJointype = kInputFirstKeyword;
constexpr InputResult kFirstJoinType = kInputFirstKeyword;
constexpr InputResult kLastJoinType = kInputFirstKeyword + 2;

JoinItem joinItemOf(const OdDbEntityPtr& entity)
{
    JoinItem item;
    // A lightweight polyline's ends are its first and last vertices, found without its path.
    if (const OdDbPolylinePtr lw = OdDbPolyline::cast(entity.get()); lw && lw->numVerts() > 0) {
        lw->getPointAt(0, item.start);
        lw->getPointAt(lw->numVerts() - 1, item.end);
        item.closed = lw->isClosed();
        item.plane = OdGePlane(item.start, lw->normal());
        return item;
    }
    const OdDbCurvePtr curve = OdDbCurve::cast(entity.get());
    if (!curve || curve->getStartPoint(item.start) != eOk || curve->getEndPoint(item.end) != eOk) {
        // Nothing to join at: no ends.
        item.closed = true;
        return item;
    }
    item.closed = curve->isClosed();
    OdGePlane plane;
    if (AlpCmdUtils::entityPlane(entity, plane))
        item.plane = plane;
    return item;
}

void eraseObject(OdDbObjectId id) { odCheck(id.safeOpenObject(OdDb::kForWrite)->erase()); }

} // namespace

std::int32_t CPeditCmd::OnKeyJoin()
{
    OdDbTransactionScope change(*m_database);
    try {
        const std::int32_t result = (m_kindFlags & kMultipleMode) ? joinSelectedPolylines() : joinTouchingObjects();
        change.commit();
        return result;
    } catch (const OdError& error) {
        change.abort();
        m_document->editor().printMessage(L"\n%s", error.description());
    } catch (const vantrel::InputEndedError&) {
        throw;
    } catch (...) {
        change.abort();
        showCommandException(L"CPeditCmd::OnKeyJoin");
    }
    return kOptionWrongKind;
}

std::int32_t CPeditCmd::joinTouchingObjects()
{
    m_fuzzDistance = 0.0;
    const OdDbObjectId polylineId = m_selectedIds.front();
    if (OdDbCurvePtr(polylineId.safeOpenObject())->isClosed()) {
        printResource(kClosedJoinMessage);
        return kOptionWrongKind;
    }
    m_workIds.clear();
    const InputResult selected = selectObjectsCounted(m_workIds, true);
    std::erase(m_workIds, polylineId);
    if (selected == kInputCancel)
        return kOptionCancelled;

    const OdDbEntityPtr polyline = polylineId.safeOpenObject(OdDb::kForWrite);
    // Coplanar as curvesCoplanar has it, the polyline's plane found once.
    OdGePlane plane;
    const bool planar = AlpCmdUtils::entityPlane(polyline, plane);
    std::vector<OdDbObjectId> candidateIds;
    std::vector<JoinItem> candidates;
    bool notCoplanar = false;
    for (const OdDbObjectId id : m_workIds) {
        JoinItem item = joinItemOf(id.safeOpenObject());
        if (!planar || !item.plane || !item.plane->isCoplanarTo(plane)) {
            notCoplanar = true;
            continue;
        }
        candidateIds.push_back(id);
        candidates.push_back(item);
    }
    if (notCoplanar)
        printResource(kNotCoplanarMessage);

    // Nothing to join leaves only the report; no object that touches, the message as well.
    int count = 0;
    if (!candidates.empty()) {
        const OdDbPolylinePtr joined = toLwPolyline(*polyline);
        if (!joined) {
            count = kOptionWrongKind;
        } else {
            vantrel::pedit::VertexChain chain(*joined);
            const std::vector<std::size_t> taken = vantrel::pedit::joinTouching(chain, candidates, [&](std::size_t i) {
                return toLwPolyline(*OdDbEntityPtr(candidateIds[i].safeOpenObject()));
            });
            count = static_cast<int>(taken.size());
            if (count > 0) {
                chain.writeTo(*joined);
                vantrel::pedit::closeWhereEndsMeet(*joined);
                polyline->handOverTo(joined.get(), true, true);
                for (const std::size_t i : taken)
                    eraseObject(candidateIds[i]);
            }
        }
        if (count <= 0)
            printResource(kMustTouchMessage);
    }
    if (count >= 0)
        reportJoined(count);
    return kOptionDone;
}

std::int32_t CPeditCmd::joinSelectedPolylines()
{
    m_workIds = m_selectedIds;
    if (askFuzzAndJoinType() == kInputCancel)
        return kOptionCancelled;

    std::vector<JoinItem> items;
    items.reserve(m_workIds.size());
    for (const OdDbObjectId id : m_workIds)
        items.push_back(joinItemOf(id.safeOpenObject()));
    const vantrel::pedit::GapJoin joins
        = vantrel::pedit::joinAcrossGaps(items, m_joinType, m_fuzzDistance, [&](std::size_t i) {
              return toLwPolyline(*OdDbEntityPtr(m_workIds[i].safeOpenObject()));
          });
    if (joins.notCoplanar)
        printResource(kNotCoplanarMessage);

    // Each joined polyline replaces its base as a new object; the objects joined to it go.
    std::unordered_map<OdDbObjectId, std::size_t> selectedAt;
    for (std::size_t i = 0; i < m_selectedIds.size(); ++i)
        selectedAt.emplace(m_selectedIds[i], i);
    std::vector<bool> changed(items.size(), false);
    for (const auto& [base, joined] : joins.bases) {
        changed[base] = true;
        OdDbPolylinePtr posted = joined;
        OdDbObjectId id;
        // The base goes only once the joined polyline is in the drawing.
        if (AlpCmdUtils::postToDb(id, posted, true).isNull())
            throw OdError(eInvalidInput, "the joined polyline could not be added to the drawing");
        eraseObject(m_workIds[base]);
        if (const auto at = selectedAt.find(m_workIds[base]); at != selectedAt.end())
            m_selectedIds[at->second] = id;
    }
    for (const std::size_t c : joins.joined) {
        changed[c] = true;
        eraseObject(m_workIds[c]);
        if (const auto at = selectedAt.find(m_workIds[c]); at != selectedAt.end())
            m_selectedIds[at->second] = OdDbObjectId::kNull;
    }
    std::erase(m_selectedIds, OdDbObjectId::kNull);
    // A lightweight polyline that ends where it starts is closed, joined or not.
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (changed[i] || items[i].closed || !items[i].plane)
            continue;
        const OdDbPolylinePtr lw = OdDbPolyline::cast(m_workIds[i].safeOpenObject().get());
        if (lw && vantrel::pedit::endsMeet(*lw)) {
            lw->upgradeOpen();
            lw->setClosed(true);
        }
    }

    const int count = static_cast<int>(joins.joined.size());
    if (count == 0 && m_joinType == JoinType::Extend)
        printResource(kFuzzTooSmallMessage);
    reportJoined(count);
    return kOptionDone;
}

void CPeditCmd::reportJoined(int count)
{
    CXStringW report;
    report.Format(vantrel::loadResource(kSegmentsAddedFormat), count);
    m_document->editor().printMessage(L"\n%s", report);
    if (count > 0)
        for (const OdDbObjectId id : m_selectedIds)
            AlpCmdUtils::touchEntity(OdDbEntityPtr(id.safeOpenObject()));
}

void CPeditCmd::printJoinType()
{
    const CXStringW names = vantrel::loadResource(kJoinTypeNames);
    CXStringW text;
    text.Format(vantrel::loadResource(kJoinTypeFormat),
                AlpCmdUtils::keywordAt(names, static_cast<int>(m_joinType), L" "));
    m_document->editor().printMessage(L"\n%s", text);
}

InputResult CPeditCmd::askFuzzAndJoinType()
{
    printJoinType();
    const CXStringW keyword = vantrel::loadResource(kJoinTypeKeyword);
    for (;;) {
        double fuzz = m_fuzzDistance;
        const InputResult answer = m_document->editor().getReal(
            fuzz, AlpCmdUtils::promptWithDefault(kFuzzPrompt, m_fuzzDistance), keyword, kAcceptEmpty);
        if (answer == kInputValue) {
            // A negative distance would join nothing.
            if (fuzz < 0.0) {
                printResource(kNegativeFuzzMessage);
                continue;
            }
            m_fuzzDistance = fuzz;
            return kInputValue;
        }
        if (answer != kJointype)
            return answer;
        const InputResult type = m_document->editor().getKeyword(vantrel::loadResource(kJoinTypePrompt),
                                                                 vantrel::loadResource(kJoinTypeNames), kAcceptEmpty);
        if (type == kInputCancel)
            return kInputCancel;
        if (type >= kFirstJoinType && type <= kLastJoinType)
            m_joinType = static_cast<JoinType>(type - kFirstJoinType + 1);
        printJoinType();
    }
}
