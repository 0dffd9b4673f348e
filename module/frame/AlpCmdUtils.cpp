// The shared command services. Posting decides the target space with the host's rule for the
// space the user works in; the plane tests read the plane from the curve's start and normal.
#include "frame/AlpCmdUtils.h"

#include <optional>
#include <string_view>

#include <vantrel/db/OdDb2dVertex.h>
#include <vantrel/db/OdDbArc.h>
#include <vantrel/db/OdDbBlockTableRecord.h>
#include <vantrel/db/OdDbCurve.h>
#include <vantrel/db/OdDbLine.h>
#include <vantrel/db/OdDbPolyline.h>
#include <vantrel/ge/OdGeContext.h>
#include <vantrel/host/HostDocument.h>
#include <vantrel/host/hostutils.h>

#include "frame/command_exception.h"
#include "frame/host_binding.h"
#include "frame/module_instance.h"

namespace {

// Switching the open mode there and back is what makes the host regenerate an object.
void reopen(OdDbObject& object)
{
    if (object.openMode() == OdDb::kForWrite) {
        object.downgradeOpen();
        object.upgradeOpen();
    } else {
        object.upgradeOpen();
        object.downgradeOpen();
    }
}

std::optional<OdGeVector3d> planarCurveNormal(const OdDbEntity* entity)
{
    if (auto polyline = OdDbPolyline::cast(entity))
        return polyline->normal();
    if (auto polyline = OdDb2dPolyline::cast(entity))
        return polyline->normal();
    if (auto line = OdDbLine::cast(entity))
        return line->normal();
    if (auto arc = OdDbArc::cast(entity))
        return arc->normal();
    return std::nullopt;
}

} // namespace

bool AlpCmdUtils::post(OdDbObjectId& id, OdDbEntity* entity, bool refresh)
{
    try {
        HostDocument* document = vantrel::activeDocument();
        if (!document)
            throw OdError(eNullObjectPointer, "no drawing is open");
        OdDbDatabasePtr db(document->database());
        OdDbBlockTableRecordPtr space = getActiveBTRId(db.get()).safeOpenObject(OdDb::kForWrite);
        const OdDbObjectId newId = space->appendOdDbEntity(entity);
        if (refresh)
            touchEntity(newId.safeOpenObject(OdDb::kForRead));
        id = newId;
        return true;
    } catch (...) {
        showCommandException(L"AlpCmdUtils::postToDb");
        id = OdDbObjectId::kNull;
        return false;
    }
}

InputResult AlpCmdUtils::askYesNo(unsigned promptId, bool& answer, bool defaultAnswer)
{
    HostDocument* document = vantrel::activeDocument();
    if (!document)
        return kInputCancel;
    const CXStringW prompt = vantrel::loadResource(promptId);
    const CXStringW keywords = vantrel::loadResource(kYesNoKeywords);
    const InputResult result = document->editor().getKeyword(prompt, keywords, kAcceptEmpty, nullptr, nullptr);
    switch (result) {
    case kInputEmpty: answer = defaultAnswer; break;
    case kInputFirstKeyword: answer = true; break;
    case kInputFirstKeyword + 1: answer = false; break;
    default: break;
    }
    return result;
}

CXStringW AlpCmdUtils::promptWithDefault(unsigned promptId, double value)
{
    CXStringW suffix;
    suffix.Format(L" <%f>:", value);
    return vantrel::loadResource(promptId) + suffix;
}

CXStringW AlpCmdUtils::keywordAt(const wchar_t* list, int n, const wchar_t* delimiters)
{
    const std::wstring_view text = list ? list : L"";
    const std::wstring_view cuts = delimiters ? delimiters : L"";
    int count = 0;
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t start = text.find_first_not_of(cuts, pos);
        if (start == std::wstring_view::npos)
            break;
        std::size_t end = text.find_first_of(cuts, start);
        if (end == std::wstring_view::npos)
            end = text.size();
        if (++count == n)
            return CXStringW(text.substr(start, end - start));
        pos = end;
    }
    return CXStringW(L" ");
}

void AlpCmdUtils::printPoint(const OdGePoint3d& point)
{
    if (HostEditor* editor = vantrel::messageEditor())
        editor->printMessage(L"\nPoint: %f, %f, %f", point.x, point.y, point.z);
}

void AlpCmdUtils::touchEntity(const OdDbEntityPtr& entity)
{
    try {
        reopen(*entity);
        if (auto polyline = OdDb2dPolyline::cast(entity.get())) {
            for (auto it = polyline->vertexIterator(); !it->done(); it->step()) {
                OdDb2dVertexPtr vertex = it->vertex(OdDb::kForRead);
                reopen(*vertex);
            }
        }
    } catch (...) {
        // Touching only asks for a redraw: an entity that cannot be reopened keeps the graphics
        // it has, and the command that touched it goes on.
    }
}

bool AlpCmdUtils::entityPlane(const OdDbEntityPtr& curve, OdGePlane& plane)
{
    const std::optional<OdGeVector3d> normal = planarCurveNormal(curve.get());
    OdGePoint3d start;
    // Every entity with a planar-curve normal is a curve.
    if (!normal || static_cast<const OdDbCurve*>(curve.get())->getStartPoint(start) != eOk)
        return false;
    plane.set(start, *normal);
    return true;
}

bool AlpCmdUtils::curvesCoplanar(const OdDbObjectPtr& a, const OdDbObjectPtr& b)
{
    OdDbCurvePtr curveA = OdDbCurve::cast(a.get());
    OdDbCurvePtr curveB = OdDbCurve::cast(b.get());
    OdGePlane planeA, planeB;
    return curveA && curveB && entityPlane(curveA, planeA) && entityPlane(curveB, planeB)
        && planeA.isCoplanarTo(planeB, OdGeContext::gTol);
}

bool AlpCmdUtils::curveParallelTo(const OdDbObjectPtr& object, const OdGePlane* reference)
{
    if (!reference)
        return true;
    OdDbCurvePtr curve = OdDbCurve::cast(object.get());
    OdGePlane plane;
    return curve && entityPlane(curve, plane) && plane.isParallelTo(*reference, OdGeContext::gTol);
}

bool AlpCmdUtils::openVertexAt(const OdDb2dPolylinePtr& polyline, unsigned index, OdDb2dVertexPtr& vertex,
                               OdDb::OpenMode mode)
{
    unsigned at = 0;
    for (auto it = polyline->vertexIterator(); !it->done(); it->step(), ++at) {
        if (at == index) {
            vertex = polyline->openVertex(it->objectId(), mode, false);
            return !vertex.isNull();
        }
    }
    return false;
}
