// Undo: marks and nested steps, whole-command blocks with redo, transactions, appends,
// erasures and system variables; and the cost of a change staying independent of drawing size.
#include "DbFixture.h"

namespace {

void setValue(OdDbObjectId id, double v) { TestEntityPtr(id.safeOpenObject(OdDb::kForWrite))->setValue(v); }

// The step a command-local undo opens before each option.
void openStep(OdDbDatabase& db)
{
    db.startUndoRecord();
    db.setUndoMark();
    db.startUndoRecord();
}

TEST_F(DbFixture, UndoBackReturnsToTheLastMarkStepByStep)
{
    OdDbObjectId a = addEntity(1.0), b = addEntity(2.0);
    db->blockUndoRecording(true);
    openStep(*db);
    setValue(a, 10.0);
    setValue(a, 11.0);
    openStep(*db);
    setValue(a, 12.0);
    setValue(b, 20.0);
    EXPECT_EQ(eOk, TestEntityPtr(b.safeOpenObject(OdDb::kForWrite))->erase());
    OdDbObjectId c = addEntity(3.0);

    db->undoBack();
    EXPECT_EQ(liveValues(), (std::vector<double>{11.0, 2.0}));
    EXPECT_TRUE(c.isErased());
    db->undoBack();
    EXPECT_EQ(liveValues(), (std::vector<double>{1.0, 2.0}));
    db->undoBack(); // no mark left: nothing happens
    EXPECT_EQ(liveValues(), (std::vector<double>{1.0, 2.0}));
    EXPECT_TRUE(db->isUndoBlockStarted());
    db->blockUndoRecording(false);
    EXPECT_FALSE(db->isUndoBlockStarted());
}

TEST_F(DbFixture, AChangeAfterUndoBackIsRecordedAgain)
{
    OdDbObjectId a = addEntity(1.0);
    openStep(*db);
    setValue(a, 2.0);
    db->undoBack();
    db->startUndoRecord();
    openStep(*db);
    setValue(a, 3.0);
    db->undoBack();
    EXPECT_EQ(valueOf(a), 1.0);
}

TEST_F(DbFixture, UndoTakesBackAWholeBlockAndRedoPutsItAgain)
{
    OdDbObjectId a = addEntity(1.0);
    db->blockUndoRecording(true);
    setValue(a, 2.0);
    openStep(*db);
    addEntity(5.0);
    db->blockUndoRecording(false);
    db->blockUndoRecording(true);
    setValue(a, 3.0);
    db->blockUndoRecording(false);

    EXPECT_TRUE(db->undo());
    EXPECT_EQ(liveValues(), (std::vector<double>{2.0, 5.0}));
    EXPECT_TRUE(db->undo());
    EXPECT_EQ(liveValues(), (std::vector<double>{1.0}));
    EXPECT_TRUE(db->redo());
    EXPECT_EQ(liveValues(), (std::vector<double>{2.0, 5.0}));
    EXPECT_TRUE(db->redo());
    EXPECT_EQ(liveValues(), (std::vector<double>{3.0, 5.0}));
    EXPECT_FALSE(db->redo());

    EXPECT_TRUE(db->undo());
    setValue(a, 7.0); // a new change ends the redo chain
    EXPECT_FALSE(db->hasRedo());
    EXPECT_FALSE(db->redo());
}

TEST_F(DbFixture, ADiscardedBlockCannotBeRedone)
{
    OdDbObjectId a = addEntity(1.0);
    db->blockUndoRecording(true);
    setValue(a, 2.0);
    db->blockUndoRecording(false);
    db->blockUndoRecording(true);
    setValue(a, 3.0);
    db->blockUndoRecording(false);
    EXPECT_TRUE(db->discardLastBlock());
    EXPECT_EQ(valueOf(a), 2.0);
    EXPECT_FALSE(db->hasRedo());
    EXPECT_TRUE(db->undo());
    EXPECT_EQ(valueOf(a), 1.0);
}

TEST_F(DbFixture, TransactionsAbortToTheirStart)
{
    OdDbObjectId a = addEntity(1.0);
    db->setUndoMark();
    db->startTransaction();
    setValue(a, 2.0);
    db->startTransaction();
    setValue(a, 3.0);
    addEntity(4.0);
    db->abortTransaction();
    EXPECT_EQ(liveValues(), (std::vector<double>{2.0}));
    db->endTransaction();
    EXPECT_EQ(db->numActiveTransactions(), 0);
    EXPECT_THROW(db->endTransaction(), OdError);
    EXPECT_TRUE(db->undo());
    EXPECT_EQ(valueOf(a), 1.0) << "a committed transaction stays undoable";
}

// A scope takes its transaction back when left without commit, and leaves alone one already
// ended by someone else (where the abort would be refused, and a destructor cannot say so).
TEST_F(DbFixture, TransactionScopeAbortsOnlyWhatIsStillOpen)
{
    OdDbObjectId a = addEntity(1.0);
    {
        OdDbTransactionScope scope(*db);
        setValue(a, 2.0);
    }
    EXPECT_EQ(valueOf(a), 1.0);
    EXPECT_EQ(db->numActiveTransactions(), 0);
    {
        OdDbTransactionScope scope(*db);
        setValue(a, 3.0);
        db->endTransaction();
    }
    EXPECT_EQ(valueOf(a), 3.0);
    EXPECT_EQ(db->numActiveTransactions(), 0);
}

TEST_F(DbFixture, SystemVariableChangesAreUndoable)
{
    db->setUndoMark();
    db->setSysVar(L"DIMSCALE", OdResBuf::newRb(40, 2.5).get());
    EXPECT_EQ(db->getDIMSCALE(), 2.5);
    db->undoBack();
    EXPECT_EQ(db->getDIMSCALE(), 1.0);
}

TEST_F(DbFixture, NothingIsRecordedWhileRecordingIsOff)
{
    OdDbObjectId a = addEntity(1.0);
    db->setUndoMark();
    db->disableUndoRecording(true);
    setValue(a, 2.0);
    db->disableUndoRecording(false);
    db->undoBack();
    EXPECT_EQ(valueOf(a), 2.0);
}

TEST_F(DbFixture, AChangeCostsTheSameWhateverTheDrawingSize)
{
    for (int i = 0; i < 2000; ++i)
        addEntity(i);
    OdDbObjectId last = addEntity(-1.0);
    openStep(*db);
    std::size_t before = db->undoLogSize();
    setValue(last, 5.0);
    setValue(last, 6.0);
    EXPECT_EQ(db->undoLogSize(), before + 1) << "one kept state per object and record";
    addEntity(7.0);
    EXPECT_LE(db->undoLogSize(), before + 3);
    db->undoBack();
    EXPECT_EQ(valueOf(last), -1.0);
    EXPECT_EQ(liveValues().size(), 2001u);
}

} // namespace
