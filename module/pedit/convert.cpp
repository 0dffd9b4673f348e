// Turning a picked line, arc or spline into a lightweight polyline that takes its place (after
// the conversion question and, for a spline, the precision prompt), and the lightweight copies
// Join appends.
#include <cmath>
#include <numbers>

#include <vantrel/db/OdDbArc.h>
#include <vantrel/db/OdDbLine.h>
#include <vantrel/db/OdDbSpline.h>
#include <vantrel/db/OdError.h>
#include <vantrel/ge/OdGeMatrix3d.h>
#include <vantrel/host/HostDocument.h>
#include <vantrel/host/hostgeomutils.h>

#include "frame/AlpCmdUtils.h"
#include "frame/command_exception.h"
#include "frame/host_binding.h"
#include "frame/module_instance.h"
#include "pedit/CPeditCmd.h"
#include "pedit/polyline_edits.h"
#include "pedit/sysvars.h"

namespace {

// The last precision given for a spline, for the rest of the session.
int splinePrecision = 10;
constexpr int kMostPrecision = 99;
// Ends closer than this make a line or arc too short to convert.
constexpr double kShortest = 1e-10;
// The flags of the precision request.
constexpr InputFlags kPrecisionFlags = 260;

// The polyline of one straight or arc segment from start to end in the plane through start
// with the normal: its elevation is that plane's distance from the world origin.
OdDbPolylinePtr segmentPolyline(OdDbDatabase* db, const OdGePoint3d& start, const OdGePoint3d& end,
                                const OdGeVector3d& normal, double bulge)
{
    const OdGeMatrix3d toPlane = OdGeMatrix3d::worldToPlane(normal);
    const OdGePoint3d s = OdGePoint3d(start).transformBy(toPlane);
    const OdGePoint3d e = OdGePoint3d(end).transformBy(toPlane);
    OdDbPolylinePtr polyline = OdDbPolyline::createObject();
    polyline->setDatabaseDefaults(db);
    polyline->setNormal(normal);
    polyline->setElevation(s.z);
    polyline->addVertexAt(0, OdGePoint2d(s.x, s.y), bulge);
    polyline->addVertexAt(1, OdGePoint2d(e.x, e.y));
    return polyline;
}

// The source gives its place in the drawing (id, extended data, extension dictionary) to the
// polyline, unless it is to be kept or is not in the drawing.
void replaceSource(OdDbEntity& source, OdDbPolyline& polyline, bool keepSource)
{
    if (keepSource || !source.isDBRO())
        return;
    if (!source.isWriteEnabled())
        source.upgradeOpen();
    source.handOverTo(&polyline, true, true);
}

// How far a spline's polyline may stray from it: a hundredth of the spline's size at precision
// 0, ten times less for every 20 steps of precision.
double splineTolerance(const OdDbSpline& spline, int precision)
{
    OdGeExtents3d extents;
    if (spline.getGeomExtents(extents) != eOk)
        return 0.0;
    const double size = extents.maxPoint().distanceTo(extents.minPoint());
    return size / 100.0 * std::pow(10.0, -precision / 20.0);
}

} // namespace

CPeditCmd::TryConvertResult CPeditCmd::TryConvertToPolyline(OdDbObjectId id, OdDbObjectId& out, bool singlePick,
                                                            bool mayAsk)
{
    try {
        out = OdDbObjectId::kNull;
        const std::int32_t accept = vantrel::pedit::readSysVar(L"PEDITACCEPT", m_database.get()).value_or(0);
        bool ask = mayAsk;
        if (accept == 1) {
            m_conversionAsked = 1;
            ask = false;
        }
        const OdDbEntityPtr source = id.safeOpenObject();
        if (ask && accept == 0 && m_conversionAsked == 0) {
            bool convert = true;
            const InputResult answer
                = AlpCmdUtils::askYesNo(singlePick ? kConvertOnePrompt : kConvertManyPrompt, convert, true);
            m_conversionAsked = 1;
            if (answer == kInputCancel)
                return kCancelled;
            if (!convert)
                return kDeclined;
        }
        OdDbPolylinePtr polyline;
        switch (classifyObject(source.get())) {
        case kLine: polyline = ConvertLineToPolyline(id, false); break;
        case kArc: polyline = ConvertArcToPolyline(id, false); break;
        case kSpline: {
            CXStringW prompt;
            prompt.Format(vantrel::loadResource(kPrecisionPrompt), splinePrecision);
            for (;;) {
                std::int32_t precision = splinePrecision;
                const InputResult answer = m_document->editor().getInteger(precision, prompt, nullptr, kPrecisionFlags);
                if (answer == kInputCancel)
                    return kCancelled;
                if (answer == kInputEmpty)
                    break;
                if (answer != kInputValue)
                    continue;
                if (precision < 0 || precision > kMostPrecision) {
                    printResource(kPrecisionRangeMessage);
                    continue;
                }
                splinePrecision = precision;
                break;
            }
            polyline = ConvertSplineToPolyline(id, splinePrecision, false);
            break;
        }
        default: return kUnusable;
        }
        if (!polyline)
            return kUnusable;
        polyline->setPropertiesFrom(source.get(), true);
        out = polyline->objectId();
        m_kindFlags = (m_kindFlags & ~(kArc | kLine | kSpline)) | kLwPolyline;
        return kAccepted;
    } catch (...) {
        showCommandException(L"CPeditCmd::TryConvertToPolyline");
        return kUnusable;
    }
}

