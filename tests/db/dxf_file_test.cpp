// Tests of reading and writing whole drawings as DXF: generated drawings come back equal and
// byte-stable, kept data survives, damaged files are refused with the line, and saving is atomic.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <numbers>
#include <random>
#include <sstream>

#include <vantrel/db/DxfFile.h>
#include <vantrel/db/OdDb2dPolyline.h>
#include <vantrel/db/OdDb2dVertex.h>
#include <vantrel/db/OdDbArc.h>
#include <vantrel/db/OdDbBlockTableRecord.h>
#include <vantrel/db/OdDbCircle.h>
#include <vantrel/db/OdDbEllipse.h>
#include <vantrel/db/OdDbGroup.h>
#include <vantrel/db/OdDbLight.h>
#include <vantrel/db/OdDbLine.h>
#include <vantrel/db/OdDbPolyline.h>
#include <vantrel/db/OdDbTables.h>
#include <vantrel/db/OdDbSpline.h>
#include <vantrel/db/OdDbText.h>
#include <vantrel/db/Template.h>

#include "dxf/DxfFileWriter.h"
#include "ezdxf_check.h"
#include "scratch_files.h"
#include "dxf/dxf_values.h"
#include "db_key.h"

using namespace vantrel;

namespace {

OdDbDatabasePtr readBack(const std::string& text)
{
    DxfReadResult r = readDxfText(text);
    EXPECT_TRUE(r.database) << r.error;
    return r.database;
}

std::vector<OdDbObjectId> modelEntities(OdDbDatabase& db)
{
    std::vector<OdDbObjectId> ids;
    OdDbBlockTableRecordPtr ms = db.getModelSpaceId().safeOpenObject();
    for (auto it = ms->newIterator(); !it->done(); it->step())
        ids.push_back(it->objectId());
    return ids;
}

} // namespace

class DxfDrawing : public ::testing::Test {
protected:
    void SetUp() override { db = newDrawing(); }

    OdDbObjectId append(OdDbEntity* e)
    {
        OdDbBlockTableRecordPtr ms = db->getModelSpaceId().safeOpenObject(OdDb::kForWrite);
        return ms->appendOdDbEntity(e);
    }

    OdDbDatabasePtr db;
};

