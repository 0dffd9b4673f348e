// The vertex lists of 2D and 3D polylines and polygon meshes: adopting vertices (adding them to
// the database when the owner is there), opening them, and the owner's database life cycle.
#pragma once

#include <algorithm>
#include <vector>

#include <vantrel/db/OdDbDatabase.h>
#include <vantrel/db/OdDbEntity.h>

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
void checkAdoptable(const OdDbEntity& owner, const List<T>& list, const T* vertex)
{
    if (!vertex)
        throw OdError(eNullObjectPointer, "no vertex given");
    if (std::any_of(list.begin(), list.end(), [&](const auto& v) { return v.get() == vertex; }))
        throw OdError(eInvalidInput, "the vertex is already in this list");
    if (vertex->isDBRO()) {
        if (!owner.isDBRO() || vertex->database() != owner.database())
            throw OdError(eWrongDatabase, "a vertex from a database needs an owner in the same database");
        if (!vertex->ownerId().isNull() && vertex->ownerId() != owner.objectId())
            throw OdError(eInvalidOwner, "the vertex belongs to another owner");
    }
}

// Inserts a checked vertex at a list position; the owner is already open for write.
template <class T>
OdDbObjectId adopt(OdDbEntity& owner, List<T>& list, std::size_t pos, T* vertex)
{
    list.insert(list.begin() + static_cast<std::ptrdiff_t>(pos), OdDbSubObjectPtr<T>(vertex));
    if (!vertex->isDBRO()) {
        vertex->commonDataForWrite() = owner.commonData();
        if (owner.isDBRO())
            owner.database()->addOdDbObject(vertex, owner.objectId());
    } else if (vertex->ownerId().isNull()) {
        open(vertex, OdDb::kForWrite)->setOwnerId(owner.objectId());
    }
    return vertex->objectId();
}

// Takes a vertex out of the list; a resident one is erased (undoably).
template <class T>
void remove(List<T>& list, std::size_t pos)
{
    T* v = list[pos].get();
    if (v->isDBRO() && !v->isErased())
        open(v, OdDb::kForWrite)->erase();
    list.erase(list.begin() + static_cast<std::ptrdiff_t>(pos));
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
            open(v.get(), OdDb::kForWrite)->erase();
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

}
