// The document's services beside the command line: transient graphics, the viewport and UCS
// queries, message boxes, posting Enter to an open request, and what counts as unsaved.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

#include <vantrel/db/OdDbCircle.h>
#include <vantrel/db/OdDbViewport.h>
#include <vantrel/host/InputSource.h>
#include <vantrel/host/host_message_box.h>
#include <vantrel/host/hostutils.h>
#include <vantrel/host/save_drawing.h>
#include <vantrel/host/svg_render.h>

#include "HostAppFixture.h"

using HostDocumentTest = HostAppFixture;

TEST_F(HostDocumentTest, TransientsAreShownUntilRemovedAndDrawnIntoSvg)
{
    OdDbCirclePtr circle = OdDbCircle::createObject();
    circle->setCenter({500, 500, 0});
    circle->setRadius(5);
    OdDbLinePtr line = OdDbLine::createObject();
    EXPECT_TRUE(doc.addTransient(circle.get()));
    EXPECT_FALSE(doc.addTransient(circle.get()));
    EXPECT_TRUE(doc.addTransient(line.get()));
    EXPECT_EQ(doc.transients(), (std::vector<const OdDbEntity*>{circle.get(), line.get()}));
    EXPECT_TRUE(doc.removeTransient(line.get()));
    EXPECT_FALSE(doc.removeTransient(line.get()));
    EXPECT_EQ(doc.transients(), std::vector<const OdDbEntity*>{circle.get()});
    EXPECT_EQ(doc.transientAddCalls(), 3u);
    EXPECT_EQ(doc.transientRemoveCalls(), 2u);
    // The document holds what it shows, even when the command let go of it.
    circle.release();
    ASSERT_EQ(doc.transients().size(), 1u);
    EXPECT_EQ(modelSpaceCount(), 0u);
    std::string svg = vantrel::renderSvg(*db, OdDbObjectId::kNull, doc.transients());
    EXPECT_NE(svg.find("<circle"), std::string::npos);
    EXPECT_EQ(vantrel::renderSvg(*db).find("<circle"), std::string::npos);
}

TEST_F(HostDocumentTest, ActiveSpaceFollowsThePaperSpaceViewportRule)
{
    EXPECT_EQ(getActiveBTRId(db), db->getModelSpaceId());
    db->setSysVar(L"TILEMODE", OdResBuf::newRb(70, 0).get());
    // The template's active viewport is the sheet itself (number 1): paper space.
    OdDbViewportPtr sheet = getActiveViewportId(db).safeOpenObject();
    ASSERT_EQ(sheet->number(), 1);
    EXPECT_EQ(getActiveBTRId(db), db->getPaperSpaceId());
    // A floating viewport active: the user works in model space through it.
    OdDbBlockTableRecordPtr paper = db->getPaperSpaceId().safeOpenObject();
    for (OdDbObjectIteratorPtr it = paper->newIterator(); !it->done(); it->step()) {
        OdDbViewportPtr vp = OdDbViewport::cast(it->entity().get());
        if (vp && vp->number() == 2)
            db->setActiveViewportId(it->objectId());
    }
    ASSERT_EQ(OdDbViewportPtr(getActiveViewportId(db).safeOpenObject())->number(), 2);
    EXPECT_EQ(getActiveBTRId(db), db->getModelSpaceId());
    EXPECT_THROW(getActiveBTRId(nullptr), OdError);
}

TEST_F(HostDocumentTest, UcsIsTheDocumentsAndWorldElsewhere)
{
    EXPECT_TRUE(getCurrentUCS(db) == OdGeMatrix3d::kIdentity);
    OdGeMatrix3d ucs;
    // X along world Y, Z along world -X: a UCS standing on the YZ plane.
    ucs.setCoordSystem({1, 2, 3}, {0, 1, 0}, {0, 0, 1}, {1, 0, 0});
    doc.setUcs(ucs);
    EXPECT_TRUE(getCurrentUCS(db) == ucs);
    EXPECT_TRUE(get_UCSXDIR(db).isEqualTo({0, 1, 0}));
    EXPECT_TRUE(get_UCSZDIR(db).isEqualTo({1, 0, 0}));
    OdDbDatabasePtr other = vantrel::newDrawing();
    EXPECT_TRUE(getCurrentUCS(other.get()) == OdGeMatrix3d::kIdentity);
    EXPECT_TRUE(get_UCSZDIR(other.get()).isEqualTo({0, 0, 1}));
}

