// Tests of the CLASSES section: every class-defined record type written is declared once, with
// its values and the number of records written; CLASS records read from a file stay as read.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <vantrel/db/DxfFile.h>
#include <vantrel/db/OdDbBlockTableRecord.h>
#include <vantrel/db/OdDbLight.h>
#include <vantrel/db/OdDbLine.h>
#include <vantrel/db/OdDbSortentsTable.h>
#include <vantrel/db/Template.h>
#include "ezdxf_check.h"

using namespace vantrel;

namespace {

// The text of the CLASSES section, from its first CLASS record to its ENDSEC (excluded).
std::string classesSection(const std::string& dxf)
{
    const std::string head = "  0\nSECTION\n  2\nCLASSES\n";
    const std::size_t begin = dxf.find(head);
    EXPECT_NE(begin, std::string::npos);
    if (begin == std::string::npos)
        return std::string();
    const std::size_t from = begin + head.size();
    return dxf.substr(from, dxf.find("  0\nENDSEC\n", from) - from);
}

// The CLASS records of the section, each as its code-value lines after "0 CLASS".
std::vector<std::string> classRecords(const std::string& dxf)
{
    const std::string section = classesSection(dxf);
    const std::string marker = "  0\nCLASS\n";
    std::vector<std::string> records;
    for (std::size_t at = section.find(marker); at != std::string::npos;) {
        const std::size_t next = section.find(marker, at + marker.size());
        records.push_back(section.substr(at + marker.size(),
                                         next == std::string::npos ? std::string::npos : next - at - marker.size()));
        at = next;
    }
    return records;
}

std::string classRecord(const char* name, const char* cls, const char* app, int flags, int count, int entity)
{
    std::ostringstream s;
    s << "  1\n"
      << name << "\n  2\n"
      << cls << "\n  3\n"
      << app << "\n 90\n"
      << flags << "\n 91\n"
      << count << "\n280\n0\n281\n"
      << entity << "\n";
    return s.str();
}

class DxfClasses : public ::testing::Test {
protected:
    void SetUp() override { db = newDrawing(); }

    OdDbObjectId addLight(OdDbObjectId space)
    {
        OdDbBlockTableRecordPtr btr = space.safeOpenObject(OdDb::kForWrite);
        OdDbLightPtr light = OdDbLight::createObject();
        light->setLightType(OdGiDrawable::kSpotLight);
        return btr->appendOdDbEntity(light.get());
    }

    OdDbDatabasePtr db;
};

} // namespace

TEST_F(DxfClasses, WrittenClassDefinedRecordsAreDeclaredWithTheirCounts)
{
    // The template alone: its two layouts are the only class-defined records.
    EXPECT_EQ(classRecords(dxfText(*db)),
              std::vector<std::string>{classRecord("LAYOUT", "AcDbLayout", "ObjectDBX Classes", 0, 2, 0)});

    addLight(db->getModelSpaceId());
    const OdDbObjectId erased = addLight(db->getModelSpaceId());
    addLight(db->getPaperSpaceId());
    EXPECT_EQ(eOk, OdDbLightPtr(erased.safeOpenObject(OdDb::kForWrite))->erase());
    OdDbBlockTableRecordPtr ms = db->getModelSpaceId().safeOpenObject(OdDb::kForWrite);
    OdDbLinePtr line = OdDbLine::createObject();
    const OdDbObjectId lineId = ms->appendOdDbEntity(line.get());
    ms->getSortentsTable()->moveToTop({lineId});

    const std::string text = dxfText(*db);
    EXPECT_EQ(classRecords(text),
              (std::vector<std::string>{
                  classRecord("LAYOUT", "AcDbLayout", "ObjectDBX Classes", 0, 2, 0),
                  classRecord("SORTENTSTABLE", "AcDbSortentsTable", "ObjectDBX Classes", 0, 1, 0),
                  classRecord("LIGHT", "AcDbLight", "SCENEOE", 1153, 2, 1),
              }));

    // Read back, the records are the file's own and are written as read, once each.
    DxfReadResult back = readDxfText(text);
    ASSERT_TRUE(back.database) << back.error;
    EXPECT_EQ(dxfText(*back.database), text);
}

TEST_F(DxfClasses, ClassesReadFromAFileStayAsReadAndOnlyMissingOnesFollow)
{
    addLight(db->getModelSpaceId());
    const std::string written = dxfText(*db);
    const std::string own = classesSection(written);
    // A file whose own section declares LIGHT (with a count of its own), a class of another
    // application, and not LAYOUT.
    const std::string kept = "  0\nCLASS\n" + classRecord("ACME_GADGET", "AcmeGadget", "ACME", 4095, 7, 1)
        + "  0\nCLASS\n" + classRecord("LIGHT", "AcDbLight", "SCENEOE", 1153, 0, 1);
    std::string file = written;
    file.replace(file.find(own), own.size(), kept);
    DxfReadResult r = readDxfText(file);
    ASSERT_TRUE(r.database) << r.error;
    addLight(r.database->getModelSpaceId());

    const std::string out = dxfText(*r.database);
    EXPECT_EQ(classesSection(out),
              kept + "  0\nCLASS\n" + classRecord("LAYOUT", "AcDbLayout", "ObjectDBX Classes", 0, 2, 0));

    // Records of classes this system does not model are declared as well when the file did not.
    const std::string placeholder = "  0\nACDBPLACEHOLDER\n  5\n2F0\n330\n1\n";
    std::string withPlaceholder = written;
    withPlaceholder.insert(withPlaceholder.rfind("  0\nENDSEC\n"), placeholder);
    DxfReadResult p = readDxfText(withPlaceholder);
    ASSERT_TRUE(p.database) << p.error;
    const std::string pout = dxfText(*p.database);
    EXPECT_NE(pout.find(placeholder), std::string::npos);
    EXPECT_EQ(classRecords(pout).back(),
              classRecord("ACDBPLACEHOLDER", "AcDbPlaceHolder", "ObjectDBX Classes", 0, 1, 0));
}

TEST_F(DxfClasses, AnIndependentReaderSeesTheClassesAndPassesItsAudit)
{
    addLight(db->getModelSpaceId());
    addLight(db->getPaperSpaceId());
    const EzdxfCheck check = runEzdxfCheck(*db, "classes", R"(doc = ezdxf.readfile(sys.argv[1])
auditor = doc.audit()
for e in auditor.errors:
    print('audit:', e)
assert not auditor.errors
c = doc.classes.get('LIGHT').dxf
assert (c.cpp_class_name, c.app_name, c.flags, c.instance_count, c.was_a_proxy, c.is_an_entity) == \
    ('AcDbLight', 'SCENEOE', 1153, 2, 0, 1), c.all_existing_dxf_attribs()
assert doc.classes.get('LAYOUT').dxf.instance_count == 2
assert len(doc.modelspace().query('LIGHT')) == 1 and len(doc.layout('Layout1').query('LIGHT')) == 1
print('ok')
)");
    EXPECT_TRUE(check.passed) << check.output;
}
