// Snap points of the world-draw primitives, and the choice of the nearest.
#include "view/ObjectSnap.h"

#include <cmath>
#include <numbers>

namespace vantrel::studio {

namespace {

constexpr double kTwoPi = 2.0 * std::numbers::pi;

double planeDistance(const OdGePoint3d& a, const OdGePoint3d& b) { return std::hypot(a.x - b.x, a.y - b.y); }

} // namespace

void SnapCollector::path(std::span<const PathVertex> vertices, bool closed, const OdGeVector3d& normal)
{
    const OdGeVector3d n = normal.isZeroLength() ? OdGeVector3d::kZAxis : normal.normal();
    const std::size_t segments = vertices.empty() ? 0 : (closed ? vertices.size() : vertices.size() - 1);
    for (const PathVertex& v : vertices)
        add(v.point, SnapKind::End);
    for (std::size_t i = 0; i < segments; ++i) {
        const OdGePoint3d& a = vertices[i].point;
        const OdGePoint3d& b = vertices[(i + 1) % vertices.size()].point;
        const double bulge = vertices[i].bulge;
        const OdGePoint3d mid = a + (b - a) / 2.0;
        if (bulge == 0.0 || a.isEqualTo(b)) {
            add(mid, SnapKind::Mid);
            continue;
        }
        // The arc's middle lies off the chord's middle by the sagitta, bulge times half the chord.
        const OdGeVector3d chord = b - a;
        const OdGeVector3d right = chord.crossProduct(n).normal();
        const double half = chord.length() / 2.0;
        add(mid + right * (bulge * half), SnapKind::Mid);
        const double sweep = 4.0 * std::atan(bulge);
        add(mid - right * (half / std::tan(sweep / 2.0)), SnapKind::Center);
    }
}

void SnapCollector::polygon(std::span<const OdGePoint3d> corners, bool)
{
    for (std::size_t i = 0; i < corners.size(); ++i) {
        add(corners[i], SnapKind::End);
        const OdGePoint3d& next = corners[(i + 1) % corners.size()];
        add(corners[i] + (next - corners[i]) / 2.0, SnapKind::Mid);
    }
}

void SnapCollector::circularArc(const OdGePoint3d& center, double radius, const OdGeVector3d& normal,
                                const OdGeVector3d& startVector, double sweepAngle)
{
    add(center, SnapKind::Center);
    if (std::fabs(sweepAngle) >= kTwoPi - 1e-12)
        return;
    const OdGeVector3d n = normal.isZeroLength() ? OdGeVector3d::kZAxis : normal.normal();
    const OdGeVector3d u = (startVector.isZeroLength() ? n.perpVector() : startVector.normal()) * radius;
    const OdGeVector3d v = n.crossProduct(u);
    auto at = [&](double t) { return center + u * std::cos(t) + v * std::sin(t); };
    add(at(0.0), SnapKind::End);
    add(at(sweepAngle), SnapKind::End);
    add(at(sweepAngle / 2.0), SnapKind::Mid);
}

void SnapCollector::ellipticArc(const OdGePoint3d& center, const OdGeVector3d& majorAxis, const OdGeVector3d& minorAxis,
                                double startAngle, double endAngle)
{
    add(center, SnapKind::Center);
    if (std::fabs(endAngle - startAngle) >= kTwoPi - 1e-12)
        return;
    auto at = [&](double t) { return center + majorAxis * std::cos(t) + minorAxis * std::sin(t); };
    add(at(startAngle), SnapKind::End);
    add(at(endAngle), SnapKind::End);
    add(at((startAngle + endAngle) / 2.0), SnapKind::Mid);
}

void SnapCollector::region(std::span<const std::vector<OdGePoint3d>> loops)
{
    for (const std::vector<OdGePoint3d>& loop : loops)
        polygon(loop, true);
}

void SnapCollector::text(const TextRun& run) { add(run.origin, SnapKind::End); }

void SnapCollector::marker(const OdGePoint3d& position, MarkerKind, double) { add(position, SnapKind::End); }

std::optional<SnapPoint> nearestSnap(const std::vector<OdDbEntityPtr>& entities, const OdGePoint3d& at, double reach)
{
    std::optional<SnapPoint> best;
    double bestDistance = reach;
    for (const OdDbEntityPtr& entity : entities) {
        SnapCollector collector;
        entity->draw(collector);
        for (const SnapPoint& s : collector.points()) {
            const double d = planeDistance(s.point, at);
            const bool closer = d < bestDistance || (d == bestDistance && best && s.kind == SnapKind::End);
            if (d <= reach && (!best || closer)) {
                best = s;
                bestDistance = d;
            }
        }
    }
    return best;
}

} // namespace vantrel::studio
