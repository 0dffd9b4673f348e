// A studio window with its host, driven step by step: each step (synthetic mouse and key events on
// the real widgets) runs when the command line waits for input, so the host sees the events as it
// would see a user's. The drawing is checked by saving it and reading the file back.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include <QEvent>
#include <QPoint>
#include <QString>
#include <QTemporaryDir>

#include <vantrel/db/OdDbDatabase.h>
#include <vantrel/db/OdDbEntity.h>
#include <vantrel/host/HostApplication.h>
#include <vantrel/host/TomlProfile.h>
#include <vantrel/host/Transcript.h>

#include "StudioWindow.h"
#include "files/RecentFiles.h"
#include "input/StudioInputSource.h"

namespace vantrel::studio::test {

using Step = std::function<void()>;

// Loads the command module (and the light panel) once per test program.
void loadModules();

class StudioHarness {
public:
    StudioHarness();
    ~StudioHarness();

    // Runs the window's session until every step has run and the input they gave is used up.
    void run(std::vector<Step> steps);

    // Steps.
    Step type(const QString& line); // typed (pasted when it has blanks), then Enter
    Step key(int key);              // one key in the command line
    Step move(double x, double y);  // the mouse to a drawing point
    Step click(double x, double y); // left button there
    Step rightClick();
    Step drag(double x0, double y0, double x1, double y1); // left button down, moved, up
    Step check(std::function<void()> test) { return test; }

    // Where a drawing point is on screen, and the drawing point of a pixel.
    QPoint pixelOf(double x, double y) const;
    OdGePoint3d pointOf(double x, double y) const;

    // Saves through the window's Save As and reads the file back.
    OdDbDatabasePtr saveAndRead();
    // The entities of the read-back model space.
    static std::vector<OdDbEntityPtr> modelSpace(OdDbDatabase& db);

    StudioWindow& window() { return *m_window; }
    StudioInputSource& source() { return m_source; }
    HostApplication& app() { return *m_app; }
    QString transcript() const;
    QString folder() const { return m_folder.path(); }

private:
    void mouse(QEvent::Type type, Qt::MouseButton button, Qt::MouseButtons held, const QPoint& at);

    QTemporaryDir m_folder;
    StudioInputSource m_source;
    std::unique_ptr<TomlProfile> m_profile;
    std::unique_ptr<RecentFiles> m_recent;
    std::unique_ptr<StudioWindow> m_window;
    std::unique_ptr<Transcript> m_transcript;
    std::unique_ptr<HostApplication> m_app;
};

} // namespace vantrel::studio::test