TEST_F(DxfDrawing, GeneratedDrawingRoundTripsByteStable)
{
    OdDbLinePtr line = OdDbLine::createObject();
    line->setStartPoint(OdGePoint3d(1.5, -2.25, 0.1));
    line->setEndPoint(OdGePoint3d(1e6 / 3.0, 7.0, 0.0));
    const OdDbObjectId lineId = append(line.get());
    OdDbLinePtr(lineId.safeOpenObject(OdDb::kForWrite))->setColorIndex(3);

    OdDbArcPtr arc = OdDbArc::createObject();
    arc->setCenter(OdGePoint3d(10, 10, 0));
    arc->setRadius(2.5);
    arc->setStartAngle(0.3);
    arc->setEndAngle(2.0);
    append(arc.get());

    OdDbCirclePtr circle = OdDbCircle::createObject();
    circle->setCenter(OdGePoint3d(-4, 3, 0));
    circle->setRadius(1.0 / 3.0);
    append(circle.get());

    OdDbPolylinePtr pl = OdDbPolyline::createObject();
    pl->addVertexAt(0, OdGePoint2d(0, 0), 0.5, 0.1, 0.2);
    pl->addVertexAt(1, OdGePoint2d(10, 0), -1.0, 0.3, 0.0);
    pl->addVertexAt(2, OdGePoint2d(10, 5));
    pl->setClosed(true);
    const OdDbObjectId plId = append(pl.get());

    OdResBufPtr xdata = OdResBuf::newRb(1001, OdString(L"ACAD"));
    xdata->setNext(OdResBuf::newRb(1000, OdString(L"é^J")));
    xdata->next()->setNext(OdResBuf::newRb(1010, OdGePoint3d(1, 2, 3)));
    OdDbLinePtr(lineId.safeOpenObject(OdDb::kForWrite))->setXData(xdata.get());

    OdDbLightPtr light = OdDbLight::createObject();
    light->dataForWrite(vantrel::dbKey()).name = L"Spot 1";
    light->dataForWrite(vantrel::dbKey()).lightType = 3;
    light->dataForWrite(vantrel::dbKey()).hotspotAngle = 0.4;
    light->dataForWrite(vantrel::dbKey()).physicalIntensity = 1234.5;
    light->dataForWrite(vantrel::dbKey()).lampColorRGB = LampRgb{0.25, 0.5, 1.0};
    light->dataForWrite(vantrel::dbKey()).lightColor = OdCmColor::byRGB(10, 20, 30);
    const OdDbObjectId lightId = append(light.get());

    // A sequence's SEQEND gets its handle before the header states the next free one.
    OdDb2dPolylinePtr pl2d = OdDb2dPolyline::createObject();
    for (const OdGePoint3d& p : {OdGePoint3d(0, 0, 0), OdGePoint3d(4, 1, 0)}) {
        OdDb2dVertexPtr v = OdDb2dVertex::createObject();
        v->setPosition(p);
        pl2d->appendVertex(v.get());
    }
    append(pl2d.get());

    const std::string first = dxfText(*db);
    OdDbDatabasePtr back = readBack(first);
    ASSERT_TRUE(back);
    EXPECT_EQ(dxfText(*back), first);

    OdDbLinePtr line2 = back->getOdDbObjectId(lineId.getHandle()).safeOpenObject();
    EXPECT_EQ(line2->startPoint(), OdGePoint3d(1.5, -2.25, 0.1));
    EXPECT_EQ(line2->endPoint(), OdGePoint3d(1e6 / 3.0, 7.0, 0.0));
    EXPECT_EQ(line2->colorIndex(), 3);
    OdResBufPtr x2 = line2->xData(L"ACAD");
    ASSERT_TRUE(x2 && x2->next());
    EXPECT_EQ(x2->next()->getString(), OdString(L"é^J"));

    OdDbPolylinePtr pl2 = back->getOdDbObjectId(plId.getHandle()).safeOpenObject();
    ASSERT_EQ(pl2->numVerts(), 3U);
    EXPECT_TRUE(pl2->isClosed());
    EXPECT_EQ(pl2->getBulgeAt(1), -1.0);
    double s = 0, e = 0;
    pl2->getWidthsAt(0, s, e);
    EXPECT_EQ(s, 0.1);
    EXPECT_EQ(e, 0.2);
    OdDbLightPtr light2 = back->getOdDbObjectId(lightId.getHandle()).safeOpenObject();
    EXPECT_EQ(light2->data().name, OdString(L"Spot 1"));
    EXPECT_EQ(light2->data().lightType, 3);
    EXPECT_DOUBLE_EQ(light2->data().hotspotAngle, 0.4);
    EXPECT_EQ(light2->data().physicalIntensity, 1234.5);
    EXPECT_EQ(light2->data().lampColorRGB, (LampRgb{0.25, 0.5, 1.0}));
    EXPECT_EQ(light2->data().lightColor.rgb(), 0x0A141EU);
    EXPECT_EQ(modelEntities(*back).size(), 6U);
}

