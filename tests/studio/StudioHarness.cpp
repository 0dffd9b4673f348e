// Building the window around a fresh template drawing and running steps inside the command loop.
#include "StudioHarness.h"

#include <QApplication>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTest>
#include <QTimer>

#include <vantrel/db/DxfFile.h>
#include <vantrel/db/OdDbBlockTableRecord.h>
#include <vantrel/db/Template.h>
#include <vantrel/host/HostDocument.h>
#include <vantrel/host/module_loader.h>

#include "input/CommandLine.h"
#include "view/DrawingView.h"

namespace vantrel::studio::test {

void loadModules()
{
    static const bool loaded = [] {
        return loadModule(VANTREL_MODULE, "module").empty() && loadModule(VANTREL_LIGHTPANEL, "plugin").empty();
    }();
    QVERIFY(loaded);
}

StudioHarness::StudioHarness()
{
    loadModules();
    m_profile = std::make_unique<TomlProfile>((m_folder.path() + "/profile.toml").toStdString());
    m_recent = std::make_unique<RecentFiles>(*m_profile);
    m_window = std::make_unique<StudioWindow>(m_source, CommandRegistry::global(), *m_recent);
    m_transcript = std::make_unique<Transcript>(
        [this](std::string_view text) { m_window->commandLine().appendTranscript(text); });
    m_app = std::make_unique<HostApplication>(*m_profile, m_source, *m_transcript);
    m_app->openDocument(newDrawing()).markUnmodified();
    m_window->attach(*m_app);
    m_window->resize(1000, 700);
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    // A view of 0..100 in both directions, whatever the window's size.
    m_app->activeDocument()->setViewExtents(OdGeExtents3d(OdGePoint3d(0, 0, 0), OdGePoint3d(100, 100, 0)));
    m_window->view().followCommandLineView();
}

StudioHarness::~StudioHarness()
{
    m_app.reset();
    m_transcript.reset();
    m_window.reset();
}

void StudioHarness::run(std::vector<Step> steps)
{
    std::size_t next = 0;
    bool scheduled = false;
    auto advance = [&] {
        scheduled = false;
        while (next < steps.size()) {
            steps[next++]();
            if (m_source.hasPending())
                return;
        }
        // The test looks at what is unsaved itself.
        m_app->setAskBeforeLeaving(false);
        m_source.leaveLoop();
    };
    QMetaObject::Connection idle = QObject::connect(&m_source, &StudioInputSource::idle, m_window.get(), [&] {
        if (!scheduled) {
            scheduled = true;
            QTimer::singleShot(0, m_window.get(), advance);
        }
    });
    m_app->setAskBeforeLeaving(false);
    m_window->runSession();
    QObject::disconnect(idle);
    m_source.resume();
}

Step StudioHarness::type(const QString& line)
{
    return [this, line] {
        QLineEdit* input = m_window->commandLine().input();
        // A typed blank ends the answer, as at a CAD command line: a line with blanks is pasted.
        if (line.contains(' '))
            input->setText(line);
        else
            QTest::keyClicks(input, line);
        QTest::keyClick(input, Qt::Key_Return);
    };
}

Step StudioHarness::key(int key)
{
    return [this, key] { QTest::keyClick(m_window->commandLine().input(), static_cast<Qt::Key>(key)); };
}

QPoint StudioHarness::pixelOf(double x, double y) const
{
    const ScreenPoint s = m_window->view().transform().toScreen(x, y);
    return {static_cast<int>(std::lround(s.x)), static_cast<int>(std::lround(s.y))};
}

OdGePoint3d StudioHarness::pointOf(double x, double y) const
{
    const QPoint p = pixelOf(x, y);
    return m_window->view().transform().toWorld(p.x(), p.y());
}

void StudioHarness::mouse(QEvent::Type type, Qt::MouseButton button, Qt::MouseButtons held, const QPoint& at)
{
    DrawingView& view = m_window->view();
    QMouseEvent event(type, QPointF(at), view.mapToGlobal(QPointF(at)), button, held, Qt::NoModifier);
    QApplication::sendEvent(&view, &event);
}

Step StudioHarness::move(double x, double y)
{
    return [this, x, y] { mouse(QEvent::MouseMove, Qt::NoButton, Qt::NoButton, pixelOf(x, y)); };
}

Step StudioHarness::click(double x, double y)
{
    return [this, x, y] {
        const QPoint at = pixelOf(x, y);
        mouse(QEvent::MouseMove, Qt::NoButton, Qt::NoButton, at);
        mouse(QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, at);
        mouse(QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton, at);
    };
}

Step StudioHarness::rightClick()
{
    return [this] {
        const QPoint at(10, 10);
        mouse(QEvent::MouseButtonPress, Qt::RightButton, Qt::RightButton, at);
        mouse(QEvent::MouseButtonRelease, Qt::RightButton, Qt::NoButton, at);
    };
}

Step StudioHarness::drag(double x0, double y0, double x1, double y1)
{
    return [=, this] {
        const QPoint from = pixelOf(x0, y0), to = pixelOf(x1, y1);
        mouse(QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, from);
        mouse(QEvent::MouseMove, Qt::NoButton, Qt::LeftButton, (from + to) / 2);
        mouse(QEvent::MouseMove, Qt::NoButton, Qt::LeftButton, to);
        mouse(QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton, to);
    };
}

OdDbDatabasePtr StudioHarness::saveAndRead()
{
    const QString path = m_folder.path() + "/saved.dxf";
    // Saving waits for the command line; a run that ended inside a command would block on the
    // message that says so.
    if (!m_source.atCommandPrompt() || !m_window->saveDrawingAs(path))
        return {};
    return readDxf(path.toStdString(), {}).database;
}

std::vector<OdDbEntityPtr> StudioHarness::modelSpace(OdDbDatabase& db)
{
    std::vector<OdDbEntityPtr> out;
    OdDbBlockTableRecordPtr ms = db.getModelSpaceId().safeOpenObject();
    for (OdDbObjectIteratorPtr it = ms->newIterator(); !it->done(); it->step())
        out.push_back(OdDbEntity::cast(it->objectId().safeOpenObject().get()));
    return out;
}

QString StudioHarness::transcript() const { return m_window->commandLine().transcriptText(); }

} // namespace vantrel::studio::test
