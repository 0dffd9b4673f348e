// The main window's parts, its menus, and the session around the host's command loop.
#include "StudioWindow.h"

#include <QApplication>
#include <QCloseEvent>
#include <QColorDialog>
#include <QDockWidget>
#include <QFileDialog>
#include <QFileInfo>
#include <QKeySequence>
#include <QMenuBar>
#include <QMessageBox>
#include <QShortcut>
#include <QStatusBar>
#include <QVBoxLayout>

#include <vantrel/db/DxfFile.h>
#include <vantrel/db/OdDbLayout.h>
#include <vantrel/db/OdDbTables.h>
#include <vantrel/db/Template.h>
#include <vantrel/db/layouts.h>
#include <vantrel/host/HostApplication.h>
#include <vantrel/host/HostDocument.h>
#include <vantrel/host/Transcript.h>
#include <vantrel/host/host_message_box.h>
#include <vantrel/host/save_drawing.h>

#include "QtDialog.h"
#include "files/RecentFiles.h"
#include "input/CommandLine.h"
#include "input/StudioInputSource.h"
#include "panels/LayersPanel.h"
#include "view/DrawingView.h"

namespace vantrel::studio {

namespace {

constexpr const char* kDxfFilter = "DXF drawings (*.dxf);;All files (*)";

QString fromWide(const std::wstring& s) { return QString::fromStdWString(s); }

// A layout tab: the name it shows and whether it is the model layout.
struct LayoutTab {
    QString name;
    bool model;
    OdDbObjectId layout;
};

std::vector<LayoutTab> tabsOf(OdDbDatabase& db)
{
    std::vector<LayoutTab> tabs;
    for (OdDbObjectId id : layoutsInTabOrder(db)) {
        OdDbLayoutPtr layout = id.safeOpenObject();
        tabs.push_back({QString::fromWCharArray(layout->getLayoutName().c_str()), layout->modelType(), id});
    }
    if (tabs.empty() || !tabs.front().model)
        tabs.insert(tabs.begin(), {"Model", true, OdDbObjectId()});
    return tabs;
}

} // namespace

StudioWindow::StudioWindow(StudioInputSource& source, const CommandRegistry& commands, RecentFiles& recent)
    : m_source(source), m_commands(commands), m_recent(recent), m_view(new DrawingView(source)), m_tabs(new QTabBar),
      m_commandLine(new CommandLine(source, commands)), m_layers(new LayersPanel), m_coordinates(new QLabel),
      m_snapState(new QLabel)
{
    auto* centre = new QWidget;
    auto* layout = new QVBoxLayout(centre);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_view, 1);
    layout->addWidget(m_tabs);
    m_tabs->setObjectName("layoutTabs");
    m_tabs->setShape(QTabBar::TriangularSouth);
    setCentralWidget(centre);

    auto* commandDock = new QDockWidget("Command line", this);
    commandDock->setObjectName("commandDock");
    commandDock->setWidget(m_commandLine);
    commandDock->setFeatures(QDockWidget::DockWidgetMovable | QDockWidget::DockWidgetFloatable);
    addDockWidget(Qt::BottomDockWidgetArea, commandDock);
    auto* layersDock = new QDockWidget("Layers", this);
    layersDock->setObjectName("layersDock");
    layersDock->setWidget(m_layers);
    addDockWidget(Qt::RightDockWidgetArea, layersDock);

    m_coordinates->setObjectName("coordinates");
    m_coordinates->setMinimumWidth(260);
    statusBar()->addWidget(m_coordinates);
    statusBar()->addPermanentWidget(m_snapState);
    m_snapState->setText("Snap on (F3)");
    m_view->setFocusProxy(m_commandLine->input());
    resize(1280, 860);
    buildMenus();

