// The vertex lists of 2D and 3D polylines and polygon meshes: adopting vertices (adding them to
// the database when the owner is there), opening them, and the owner's database life cycle.
#pragma once

#include <algorithm>
#include <vector>

#include <vantrel/db/OdDbDatabase.h>
#include <vantrel/db/OdDbEntity.h>
#include <vantrel/db/OdDbVertexIterator.h>
#include <vantrel/ge/OdGeMatrix3d.h>
#include "db_key.h"

namespace vantrel::vertexlist {

template <class T>
using List = std::vector<OdDbSubObjectPtr<T>>;

// A vertex opened in a mode: resident vertices through their id (which records undo on
// write), free ones directly.
template <class T>
OdSmartPtr<T> open(T* vertex, OdDb::OpenMode mode)
{
    if (vertex->isDBRO())
        return OdSmartPtr<T>(vertex->objectId().openObject(mode, true));
    return OdSmartPtr<T>(vertex);
}

// Positions in the list of the vertices that are not erased, in order.
template <class T>
std::vector<std::size_t> livePositions(const List<T>& list)
{
    std::vector<std::size_t> out;
    for (std::size_t i = 0; i < list.size(); ++i)
        if (!list[i]->isErased())
            out.push_back(i);
    return out;
}

template <class T>
std::vector<T*> live(const List<T>& list)
{
    std::vector<T*> out;
    for (const auto& v : list)
        if (!v->isErased())
            out.push_back(v.get());
    return out;
}

template <class T>
std::vector<OdSmartPtr<T>> openLive(const List<T>& list, OdDb::OpenMode mode)
{
    std::vector<OdSmartPtr<T>> out;
    for (T* v : live(list))
        out.push_back(open(v, mode));
    return out;
}

template <class T, class Pred>
std::size_t countLive(const List<T>& list, Pred pred)
{
    const auto all = live(list);
    return static_cast<std::size_t>(std::count_if(all.begin(), all.end(), pred));
}

template <class T>
std::vector<OdDbObjectId> liveIds(const List<T>& list)
{
    std::vector<OdDbObjectId> out;
    for (const auto& v : list)
        if (!v->isErased())
            out.push_back(v->objectId());
    return out;
}

// Checks a vertex before the owner is opened for write: a free vertex, or one the DXF reader
// has already added to the owner's database (with its own handle) and not given to a list.
template <class T>
void checkAdoptable(const OdDbEntity& owner, const T* vertex)
{
    if (!vertex)
        throw OdError(eNullObjectPointer, "no vertex given");
    // A vertex in a list is held by it: asking the vertex costs nothing, searching the list
    // would cost its length on every append.
    if (OdDbSubObjectPtr<T>::isHeld(vertex))
        throw OdError(eInvalidInput, "the vertex is already in a vertex list");
    if (vertex->isDBRO()) {
        if (!owner.isDBRO() || vertex->database() != owner.database())
            throw OdError(eWrongDatabase, "a vertex from a database needs an owner in the same database");
        if (!vertex->ownerId().isNull() && vertex->ownerId() != owner.objectId())
            throw OdError(eInvalidOwner, "the vertex belongs to another owner");
    }
}

// Makes a vertex the owner's: a free one takes the owner's properties and joins the owner's
// database when the owner is there; a resident one without an owner gets this one.
template <class T>
void take(OdDbEntity& owner, T* vertex)
{
    if (!vertex->isDBRO()) {
        vertex->commonDataForWrite() = owner.commonData();
        if (owner.isDBRO())
            owner.database()->addOdDbObject(vertex, owner.objectId());
    } else if (vertex->ownerId().isNull()) {
        open(vertex, OdDb::kForWrite)->setOwnerId(owner.objectId());
    }
}

// Inserts a checked vertex at a list position; the owner is already open for write.
template <class T>
OdDbObjectId adopt(OdDbEntity& owner, List<T>& list, std::size_t pos, T* vertex)
{
    list.insert(list.begin() + static_cast<std::ptrdiff_t>(pos), OdDbSubObjectPtr<T>(vertex));
    take(owner, vertex);
    return vertex->objectId();
}

// Gives the owner, open for write, a whole new list at once: its vertices that are new to the
// owner are taken as adopt takes them. Fitting builds its list this way, in one pass.
template <class T>
void replaceAll(OdDbEntity& owner, List<T>& list, List<T> next)
{
    for (const auto& v : next)
        take(owner, v.get());
    list = std::move(next);
}

// Erases a resident vertex (undoably); erasing fails only for an object outside a database.
template <class T>
void eraseVertex(T* v)
{
    (void)open(v, OdDb::kForWrite)->erase();
}

// Takes a vertex out of the list; a resident one is erased (undoably).
template <class T>
void remove(List<T>& list, std::size_t pos)
{
    T* v = list[pos].get();
    if (v->isDBRO() && !v->isErased())
        eraseVertex(v);
    list.erase(list.begin() + static_cast<std::ptrdiff_t>(pos));
}

// Takes the live vertices that match out of the list in one pass; resident ones are erased.
template <class T, class Pred>
void removeLive(List<T>& list, Pred pred)
{
    std::erase_if(list, [&](const OdDbSubObjectPtr<T>& v) {
        if (v->isErased() || !pred(v.get()))
            return false;
        if (v->isDBRO())
            eraseVertex(v.get());
        return true;
    });
}

// The list position just after a vertex of the list; a null vertex means the start.
template <class T>
std::size_t positionAfter(const List<T>& list, const T* after)
{
    if (!after)
        return 0;
    for (std::size_t i = 0; i < list.size(); ++i)
        if (list[i].get() == after)
            return i + 1;
    throw OdError(eInvalidInput, "not a vertex of this polyline");
}

// The vertex of the list with an id; null for a null id.
template <class T>
const T* findById(const List<T>& list, const OdDbObjectId& id)
{
    if (id.isNull())
        return nullptr;
    auto it = std::find_if(list.begin(), list.end(), [&](const auto& v) { return v->objectId() == id; });
    if (it == list.end())
        throw OdError(eInvalidInput, "not a vertex of this polyline");
    return it->get();
}

// Opens a vertex of the list by id; OdError(eInvalidOwner, notMine) for any other id.
template <class T>
OdSmartPtr<T> openMember(const List<T>& list, const OdDbObjectId& id, OdDb::OpenMode mode, bool openErased,
                         const char* notMine)
{
    if (id.isNull() || std::none_of(list.begin(), list.end(), [&](const auto& v) { return v->objectId() == id; }))
        throw OdError(eInvalidOwner, notMine);
    return OdSmartPtr<T>(id.openObject(mode, openErased));
}

template <class T>
OdDbVertexIteratorPtr iterator(const List<T>& list)
{
    std::vector<OdDbSubObjectPtr<OdDbVertex>> all;
    for (const auto& v : list)
        all.emplace_back(v.get());
    return std::make_unique<OdDbVertexIterator>(std::move(all));
}

// The live vertices of the drawn path, open for read: all but the control ones, or the control
// frame itself when a spline's generated vertices are missing.
template <class T, class Pred>
std::vector<OdSmartPtr<T>> pathOrFrame(const List<T>& list, Pred isControl)
{
    std::vector<OdSmartPtr<T>> path, control;
    for (T* v : live(list))
        (isControl(v) ? control : path).push_back(open(v, OdDb::kForRead));
    return path.empty() ? control : path;
}

// Moves the world-coordinate positions of the live vertices.
template <class T>
void transformPositions(const List<T>& list, const OdGeMatrix3d& xform)
{
    for (T* raw : live(list))
        open(raw, OdDb::kForWrite)->dataForWrite(vantrel::dbKey()).position.transformBy(xform);
}

// Adds the free vertices of an owner that has just entered the database; vertices without
// a layer of their own take the owner's properties.
template <class T>
void addAll(List<T>& list, OdDbDatabase* db, const OdDbEntity& owner)
{
    for (auto& v : list) {
        if (v->isDBRO())
            continue;
        if (v->commonData().layer.isNull())
            v->commonDataForWrite() = owner.commonData();
        db->addOdDbObject(v.get(), owner.objectId());
    }
}

template <class T>
void deepen(List<T>& list)
{
    for (auto& v : list)
        v = OdDbSubObjectPtr<T>(OdSmartPtr<T>(v->clone()));
}

template <class T>
void eraseResident(List<T>& list)
{
    for (auto& v : list)
        if (v->isDBRO() && !v->isErased())
            eraseVertex(v.get());
}

template <class T>
void setCommon(List<T>& list, const OdDbEntity::CommonData& common)
{
    for (auto& v : list)
        if (!v->isErased())
            open(v.get(), OdDb::kForWrite)->commonDataForWrite() = common;
}

// Position in the list of the live vertex with the given index; throws for a bad index.
template <class T>
std::size_t positionOf(const List<T>& list, std::size_t index)
{
    const auto positions = livePositions(list);
    if (index >= positions.size())
        throw OdError_InvalidIndex();
    return positions[index];
}

} // namespace vantrel::vertexlist
