// LINE, CIRCLE, ARC, ELLIPSE, SPLINE and PLINE: the drawing commands a drafter needs around the
// module's commands. New entities take the drawing's defaults and go to the space the user works in.
#include "commands/host_commands.h"

#include <array>
#include <cmath>
#include <numbers>
#include <optional>
#include <vector>

#include <vantrel/db/OdDbArc.h>
#include <vantrel/db/OdDbBlockTableRecord.h>
#include <vantrel/db/OdDbCircle.h>
#include <vantrel/db/OdDbEllipse.h>
#include <vantrel/db/OdDbLine.h>
#include <vantrel/db/OdDbPolyline.h>
#include <vantrel/db/OdDbSpline.h>
#include <vantrel/db/OdError.h>
#include <vantrel/ge/OdGeCircArc3d.h>
#include <vantrel/host/HostDocument.h>
#include <vantrel/host/hostutils.h>

namespace vantrel {

OdDbObjectId postToActiveSpace(HostDocument& doc, OdDbEntity* entity)
{
    OdDbDatabase* db = doc.database();
    entity->setDatabaseDefaults(db);
    OdDbBlockTableRecordPtr space = getActiveBTRId(db).safeOpenObject(OdDb::kForWrite);
    return space->appendOdDbEntity(entity);
}

namespace {

constexpr double kThinnestEllipse = 1e-6; // the smallest ratio of minor to major axis

// A point that differs from `from`; Enter and Esc give nothing.
std::optional<OdGePoint3d> distinctPoint(HostEditor& ed, const OdGePoint3d& from, const wchar_t* prompt)
{
    for (;;) {
        OdGePoint3d p;
        if (ed.getPoint(&from, p, prompt, nullptr, kRubberBand) != kInputValue)
            return std::nullopt;
        if (!p.isEqualTo(from))
            return p;
        ed.printMessage(L"\nThe point must differ from the previous one.");
    }
}

// A positive distance from base; Enter and Esc give nothing.
std::optional<double> positiveDistance(HostEditor& ed, const OdGePoint3d& base, const wchar_t* prompt)
{
    for (;;) {
        double d = 0.0;
        if (ed.getDistance(&base, d, prompt, nullptr, kRubberBand) != kInputValue)
            return std::nullopt;
        if (d > 0.0)
            return d;
        ed.printMessage(L"\nThe value must be positive.");
    }
}

OdDbObjectId postLine(HostDocument& doc, const OdGePoint3d& a, const OdGePoint3d& b)
{
    OdDbLinePtr line = OdDbLine::createObject();
    line->setStartPoint(a);
    line->setEndPoint(b);
    line->setNormal(get_UCSZDIR(doc.database()));
    return postToActiveSpace(doc, line.get());
}

void postCircle(HostDocument& doc, const OdGePoint3d& center, const OdGeVector3d& normal, double radius)
{
    OdDbCirclePtr circle = OdDbCircle::createObject();
    circle->setNormal(normal);
    circle->setCenter(center);
    circle->setRadius(radius);
    postToActiveSpace(doc, circle.get());
}

// The normal of a circle through three points, turned to face the way the UCS does.
OdGeVector3d facingUcs(HostDocument& doc, OdGeVector3d normal)
{
    return normal.dotProduct(get_UCSZDIR(doc.database())) < 0.0 ? -normal : normal;
}

// Segments stay in the drawing as they are drawn, so Esc keeps them, as Enter does.
void lineCommand(HostDocument& doc)
{
    HostEditor& ed = doc.editor();
    OdGePoint3d first;
    if (ed.getPoint(nullptr, first, L"Specify first point") != kInputValue)
        return;
    std::vector<OdGePoint3d> points{first};
    std::vector<OdDbObjectId> segments;
    for (;;) {
        OdGePoint3d next;
        InputResult r = ed.getPoint(&points.back(), next, L"Specify next point or [%s]", L"Close Undo", kRubberBand);
        if (r == kInputValue) {
            if (next.isEqualTo(points.back())) {
                ed.printMessage(L"\nThe point must differ from the previous one.");
                continue;
            }
            segments.push_back(postLine(doc, points.back(), next));
            points.push_back(next);
        } else if (r == kInputFirstKeyword) { // Close
            if (segments.size() < 2) {
                ed.printMessage(L"\nTwo segments are needed before the lines can be closed.");
                continue;
            }
            // Lines that came back to the start are closed already.
            if (!points.back().isEqualTo(points.front()))
                postLine(doc, points.back(), points.front());
            return;
        } else if (r == kInputFirstKeyword + 1) { // Undo
            if (segments.empty()) {
                ed.printMessage(L"\nAll segments already undone.");
                continue;
            }
            odCheck(OdDbObjectPtr(segments.back().safeOpenObject(OdDb::kForWrite))->erase());
            segments.pop_back();
            points.pop_back();
        } else {
            return;
        }
    }
}

void circleByCenter(HostDocument& doc, const OdGePoint3d& center)
{
    HostEditor& ed = doc.editor();
    const OdGeVector3d normal = get_UCSZDIR(doc.database());
    for (;;) {
        double radius = 0.0;
        InputResult r = ed.getDistance(&center, radius, L"Specify radius of circle or [%s]", L"Diameter", kRubberBand);
        if (r == kInputValue) {
            if (radius <= 0.0) {
                ed.printMessage(L"\nThe value must be positive.");
                continue;
            }
            postCircle(doc, center, normal, radius);
        } else if (r == kInputFirstKeyword) { // Diameter
            for (;;) {
                auto d = positiveDistance(ed, center, L"Specify diameter of circle");
                if (!d)
                    return;
                // Half the smallest double is 0.
                if (*d / 2.0 > 0.0) {
                    postCircle(doc, center, normal, *d / 2.0);
                    return;
                }
                ed.printMessage(L"\nThe value is too small.");
            }
        }
        return;
    }
}

void circleByDiameter(HostDocument& doc)
{
    HostEditor& ed = doc.editor();
    OdGePoint3d a;
    if (ed.getPoint(nullptr, a, L"Specify first end point of circle's diameter") != kInputValue)
        return;
    if (auto b = distinctPoint(ed, a, L"Specify second end point of circle's diameter"))
        postCircle(doc, a + (*b - a) * 0.5, get_UCSZDIR(doc.database()), a.distanceTo(*b) / 2.0);
}

// The arc through three points; the third is asked again while the points lie on a line.
std::optional<OdGeCircArc3d> threePointArc(HostEditor& ed, const wchar_t* first, const wchar_t* second,
                                           const wchar_t* third)
{
    OdGePoint3d a;
    if (ed.getPoint(nullptr, a, first) != kInputValue)
        return std::nullopt;
    auto b = distinctPoint(ed, a, second);
    if (!b)
        return std::nullopt;
    for (;;) {
        auto c = distinctPoint(ed, *b, third);
        if (!c)
            return std::nullopt;
        OdGeCircArc3d arc;
        if (arc.set(a, *b, *c))
            return arc;
        ed.printMessage(L"\nThe three points lie on a line.");
    }
}

void circleCommand(HostDocument& doc)
{
    HostEditor& ed = doc.editor();
    OdGePoint3d center;
    InputResult r = ed.getPoint(nullptr, center, L"Specify center point for circle or [%s]", L"3P 2P");
    if (r == kInputValue) {
        circleByCenter(doc, center);
    } else if (r == kInputFirstKeyword) { // 3P
        if (auto arc = threePointArc(ed, L"Specify first point on circle", L"Specify second point on circle",
                                     L"Specify third point on circle"))
            postCircle(doc, arc->center(), facingUcs(doc, arc->normal()), arc->radius());
    } else if (r == kInputFirstKeyword + 1) { // 2P
        circleByDiameter(doc);
    }
}

// An arc runs counter-clockwise about its normal; when the normal is turned to face the UCS the
// ends trade places so that the arc keeps its points.
void arcCommand(HostDocument& doc)
{
    auto arc = threePointArc(doc.editor(), L"Specify start point of arc", L"Specify second point of arc",
                             L"Specify end point of arc");
    if (!arc)
        return;
    OdGeVector3d normal = arc->normal();
    OdGePoint3d from = arc->evalPoint(arc->startAng());
    OdGePoint3d to = arc->evalPoint(arc->endAng());
    if (normal.dotProduct(get_UCSZDIR(doc.database())) < 0.0) {
        normal = -normal;
        std::swap(from, to);
    }
    const OdGeMatrix3d toOcs = OdGeMatrix3d::worldToPlane(normal);
    const OdGePoint3d c = OdGePoint3d(arc->center()).transformBy(toOcs);
    auto angleOf = [&](OdGePoint3d p) {
        p.transformBy(toOcs);
        return std::atan2(p.y - c.y, p.x - c.x);
    };
    OdDbArcPtr entity = OdDbArc::createObject();
    entity->setNormal(normal);
    entity->setCenter(arc->center());
    entity->setRadius(arc->radius());
    entity->setStartAngle(angleOf(from));
    entity->setEndAngle(angleOf(to));
    postToActiveSpace(doc, entity.get());
}

// The ellipse lies in the UCS plane; its longer axis becomes the major axis.
void ellipseCommand(HostDocument& doc)
{
    HostEditor& ed = doc.editor();
    OdGePoint3d p;
    InputResult r = ed.getPoint(nullptr, p, L"Specify axis endpoint of ellipse or [%s]", L"Center");
    OdGePoint3d center;
    OdGeVector3d halfAxis;
    if (r == kInputValue) {
        auto other = distinctPoint(ed, p, L"Specify other endpoint of axis");
        if (!other)
            return;
        center = p + (*other - p) * 0.5;
        halfAxis = *other - center;
    } else if (r == kInputFirstKeyword) { // Center
        if (ed.getPoint(nullptr, center, L"Specify center of ellipse") != kInputValue)
            return;
        auto end = distinctPoint(ed, center, L"Specify endpoint of axis");
        if (!end)
            return;
        halfAxis = *end - center;
    } else {
        return;
    }
    const OdGeVector3d normal = get_UCSZDIR(doc.database());
    halfAxis -= normal * halfAxis.dotProduct(normal);
    if (halfAxis.isZeroLength()) {
        ed.printMessage(L"\nThe axis is perpendicular to the UCS plane.");
        return;
    }
    const double axisLength = halfAxis.length();
    OdGeVector3d major = halfAxis;
    double ratio = 0.0;
    for (;;) {
        auto other = positiveDistance(ed, center, L"Specify distance to other axis");
        if (!other)
            return;
        major = halfAxis;
        ratio = *other / axisLength;
        if (ratio > 1.0) {
            major = normal.crossProduct(halfAxis).normal() * *other;
            ratio = axisLength / *other;
        }
        // DXF readers take no ellipse thinner than this.
        if (ratio >= kThinnestEllipse)
            break;
        ed.printMessage(L"\nThe axes must be within a factor of 1e6 of each other.");
    }
    OdDbEllipsePtr ellipse = OdDbEllipse::createObject();
    ellipse->set(center, normal, major, ratio);
    postToActiveSpace(doc, ellipse.get());
}

// The spline is made when the user ends the list; Esc drops it.
void splineCommand(HostDocument& doc)
{
    HostEditor& ed = doc.editor();
    OdGePoint3d first;
    if (ed.getPoint(nullptr, first, L"Specify first point") != kInputValue)
        return;
    std::vector<OdGePoint3d> points{first};
    for (;;) {
        OdGePoint3d next;
        InputResult r = ed.getPoint(&points.back(), next, L"Specify next point or [%s]", L"Close Undo", kRubberBand);
        if (r == kInputValue) {
            if (next.isEqualTo(points.back()))
                ed.printMessage(L"\nThe point must differ from the previous one.");
            else
                points.push_back(next);
            continue;
        }
        if (r == kInputFirstKeyword) { // Close
            if (points.size() < 3) {
                ed.printMessage(L"\nThree points are needed before the spline can be closed.");
                continue;
            }
            points.push_back(points.front());
        } else if (r == kInputFirstKeyword + 1) { // Undo
            if (points.size() == 1)
                ed.printMessage(L"\nAll points already undone.");
            else
                points.pop_back();
            continue;
        } else if (r != kInputEmpty || points.size() < 2) {
            return;
        }
        OdDbSplinePtr spline = OdDbSpline::createObject();
        spline->setFitData(points, 3, 0.0, OdGeVector3d(), OdGeVector3d());
        postToActiveSpace(doc, spline.get());
        return;
    }
}

// PLINE: straight and arc segments with widths, built in the UCS plane through the start point.
// Arc segments continue tangentially from the segment before.
class PlineCommand {
public:
    explicit PlineCommand(HostDocument& doc)
        : m_doc(doc), m_ed(doc.editor()), m_normal(get_UCSZDIR(doc.database())),
          m_toOcs(OdGeMatrix3d::worldToPlane(m_normal)), m_toWorld(OdGeMatrix3d::planeToWorld(m_normal)),
          m_startWidth(doc.database()->sysVarDouble(L"PLINEWID")), m_endWidth(m_startWidth)
    {
    }

