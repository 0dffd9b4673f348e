// A handle on one control of a hostUiDialog, with what every control does: text, enabled,
// shown, focus, place, redraw. A dialog keeps one per control it talks to and binds it with
// SubclassDlgItem once the dialog runs; control classes derive from the kind's wrapper.
#pragma once

#include <string>

#include <vantrel/host/DialogControl.h>
#include <vantrel/host/PixelRect.h>
#include <vantrel/host/HostExport.h>

class hostUiDialog;

namespace vantrel {

class VANTREL_HOST_EXPORT UiControl {
public:
    UiControl() = default;
    UiControl(hostUiDialog& dialog, int id) : m_dialog(&dialog), m_id(id) {}
    virtual ~UiControl() = default;
    UiControl(const UiControl&) = default;
    UiControl& operator=(const UiControl&) = default;

    // Binds the handle to control `id` of the running dialog, which must be of a kind this
    // wrapper serves; then PreSubclassWindow runs. False when there is no such control.
    bool SubclassDlgItem(int id, hostUiDialog& dialog);
    bool isAttached() const;
    int GetDlgCtrlID() const { return m_id; }
    hostUiDialog* dialog() const { return m_dialog; }

    // An edit field's new text is announced as an edit change, as if typed.
    void SetWindowText(const std::wstring& text);
    std::wstring GetWindowText() const;
    void EnableWindow(bool enable = true);
    bool IsWindowEnabled() const;
    void ShowWindow(bool show);
    bool IsWindowVisible() const;
    // Gives the control the focus without telling the control that had it.
    void SetFocus();
    bool hasFocus() const;
    // Client pixels of the dialog.
    PixelRect GetWindowRect() const;
    void MoveWindow(const PixelRect& rect);
    // An owner-drawn control is painted again when the running event is handled; UpdateWindow
    // paints it at once if it was invalidated.
    void Invalidate();
    void UpdateWindow();

    // The control's state, for tests.
    const DialogControl& state() const { return control(); }

protected:
    virtual bool servesKind(DialogControlKind) const { return true; }
    virtual void PreSubclassWindow() {}
    DialogControl& control() const;
    // An owner-drawn combo box asks its items' height before it first needs it.
    void measureItems() const;

private:
    hostUiDialog* m_dialog = nullptr;
    int m_id = kNoControlId;
};

} // namespace vantrel