// Names and texts are read as views of the file where they need no decoding and decoded
// otherwise; records naming the same layers over and over get each its own.
TEST_F(DxfDrawing, NamesAndTextsComeBackWhetherPlainOrEscaped)
{
    const std::vector<OdString> layerNames = {L"Walls", L"Étage ^ 2", L"Walls", L"0", L"Étage ^ 2", L"Doors"};
    {
        OdDbLayerTablePtr layers = db->getLayerTableId().safeOpenObject(OdDb::kForWrite);
        for (const OdString& name : layerNames)
            if (layers->getAt(name).isNull()) {
                OdDbLayerTableRecordPtr layer = OdDbLayerTableRecord::createObject();
                layer->setName(name);
                layers->add(layer.get());
            }
    }
    const std::vector<OdString> texts = {L"plain", L"caret ^ and ^J", L"two\nlines", L"back\\slash \\P", L"été"};
    std::vector<OdDbObjectId> ids;
    for (std::size_t i = 0; i < layerNames.size(); ++i) {
        OdDbTextPtr text = OdDbText::createObject();
        text->setTextString(texts[i % texts.size()]);
        ids.push_back(append(text.get()));
        text->setLayer(OdDbLayerTablePtr(db->getLayerTableId().safeOpenObject())->getAt(layerNames[i]));
    }

    const std::string first = dxfText(*db);
    OdDbDatabasePtr back = readBack(first);
    ASSERT_TRUE(back);
    EXPECT_EQ(dxfText(*back), first);
    for (std::size_t i = 0; i < ids.size(); ++i) {
        OdDbTextPtr text = back->getOdDbObjectId(ids[i].getHandle()).safeOpenObject();
        EXPECT_EQ(text->textString(), texts[i % texts.size()]) << i;
        EXPECT_EQ(text->layer(), layerNames[i]) << i;
    }
}

// A drawing written by an independent program comes through with every entity, handle, width,
// bulge, flag, extended data and unknown entity; our output passes that program's audit.
TEST(DxfInterop, IndependentDrawingComesThroughAndOurOutputPassesItsAudit)
{
    if (!haveEzdxf())
        GTEST_SKIP() << "python3-ezdxf is not installed (tools/setup installs it)";
    const auto dir = scratchDir("interop");
    ASSERT_EQ(runPython(R"(
import ezdxf
doc = ezdxf.new('R2010')
doc.appids.new('VANTREL_TEST')
doc.layers.new('walls', dxfattribs={'color': 5})
msp = doc.modelspace()
line = msp.add_line((0, 0, 0), (10.5, 3.25, 1), dxfattribs={'layer': 'walls'})
line.set_xdata('VANTREL_TEST', [(1000, 'tag é'), (1040, 2.5), (1070, 7), (1010, (1, 2, 3))])
pl = msp.add_lwpolyline([(0, 0, 0.5, 1.0, 0.25), (5, 0, 0, 0, -1.0), (5, 5, 0.2, 0.2, 0)], format='xyseb')
pl.closed = True
msp.add_circle((1, 2), 3.5)
msp.add_arc((4, 4), 2, 30, 120)
msp.add_ellipse((0, 0), (4, 0, 0), 0.5)
msp.add_text('Hello', dxfattribs={'height': 2.0, 'rotation': 15})
msp.add_point((7, 7))
msp.add_polyline2d([(0, 0), (1, 1), (2, 0)])
msp.add_polyline3d([(0, 0, 0), (1, 1, 1), (2, 0, 2)])
msp.add_spline([(0, 0), (1, 2), (3, 1), (4, 4)])
with open('handles.txt', 'w') as f:
    for e in msp:
        f.write(e.dxftype() + ' ' + e.dxf.handle + '\n')
doc.saveas('in.dxf')
)",
                        dir),
              0)
        << slurpFile(dir / "python.log");

    DxfReadResult r = readDxf((dir / "in.dxf").string());
    ASSERT_TRUE(r.database) << r.error;
    std::vector<OdDbObjectId> ids = modelEntities(*r.database);
    std::istringstream handles(slurpFile(dir / "handles.txt"));
    std::string type, handle;
    std::size_t n = 0;
    while (handles >> type >> handle) {
        ASSERT_LT(n, ids.size());
        EXPECT_EQ(ids[n].getHandle().ascii(), handle) << type;
        ++n;
    }
    EXPECT_EQ(n, ids.size());

    OdDbLinePtr line = ids[0].safeOpenObject();
    EXPECT_EQ(line->endPoint(), OdGePoint3d(10.5, 3.25, 1));
    EXPECT_EQ(line->layer(), OdString(L"walls"));
    OdResBufPtr x = line->xData(L"VANTREL_TEST");
    ASSERT_TRUE(x && x->next());
    EXPECT_EQ(x->next()->getString(), OdString(L"tag é"));
    OdDbPolylinePtr pl = ids[1].safeOpenObject();
    ASSERT_EQ(pl->numVerts(), 3U);
    EXPECT_TRUE(pl->isClosed());
    EXPECT_EQ(pl->getBulgeAt(0), 0.25);
    EXPECT_EQ(pl->getBulgeAt(1), -1.0);
    double s = 0, e = 0;
    pl->getWidthsAt(0, s, e);
    EXPECT_EQ(s, 0.5);
    EXPECT_EQ(e, 1.0);

    const std::string first = dxfText(*r.database);
    DxfReadResult again = readDxfText(first);
    ASSERT_TRUE(again.database) << again.error;
    EXPECT_EQ(dxfText(*again.database), first);

    ASSERT_EQ(writeDxf(*r.database, (dir / "out.dxf").string()), "");
    ASSERT_EQ(runPython("import ezdxf\n"
                        "doc = ezdxf.readfile('"
                            + (dir / "out.dxf").string()
                            + "')\n"
                              "a = doc.audit()\n"
                              "for e in a.errors: print(e)\n"
                              "msp = doc.modelspace()\n"
                              "print(len(msp))\n"
                              "assert len(a.errors) == 0\n"
                              "assert len(msp) == "
                            + std::to_string(ids.size())
                            + "\n"
                              "assert msp[0].get_xdata('VANTREL_TEST')[0] == (1000, 'tag é')\n",
                        dir),
              0)
        << slurpFile(dir / "python.log");
    std::filesystem::remove_all(dir);
}

