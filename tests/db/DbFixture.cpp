// Builds the minimal drawing of DbFixture.
#include "DbFixture.h"

ODRX_DEFINE_MEMBERS(TestEntity, OdDbEntity, "")

void DbFixture::SetUp()
{
    db = OdDbDatabasePtr(new OdDbDatabase());
    db->disableUndoRecording(true);
    OdDbDatabase::WellKnown w;
    OdDbBlockTablePtr blocks = OdDbBlockTable::createObject();
    w.blockTable = db->addOdDbObject(blocks.get());
    OdDbLayerTablePtr layers = OdDbLayerTable::createObject();
    w.layerTable = db->addOdDbObject(layers.get());
    OdDbLinetypeTablePtr linetypes = OdDbLinetypeTable::createObject();
    w.linetypeTable = db->addOdDbObject(linetypes.get());
    OdDbDictionaryPtr nod = OdDbDictionary::createObject();
    w.namedObjects = db->addOdDbObject(nod.get());

    OdDbLayerTableRecordPtr zero = OdDbLayerTableRecord::createObject();
    zero->setName(L"0");
    w.layerZero = layerZero = layers->add(zero.get());
    OdDbBlockTableRecordPtr ms = OdDbBlockTableRecord::createObject();
    ms->setName(L"*Model_Space");
    w.modelSpace = modelSpaceId = blocks->add(ms.get());
    db->setWellKnownIds(w);
    db->disableUndoRecording(false);
}

OdDbObjectId DbFixture::addEntity(double value)
{
    TestEntityPtr e = TestEntity::createObject();
    e->setValue(value);
    return modelSpace(OdDb::kForWrite)->appendOdDbEntity(e.get());
}

std::vector<double> DbFixture::liveValues()
{
    std::vector<double> out;
    for (auto it = modelSpace()->newIterator(); !it->done(); it->step())
        out.push_back(TestEntityPtr(it->objectId().safeOpenObject())->value());
    return out;
}
