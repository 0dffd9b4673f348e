// Walks the vertices of a 2D or 3D polyline or a polygon mesh in order, skipping erased ones.
// It works for owners in a database (vertices opened through their ids) and outside one.
#pragma once

#include <memory>
#include <vector>

#include <vantrel/db/OdDbVertex.h>
#include <vantrel/db/OdDbExport.h>

class VANTREL_DB_EXPORT OdDbVertexIterator {
public:
    explicit OdDbVertexIterator(std::vector<OdDbSubObjectPtr<OdDbVertex>> vertices);

    void start()
    {
        m_pos = 0;
        skipErased();
    }
    bool done() const { return m_pos >= m_vertices.size(); }
    void step()
    {
        ++m_pos;
        skipErased();
    }
    // Null for a vertex of an owner outside the database.
    OdDbObjectId objectId() const { return m_vertices[m_pos]->objectId(); }
    OdDbVertexPtr vertex(OdDb::OpenMode mode = OdDb::kForRead) const;

private:
    void skipErased();
    std::vector<OdDbSubObjectPtr<OdDbVertex>> m_vertices;
    std::size_t m_pos = 0;
};
using OdDbVertexIteratorPtr = std::unique_ptr<OdDbVertexIterator>;
