// The object model: open modes, checked casts, erasing, hand-over, cloning, extended data,
// dictionaries, groups, draw order and symbol tables.
#include "DbFixture.h"

#include <vantrel/db/OdDbGroup.h>
#include <vantrel/db/OdDbSortentsTable.h>
#include <vantrel/db/OdResBuf.h>

namespace {

OdResBufPtr xdataOf(const wchar_t* app, std::int32_t value)
{
    OdResBufPtr head = OdResBuf::newRb(1001, OdString(app));
    head->setNext(OdResBuf::newRb(1071, value));
    return head;
}

TEST_F(DbFixture, OpenModesGuardEveryChange)
{
    OdDbObjectId id = addEntity(1.0);
    {
        TestEntityPtr read = id.safeOpenObject(OdDb::kForRead);
        EXPECT_FALSE(read->isWriteEnabled());
        try {
            read->setValue(2.0);
            FAIL() << "a setter on an object open for read must raise";
        } catch (const OdError& e) {
            EXPECT_EQ(e.code(), eNotOpenForWrite);
        }
        read->upgradeOpen();
        read->setValue(2.0);
        read->downgradeOpen();
        EXPECT_THROW(read->setValue(3.0), OdError);
    }
    // The last pointer closed the object: a new read opening is read-only again.
    EXPECT_FALSE(TestEntityPtr(id.safeOpenObject())->isWriteEnabled());
    EXPECT_EQ(valueOf(id), 2.0);
    {
        TestEntityPtr writer = id.safeOpenObject(OdDb::kForWrite);
        TestEntityPtr reader = id.safeOpenObject(OdDb::kForRead);
        EXPECT_TRUE(reader->isWriteEnabled()) << "the same object is open for write elsewhere";
    }
    TestEntityPtr outside = TestEntity::createObject();
    EXPECT_TRUE(outside->isWriteEnabled());
    EXPECT_FALSE(outside->isDBRO());
}

TEST_F(DbFixture, CastsCheckTheClass)
{
    OdDbObjectId id = addEntity(1.0);
    OdDbObjectPtr obj = id.safeOpenObject();
    EXPECT_TRUE(obj->isKindOf(OdDbEntity::desc()));
    EXPECT_FALSE(obj->isKindOf(OdDbBlockTableRecord::desc()));
    EXPECT_TRUE(OdDbBlockTableRecord::cast(obj.get()).isNull());
    try {
        OdDbBlockTableRecordPtr wrong = obj;
        FAIL() << "a checked cast to another class must raise";
    } catch (const OdError_NotThatKindOfClass& e) {
        EXPECT_EQ(e.code(), eNotThatKindOfClass);
    }
    OdDbEntityPtr entity = obj;
    EXPECT_EQ(entity.get(), obj.get());
}

TEST_F(DbFixture, ErasedObjectsAreSkippedAndCanComeBack)
{
    OdDbObjectId a = addEntity(1.0);
    OdDbObjectId b = addEntity(2.0);
    EXPECT_EQ(TestEntityPtr(a.safeOpenObject(OdDb::kForWrite))->erase(), eOk);
    EXPECT_TRUE(a.isErased());
    EXPECT_TRUE(a.openObject().isNull());
    EXPECT_FALSE(a.openObject(OdDb::kForRead, true).isNull());
    try {
        a.safeOpenObject();
        FAIL();
    } catch (const OdError& e) {
        EXPECT_EQ(e.code(), eWasErased);
    }
    EXPECT_EQ(liveValues(), std::vector<double>{2.0});
    EXPECT_EQ(TestEntityPtr(a.safeOpenObject(OdDb::kForWrite, true))->erase(false), eOk);
    EXPECT_EQ(liveValues(), (std::vector<double>{1.0, 2.0}));
    EXPECT_EQ(TestEntity::createObject()->erase(), eNotInDatabase);
    (void)b;
}

TEST_F(DbFixture, HandOverMovesTheIdentityAndUndoMovesItBack)
{
    OdDbObjectId id = addEntity(1.0);
    OdDbHandle handle = id.getHandle();
    {
        TestEntityPtr old = id.safeOpenObject(OdDb::kForWrite);
        old->setXData(xdataOf(L"APP", 7).get());
    }
    db->startUndoRecord();
    db->setUndoMark();
    TestEntityPtr replacement = TestEntity::createObject();
    replacement->setValue(9.0);
    TestEntityPtr old = id.safeOpenObject(OdDb::kForWrite);
    old->handOverTo(replacement.get(), /*keepXData*/ false);
    EXPECT_FALSE(old->isDBRO());
    EXPECT_EQ(replacement->objectId(), id);
    EXPECT_EQ(replacement->getDbHandle(), handle);
    EXPECT_EQ(replacement->ownerId(), modelSpaceId);
    EXPECT_TRUE(replacement->xData(L"APP").isNull());
    EXPECT_EQ(valueOf(id), 9.0);
    EXPECT_THROW(old->handOverTo(TestEntity::createObject().get()), OdError);

    db->undoBack();
    EXPECT_EQ(valueOf(id), 1.0);
    EXPECT_TRUE(old->isDBRO());
    EXPECT_FALSE(replacement->isDBRO());
    EXPECT_EQ(TestEntityPtr(id.safeOpenObject())->xData(L"APP")->next()->getInt32(), 7);
}

TEST_F(DbFixture, CloneIsAnIndependentCopyOutsideTheDatabase)
{
    OdDbObjectId id = addEntity(5.0);
    TestEntityPtr original = id.safeOpenObject(OdDb::kForWrite);
    original->addItem(1);
    original->setXData(xdataOf(L"APP", 3).get());
    TestEntityPtr copy = original->clone();
    EXPECT_FALSE(copy->isDBRO());
    EXPECT_TRUE(copy->ownerId().isNull());
    EXPECT_EQ(copy->value(), 5.0);
    EXPECT_EQ(copy->items(), std::vector<int>{1});
    EXPECT_EQ(copy->database(), db.get());
    copy->setValue(6.0);
    copy->addItem(2);
    EXPECT_EQ(original->value(), 5.0);
    EXPECT_EQ(original->items(), std::vector<int>{1});
    EXPECT_EQ(copy->xData(L"APP")->next()->getInt32(), 3);
}

TEST_F(DbFixture, ExtendedDataIsKeptPerApplication)
{
    TestEntityPtr e = TestEntity::createObject();
    OdResBufPtr both = xdataOf(L"ONE", 1);
    both->last()->setNext(xdataOf(L"TWO", 2));
    e->setXData(both.get());
    EXPECT_EQ(e->xData(L"two")->next()->getInt32(), 2);
    e->setXData(xdataOf(L"ONE", 10).get());
    EXPECT_EQ(e->xData(L"ONE")->next()->getInt32(), 10);
    EXPECT_EQ(e->xData(L"TWO")->next()->getInt32(), 2);
    e->setXData(OdResBuf::newRb(1001, OdString(L"ONE")).get());
    EXPECT_TRUE(e->xData(L"ONE").isNull());
    EXPECT_FALSE(e->xData(L"TWO").isNull());
    EXPECT_THROW(e->setXData(OdResBuf::newRb(1071, 5).get()), OdError);
    EXPECT_FALSE(e->xData(L"TWO").isNull()) << "a refused change leaves the data as it was";
}

TEST_F(DbFixture, DictionariesAndGroups)
{
    OdDbObjectId a = addEntity(1.0);
    OdDbObjectId b = addEntity(2.0);
    OdDbObjectId groups = db->getGroupDictionaryId(false);
    EXPECT_TRUE(groups.isNull());
    groups = db->getGroupDictionaryId();
    ASSERT_FALSE(groups.isNull());
    EXPECT_EQ(db->getGroupDictionaryId(), groups);

    OdDbDictionaryPtr dict = groups.safeOpenObject(OdDb::kForWrite);
    OdDbGroupPtr group = OdDbGroup::createObject();
    OdDbObjectId groupId = dict->setAt(L"Doors", group.get());
    EXPECT_EQ(dict->getAt(L"DOORS"), groupId);
    group->append(a);
    EXPECT_THROW(group->append(a), OdError);
    EXPECT_TRUE(group->has(a));
    EXPECT_FALSE(group->has(b));
    EXPECT_EQ(group->name(), OdString(L"Doors"));
    EXPECT_EQ(eOk, TestEntityPtr(a.safeOpenObject(OdDb::kForWrite))->erase());
    EXPECT_FALSE(group->has(a)) << "an erased member no longer counts";
    EXPECT_TRUE(dict->remove(L"doors"));
    EXPECT_TRUE(dict->getAt(L"Doors").isNull());
}

TEST_F(DbFixture, DrawOrderMovesEntitiesBelowATarget)
{
    OdDbObjectId a = addEntity(1.0), b = addEntity(2.0), c = addEntity(3.0);
    OdDbSortentsTablePtr sortents = modelSpace(OdDb::kForWrite)->getSortentsTable();
    ASSERT_FALSE(sortents.isNull());
    sortents->moveBelow({c}, a);
    EXPECT_EQ(sortents->drawOrder(), (std::vector<OdDbObjectId>{c, a, b}));
    EXPECT_THROW(sortents->moveBelow({a}, a), OdError);
    auto handles = sortents->sortHandles();
    OdDbObjectId d = addEntity(4.0);
    sortents->setSortHandles(handles);
    EXPECT_EQ(sortents->drawOrder(), (std::vector<OdDbObjectId>{c, a, b, d}));
    EXPECT_EQ(modelSpace()->getSortentsTable(false)->objectId(), sortents->objectId());
}

TEST_F(DbFixture, SymbolTablesRefuseDuplicateNames)
{
    OdDbLayerTablePtr layers = db->getLayerTableId().safeOpenObject(OdDb::kForWrite);
    OdDbLayerTableRecordPtr walls = OdDbLayerTableRecord::createObject();
    walls->setName(L"Walls");
    OdDbObjectId wallsId = layers->add(walls.get());
    EXPECT_EQ(layers->getAt(L"WALLS"), wallsId);
    OdDbLayerTableRecordPtr again = OdDbLayerTableRecord::createObject();
    again->setName(L"walls");
    try {
        layers->add(again.get());
        FAIL();
    } catch (const OdError& e) {
        EXPECT_EQ(e.code(), eDuplicateKey);
    }
    EXPECT_THROW(walls->setName(L"0"), OdError);
    EXPECT_EQ(walls->getName(), OdString(L"Walls"));
    walls->setIsLocked(true);
    EXPECT_TRUE(walls->isLocked());
    EXPECT_EQ(layers->recordIds().size(), 2u);
}

TEST_F(DbFixture, HandlesAreUniqueAndForwardReferencesResolve)
{
    OdDbObjectId a = addEntity(1.0);
    OdDbHandle future(0x5000);
    OdDbObjectId reserved = db->getOdDbObjectId(future, true);
    EXPECT_FALSE(reserved.isValid());
    TestEntityPtr e = TestEntity::createObject();
    OdDbObjectId placed = db->addOdDbObject(e.get(), modelSpaceId, future);
    EXPECT_EQ(placed, reserved);
    EXPECT_TRUE(reserved.isValid());
    EXPECT_GT(db->handseed(), future);
    EXPECT_THROW(db->addOdDbObject(TestEntity::createObject().get(), modelSpaceId, a.getHandle()), OdError);
    EXPECT_THROW(db->addOdDbObject(e.get()), OdError) << "an object cannot be added twice";
}

// Ids are kept across thousands of additions (the database's records are allocated in blocks),
// and closing the database lets go of every object, in whichever block its record lies.
TEST_F(DbFixture, IdsStayValidAsTheDrawingGrowsAndClosingReleasesEveryObject)
{
    std::vector<OdDbObjectId> ids;
    ids.reserve(3000);
    for (int i = 0; i < 3000; ++i)
        ids.push_back(addEntity(i));
    const OdDbObjectId reserved = db->getOdDbObjectId(OdDbHandle(0x9000), true);
    for (std::size_t i = 0; i < ids.size(); i += 7) {
        EXPECT_EQ(db->getOdDbObjectId(ids[i].getHandle()), ids[i]);
        EXPECT_EQ(valueOf(ids[i]), static_cast<double>(i));
    }
    EXPECT_EQ(db->getOdDbObjectId(OdDbHandle(0x9000)), reserved);

    std::vector<TestEntityPtr> kept;
    for (std::size_t i : {0u, 1500u, 2999u})
        kept.push_back(TestEntityPtr(ids[i].safeOpenObject()));
    db = OdDbDatabasePtr();
    for (const TestEntityPtr& e : kept) {
        EXPECT_FALSE(e->isDBRO());
        EXPECT_EQ(e->numRefs(), 1u);
    }
    EXPECT_EQ(kept[1]->value(), 1500);
}

TEST_F(DbFixture, AppendingKeepsTheLayerSetBeforeAndFillsAMissingOne)
{
    OdDbLayerTablePtr layers = db->getLayerTableId().safeOpenObject(OdDb::kForWrite);
    OdDbLayerTableRecordPtr walls = OdDbLayerTableRecord::createObject();
    walls->setName(L"Walls");
    OdDbObjectId wallsId = layers->add(walls.get());
    TestEntityPtr onWalls = TestEntity::createObject();
    onWalls->setLayer(wallsId);
    onWalls->setColorIndex(3);
    OdDbObjectId a = modelSpace(OdDb::kForWrite)->appendOdDbEntity(onWalls.get());
    EXPECT_EQ(TestEntityPtr(a.safeOpenObject())->layerId(), wallsId);
    EXPECT_EQ(TestEntityPtr(a.safeOpenObject())->colorIndex(), 3);
    EXPECT_EQ(TestEntityPtr(addEntity(1.0).safeOpenObject())->layerId(), layerZero);
}

} // namespace

