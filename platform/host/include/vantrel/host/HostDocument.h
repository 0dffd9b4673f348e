// One open drawing: its database, its command line (HostEditor on its own input engine), the
// selection request, transient graphics, the visible area, the UCS the user works in, and the
// file it is saved to with whether it changed since.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include <vantrel/db/OdDbDatabase.h>
#include <vantrel/db/OdDbEntity.h>
#include <vantrel/ge/OdGeExtents3d.h>
#include <vantrel/ge/OdGeMatrix3d.h>
#include <vantrel/host/HostEditor.h>
#include <vantrel/host/InputEngine.h>
#include <vantrel/host/InputResult.h>
#include <vantrel/host/hostSelectionSet.h>
#include <vantrel/host/HostExport.h>

class HostApplication;

// Selection flags this host gives meaning to; other bits are accepted and have no effect.
// docs/input.md explains them.
inline constexpr std::uint32_t kSelectSingle = 0x2000;        // at most one entity
inline constexpr std::uint32_t kSelectNoGroups = 0x8000;      // groups are never expanded
inline constexpr std::uint32_t kSelectRejectLocked = 0x10000; // entities on locked layers are left out

class VANTREL_HOST_EXPORT HostDocument {
public:
    HostDocument(HostApplication& application, OdDbDatabasePtr db);
    HostDocument(const HostDocument&) = delete;
    HostDocument& operator=(const HostDocument&) = delete;
    ~HostDocument();

    HostApplication& application() const { return m_app; }
    OdDbDatabase* database() const { return m_db.get(); }
    HostEditor& editor() { return m_editor; }
    vantrel::InputEngine& engine() { return m_engine; }

    // Asks for entities of the active space with the syntax of docs/input.md (a pick, W, C, ALL,
    // L, P, H) or a keyword of the list. On kInputValue the set holds what was chosen (possibly
    // nothing) and each chosen entity is highlighted; the set is emptied first in any case.
    InputResult getSelection(hostSelectionSet& set, const wchar_t* prompt, const wchar_t* keywords,
                             std::uint32_t flags);
    // What the last selection that answered kInputValue chose (`P`).
    const std::vector<OdDbObjectId>& previousSelection() const { return m_previous; }
    void setPreviousSelection(std::vector<OdDbObjectId> ids) { m_previous = std::move(ids); }
    // Selections highlight what they chose; what a command leaves highlighted is switched off
    // when it ends.
    void noteHighlighted(OdDbObjectId id) { m_highlighted.push_back(id); }
    void clearHighlights();

    // Transient graphics: entities shown over the drawing without being in it, until removed.
    // add answers false when the entity is shown already, remove when it was not shown.
    bool addTransient(OdDbEntity* entity);
    bool removeTransient(OdDbEntity* entity);
    // Shown now, in the order they were added.
    std::vector<const OdDbEntity*> transients() const;
    std::size_t transientAddCalls() const { return m_transientAdds; }
    std::size_t transientRemoveCalls() const { return m_transientRemoves; }

    // The visible area in world coordinates (`!view` sets it); picks are measured against it.
    OdGeExtents3d viewExtents() { return m_engine.drawer().viewExtents(); }
    void setViewExtents(const OdGeExtents3d& extents) { m_engine.drawer().setViewExtents(extents); }
    // The distance within which a pick finds an entity: 1% of the longer side of the view.
    double pickDistance();

    // UCS to world; the world system until set. The command line reads typed points in it.
    const OdGeMatrix3d& ucs() const { return m_engine.ucs().toWorldMatrix(); }
    void setUcs(const OdGeMatrix3d& ucs) { m_engine.ucs().set(ucs); }

    // The file the drawing is saved to when no other is named (SAVE's default); empty for a new
    // drawing that was never saved.
    const std::wstring& fileName() const { return m_fileName; }
    void setFileName(std::wstring name) { m_fileName = std::move(name); }
    // Whether the drawing changed (objects or drawing variables, U and REDO included) since it
    // was opened, since markUnmodified() or since the last save.
    bool isModified() const { return m_changes != m_changesAtSave; }
    void markUnmodified() { m_changesAtSave = m_changes; }
    // After the drawing was written to path: that is its name now, and it counts as unmodified.
    void noteSaved(const std::wstring& path);
    // The file of the last save in this session; empty until there was one.
    const std::wstring& lastSavedTo() const { return m_lastSavedTo; }
    // The user chose to leave without saving: what changed is not to be written anywhere.
    void discardChanges() { m_discarded = true; }
    bool changesDiscarded() const { return m_discarded; }

private:
    class ChangeCounter;

    HostApplication& m_app;
    OdDbDatabasePtr m_db;
    vantrel::InputEngine m_engine;
    HostEditor m_editor;
    std::vector<OdDbObjectId> m_previous;
    std::vector<OdDbObjectId> m_highlighted;
    std::vector<OdDbEntityPtr> m_transients;
    std::size_t m_transientAdds = 0;
    std::size_t m_transientRemoves = 0;
    std::wstring m_fileName;
    std::wstring m_lastSavedTo;
    std::uint64_t m_changes = 0;
    std::uint64_t m_changesAtSave = 0;
    bool m_discarded = false;
    std::unique_ptr<ChangeCounter> m_counter;
};
