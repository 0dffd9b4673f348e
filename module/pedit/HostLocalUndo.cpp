// Steps of the undo inside PEdit: a mark between two undo records per step, and roll-back to
// the latest mark.
#include "pedit/HostLocalUndo.h"

HostLocalUndo::step::step(HostLocalUndo& undo)
{
    OdDbDatabase* db = undo.m_database.get();
    if (!db)
        return;
    db->startUndoRecord();
    db->setUndoMark();
    db->startUndoRecord();
    ++undo.m_stepCount;
}

HostLocalUndo::HostLocalUndo(OdDbDatabase* database) { setDatabase(database); }

HostLocalUndo::~HostLocalUndo() { closeBlock(); }

void HostLocalUndo::closeBlock()
{
    if (m_database && !m_blockWasOpen)
        m_database->blockUndoRecording(false);
}

void HostLocalUndo::setDatabase(OdDbDatabase* database)
{
    m_stepCount = 0;
    // Attached again to the same drawing, the block this object may have opened stays its own.
    if (database == m_database.get())
        return;
    closeBlock();
    m_database = OdDbDatabasePtr(database);
    if (!m_database)
        return;
    m_blockWasOpen = m_database->isUndoBlockStarted();
    if (!m_blockWasOpen)
        m_database->blockUndoRecording(true);
}

bool HostLocalUndo::undo()
{
    if (--m_stepCount < 0 || !m_database) {
        m_stepCount = 0;
        return false;
    }
    m_database->undoBack();
    m_database->startUndoRecord();
    return true;
}
