// The dialog toolkit's Qt backend: an open hostUiDialog shown as a real modal QDialog. Widgets
// are laid out from the controls' rectangles, whose dialog units are converted through the
// dialog's font; what the user does to a widget goes to the dialog as the same user actions the
// command line's `!dlg` events give, so the module's handlers hear the same events; owner-drawn
// controls and items show what their handlers drew through the device context. After each action
// the widgets take the controls' state again, and the dialog closes when a handler ended it.
#pragma once

#include <map>
#include <vector>

#include <QDialog>

#include <vantrel/host/hostUiDialog.h>

class QWidget;

namespace vantrel {

class QtDialog : public QDialog {
    Q_OBJECT
public:
    QtDialog(hostUiDialog& dialog, QWidget* parent);

    // Shows the dialog until a handler ends it.
    void run();
    // The widget of the control `id`, or null.
    QWidget* widget(int id) const;

    // Installs the Qt backend for every dialog (and the colour dialog, as a QColorDialog) opened
    // while `useWindows` answers true; the dialogs are children of `parent`.
    static void install(QWidget* parent, const std::function<bool()>& useWindows);
    // Dialogs run on the command line again.
    static void uninstall();

    // Esc and the window's close button: Cancel, which the dialog may refuse.
    void reject() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Shown {
        const DialogControl* control;
        QWidget* widget;
    };

    void build();
    QWidget* make(const DialogControl& control);
    void place(const DialogControl& control, QWidget* widget);
    // Hands a user action to the dialog, then shows its state or closes.
    void act(const std::function<std::wstring()>& action);
    void sync();
    void syncOne(const DialogControl& control, QWidget* widget);
    int idOf(QObject* widget) const;

    hostUiDialog& m_dialog;
    std::vector<Shown> m_shown;
    std::map<int, QWidget*> m_byId;
    double m_unitX = 1.0;
    double m_unitY = 1.0;
    bool m_syncing = false;
};

} // namespace vantrel