    void run()
    {
        OdGePoint3d start;
        if (m_ed.getPoint(nullptr, start, L"Specify start point") != kInputValue)
            return;
        m_elevation = OdGePoint3d(start).transformBy(m_toOcs).z;
        m_vertices.push_back({toPlane(start)});
        m_ed.printMessage(L"\nCurrent line-width is %s", formatNumber(m_startWidth));
        for (;;) {
            std::optional<Option> option = ask();
            if (!option) {
                // Enter and Esc keep what was drawn, as with LINE.
                post(false);
                return;
            }
            switch (*option) {
            case Option::Point: break;
            case Option::Arc: m_arcMode = true; break;
            case Option::Line: m_arcMode = false; break;
            case Option::Close:
                if (onClose())
                    return;
                break;
            case Option::Halfwidth: onWidth(0.5); break;
            case Option::Width: onWidth(1.0); break;
            case Option::Undo: onUndo(); break;
            }
        }
    }

private:
    enum class Option { Point, Arc, Line, Close, Halfwidth, Width, Undo };
    struct Vertex {
        OdGePoint2d point;
        double bulge = 0.0;
        double startWidth = 0.0;
        double endWidth = 0.0;
    };

    // One request of the current mode; a point adds its segment. Nothing when the user ended.
    std::optional<Option> ask()
    {
        static constexpr std::array kLineOptions{Option::Arc, Option::Close, Option::Halfwidth, Option::Undo,
                                                 Option::Width};
        static constexpr std::array kArcOptions{Option::Close, Option::Halfwidth, Option::Line, Option::Undo,
                                                Option::Width};
        const OdGePoint3d last = toWorld(m_vertices.back().point);
        OdGePoint3d p;
        InputResult r = m_arcMode
            ? m_ed.getPoint(&last, p, L"Specify end point of arc or [%s]", L"Close Halfwidth Line Undo Width",
                            kRubberBand)
            : m_ed.getPoint(&last, p, L"Specify next point or [%s]", L"Arc Close Halfwidth Undo Width", kRubberBand);
        if (r == kInputValue) {
            onPoint(toPlane(p));
            return Option::Point;
        }
        if (r < kInputFirstKeyword)
            return std::nullopt;
        return (m_arcMode ? kArcOptions : kLineOptions).at(static_cast<std::size_t>(r - kInputFirstKeyword));
    }

