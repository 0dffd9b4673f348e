// What every control wrapper does, on the state its dialog keeps.
#include <vantrel/host/UiControl.h>

#include <cassert>

#include <vantrel/host/hostUiDialog.h>

namespace vantrel {

bool UiControl::SubclassDlgItem(int id, hostUiDialog& dialog)
{
    m_dialog = &dialog;
    m_id = id;
    const DialogControl* found = dialog.control(id);
    if (!found)
        return false;
    assert(servesKind(found->kind) && "a wrapper bound to a control of another kind");
    PreSubclassWindow();
    return true;
}

bool UiControl::isAttached() const { return m_dialog && m_dialog->control(m_id); }

DialogControl& UiControl::control() const
{
    assert(m_dialog && "a control wrapper used before it was bound");
    DialogControl* found = m_dialog->control(m_id);
    assert(found && "a control wrapper bound to a control the dialog does not have");
    return *found;
}

void UiControl::measureItems() const
{
    DialogControl& c = control();
    if (c.itemHeight == 0 && c.isOwnerDrawn())
        m_dialog->measure(c);
}

void UiControl::SetWindowText(const std::wstring& text)
{
    DialogControl& c = control();
    // A drop-down list shows its current item, never a text of its own.
    if (c.kind == DialogControlKind::ComboBox)
        return;
    c.text = text;
    if (c.isOwnerDrawn())
        c.needsPaint = true;
    if (c.kind == DialogControlKind::Edit)
        m_dialog->fire(m_id, hostUiDialog::Event::EditChange);
}

std::wstring UiControl::GetWindowText() const { return control().shownText(); }

void UiControl::EnableWindow(bool enable)
{
    DialogControl& c = control();
    c.enabled = enable;
    if (c.isOwnerDrawn())
        c.needsPaint = true;
}

bool UiControl::IsWindowEnabled() const { return control().enabled; }

void UiControl::ShowWindow(bool show)
{
    DialogControl& c = control();
    c.visible = show;
    if (show && c.isOwnerDrawn())
        c.needsPaint = true;
}

bool UiControl::IsWindowVisible() const { return control().visible; }

void UiControl::SetFocus()
{
    control();
    m_dialog->setFocusQuietly(m_id);
}

bool UiControl::hasFocus() const { return m_dialog && m_dialog->focusId() == m_id; }

PixelRect UiControl::GetWindowRect() const { return control().rect; }

void UiControl::MoveWindow(const PixelRect& rect)
{
    DialogControl& c = control();
    c.rect = rect;
    if (c.isOwnerDrawn())
        c.needsPaint = true;
}

void UiControl::Invalidate() { control().needsPaint = true; }

void UiControl::UpdateWindow()
{
    DialogControl& c = control();
    if (m_dialog->isOpen() && c.needsPaint && c.visible && c.isOwnerDrawn())
        m_dialog->paint(c);
}

} // namespace vantrel
