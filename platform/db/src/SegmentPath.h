// The drawn path of a polyline as world-space line and arc segments, answering the curve
// queries of the polyline classes: vertex i sits at parameter i, and inside a segment the
// parameter runs linearly with the distance, so distances along arcs are exact.
#pragma once

#include <span>
#include <vector>

#include <vantrel/ge/OdGePoint2d.h>
#include <vantrel/ge/OdGePoint3d.h>
#include <vantrel/ge/OdGeVector3d.h>

namespace vantrel {

class SegmentPath {
public:
    struct Segment {
        OdGePoint3d start, end;
        bool isArc = false;
        // Arcs only: counter-clockwise about `axis` by `sweep` (> 0) from `start`.
        OdGePoint3d center;
        OdGeVector3d axis;
        OdGeVector3d startDir; // unit, from the center towards start
        double radius = 0.0;
        double sweep = 0.0;
        double length = 0.0;
    };

    // A planar path of OCS points with bulges (bulge i belongs to the segment leaving vertex i),
    // lifted into world space by the plane's normal and elevation.
    static SegmentPath fromBulges(std::span<const OdGePoint2d> points, std::span<const double> bulges, bool closed,
                                  const OdGeVector3d& normal, double elevation);
    static SegmentPath fromPoints(std::span<const OdGePoint3d> points, bool closed);

    bool isEmpty() const { return m_vertexCount == 0; }
    std::size_t numSegments() const { return m_segments.size(); }
    const Segment& segment(std::size_t i) const { return m_segments[i]; }
    double endParam() const { return static_cast<double>(m_segments.size()); }
    double length() const { return m_cumulative.empty() ? 0.0 : m_cumulative.back(); }
    // Size of the path for tolerances: the largest coordinate magnitude plus its length.
    double size() const { return m_size; }

    // All take parameters within [0, endParam()]; callers check the range.
    OdGePoint3d pointAt(double param) const;
    OdGeVector3d firstDeriv(double param) const;
    OdGeVector3d secondDeriv(double param) const;
    double distAt(double param) const;
    // dist within [0, length()].
    double paramAtDist(double dist) const;
    // The nearest point of the path (with `extend`, of an open path's end lines prolonged);
    // its parameter may leave [0, endParam()] only when extended.
    OdGePoint3d closestPoint(const OdGePoint3d& given, bool extend, double& param) const;

private:
    void addLine(const OdGePoint3d& a, const OdGePoint3d& b);
    void finish();
    // The segment holding a parameter, and the parameter within it (0..1).
    std::size_t locate(double param, double& t) const;

    std::vector<Segment> m_segments;
    std::vector<double> m_cumulative; // distance at the end of each segment
    std::size_t m_vertexCount = 0;
    OdGePoint3d m_single; // the point of a path with one vertex
    double m_size = 0.0;
    bool m_closed = false;
};

} // namespace vantrel