    void onPoint(const OdGePoint2d& point)
    {
        if (point.isEqualTo(m_vertices.back().point)) {
            m_ed.printMessage(L"\nThe point must differ from the previous one.");
            return;
        }
        if (addSegmentTo(point))
            m_vertices.push_back({point});
    }

    // Gives the last vertex the segment's bulge and widths; false when no arc can reach the point.
    bool addSegmentTo(const OdGePoint2d& point)
    {
        double bulge = 0.0;
        if (m_arcMode) {
            const OdGeVector2d chord = point - m_vertices.back().point;
            const OdGeVector2d t = tangent();
            const double turn = std::atan2(t.x * chord.y - t.y * chord.x, t.x * chord.x + t.y * chord.y);
            if (std::abs(std::abs(turn) - std::numbers::pi) < 1e-9) {
                m_ed.printMessage(L"\nNo arc leaves in the current direction and ends behind it.");
                return false;
            }
            bulge = std::tan(turn / 2.0);
        }
        Vertex& from = m_vertices.back();
        from.bulge = bulge;
        from.startWidth = m_startWidth;
        from.endWidth = m_endWidth;
        m_startWidth = m_endWidth;
        return true;
    }

    // The direction at the end of the last segment; along X before the first.
    OdGeVector2d tangent() const
    {
        if (m_vertices.size() < 2)
            return OdGeVector2d(1.0, 0.0);
        const Vertex& from = m_vertices[m_vertices.size() - 2];
        OdGeVector2d chord = m_vertices.back().point - from.point;
        chord.normalize();
        return chord.rotateBy(2.0 * std::atan(from.bulge));
    }