TEST(DxfDamaged, RefusedWithOneMessageNamingTheLine)
{
    const std::string good = dxfText(*newDrawing());
    struct Case {
        std::string text;
        std::string fragment;
    };
    std::vector<Case> cases = {
        {good.substr(0, good.rfind('\n', good.size() / 2) + 1), "the file ends"},
        {"  0\nSECTION\n  2\nENTITIES\n  0\nLINE\n 10\nabc\n", "line 8: group code 10 expects a finite number"},
        {"  0\nSECTION\n  2\nENTITIES\n  0\nLINE\n 10\nnan\n 20\n0\n", "line 8:"},
        {"  0\nSECTION\n  2\nENTITIES\n  0\nLINE\n 10\n1e999\n 20\n0\n", "line 8:"},
        {"  0\nSECTION\n  2\nENTITIES\n  0\nLINE\nten\n1\n", "line 7: expected a group code"},
        {"  0\nSECTION\n  2\nENTITIES\n  0\nLWPOLYLINE\n100\nAcDbEntity\n  8\n0\n100\nAcDbPolyline\n 90\n3\n 70\n0\n"
         " 10\n0\n 20\n0\n 10\n1\n 20\n1\n  0\nENDSEC\n  0\nEOF\n",
         "line 5: LWPOLYLINE: group code 90 declares 3 items, but 2 follow"},
        {"  0\nSECTION\n  2\nENTITIES\n  0\nLINE\n 62\n99999\n  0\nENDSEC\n  0\nEOF\n", "line 8:"},
        {"  0\nSECTION\n  2\nENTITIES\n  0\nENDSEC\n", "the file ends without the EOF record"},
    };
    for (const Case& c : cases) {
        DxfReadResult r = readDxfText(c.text);
        EXPECT_FALSE(r.database);
        EXPECT_NE(r.error.find(c.fragment), std::string::npos) << r.error;
        EXPECT_EQ(r.error.find('\n'), std::string::npos) << r.error;
    }
}