    // Dialogs are real windows, except while a script runs: it gives their events itself.
    QtDialog::install(this, [this] { return !m_source.scriptRunning(); });
    connect(&m_source, &StudioInputSource::waiting, this, &StudioWindow::requestReady);
    connect(m_view, &DrawingView::cursorMoved, this, [this](double x, double y, const QString& snap) {
        m_coordinates->setText(
            QString("%1, %2%3").arg(x, 0, 'f', 4).arg(y, 0, 'f', 4).arg(snap.isEmpty() ? QString() : "   " + snap));
    });
    connect(m_view, &DrawingView::snapsToggled, this,
            [this](bool on) { m_snapState->setText(on ? "Snap on (F3)" : "Snap off (F3)"); });
    connect(m_tabs, &QTabBar::currentChanged, this, &StudioWindow::switchLayout);
    connect(m_layers, &LayersPanel::changeAsked, this,
            [this](OdDbObjectId id, int column) { changeLayer(id, column); });
}

StudioWindow::~StudioWindow() { QtDialog::uninstall(); }

void StudioWindow::buildMenus()
{
    QMenu* file = menuBar()->addMenu("&File");
    file->addAction("&New", QKeySequence::New, this, [this] { newDrawing(); });
    file->addAction("&Open...", QKeySequence::Open, this, [this] {
        const QString path = QFileDialog::getOpenFileName(this, "Open a drawing", QString(), kDxfFilter);
        if (!path.isEmpty())
            openDrawing(path);
    });
    m_recentMenu = file->addMenu("Open &recent");
    file->addAction("&Save", QKeySequence::Save, this, [this] { (void)saveDrawing(); });
    file->addAction("Save &as...", QKeySequence::SaveAs, this, [this] {
        const QString path = QFileDialog::getSaveFileName(this, "Save the drawing as", QString(), kDxfFilter);
        if (!path.isEmpty())
            (void)saveDrawingAs(path);
    });
    file->addSeparator();
    file->addAction("&Quit", QKeySequence::Quit, this, [this] { close(); });
    rebuildRecentMenu();

    QMenu* edit = menuBar()->addMenu("&Edit");
    edit->addAction("&Undo", QKeySequence::Undo, this, [this] { typeCommand("U"); })->setObjectName("undo");
    edit->addAction("&Redo", QKeySequence::Redo, this, [this] { typeCommand("REDO"); })->setObjectName("redo");

    QMenu* view = menuBar()->addMenu("&View");
    view->addAction("Zoom &extents", this, [this] { m_view->zoomExtents(); });
    QAction* snaps = view->addAction("Object &snaps");
    snaps->setCheckable(true);
    snaps->setChecked(true);
    snaps->setShortcut(Qt::Key_F3);
    snaps->setShortcutContext(Qt::ApplicationShortcut);
    connect(snaps, &QAction::toggled, m_view, &DrawingView::setSnapsOn);
    connect(m_view, &DrawingView::snapsToggled, snaps, &QAction::setChecked);
}

void StudioWindow::rebuildRecentMenu()
{
    m_recentMenu->clear();
    for (const std::wstring& file : m_recent.files()) {
        const QString path = fromWide(file);
        m_recentMenu->addAction(path, this, [this, path] { openDrawing(path); });
    }
    m_recentMenu->setEnabled(!m_recent.files().empty());
}

void StudioWindow::attach(HostApplication& app)
{
    m_app = &app;
    app.setMessageBoxHandler([this](const OdString& text) {
        // A script runs unattended: its message boxes go to the command line, as in the shell.
        if (m_source.scriptRunning()) {
            m_app->transcript().finish();
            m_app->transcript().message(L"[message box] " + text.str() + L"\n");
        } else {
            QMessageBox::information(this, "vantrel", QString::fromWCharArray(text.c_str()));
        }
        return kMessageBoxOk;
    });
    m_view->setDocument(app.activeDocument());
    updateTitle();
    updateTabs();
    if (HostDocument* doc = app.activeDocument())
        m_layers->showLayers(*doc->database());
}