    bool onClose()
    {
        if (m_vertices.size() < 3) {
            m_ed.printMessage(L"\nTwo segments are needed before the polyline can be closed.");
            return false;
        }
        if (!addSegmentTo(m_vertices.front().point))
            return false;
        post(true);
        return true;
    }

    void onWidth(double factor)
    {
        const OdGePoint3d last = toWorld(m_vertices.back().point);
        const wchar_t* kind = factor < 1.0 ? L"half-width" : L"width";
        auto start = widthAnswer(last, L"Specify starting " + std::wstring(kind), m_startWidth * factor);
        if (!start)
            return;
        auto end = widthAnswer(last, L"Specify ending " + std::wstring(kind), *start);
        if (!end)
            return;
        m_startWidth = *start / factor;
        m_endWidth = *end / factor;
    }

    std::optional<double> widthAnswer(const OdGePoint3d& base, const std::wstring& prompt, double current)
    {
        const std::wstring shown = prompt + L" <" + formatNumber(current) + L">";
        for (;;) {
            double w = 0.0;
            InputResult r = m_ed.getDistance(&base, w, shown.c_str(), nullptr, kRubberBand);
            if (r == kInputEmpty)
                return current;
            if (r != kInputValue)
                return std::nullopt;
            if (w >= 0.0)
                return w;
            m_ed.printMessage(L"\nThe width must not be negative.");
        }
    }

