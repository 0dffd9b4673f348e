// The vertex chain of Join: the polyline's vertex rules on a deque.
#include "pedit/VertexChain.h"

namespace vantrel::pedit {

VertexChain::VertexChain(const OdDbPolyline& polyline)
    : m_vertices(polyline.data().vertices.begin(), polyline.data().vertices.end()),
      m_constantWidth(polyline.getConstantWidth()), m_normal(polyline.normal()),
      // The polyline's own coordinate system (the arbitrary-axis one of its normal).
      m_xAxis(m_normal.perpVector()), m_yAxis(m_normal.normal().crossProduct(m_xAxis)),
      m_elevation(polyline.elevation())
{
}

OdGePoint3d VertexChain::toWorld(const OdGePoint2d& point) const
{
    return OdGePoint3d::kOrigin + m_xAxis * point.x + m_yAxis * point.y + m_normal.normal() * m_elevation;
}

VertexChain::Vertex VertexChain::made(const OdGePoint2d& point, double bulge, double startWidth, double endWidth)
{
    Vertex v;
    v.point = point;
    v.bulge = bulge;
    v.startWidth = startWidth < 0.0 ? m_constantWidth : startWidth;
    v.endWidth = endWidth < 0.0 ? m_constantWidth : endWidth;
    if (m_constantWidth != 0.0 && (v.startWidth != m_constantWidth || v.endWidth != m_constantWidth))
        endConstantWidth();
    return v;
}

void VertexChain::endConstantWidth()
{
    for (Vertex& v : m_vertices)
        v.startWidth = v.endWidth = m_constantWidth;
    m_constantWidth = 0.0;
}

void VertexChain::addFront(const OdGePoint2d& point, double bulge, double startWidth, double endWidth)
{
    m_vertices.push_front(made(point, bulge, startWidth, endWidth));
}

void VertexChain::append(const OdGePoint2d& point, double bulge, double startWidth, double endWidth)
{
    m_vertices.push_back(made(point, bulge, startWidth, endWidth));
}

void VertexChain::setWidthsAt(std::size_t index, double startWidth, double endWidth)
{
    if (m_constantWidth != 0.0)
        endConstantWidth();
    m_vertices[index].startWidth = startWidth;
    m_vertices[index].endWidth = endWidth;
}

void VertexChain::writeTo(OdDbPolyline& polyline) const
{
    polyline.setVertices(std::vector<OdDbPolyline::Vertex>(m_vertices.begin(), m_vertices.end()), m_constantWidth);
}

} // namespace vantrel::pedit