void StudioWindow::requestReady(const QString& prompt, bool commandName)
{
    m_commandLine->showPrompt(prompt, commandName);
    // The panel's changes are commands: they wait for the one running.
    m_layers->setEnabled(commandName);
    if (m_source.lastKind() == InputEvent::Kind::Move)
        return;
    // An answer may have changed the drawing, the highlights, the view or the space.
    m_view->followCommandLineView();
    m_view->drawingChanged();
    updateTitle();
    if (commandName) {
        updateTabs();
        if (HostDocument* doc = m_app ? m_app->activeDocument() : nullptr)
            m_layers->showLayers(*doc->database());
    }
}

void StudioWindow::updateTitle()
{
    HostDocument* doc = m_app ? m_app->activeDocument() : nullptr;
    const QString name = doc && !doc->fileName().empty() ? QFileInfo(fromWide(doc->fileName())).fileName() : "Untitled";
    setWindowTitle(name + "[*] - vantrel-studio");
    setWindowModified(doc && doc->isModified());
}

void StudioWindow::updateTabs()
{
    HostDocument* doc = m_app ? m_app->activeDocument() : nullptr;
    if (!doc)
        return;
    OdDbDatabase& db = *doc->database();
    const OdDbObjectId sheet = db.getTILEMODE() ? OdDbObjectId() : currentSheet(db);
    m_updatingTabs = true;
    while (m_tabs->count() > 0)
        m_tabs->removeTab(0);
    int current = 0;
    for (const LayoutTab& tab : tabsOf(db)) {
        const int index = m_tabs->addTab(tab.name);
        m_tabs->setTabData(index, tab.model ? QString() : tab.name);
        if (!tab.model && tab.layout == sheet)
            current = index;
    }
    m_tabs->setCurrentIndex(current);
    m_updatingTabs = false;
}

void StudioWindow::switchLayout(int index)
{
    if (m_updatingTabs || index < 0)
        return;
    // The model tab carries no name; a sheet's tab its layout's name, which LAYOUT asks.
    const QString sheet = m_tabs->tabData(index).toString();
    if (sheet.isEmpty())
        typeCommand("MODEL");
    else
        typeCommand("LAYOUT", {sheet});
}

void StudioWindow::typeCommand(const QString& line, const QStringList& answers)
{
    if (!m_source.atCommandPrompt())
        m_source.post(InputEvent::of(InputEvent::Kind::Cancel));
    m_source.post(InputEvent::textLine(line.toStdWString()));
    for (const QString& answer : answers)
        m_source.post(InputEvent::textLine(answer.toStdWString()));
}

void StudioWindow::changeLayer(OdDbObjectId id, int column)
{
    HostDocument* doc = m_app ? m_app->activeDocument() : nullptr;
    if (!doc || !m_source.atCommandPrompt() || m_source.hasPending()) {
        statusBar()->showMessage("Finish or cancel the command first.", 4000);
        return;
    }
    OdDbLayerTableRecordPtr layer = OdDbLayerTableRecord::cast(id.openObject().get());
    if (!layer)
        return;
    const QString name = QString::fromWCharArray(layer->getName().c_str());
    // LAYER does the change as typed, so that it shows in the transcript and U takes it back;
    // the empty answer ends its options.
    QStringList answers;
    switch (column) {
    case LayersPanel::On: answers = {layer->isOff() ? "ON" : "OFF", name}; break;
    case LayersPanel::Frozen: answers = {layer->isFrozen() ? "Thaw" : "Freeze", name}; break;
    case LayersPanel::Locked: answers = {layer->isLocked() ? "Unlock" : "Lock", name}; break;
    case LayersPanel::Current: answers = {"Set", name}; break;
    case LayersPanel::Color: {
        const QColor chosen = QColorDialog::getColor(QColor::fromRgb(layer->color().rgb() & 0xFFFFFF), this);
        if (!chosen.isValid())
            return;
        answers = {"Color", "Truecolor", QString("%1,%2,%3").arg(chosen.red()).arg(chosen.green()).arg(chosen.blue()),
                   name};
        break;
    }
    default: return;
    }
    answers.append(QString());
    typeCommand("LAYER", answers);
}