    void onUndo()
    {
        if (m_vertices.size() < 2) {
            m_ed.printMessage(L"\nAll segments already undone.");
            return;
        }
        m_vertices.pop_back();
        Vertex& last = m_vertices.back();
        m_startWidth = last.startWidth;
        m_endWidth = last.endWidth;
        last = Vertex{last.point};
    }

    void post(bool closed)
    {
        if (m_vertices.size() < 2)
            return;
        OdDbPolylinePtr pline = OdDbPolyline::createObject();
        pline->setNormal(m_normal);
        pline->setElevation(m_elevation);
        for (unsigned int i = 0; i < m_vertices.size(); ++i) {
            const Vertex& v = m_vertices[i];
            pline->addVertexAt(i, v.point, v.bulge, v.startWidth, v.endWidth);
        }
        pline->setClosed(closed);
        postToActiveSpace(m_doc, pline.get());
    }

    OdGePoint2d toPlane(OdGePoint3d p) const
    {
        p.transformBy(m_toOcs);
        return OdGePoint2d(p.x, p.y);
    }
    OdGePoint3d toWorld(const OdGePoint2d& p) const
    {
        return OdGePoint3d(p.x, p.y, m_elevation).transformBy(m_toWorld);
    }

    HostDocument& m_doc;
    HostEditor& m_ed;
    const OdGeVector3d m_normal;
    const OdGeMatrix3d m_toOcs;
    const OdGeMatrix3d m_toWorld;
    double m_elevation = 0.0;
    std::vector<Vertex> m_vertices;
    // The widths of the next segment.
    double m_startWidth;
    double m_endWidth;
    bool m_arcMode = false;
};

} // namespace

void registerDrawCommands(CommandRegistry& registry)
{
    registry.addHostCommand(L"LINE", lineCommand);
    registry.addHostCommand(L"CIRCLE", circleCommand);
    registry.addHostCommand(L"ARC", arcCommand);
    registry.addHostCommand(L"ELLIPSE", ellipseCommand);
    registry.addHostCommand(L"SPLINE", splineCommand);
    registry.addHostCommand(L"PLINE", [](HostDocument& doc) { PlineCommand(doc).run(); });
}

} // namespace vantrel
