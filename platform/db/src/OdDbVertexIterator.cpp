// Vertex walking for polylines and meshes.
#include <vantrel/db/OdDbVertexIterator.h>

#include "vertex_lists.h"

OdDbVertexIterator::OdDbVertexIterator(std::vector<OdDbSubObjectPtr<OdDbVertex>> vertices)
    : m_vertices(std::move(vertices))
{
    skipErased();
}

OdDbVertexPtr OdDbVertexIterator::vertex(OdDb::OpenMode mode) const
{
    if (done())
        throw OdError(eInvalidIndex, "the vertex iterator is past its end");
    return vantrel::vertexlist::open(m_vertices[m_pos].get(), mode);
}

void OdDbVertexIterator::skipErased()
{
    while (m_pos < m_vertices.size() && m_vertices[m_pos]->isErased())
        ++m_pos;
}