OdDbPolylinePtr CPeditCmd::ConvertLineToPolyline(OdDbObjectId lineId, bool keepSource)
{
    try {
        const OdDbLinePtr line = lineId.safeOpenObject();
        const OdGePoint3d start = line->startPoint(), end = line->endPoint();
        if (start.distanceTo(end) <= kShortest)
            return OdDbPolylinePtr();
        OdDbPolylinePtr polyline = segmentPolyline(line->database(), start, end, line->normal(), 0.0);
        replaceSource(*line, *polyline, keepSource);
        return polyline;
    } catch (...) {
        showCommandException(L"CPeditCmd::ConvertLineToPolyline");
        return OdDbPolylinePtr();
    }
}

OdDbPolylinePtr CPeditCmd::ConvertArcToPolyline(OdDbObjectId arcId, bool keepSource)
{
    try {
        const OdDbArcPtr arc = arcId.safeOpenObject();
        OdGePoint3d start, end;
        odCheck(arc->getStartPoint(start));
        odCheck(arc->getEndPoint(end));
        if (start.distanceTo(end) <= kShortest)
            return OdDbPolylinePtr();
        const double a0 = arc->startAngle(), a1 = arc->endAngle();
        const double sweep = std::fmod(a0 > a1 ? 2.0 * std::numbers::pi - a0 + a1 : a1 - a0, 2.0 * std::numbers::pi);
        OdDbPolylinePtr polyline = segmentPolyline(arc->database(), start, end, arc->normal(), std::tan(0.25 * sweep));
        replaceSource(*arc, *polyline, keepSource);
        return polyline;
    } catch (...) {
        showCommandException(L"CPeditCmd::ConvertArcToPolyline");
        return OdDbPolylinePtr();
    }
}

OdDbPolylinePtr CPeditCmd::ConvertSplineToPolyline(OdDbObjectId splineId, int precision, bool keepSource)
{
    try {
        const OdDbSplinePtr spline = splineId.safeOpenObject();
        OdDbDatabase* db = spline->database();
        const std::optional<std::int32_t> mode = vantrel::pedit::readSysVar(L"PLINECONVERTMODE", db);
        if (!mode)
            return OdDbPolylinePtr();
        const int pieces = std::abs(vantrel::pedit::splineSettings(db).segments);
        const OdDb2dPolylinePtr fitted = HostGeUtils::NURBSToPolyline2DAsSplineFit(
            *spline, *mode == 1 ? -pieces : pieces, splineTolerance(*spline, precision));
        if (!fitted)
            return OdDbPolylinePtr();
        OdDbPolylinePtr polyline = HostGeUtils::polyFrom2dPoly(*fitted);
        if (!polyline)
            return OdDbPolylinePtr();
        polyline->setDatabaseDefaults(db);
        replaceSource(*spline, *polyline, keepSource);
        return polyline;
    } catch (...) {
        showCommandException(L"CPeditCmd::ConvertSplineToPolyline");
        return OdDbPolylinePtr();
    }
}

OdDbPolylinePtr CPeditCmd::toLwPolyline(const OdDbEntity& entity)
{
    if (auto lw = OdDbPolyline::cast(&entity))
        return OdDbPolylinePtr(lw->clone());
    if (auto pl = OdDb2dPolyline::cast(&entity))
        return vantrel::pedit::toLightweight(*pl->database(), *pl);
    if (OdDbArc::cast(&entity))
        return ConvertArcToPolyline(entity.objectId(), true);
    if (OdDbLine::cast(&entity))
        return ConvertLineToPolyline(entity.objectId(), true);
    return OdDbPolylinePtr();
}