TEST_F(HostDocumentTest, MessageBoxesGoThroughTheFrontEnd)
{
    EXPECT_EQ(hostMessageBox(L"Exception CSolidCmd::Run"), kMessageBoxOk);
    EXPECT_EQ(output(), "[message box] Exception CSolidCmd::Run\n");
    std::vector<std::wstring> shown;
    app.setMessageBoxHandler([&](const OdString& text) {
        shown.push_back(text.str());
        return kMessageBoxOk;
    });
    hostMessageBox(L"second");
    EXPECT_EQ(shown, std::vector<std::wstring>{L"second"});
    EXPECT_EQ(output(), "");
}

namespace {
// Answers a request by posting Enter to it, as a tracker does, then moving the cursor.
class PostingSource : public vantrel::InputSource {
public:
    explicit PostingSource(vantrel::InputEngine& engine) : m_engine(engine) {}
    vantrel::InputEvent next(const vantrel::InputPrompt&) override
    {
        m_posted = hostPostChar(m_engine.window(), 13);
        vantrel::InputEvent e = vantrel::InputEvent::of(vantrel::InputEvent::Kind::Move);
        e.point = OdGePoint3d(1, 1, 0);
        return e;
    }
    bool m_posted = false;

private:
    vantrel::InputEngine& m_engine;
};
} // namespace

TEST_F(HostDocumentTest, PostedEnterEndsTheOpenRequest)
{
    PostingSource posting(doc.engine());
    doc.engine().setSource(posting);
    OdGePoint3d p(7, 7, 7);
    EXPECT_EQ(doc.editor().getPoint(nullptr, p, L"Specify point"), kInputEmpty);
    EXPECT_TRUE(posting.m_posted);
    EXPECT_TRUE(p.isEqualTo({7, 7, 7}));
    // With no request open nothing is posted.
    EXPECT_FALSE(hostPostChar(doc.engine().window(), 13));
    doc.engine().setSource(noInput);
}

// Every kind of change counts as unsaved until a save: objects, drawing variables, U and REDO.
// SAVE with Enter saves to the drawing's own file.
TEST_F(HostDocumentTest, ChangesCountAsUnsavedUntilTheDrawingIsSaved)
{
    EXPECT_FALSE(doc.isModified());
    addLine({0, 0, 0}, {1, 0, 0});
    EXPECT_TRUE(doc.isModified());
    doc.markUnmodified();
    db->setSysVar(L"LTSCALE", OdResBuf::newRb(40, 2.0).get());
    EXPECT_TRUE(doc.isModified());

    const auto file = std::filesystem::temp_directory_path() / ("vantrel_save_" + std::to_string(::getpid()) + ".dxf");
    EXPECT_EQ(vantrel::saveDocument(doc, file.wstring()), "");
    EXPECT_FALSE(doc.isModified());
    EXPECT_EQ(doc.fileName(), file.wstring());
    EXPECT_EQ(doc.lastSavedTo(), file.wstring());

    app.runCommand(L"U");
    EXPECT_TRUE(doc.isModified());
    std::filesystem::remove(file);
    script("\n");
    app.runCommand(L"SAVE");
    EXPECT_FALSE(doc.isModified());
    EXPECT_TRUE(std::filesystem::exists(file));
    EXPECT_EQ(output(),
              "Everything has been undone\nEnter file name <" + file.string() + ">: \nSaved " + file.string() + "\n");
    std::filesystem::remove(file);
    std::filesystem::remove(file.string() + ".bak");
}
