// A small drawing built directly on the database core (no template, no DXF), and a test entity
// with plain state, for tests of the object model and undo.
#pragma once

#include <gtest/gtest.h>

#include <vantrel/db/OdDbBlockTableRecord.h>
#include <vantrel/db/OdDbDatabase.h>
#include <vantrel/db/OdDbDictionary.h>
#include <vantrel/db/OdDbTables.h>

class TestEntity : public OdDbEntity {
    ODDB_DECLARE_MEMBERS(TestEntity)
public:
    double value() const
    {
        assertReadEnabled();
        return m_value;
    }
    void setValue(double v)
    {
        assertWriteEnabled();
        m_value = v;
    }
    const std::vector<int>& items() const { return m_items; }
    void addItem(int i)
    {
        assertWriteEnabled();
        m_items.push_back(i);
    }

private:
    double m_value = 0.0;
    std::vector<int> m_items;
};
using TestEntityPtr = OdSmartPtr<TestEntity>;

class DbFixture : public ::testing::Test {
protected:
    void SetUp() override;
    // Appends a test entity with the given value to model space; answers its id.
    OdDbObjectId addEntity(double value);
    OdDbBlockTableRecordPtr modelSpace(OdDb::OpenMode mode = OdDb::kForRead)
    {
        return modelSpaceId.safeOpenObject(mode);
    }
    double valueOf(OdDbObjectId id) { return TestEntityPtr(id.safeOpenObject())->value(); }
    std::vector<double> liveValues();

    OdDbDatabasePtr db;
    OdDbObjectId modelSpaceId;
    OdDbObjectId layerZero;
};
