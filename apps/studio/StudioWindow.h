// The studio's main window: the drawing view with its layout tabs, the command line dock, the
// layers panel, the menus and the status bar, and the session that runs the host's command loop
// inside Qt's event loop, opening another drawing between two runs of it.
#pragma once

#include <functional>
#include <string>

#include <QLabel>
#include <QStringList>
#include <QMainWindow>
#include <QTabBar>

#include <vantrel/db/OdDbDatabase.h>

class HostApplication;
class HostDocument;

namespace vantrel {
class CommandRegistry;
}

namespace vantrel::studio {

class CommandLine;
class DrawingView;
class LayersPanel;
class RecentFiles;
class StudioInputSource;

class StudioWindow : public QMainWindow {
    Q_OBJECT
public:
    StudioWindow(StudioInputSource& source, const CommandRegistry& commands, RecentFiles& recent);
    ~StudioWindow() override;

    CommandLine& commandLine() const { return *m_commandLine; }
    DrawingView& view() const { return *m_view; }
    LayersPanel& layers() const { return *m_layers; }
    QTabBar& layoutTabs() const { return *m_tabs; }

    // The application whose active document the window shows.
    void attach(HostApplication& app);
    // Runs the command loop until the user leaves; a drawing opened from the menu replaces the
    // document between two runs.
    void runSession();

    // The menu's file actions, also for tests. They act at `Command:` only: a running command is
    // cancelled first. Answers false when nothing was done (cancelled, or the file could not be
    // read or written, which a message box says).
    bool saveDrawing();
    bool saveDrawingAs(const QString& path);
    void openDrawing(const QString& path);
    void newDrawing();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildMenus();
    void requestReady(const QString& prompt, bool commandName);
    void updateTitle();
    void updateTabs();
    void switchLayout(int index);
    // Runs LAYER for the change of one layer state that the layers panel asks for.
    void changeLayer(OdDbObjectId id, int column);
    // Runs a command line as if typed, with the answers to its prompts, cancelling a running
    // command first.
    void typeCommand(const QString& line, const QStringList& answers = {});
    // Asks whether to save unsaved changes; false when the user cancels.
    bool maySetDrawingAside();
    // Ends the running command loop and hands `replace` a moment between two runs of it.
    void replaceDocumentWith(std::function<OdDbDatabasePtr()> replace, const QString& fileName);
    void showError(const QString& text);
    void rebuildRecentMenu();

    StudioInputSource& m_source;
    const CommandRegistry& m_commands;
    RecentFiles& m_recent;
    HostApplication* m_app = nullptr;
    DrawingView* m_view;
    QTabBar* m_tabs;
    CommandLine* m_commandLine;
    LayersPanel* m_layers;
    QLabel* m_coordinates;
    QLabel* m_snapState;
    QMenu* m_recentMenu = nullptr;
    // The drawing to open when the command loop has ended, with its file name.
    std::function<OdDbDatabasePtr()> m_pendingDrawing;
    QString m_pendingName;
    bool m_updatingTabs = false;
};

} // namespace vantrel::studio