void StudioWindow::showError(const QString& text)
{
    if (m_source.scriptRunning())
        m_commandLine->appendTranscript(("\n" + text + "\n").toStdString());
    else
        QMessageBox::warning(this, "vantrel-studio", text);
}

bool StudioWindow::saveDrawingAs(const QString& path)
{
    HostDocument* doc = m_app ? m_app->activeDocument() : nullptr;
    if (!doc)
        return false;
    if (!m_source.atCommandPrompt()) {
        showError("Finish or cancel the command before saving.");
        return false;
    }
    const std::string error = saveDocument(*doc, path.toStdWString());
    if (!error.empty()) {
        showError(QString::fromStdString(error));
        return false;
    }
    m_recent.add(path.toStdWString());
    rebuildRecentMenu();
    statusBar()->showMessage("Saved " + path, 4000);
    updateTitle();
    return true;
}

bool StudioWindow::saveDrawing()
{
    HostDocument* doc = m_app ? m_app->activeDocument() : nullptr;
    if (!doc)
        return false;
    QString path = fromWide(doc->fileName());
    if (path.isEmpty())
        path = QFileDialog::getSaveFileName(this, "Save the drawing as", QString(), kDxfFilter);
    return !path.isEmpty() && saveDrawingAs(path);
}

bool StudioWindow::maySetDrawingAside()
{
    HostDocument* doc = m_app ? m_app->activeDocument() : nullptr;
    if (!doc || !doc->isModified())
        return true;
    const auto answer
        = QMessageBox::question(this, "vantrel-studio", "The drawing has unsaved changes. Save them?",
                                QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, QMessageBox::Save);
    if (answer == QMessageBox::Cancel)
        return false;
    if (answer == QMessageBox::Discard)
        return true;
    return saveDrawing();
}

void StudioWindow::replaceDocumentWith(std::function<OdDbDatabasePtr()> replace, const QString& fileName)
{
    if (!maySetDrawingAside())
        return;
    m_pendingDrawing = std::move(replace);
    m_pendingName = fileName;
    // The user was asked already.
    m_app->setAskBeforeLeaving(false);
    if (!m_source.atCommandPrompt())
        m_source.post(InputEvent::of(InputEvent::Kind::Cancel));
    m_source.leaveLoop();
}

void StudioWindow::openDrawing(const QString& path)
{
    DxfReadResult read = readDxf(path.toStdString(), {});
    if (!read.database) {
        showError(QString::fromStdString(read.error));
        return;
    }
    for (const std::string& repair : read.repairs)
        m_commandLine->appendTranscript(path.toStdString() + ": repaired: " + repair + "\n");
    OdDbDatabasePtr db = read.database;
    replaceDocumentWith([db] { return db; }, path);
    m_recent.add(path.toStdWString());
    rebuildRecentMenu();
}

void StudioWindow::newDrawing()
{
    replaceDocumentWith([] { return vantrel::newDrawing(); }, QString());
}

void StudioWindow::runSession()
{
    for (;;) {
        m_app->runCommandLoop();
        if (!m_pendingDrawing)
            return;
        OdDbDatabasePtr db = m_pendingDrawing();
        m_pendingDrawing = nullptr;
        m_view->setDocument(nullptr);
        HostDocument& doc = m_app->openDocument(db);
        doc.setFileName(m_pendingName.toStdWString());
        doc.markUnmodified();
        m_source.resume();
        m_app->setAskBeforeLeaving(true);
        attach(*m_app);
    }
}

void StudioWindow::closeEvent(QCloseEvent* event)
{
    if (!maySetDrawingAside()) {
        event->ignore();
        return;
    }
    // The changes were saved or the user let them go: leaving asks nothing more.
    if (m_app) {
        m_app->setAskBeforeLeaving(false);
        if (HostDocument* doc = m_app->activeDocument())
            doc->discardChanges();
    }
    m_source.end();
    event->accept();
}

} // namespace vantrel::studio
