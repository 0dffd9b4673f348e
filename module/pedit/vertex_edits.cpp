// Vertex edits by defining-vertex number on the three kinds of polyline. Points picked in the world
// are taken into the polyline's own coordinates (lightweight and 2D polylines keep their vertices
// in the coordinate system of their normal).
#include "pedit/vertex_edits.h"

#include <vantrel/db/OdError.h>
#include <vantrel/ge/OdGeMatrix3d.h>

namespace vantrel::pedit {

namespace {

bool isDefining(const OdDb2dVertex& v)
{
    return v.vertexType() == OdDb::k2dVertex || v.vertexType() == OdDb::k2dSplineCtlVertex;
}

OdDb3dPolylineVertexPtr definingVertex3d(const OdDb3dPolyline& polyline, unsigned index, OdDb::OpenMode mode)
{
    unsigned at = 0;
    for (auto it = polyline.vertexIterator(); !it->done(); it->step()) {
        OdDb3dPolylineVertexPtr v = it->vertex(mode);
        if (v->vertexType() != OdDb::k3dFitVertex && at++ == index)
            return v;
    }
    throw OdError_InvalidIndex();
}

// The point in the coordinate system of the normal: x and y in its plane.
OdGePoint2d inPlane(const OdGeVector3d& normal, const OdGePoint3d& point)
{
    const OdGePoint3d p = OdGePoint3d(point).transformBy(OdGeMatrix3d::worldToPlane(normal));
    return {p.x, p.y};
}

OdDb2dVertexPtr copyOf(const OdDb2dVertex& vertex)
{
    OdDb2dVertexPtr copy = OdDb2dVertex::createObject();
    copy->setPosition(vertex.position());
    copy->setBulge(vertex.bulge());
    copy->setStartWidth(vertex.startWidth());
    copy->setEndWidth(vertex.endWidth());
    copy->setTangent(vertex.tangent());
    if (vertex.isTangentUsed())
        copy->useTangent();
    copy->setVertexType(vertex.vertexType());
    copy->setVertexIdentifier(vertex.vertexIdentifier());
    return copy;
}

OdDb3dPolylineVertexPtr copyOf(const OdDb3dPolylineVertex& vertex)
{
    OdDb3dPolylineVertexPtr copy = OdDb3dPolylineVertex::createObject();
    copy->setPosition(vertex.position());
    copy->setVertexType(vertex.vertexType());
    copy->setVertexIdentifier(vertex.vertexIdentifier());
    return copy;
}

// A closed polyline becomes an open one along the same path: a copy of vertex 0 ends it.
void openAtFirstVertex(OdDbCurve& polyline)
{
    if (auto lw = OdDbPolyline::cast(&polyline)) {
        OdGePoint2d first;
        lw->getPointAt(0, first);
        lw->addVertexAt(lw->numVerts(), first, 0.0, -1.0, -1.0);
        lw->setClosed(false);
    } else if (auto pl = OdDb2dPolyline::cast(&polyline)) {
        pl->appendVertex(copyOf(*pl->vertexAt(0)).get());
        pl->makeOpen();
    } else if (auto pl3 = OdDb3dPolyline::cast(&polyline)) {
        pl3->appendVertex(copyOf(*pl3->vertexAt(0)).get());
        pl3->makeOpen();
    }
}

// Vertices `from` to the last as a new polyline of the same kind, with the polyline's properties.
OdDbCurvePtr pieceFrom(const OdDbCurve& polyline, unsigned from)
{
    if (auto lw = OdDbPolyline::cast(&polyline)) {
        OdDbPolylinePtr piece = OdDbPolyline::createObject();
        piece->setPropertiesFrom(lw.get());
        piece->setNormal(lw->normal());
        piece->setElevation(lw->elevation());
        piece->setThickness(lw->thickness());
        piece->setPlinegen(lw->hasPlinegen());
        piece->setConstantWidth(lw->getConstantWidth());
        const bool widths = lw->hasWidth();
        for (unsigned i = from; i < lw->numVerts(); ++i) {
            const OdDbPolyline::Vertex& v = lw->data().vertices[i];
            piece->addVertexAt(piece->numVerts(), v.point, v.bulge, widths ? v.startWidth : -1.0,
                               widths ? v.endWidth : -1.0);
        }
        return piece;
    }
    if (auto pl = OdDb2dPolyline::cast(&polyline)) {
        OdDb2dPolylinePtr piece = OdDb2dPolyline::createObject();
        piece->setPropertiesFrom(pl.get());
        // The polyline's own values; the piece is open and gets its own SEQEND.
        piece->setPolyType(pl->polyType());
        if (pl->isLinetypeGenerationOn())
            piece->setLinetypeGenerationOn();
        piece->setDefaultStartWidth(pl->defaultStartWidth());
        piece->setDefaultEndWidth(pl->defaultEndWidth());
        piece->setElevation(pl->elevation());
        piece->setThickness(pl->thickness());
        piece->setNormal(pl->normal());
        for (unsigned i = from; i < pl->numVertices(); ++i)
            piece->appendVertex(copyOf(*pl->vertexAt(i)).get());
        return piece;
    }
    const OdDb3dPolyline& pl3 = static_cast<const OdDb3dPolyline&>(polyline);
    OdDb3dPolylinePtr piece = OdDb3dPolyline::createObject();
    piece->setPropertiesFrom(&pl3);
    for (unsigned i = from; i < pl3.numVertices(); ++i)
        piece->appendVertex(copyOf(*pl3.vertexAt(i)).get());
    return piece;
}

void removeVertices(OdDbCurve& polyline, unsigned at, unsigned count)
{
    if (count == 0)
        return;
    if (auto lw = OdDbPolyline::cast(&polyline)) {
        lw->removeVerticesAt(at, count);
    } else if (auto pl = OdDb2dPolyline::cast(&polyline)) {
        for (unsigned k = 0; k < count; ++k)
            pl->removeVertexAt(at);
    } else if (auto pl3 = OdDb3dPolyline::cast(&polyline)) {
        for (unsigned k = 0; k < count; ++k)
            pl3->removeVertexAt(at);
    }
}

unsigned vertexCount(const OdDbCurve& polyline)
{
    if (auto lw = OdDbPolyline::cast(&polyline))
        return lw->numVerts();
    if (auto pl = OdDb2dPolyline::cast(&polyline))
        return pl->numVertices();
    return static_cast<const OdDb3dPolyline&>(polyline).numVertices();
}

} // namespace

OdDb2dVertexPtr definingVertex2d(const OdDb2dPolyline& polyline, unsigned index, OdDb::OpenMode mode)
{
    unsigned at = 0;
    for (auto it = polyline.vertexIterator(); !it->done(); it->step()) {
        OdDb2dVertexPtr v = it->vertex(mode);
        if (isDefining(*v) && at++ == index)
            return v;
    }
    throw OdError_InvalidIndex();
}

OdGePoint3d definingVertexPosition(const OdDbCurve& polyline, unsigned index)
{
    if (auto lw = OdDbPolyline::cast(&polyline)) {
        OdGePoint3d p;
        lw->getPointAt(index, p);
        return p;
    }
    if (auto pl = OdDb2dPolyline::cast(&polyline))
        return pl->vertexPosition(*definingVertex2d(*pl, index, OdDb::kForRead));
    return definingVertex3d(static_cast<const OdDb3dPolyline&>(polyline), index, OdDb::kForRead)->position();
}

void insertVertexAfter(OdDbCurve& polyline, unsigned index, const OdGePoint3d& point)
{
    if (auto lw = OdDbPolyline::cast(&polyline)) {
        double startWidth, endWidth;
        lw->getWidthsAt(index, startWidth, endWidth);
        lw->addVertexAt(index + 1, inPlane(lw->normal(), point), 0.0, endWidth, endWidth);
    } else if (auto pl = OdDb2dPolyline::cast(&polyline)) {
        const OdDb2dVertexPtr after = definingVertex2d(*pl, index, OdDb::kForRead);
        const OdGePoint2d at = inPlane(pl->normal(), point);
        OdDb2dVertexPtr added = OdDb2dVertex::createObject();
        added->setPosition(OdGePoint3d(at.x, at.y, 0.0));
        added->setStartWidth(after->endWidth());
        added->setEndWidth(after->endWidth());
        pl->insertVertexAt(after.get(), added.get());
    } else {
        auto& pl3 = static_cast<OdDb3dPolyline&>(polyline);
        const OdDb3dPolylineVertexPtr after = definingVertex3d(pl3, index, OdDb::kForRead);
        OdDb3dPolylineVertexPtr added = OdDb3dPolylineVertex::createObject();
        added->setPosition(point);
        pl3.insertVertexAt(after.get(), added.get());
    }
}

void moveVertex(OdDbCurve& polyline, unsigned index, const OdGePoint3d& point)
{
    if (auto lw = OdDbPolyline::cast(&polyline)) {
        lw->setPointAt(index, inPlane(lw->normal(), point));
    } else if (auto pl = OdDb2dPolyline::cast(&polyline)) {
        const OdGePoint2d at = inPlane(pl->normal(), point);
        definingVertex2d(*pl, index, OdDb::kForWrite)->setPosition(OdGePoint3d(at.x, at.y, 0.0));
    } else {
        definingVertex3d(static_cast<OdDb3dPolyline&>(polyline), index, OdDb::kForWrite)->setPosition(point);
    }
}

void straightenBetween(OdDbCurve& polyline, unsigned lo, unsigned hi)
{
    if (auto lw = OdDbPolyline::cast(&polyline))
        lw->setBulgeAt(lo, 0.0);
    else if (auto pl = OdDb2dPolyline::cast(&polyline))
        definingVertex2d(*pl, lo, OdDb::kForWrite)->setBulge(0.0);
    if (hi > lo + 1)
        removeVertices(polyline, lo + 1, hi - lo - 1);
}

bool breakBetween(OdDbCurve& polyline, unsigned lo, unsigned hi, OdDbCurvePtr& piece)
{
    piece = OdDbCurvePtr();
    const unsigned n = vertexCount(polyline);
    const bool closed = polyline.isClosed();
    if (hi < lo || hi >= n || (lo == 0 && hi == n - 1) || (lo == 0 && hi == 0)
        || (lo == n - 1 && hi == n - 1 && !closed))
        return false;
    if (closed)
        openAtFirstVertex(polyline);
    if (lo == 0) {
        removeVertices(polyline, 0, hi);
        return true;
    }
    // Breaking at the last vertex leaves no piece beyond it: a piece has two vertices at least.
    const unsigned last = vertexCount(polyline) - 1;
    if (hi < last)
        piece = pieceFrom(polyline, hi);
    removeVertices(polyline, lo + 1, last - lo);
    return true;
}

void setSegmentWidths(OdDbCurve& polyline, unsigned index, double startWidth, double endWidth)
{
    if (auto lw = OdDbPolyline::cast(&polyline)) {
        lw->setWidthsAt(index, startWidth, endWidth);
    } else if (auto pl = OdDb2dPolyline::cast(&polyline)) {
        const OdDb2dVertexPtr v = definingVertex2d(*pl, index, OdDb::kForWrite);
        v->setStartWidth(startWidth);
        v->setEndWidth(endWidth);
    }
}

void segmentWidths(const OdDbCurve& polyline, unsigned index, double& startWidth, double& endWidth)
{
    startWidth = endWidth = 0.0;
    if (auto lw = OdDbPolyline::cast(&polyline)) {
        lw->getWidthsAt(index, startWidth, endWidth);
    } else if (auto pl = OdDb2dPolyline::cast(&polyline)) {
        const OdDb2dVertexPtr v = definingVertex2d(*pl, index, OdDb::kForRead);
        startWidth = v->startWidth();
        endWidth = v->endWidth();
    }
}

} // namespace vantrel::pedit
