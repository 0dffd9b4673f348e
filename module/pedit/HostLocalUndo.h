// The undo inside PEdit: one undo mark of the drawing per option, so that "Undo" rolls the drawing
// back to the state before the latest option without leaving the command. It keeps no copies of
// its own; the drawing's undo records restore everything. The whole run is one undo block, so that
// the host's undo afterwards takes the run back at once.
#pragma once

#include <cstdint>

#include <vantrel/db/OdDbDatabase.h>

class HostLocalUndo {
public:
    // Opens one step in front of the code of an option; nothing happens when it goes away.
    class step {
    public:
        explicit step(HostLocalUndo& undo);
        virtual ~step() = default;
        step(const step&) = delete;
        step& operator=(const step&) = delete;
    };

    // Attached to the database (see setDatabase).
    explicit HostLocalUndo(OdDbDatabase* database);
    // Closes the undo block if this object opened it.
    virtual ~HostLocalUndo();
    HostLocalUndo(const HostLocalUndo&) = delete;
    HostLocalUndo& operator=(const HostLocalUndo&) = delete;

    // Starts counting steps from 0. Another database is taken in place of the one held (closing
    // the block opened in that one), and an undo block is opened in it unless one is open already.
    void setDatabase(OdDbDatabase* database);
    // Rolls the drawing back to the mark of the latest step not yet undone; false, and nothing
    // happens, when no step is left.
    bool undo();

    std::int32_t stepCount() const { return m_stepCount; }

private:
    void closeBlock();

    OdDbDatabasePtr m_database;
    bool m_blockWasOpen = false;
    std::int32_t m_stepCount = 0;
};