// A damaged file is either repaired, and says so, or refused; what is accepted writes a file
// that reads back here and in an independent reader.
TEST(DxfDamaged, WhatIsAcceptedIsRepairedAndReopensWhatIsNotIsRefused)
{
    const std::string good = dxfText(*newDrawing());
    auto damaged = [&good](const std::string& from, const std::string& to, std::size_t after = 0) {
        std::string text = good;
        const std::size_t at = text.find(from, after);
        EXPECT_NE(at, std::string::npos) << from;
        return at == std::string::npos ? text : text.replace(at, from.size(), to);
    };
    const std::size_t style = good.find("  0\nSTYLE\n  5\n");
    const std::size_t styleHandle = style + std::string("  0\nSTYLE\n  5\n").size();
    const std::string handle = good.substr(styleHandle, good.find('\n', styleHandle) - styleHandle);
    const std::size_t firstObject = good.find("  0\nLAYOUT\n");
    // The block record's pointer to the first layout taken away as well.
    auto layoutOfNoBlock = [&good, firstObject](std::string text) {
        const std::size_t at = firstObject + std::string("  0\nLAYOUT\n  5\n").size();
        const std::string pointer = "340\n" + good.substr(at, good.find('\n', at) - at) + "\n";
        const std::size_t from = text.find(pointer);
        EXPECT_NE(from, std::string::npos);
        return from == std::string::npos ? text : text.erase(from, pointer.size());
    };
    struct Case {
        const char* what;
        std::string text;
        std::string said; // the repair, or the refusal
        bool refused;
    };
    const std::vector<Case> cases{
        {"style marker", damaged("100\nAcDbTextStyleTableRecord\n", "100\nAcDbTextStyleTableRecorX\n"),
         "misspelt subclass markers read as the ones expected there", false},
        {"block record's generic marker",
         damaged("100\nAcDbSymbolTableRecord\n100\nAcDbBlockTableRecord\n",
                 "100\nAcDbSymbodTableRecord\n100\nAcDbBlockTableRecord\n"),
         "misspelt subclass markers read as the ones expected there", false},
        {"layout marker", damaged("100\nAcDbLayout\n", "100\nAcDbLayouX\n", firstObject),
         "misspelt subclass markers read as the ones expected there", false},
        {"layout's own marker replaced by another class's",
         damaged("100\nAcDbLayout\n", "100\nAcDbText\n", firstObject),
         "layouts without their block linked to the block that names them", false},
        {"layout that no block names and that names none",
         layoutOfNoBlock(damaged("100\nAcDbLayout\n", "100\nAcDbText\n", firstObject)),
         "layouts that show no block dropped", false},
        {"handle 0", damaged("STYLE\n  5\n" + handle + "\n", "STYLE\n  5\n0\n"),
         "records with a null or unreadable handle", false},
        {"handle not hex", damaged("STYLE\n  5\n" + handle + "\n", "STYLE\n  5\nXYZ\n"),
         "records with a null or unreadable handle", false},
        {"header value of the wrong kind", damaged("$ANGBASE\n 50\n", "$ANGBASE\n 70\n"),
         "header variables under an unexpected group code", false},
        {"unknown header variable without a value", damaged("  9\n$ANGBASE\n", "  9\n$NOSUCH\n  9\n$ANGBASE\n"),
         "unknown header variables without a single value or point dropped", false},
        {"unknown header variable with two values",
         damaged("  9\n$ANGBASE\n", "  9\n$NOSUCH\n 70\n1\n 40\n2.0\n  9\n$ANGBASE\n"),
         "unknown header variables without a single value or point dropped", false},
        {"unknown header point without y", damaged("  9\n$ANGBASE\n", "  9\n$NOSUCH\n 10\n1.0\n  9\n$ANGBASE\n"),
         "unknown header variables without a single value or point dropped", false},
        {"orphaned header value", damaged("$ACADVER\n  1\nAC1024\n", "$ACADVER\n  1\nAC1024\n 70\n5\n"),
         "expected a header variable (group code 9), got group code 70", true},
        {"misspelt ENDTAB of a kept table", damaged("  0\nENDTAB\n", "  0\nENDTABX\n"),
         "a ENDTABX record in the VPORT table", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        DxfReadResult r = readDxfText(c.text);
        if (c.refused) {
            EXPECT_FALSE(r.database);
            EXPECT_NE(r.error.find(c.said), std::string::npos) << r.error;
            continue;
        }
        ASSERT_TRUE(r.database) << r.error;
        ASSERT_FALSE(r.repairs.empty());
        EXPECT_NE(r.repairs[0].find(c.said), std::string::npos) << r.repairs[0];
        DxfReadResult again = readDxfText(dxfText(*r.database));
        ASSERT_TRUE(again.database) << again.error;
        EXPECT_TRUE(again.repairs.empty()) << again.repairs[0];
        if (haveEzdxf()) {
            const EzdxfCheck check
                = runEzdxfCheck(*r.database, "damaged", "ezdxf.readfile(sys.argv[1])\nprint('ok')\n");
            EXPECT_TRUE(check.passed) << check.output;
        }
    }
}

// What no class models comes back as it was read: unknown entities, objects, header variables,
// subclasses and 102 groups, with their handles.
TEST(DxfKept, UnmodelledDataIsWrittenBackInPlace)
{
    const std::string text
        = "  0\nSECTION\n  2\nHEADER\n  9\n$ACADVER\n  1\nAC1024\n  9\n$ACME_SETTING\n 40\n2.5\n"
          "  9\n$HANDSEED\n  5\n500\n  0\nENDSEC\n"
          "  0\nSECTION\n  2\nENTITIES\n"
          "  0\nACME_WIDGET\n  5\n2A0\n102\n{ACME_APP\n330\n2A1\n102\n}\n100\nAcDbEntity\n  8\nparts\n"
          "100\nAcDbAcmeWidget\n 10\n1.5\n 20\n2.5\n 30\n0.0\n  1\nfirst\n  1\nsecond\n"
          "1001\nACAD\n1000\nnote\n"
          "  0\nLINE\n  5\n2A2\n100\nAcDbEntity\n  8\n0\n100\nAcDbLine\n 10\n0.0\n 20\n0.0\n 30\n0.0\n"
          " 11\n1.0\n 21\n1.0\n 31\n0.0\n999\ncomment\n100\nAcDbAcmeExtra\n 90\n42\n"
          "  0\nENDSEC\n  0\nSECTION\n  2\nOBJECTS\n  0\nDICTIONARY\n  5\nC\n330\n0\n100\nAcDbDictionary\n"
          "  3\nACME_DATA\n350\n2A3\n  0\nACME_RECORD\n  5\n2A3\n330\nC\n100\nAcDbAcmeRecord\n"
          "  1\npayload\n  0\nENDSEC\n  0\nEOF\n";
    DxfReadResult r = readDxfText(text);
    ASSERT_TRUE(r.database) << r.error;
    const std::string out = dxfText(*r.database);
    for (const char* kept :
         {"  9\n$ACME_SETTING\n 40\n2.5\n", "  0\nACME_WIDGET\n  5\n2A0\n102\n{ACME_APP\n330\n2A1\n102\n}\n",
          "100\nAcDbAcmeWidget\n 10\n1.5\n 20\n2.5\n 30\n0.0\n  1\nfirst\n  1\nsecond\n1001\nACAD\n1000\nnote\n",
          "100\nAcDbAcmeExtra\n 90\n42\n", "  0\nACME_RECORD\n  5\n2A3\n330\nC\n100\nAcDbAcmeRecord\n  1\npayload\n",
          "  3\nACME_DATA\n350\n2A3\n"})
        EXPECT_NE(out.find(kept), std::string::npos) << kept;
    EXPECT_NE(out.find("  8\nparts\n"), std::string::npos);
    DxfReadResult again = readDxfText(out);
    ASSERT_TRUE(again.database) << again.error;
    EXPECT_EQ(dxfText(*again.database), out);
    // New objects never take a handle the file used.
    OdDbLinePtr line = OdDbLine::createObject();
    OdDbBlockTableRecordPtr ms = r.database->getModelSpaceId().safeOpenObject(OdDb::kForWrite);
    EXPECT_GE(ms->appendOdDbEntity(line.get()).getHandle().value(), 0x500U);
}

TEST(DxfSave, AtomicWithBackupAndAnErrorNamingThePath)
{
    const auto dir = scratchDir("save");
    OdDbDatabasePtr db = newDrawing();
    const std::string path = (dir / "a.dxf").string();
    ASSERT_EQ(writeDxf(*db, path), "");
    std::filesystem::resize_file(path, 10); // make the file on disk differ from a fresh save
    const std::string previous = slurpFile(path);
    ASSERT_EQ(writeDxf(*db, path), "");
    EXPECT_EQ(slurpFile(dir / "a.dxf.bak"), previous);
    EXPECT_EQ(slurpFile(path), dxfText(*db));

    const std::string error = writeDxf(*db, dir.string());
    EXPECT_NE(error.find(dir.string()), std::string::npos) << error;
    DxfReadResult missing = readDxf((dir / "none.dxf").string());
    EXPECT_FALSE(missing.database);
    EXPECT_NE(missing.error.find("none.dxf"), std::string::npos) << missing.error;
    std::filesystem::remove_all(dir);
}

TEST(DxfAngles, DegreesAreWrittenAsTheShortestTextOfTheirRadians)
{
    // Round values, and values of up to 15 digits, as files and users give them, come back as
    // they were; any other value comes back as degrees that read as the very same radians.
    std::vector<double> shortOnes = {0, 30, 45, 90, 150, 210.068583, 240, 250, 359.999, -90, 1e-9, 720};
    std::mt19937_64 rng(3);
    std::uniform_real_distribution<double> angle(-360.0, 360.0);
    for (int i = 0; i < 20000; ++i) {
        const double d = angle(rng);
        shortOnes.push_back(std::round(d * 1e4) / 1e4);
        char text[32];
        std::snprintf(text, sizeof text, "%.15g", d);
        shortOnes.push_back(std::stod(text));
        const double radians = dxfDegreesToRadians(d);
        ASSERT_EQ(dxfDegreesToRadians(stableDegrees(radians)), radians) << d;
    }
    for (double d : shortOnes)
        ASSERT_EQ(stableDegrees(dxfDegreesToRadians(d)), d) << d;
    EXPECT_FALSE(std::signbit(stableDegrees(0.0))) << "0 stays 0, never -0";
}

TEST(DxfAngles, AnAngleOfManyDigitsIsWrittenBackAsRead)
{
    // 149.98986235968184 reads as the same radians as the shorter 149.9898623596818.
    const std::string text = "  0\nSECTION\n  2\nENTITIES\n  0\nARC\n  8\n0\n 10\n0\n 20\n0\n 40\n1\n"
                             " 50\n149.98986235968184\n 51\n30.010137640318135\n  0\nENDSEC\n  0\nEOF\n";
    DxfReadResult r = readDxfText(text);
    ASSERT_TRUE(r.database) << r.error;
    const std::string written = dxfText(*r.database);
    EXPECT_NE(written.find(" 50\n149.98986235968184\n"), std::string::npos);
    EXPECT_NE(written.find(" 51\n30.010137640318135\n"), std::string::npos);
    OdDbArcPtr arc = OdDbBlockTableRecordPtr(r.database->getModelSpaceId().safeOpenObject())
                         ->entityIds()
                         .front()
                         .safeOpenObject(OdDb::kForWrite);
    arc->setStartAngle(arc->startAngle() + 0.5);
    EXPECT_EQ(dxfText(*r.database).find("149.98986235968184"), std::string::npos) << "a changed angle is written anew";
}

// Parts of other classes after a table record's own part stay parts of their own: read as they
// are, written back in place, the same at every save (none is taken for the record's own part).
TEST(DxfKept, ForeignPartsAfterATableRecordsOwnStayForeign)
{
    std::string text = dxfText(*newDrawing());
    const std::size_t layer = text.find("100\nAcDbLayerTableRecord\n");
    ASSERT_NE(layer, std::string::npos);
    const std::string foreign = "100\nAcDbEntity\n  8\n0\n100\nAcDbText\n 10\n1.5\n";
    text.insert(text.find("  0\n", layer), foreign);
    const DxfReadResult r = readDxfText(text);
    ASSERT_TRUE(r.database) << r.error;
    EXPECT_TRUE(r.repairs.empty()) << r.repairs.front();
    const std::string saved = dxfText(*r.database);
    EXPECT_NE(saved.find(foreign), std::string::npos);
    const DxfReadResult again = readDxfText(saved);
    ASSERT_TRUE(again.database) << again.error;
    EXPECT_TRUE(again.repairs.empty()) << again.repairs.front();
    EXPECT_EQ(dxfText(*again.database), saved);
}

TEST(DxfKept, AKeptTableSurvivesTheTablesAddedBesideIt)
{
    // A file with only a VPORT table of its own: writing adds the other standard tables after
    // it, and the kept one must still be found and written whole.
    std::string vport = "  0\nTABLE\n  2\nVPORT\n  5\n8\n330\n0\n100\nAcDbSymbolTable\n 70\n1\n"
                        "  0\nVPORT\n  5\n29\n330\n8\n100\nAcDbSymbolTableRecord\n100\nAcDbViewportTableRecord\n"
                        "  2\n*Active\n 70\n0\n";
    for (int i = 0; i < 40; ++i) // enough kept text that appending moves its storage
        vport += "1000\nkept value number " + std::to_string(i) + "\n";
    vport += "  0\nENDTAB\n";
    const std::string text = "  0\nSECTION\n  2\nHEADER\n  9\n$ACADVER\n  1\nAC1024\n  0\nENDSEC\n"
                             "  0\nSECTION\n  2\nTABLES\n"
        + vport + "  0\nENDSEC\n  0\nEOF\n";
    DxfReadResult r = readDxfText(text);
    ASSERT_TRUE(r.database) << r.error;
    const std::string out = dxfText(*r.database);
    EXPECT_NE(out.find("*Active"), std::string::npos);
    EXPECT_NE(out.find("kept value number 39"), std::string::npos);
    EXPECT_EQ(out.find("  2\nVPORT\n"), out.rfind("  2\nVPORT\n")) << "one VPORT table";
    for (const char* table : {"  2\nVIEW\n", "  2\nUCS\n", "  2\nDIMSTYLE\n"})
        EXPECT_NE(out.find(table), std::string::npos) << table;
}

// A spline whose knots fall or whose weights are not positive breaks the rules its setters keep:
// reading refuses it at its record; recovering drops it and says so.
TEST(DxfDamaged, ASplineWithFallingKnotsOrBadWeightsIsRefusedOrDropped)
{
    // Flags 8: planar; 12: planar and rational.
    auto spline = [](const std::string& knots, const std::string& weights) {
        return "  0\nSECTION\n  2\nENTITIES\n  0\nSPLINE\n  5\n2A\n100\nAcDbEntity\n  8\n0\n100\nAcDbSpline\n"
               " 70\n"
            + std::string(weights.empty() ? "8" : "12") + "\n 71\n1\n 72\n5\n 73\n3\n 74\n0\n" + knots + weights
            + " 10\n0.0\n 20\n0.0\n 30\n0.0\n 10\n1.0\n 20\n0.0\n 30\n0.0\n 10\n2.0\n 20\n1.0\n 30\n0.0\n"
              "  0\nENDSEC\n  0\nEOF\n";
    };
    const std::string rising = " 40\n0.0\n 40\n0.0\n 40\n0.5\n 40\n1.0\n 40\n1.0\n";
    for (const auto& [text, problem] :
         {std::pair{spline(" 40\n0.0\n 40\n0.5\n 40\n0.3\n 40\n0.9\n 40\n1.0\n", ""), "knots must not decrease"},
          std::pair{spline(rising, " 41\n1.0\n 41\n-1.0\n 41\n1.0\n"), "a weight must be a positive number"}}) {
        const DxfReadResult refused = readDxfText(text);
        EXPECT_FALSE(refused.database);
        EXPECT_EQ(refused.error, std::string("line 5: SPLINE: ") + problem);

        const DxfReadResult recovered = readDxfText(text, {.recover = true});
        ASSERT_TRUE(recovered.database) << recovered.error;
        ASSERT_EQ(recovered.repairs.size(), 1u);
        EXPECT_EQ(recovered.repairs[0], std::string("line 5: SPLINE: ") + problem + "; the record dropped");
        OdDbBlockTableRecordPtr ms = recovered.database->getModelSpaceId().safeOpenObject();
        EXPECT_TRUE(ms->newIterator()->done());
        EXPECT_EQ(dxfText(*recovered.database).find("  0\nSPLINE\n"), std::string::npos);
    }
}