// Group codes carry the kind of value of their range; codes between ranges carry none.
TEST(ResBuf, GroupCodeKindsFollowTheirRanges)
{
    using K = OdResBuf::ValueKind;
    const std::pair<int, K> cases[] = {
        {-1, K::Int32},    {0, K::String},     {9, K::String},   {10, K::Point3d}, {19, K::Point3d}, {20, K::Double},
        {59, K::Double},   {60, K::Int16},     {79, K::Int16},   {80, K::None},    {90, K::Int32},   {102, K::String},
        {103, K::None},    {105, K::Handle},   {149, K::Double}, {150, K::None},   {160, K::Int64},  {290, K::Bool},
        {310, K::Binary},  {330, K::Handle},   {481, K::Handle}, {482, K::None},   {999, K::String}, {1004, K::Binary},
        {1005, K::Handle}, {1010, K::Point3d}, {1014, K::None},  {1071, K::Int32}, {1072, K::None},
    };
    for (const auto& [code, kind] : cases)
        EXPECT_EQ(OdResBuf::kindOfCode(code), kind) << code;
}

// A colour's book and name are its own in every copy, and a colour whose names are taken away
// is the same as one that never had any.
TEST(CmColor, NamesTravelWithCopiesAndStayTheirOwn)
{
    OdCmColor named = OdCmColor::byRGB(200, 10, 10);
    named.setNames(L"DIC 1", L"DIC COLOR GUIDE(R)");
    const OdCmColor copied(named);
    OdCmColor assigned = OdCmColor::byIndex(3);
    assigned = named;
    EXPECT_EQ(copied, named);
    EXPECT_EQ(assigned.colorName(), OdString(L"DIC 1"));
    EXPECT_EQ(assigned.bookName(), OdString(L"DIC COLOR GUIDE(R)"));

    named.setNames(L"DIC 2", named.bookName());
    EXPECT_EQ(named.bookName(), OdString(L"DIC COLOR GUIDE(R)"));
    EXPECT_EQ(copied.colorName(), OdString(L"DIC 1"));
    EXPECT_NE(copied, named);

    OdCmColor moved = std::move(assigned);
    EXPECT_EQ(moved, copied);
    named.setNames(OdString());
    EXPECT_TRUE(named.colorName().isEmpty());
    EXPECT_TRUE(named.bookName().isEmpty());
    EXPECT_EQ(named, OdCmColor::byRGB(200, 10, 10));
}
