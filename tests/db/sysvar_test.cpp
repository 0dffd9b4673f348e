// The drawing's system variables: names, kinds and legal values.
#include "DbFixture.h"

#include <limits>

#include <vantrel/db/SysVarStore.h>

namespace {

OdResult setResult(OdDbDatabase& db, const wchar_t* name, const OdResBufPtr& value)
{
    try {
        db.setSysVar(name, value.get());
        return eOk;
    } catch (const OdError& e) {
        return e.code();
    }
}

TEST_F(DbFixture, SystemVariablesRefuseUnknownNamesAndIllegalValues)
{
    EXPECT_EQ(setResult(*db, L"NOSUCHVAR", OdResBuf::newRb(70, 1)), eUnknownSysVar);
    EXPECT_THROW(db->getSysVar(L"NOSUCHVAR"), OdError);

    EXPECT_EQ(setResult(*db, L"INSUNITS", OdResBuf::newRb(70, 25)), eInvalidSysVarValue);
    EXPECT_EQ(setResult(*db, L"INSUNITS", OdResBuf::newRb(70, 6)), eOk);
    EXPECT_EQ(db->getINSUNITS(), 6);

    EXPECT_EQ(setResult(*db, L"SPLINETYPE", OdResBuf::newRb(70, 7)), eInvalidSysVarValue);
    EXPECT_EQ(setResult(*db, L"splinetype", OdResBuf::newRb(70, 5)), eOk);
    EXPECT_EQ(setResult(*db, L"SURFTYPE", OdResBuf::newRb(70, 7)), eInvalidSysVarValue);
    EXPECT_EQ(setResult(*db, L"SURFTYPE", OdResBuf::newRb(70, 8)), eOk);
    EXPECT_EQ(setResult(*db, L"SURFU", OdResBuf::newRb(70, 201)), eInvalidSysVarValue);
    EXPECT_EQ(setResult(*db, L"DIMSCALE", OdResBuf::newRb(40, -1.0)), eInvalidSysVarValue);
    EXPECT_EQ(setResult(*db, L"TILEMODE", OdResBuf::newRb(70, 0.5)), eInvalidSysVarValue);
    EXPECT_EQ(setResult(*db, L"CLAYER", OdResBuf::newRb(8, 3)), eInvalidSysVarValue);
    EXPECT_EQ(setResult(*db, L"$PLINEGEN", OdResBuf::newRb(70, 1)), eOk);
    EXPECT_EQ(setResult(*db, L"CELWEIGHT", OdResBuf::newRb(370, 7)), eInvalidSysVarValue) << "not a lineweight";
    EXPECT_EQ(setResult(*db, L"CELWEIGHT", OdResBuf::newRb(370, 212)), eInvalidSysVarValue);
    EXPECT_EQ(setResult(*db, L"CELWEIGHT", OdResBuf::newRb(370, 53)), eOk);

    EXPECT_EQ(db->sysVarInt(L"SPLINETYPE"), 5);
    EXPECT_EQ(db->sysVarInt(L"SURFU"), 6) << "a refused value leaves the old one";
    EXPECT_EQ(db->getDIMSCALE(), 1.0);
}

// A point with a NaN or an infinity could never be saved: it is refused like a non-finite number.
TEST_F(DbFixture, PointVariablesRefuseNonFiniteCoordinates)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    for (const wchar_t* name : {L"INSBASE", L"EXTMIN", L"EXTMAX"}) {
        EXPECT_EQ(setResult(*db, name, OdResBuf::newRb(10, OdGePoint3d(1.0, nan, 2.0))), eInvalidSysVarValue) << name;
        EXPECT_EQ(setResult(*db, name, OdResBuf::newRb(10, OdGePoint3d(inf, 1.0, 1.0))), eInvalidSysVarValue) << name;
        EXPECT_EQ(setResult(*db, name, OdResBuf::newRb(10, OdGePoint3d(1.0, 1.0, -inf))), eInvalidSysVarValue) << name;
    }
    EXPECT_EQ(setResult(*db, L"INSBASE", OdResBuf::newRb(10, OdGePoint3d(1.0, 2.0, 3.0))), eOk);
    EXPECT_EQ(db->getSysVar(L"INSBASE")->getPoint3d(), OdGePoint3d(1.0, 2.0, 3.0));
}

TEST_F(DbFixture, HandseedFollowsTheHandlesInUse)
{
    OdDbObjectId id = addEntity(1.0);
    OdDbHandle seed = db->getSysVar(L"HANDSEED")->getHandle();
    EXPECT_GT(seed, id.getHandle());
    OdResBufPtr low = OdResBuf::newRb(5);
    low->setHandle(id.getHandle());
    EXPECT_EQ(setResult(*db, L"HANDSEED", low), eInvalidSysVarValue);
    OdResBufPtr high = OdResBuf::newRb(5);
    high->setHandle(OdDbHandle(0x1000));
    EXPECT_EQ(setResult(*db, L"HANDSEED", high), eOk);
    EXPECT_EQ(addEntity(2.0).getHandle(), OdDbHandle(0x1000));
}

TEST(SysVarTable, IsSortedSoLookupsFindEveryName)
{
    for (const auto& def : vantrel::SysVarStore::definitions())
        EXPECT_EQ(vantrel::SysVarStore::find(OdString::fromUtf8(def.name)), &def) << def.name;
    // Any case, with or without the DXF "$"; a name only begun or run on is no name.
    EXPECT_EQ(vantrel::SysVarStore::find(L"$surfU"), vantrel::SysVarStore::find(L"SURFU"));
    EXPECT_NE(vantrel::SysVarStore::find(L"SURFU"), nullptr);
    for (const wchar_t* name : {L"SURF", L"SURFUV", L"", L"$", L"SURF\u00dcV"})
        EXPECT_EQ(vantrel::SysVarStore::find(name), nullptr) << OdString(name).toUtf8();
}

} // namespace
