// The host's modal dialog: runs a dialog template, keeps the state of its controls, and hands
// the user's events to handlers that a derived dialog registers per control and event, the way a
// message map would. This is the toolkit's interface; how the dialog is shown is the backend's
// business (here: on the command line, events as `!dlg` script lines).
#pragma once

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include <vantrel/host/DialogControl.h>
#include <vantrel/host/DialogEvents.h>
#include <vantrel/host/DialogTemplate.h>
#include <vantrel/host/UiControl.h>
#include <vantrel/host/host_window.h>
#include <vantrel/hxicore/ModuleHandle.h>
#include <vantrel/host/HostExport.h>

inline constexpr int IDOK = 1;
inline constexpr int IDCANCEL = 2;

class VANTREL_HOST_EXPORT hostUiDialog {
public:
    // Called with the dialog after it opened and after each event that left it open.
    using StateObserver = std::function<void(const hostUiDialog&)>;

    // `parent` is the command-line window the dialog reads its events from: 0 for the active
    // document's (the application's when no document is open).
    explicit hostUiDialog(const vantrel::DialogTemplate& dialogTemplate, HostWindowId parent = 0);
    // The template `templateId` of `instance` (see dialog_resources.h); null instance: the
    // current dialog resource module. Raises OdError(eKeyNotFound) when there is no such template.
    hostUiDialog(unsigned templateId, HostWindowId parent = 0, vantrel::ModuleHandle instance = nullptr);
    virtual ~hostUiDialog();
    hostUiDialog(const hostUiDialog&) = delete;
    hostUiDialog& operator=(const hostUiDialog&) = delete;

    // Creates the controls, calls OnCreate and OnInitDialog, then handles events until the
    // dialog ends. Answers what EndDialog was given (IDOK, IDCANCEL, …), or -1 when there is
    // no command line to run it on. The controls' state stays readable after it returns.
    int DoModal();
    // Ends the dialog once the running handler returns.
    void EndDialog(int result);

    // The control `id` (an empty handle when there is none).
    vantrel::UiControl GetDlgItem(int id);
    // Checks `check` and unchecks the other radio buttons with ids first to last.
    void CheckRadioButton(int first, int last, int check);
    // The id of the checked radio button among first to last, or 0.
    int GetCheckedRadioButton(int first, int last) const;
    // A control created while the dialog runs (a control class's own window), at a rectangle in
    // client pixels; shown when the style has kVisible, enabled unless it has kDisabled.
    vantrel::UiControl CreateControl(int id, vantrel::DialogControlKind kind, const std::wstring& text,
                                     std::uint32_t style, const vantrel::PixelRect& rect);

    // Event handlers, per control id; several for one event run in the order registered.
    // Handlers registered before DoModal stay for every run; those registered while a dialog
    // runs (in OnInitDialog, by a control class) are dropped when it ends. Without a handler,
    // a click on IDOK calls OnOK and one on IDCANCEL OnCancel.
    void onClicked(int id, std::function<void()> handler);
    void onEditChange(int id, std::function<void()> handler);
    void onKillFocus(int id, std::function<void()> handler);
    void onDropDown(int id, std::function<void()> handler);
    // The user confirmed a choice in a combo box's list; comes before onSelChange.
    void onSelEndOk(int id, std::function<void()> handler);
    void onSelChange(int id, std::function<void()> handler);
    void onUpDownDelta(int id, std::function<void(vantrel::UpDownEvent&)> handler);
    void onDrawItem(int id, std::function<void(vantrel::DrawItemEvent&)> handler);
    void onMeasureItem(int id, std::function<void(vantrel::MeasureItemEvent&)> handler);

