// The vertices of a lightweight polyline while Join adds objects at both of its ends. A deque, so
// that adding in front copies nothing, with the rules of the polyline's own vertex operations: a
// width below 0 stands for the constant width, and a vertex with other widths, or one given its
// widths, ends it (every vertex takes it as its own first). Written back at once.
#pragma once

#include <cstddef>
#include <deque>

#include <vantrel/db/OdDbPolyline.h>

namespace vantrel::pedit {

class VertexChain {
public:
    using Vertex = OdDbPolyline::Vertex;

    // The polyline's vertices, constant width and plane.
    explicit VertexChain(const OdDbPolyline& polyline);

    std::size_t size() const { return m_vertices.size(); }
    const Vertex& at(std::size_t index) const { return m_vertices[index]; }
    const Vertex& front() const { return m_vertices.front(); }
    const Vertex& back() const { return m_vertices.back(); }
    const OdGeVector3d& normal() const { return m_normal; }

    // A point of the polyline's plane in world coordinates, as the polyline gives its vertices.
    OdGePoint3d toWorld(const OdGePoint2d& point) const;
    OdGePoint3d startPoint() const { return toWorld(front().point); }
    OdGePoint3d endPoint() const { return toWorld(back().point); }

    void addFront(const OdGePoint2d& point, double bulge, double startWidth, double endWidth);
    void append(const OdGePoint2d& point, double bulge, double startWidth, double endWidth);
    void removeLast() { m_vertices.pop_back(); }
    void setPointAt(std::size_t index, const OdGePoint2d& point) { m_vertices[index].point = point; }
    void setBulgeAt(std::size_t index, double bulge) { m_vertices[index].bulge = bulge; }
    void setWidthsAt(std::size_t index, double startWidth, double endWidth);

    // The polyline gets the vertices and the constant width as they are now.
    void writeTo(OdDbPolyline& polyline) const;

private:
    Vertex made(const OdGePoint2d& point, double bulge, double startWidth, double endWidth);
    // The constant width becomes every vertex's own.
    void endConstantWidth();

    std::deque<Vertex> m_vertices;
    double m_constantWidth;
    OdGeVector3d m_normal;
    OdGeVector3d m_xAxis;
    OdGeVector3d m_yAxis;
    double m_elevation;
};

} // namespace vantrel::pedit
