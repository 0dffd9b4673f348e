// "Edit vertex" of PEdit for lightweight, 2D and 3D polylines: the user walks the defining
// vertices with a marker and edits the polyline at the marked vertex; the whole sub-mode is one
// step of the command's undo. The sub-operations are in vertex_options.cpp.
#include <algorithm>
#include <optional>

#include <vantrel/db/OdError.h>
#include <vantrel/host/HostDocument.h>

#include "frame/module_instance.h"
#include "pedit/CPeditCmd.h"
#include "pedit/MarkerTracker.h"
#include "pedit/polyline_edits.h"
#include "pedit/vertex_edits.h"

namespace {

// The answers of the vertex prompt: 2D and lightweight polylines have all ten keywords, 3D ones
// the first seven and eXit in eighth place.
enum VertexKeyword : InputResult {
    kNext = kInputFirstKeyword,
    kPrevious,
    kBreak,
    kInsert,
    kMove,
    kRegen,
    kStraighten,
    kTangent,
    kWidth,
    kExit,
};
constexpr InputResult kExit3d = kTangent;

} // namespace

std::int32_t CPeditCmd::OnKeyEditVertex(OdDbObjectId id)
{
    OdDbCurvePtr polyline = OdDbCurve::cast(id.openObject().get());
    const bool is2d = polyline && OdDb2dPolyline::cast(polyline.get());
    const bool is3d = polyline && OdDb3dPolyline::cast(polyline.get());
    if (!polyline || (!is2d && !is3d && !OdDbPolyline::cast(polyline.get()))
        || vantrel::pedit::definingVertexCount(*polyline) == 0)
        return kOptionWrongKind;
    polyline.release();

    const CXStringW keywords = vantrel::loadResource(is3d ? kVertex3dKeywords : kVertexKeywords);
    unsigned current = 0;
    InputResult defaultKeyword = kNext;
    for (;;) {
        // Break, Tangent and Regen may put another object behind the id.
        polyline = id.safeOpenObject();
        const unsigned count = vantrel::pedit::definingVertexCount(*polyline);
        current = std::min(current, count - 1);
        const OdGePoint3d at = vantrel::pedit::definingVertexPosition(*polyline, current);
        OdDb2dVertexPtr vertex;
        if (auto pl = OdDb2dPolyline::cast(polyline.get()))
            vertex = vantrel::pedit::definingVertex2d(*pl, current, OdDb::kForRead);
        polyline.release();
        MarkerTracker marker(m_database.get(), at, vertex.get(), std::nullopt);
        vertex.release();
        InputResult answer = askAtMarker(
            kVertexPrompt, keywords, vantrel::loadResource(defaultKeyword == kNext ? kNextDefault : kPreviousDefault),
            defaultKeyword, at, marker);
        if (is3d && answer == kExit3d)
            answer = kExit;
        else if (is3d && answer > kExit3d)
            continue;

        if (answer == kNext || answer == kPrevious)
            defaultKeyword = answer;

        // One answer's change as a whole: a drawing error takes it back, is reported, and the
        // sub-mode goes on. An answer that ends the sub-mode gives its result.
        std::optional<std::int32_t> ending;
        OdDbTransactionScope change(*m_database);
        try {
            ending = OnVertexAnswer(id, answer, count, current);
            change.commit();
        } catch (const OdError& error) {
            change.abort();
            m_document->editor().printMessage(L"\n%s", error.description());
        }
        if (ending)
            return *ending;
    }
}

std::optional<std::int32_t> CPeditCmd::OnVertexAnswer(OdDbObjectId id, InputResult answer, unsigned count,
                                                      unsigned& current)
{
    switch (answer) {
    case kInputCancel: return kOptionCancelled;
    case kNext:
        if (current + 1 < count)
            ++current;
        return std::nullopt;
    case kPrevious:
        if (current > 0)
            --current;
        return std::nullopt;
    case kBreak:
    case kStraighten:
        if (OnVertices(id, current, answer == kBreak ? kBreakMode : kStraightenMode) == kOptionCancelled
            || vantrel::pedit::definingVertexCount(*OdDbCurvePtr(id.safeOpenObject())) < 2)
            return kOptionCancelled;
        return std::nullopt;
    case kInsert: {
        const std::int32_t inserted = OnVertexInsert(id, current);
        if (inserted == kOptionCancelled)
            return kOptionCancelled;
        if (inserted == kOptionDone)
            ++current;
        return std::nullopt;
    }
    case kMove: return OnVertexMove(id, current) == kOptionDone ? std::nullopt : std::optional(kOptionCancelled);
    case kRegen: vantrel::pedit::regenerate(id); return std::nullopt;
    case kTangent: return OnVertexTangent(id, current) == kOptionDone ? std::nullopt : std::optional(kOptionCancelled);
    case kWidth: return OnVertexWidth(id, current) == kOptionDone ? std::nullopt : std::optional(kOptionCancelled);
    case kExit: return kOptionDone;
    default:
        // A picked point, or a keyword that chooses nothing ("UU").
        return std::nullopt;
    }
}