    // What the user does, for every backend: the command line's `!dlg` events and a front end's
    // widgets alike. Each answers an empty string, or why the control cannot take it (it is
    // missing, hidden, disabled or of another kind), and then nothing happens.
    std::wstring userClick(int id);
    std::wstring userType(int id, const std::wstring& text);
    std::wstring userFocus(int id);
    std::wstring userSpin(int id, int step);
    // Chooses the item at index of a combo box's list.
    std::wstring userSelect(int id, int index);
    void userOk();
    void userCancel();
    // Enter: the default button, or IDOK when there is none.
    void userEnter();
    // After each action: paints what asked for it and tells the state observer.
    void settle();
    // Whether EndDialog was called in this run: the dialog closes once the handler returns.
    bool isEnding() const { return m_ending; }

    // Shows an open dialog in a front end's own windows until it ends; answers false, before
    // showing anything, to leave the dialog to the command line (a script gives its events).
    using ModalRunner = std::function<bool(hostUiDialog&)>;
    // Answers the runner before.
    static ModalRunner setModalRunner(ModalRunner runner);

    // The state, for tests and pictures.
    const vantrel::DialogTemplate& dialogTemplate() const { return m_template; }
    HostWindowId parentWindow() const { return m_parent; }
    bool isOpen() const { return m_open; }
    // What the last run ended with (0 before the first).
    int result() const { return m_result; }
    // The control with the focus, or kNoControlId.
    int focusId() const { return m_focus; }
    const std::vector<std::unique_ptr<vantrel::DialogControl>>& controls() const { return m_controls; }
    const vantrel::DialogControl* control(int id) const;
    vantrel::DialogControl* control(int id);

    // Observes every dialog of the process (pictures, tests); answers the observer before.
    static StateObserver setStateObserver(StateObserver observer);

protected:
    // Before the template's controls exist.
    virtual void OnCreate() {}
    // After the controls exist. True: the toolkit gives the focus to the first control that
    // takes it; false: the dialog set the focus itself.
    virtual bool OnInitDialog() { return true; }
    virtual void OnOK() { EndDialog(IDOK); }
    virtual void OnCancel() { EndDialog(IDCANCEL); }

private:
    friend class vantrel::UiControl;
    class Run;

    enum class Event {
        Clicked,
        EditChange,
        KillFocus,
        DropDown,
        SelEndOk,
        SelChange,
        UpDownDelta,
        DrawItem,
        MeasureItem,
    };
    struct Handler {
        int id;
        Event event;
        std::function<void()> plain;
        std::function<void(vantrel::UpDownEvent&)> upDown;
        std::function<void(vantrel::DrawItemEvent&)> draw;
        std::function<void(vantrel::MeasureItemEvent&)> measure;
    };

    static ModalRunner& modalRunner();
    // Why the control cannot take an action that only the kinds take; empty when it can.
    std::wstring refusal(int id, std::initializer_list<vantrel::DialogControlKind> kinds, const wchar_t* what);
    void addHandler(Handler handler);
    bool hasHandler(int id, Event event) const;
    void fire(int id, Event event);
    // A click as the user makes it: auto radio buttons check themselves, IDOK and IDCANCEL
    // fall back to OnOK and OnCancel.
    void click(vantrel::DialogControl& control);
    void command(int id);
    void upDownDelta(vantrel::DialogControl& control, int delta);
    // Moves the focus as the user does: the control that had it hears that it lost it.
    void moveFocus(int id);
    void setFocusQuietly(int id) { m_focus = id; }
    // Paints the shown owner-drawn controls that asked for it.
    void paintPending();
    void paint(vantrel::DialogControl& control);
    void measure(vantrel::DialogControl& control);
    void observe() const;
    vantrel::DialogControl& addControl(const vantrel::DialogControlTemplate& declared, const vantrel::PixelRect& rect);

    vantrel::DialogTemplate m_template;
    HostWindowId m_parent = 0;
    std::vector<std::unique_ptr<vantrel::DialogControl>> m_controls;
    std::vector<Handler> m_handlers;
    int m_focus = vantrel::kNoControlId;
    int m_result = 0;
    bool m_open = false;
    bool m_ending = false;
};
