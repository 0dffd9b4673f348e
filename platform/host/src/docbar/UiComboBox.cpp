// The item list of a drop-down list. Every change of items or selection repaints an
// owner-drawn list.
#include <vantrel/host/UiComboBox.h>

#include <vantrel/host/DialogTemplate.h>
#include "utils/ignore_case.h"

namespace vantrel {

void UiComboBox::changed()
{
    if (state().isOwnerDrawn())
        Invalidate();
}

int UiComboBox::AddString(const std::wstring& text) { return InsertString(-1, text); }

int UiComboBox::InsertString(int index, const std::wstring& text)
{
    DialogControl& c = control();
    if (index == -1)
        index = GetCount();
    if (index < 0 || index > GetCount())
        return kError;
    c.items.insert(c.items.begin() + index, DialogControl::Item{text, 0});
    if (c.curSel >= index)
        ++c.curSel;
    changed();
    return index;
}

int UiComboBox::DeleteString(int index)
{
    if (!validIndex(index))
        return kError;
    DialogControl& c = control();
    c.items.erase(c.items.begin() + index);
    if (c.curSel == index)
        c.curSel = -1;
    else if (c.curSel > index)
        --c.curSel;
    changed();
    return GetCount();
}

void UiComboBox::ResetContent()
{
    DialogControl& c = control();
    c.items.clear();
    c.curSel = -1;
    changed();
}

int UiComboBox::GetCount() const { return static_cast<int>(state().items.size()); }

int UiComboBox::GetCurSel() const { return state().curSel; }

int UiComboBox::SetCurSel(int index)
{
    DialogControl& c = control();
    c.curSel = validIndex(index) ? index : -1;
    changed();
    return c.curSel;
}

std::wstring UiComboBox::GetLBText(int index) const
{
    return validIndex(index) ? state().items[static_cast<std::size_t>(index)].text : std::wstring();
}

bool UiComboBox::SetItemData(int index, std::uintptr_t data)
{
    if (!validIndex(index))
        return false;
    control().items[static_cast<std::size_t>(index)].data = data;
    changed();
    return true;
}

std::uintptr_t UiComboBox::GetItemData(int index) const
{
    return validIndex(index) ? state().items[static_cast<std::size_t>(index)].data : 0;
}

int UiComboBox::FindStringExact(int start, const std::wstring& text) const
{
    const int count = GetCount();
    const int first = validIndex(start) ? start + 1 : 0;
    for (int k = 0; k < count; ++k) {
        const int i = (first + k) % count;
        if (equalsIgnoringCase(state().items[static_cast<std::size_t>(i)].text, text))
            return i;
    }
    return kError;
}

int UiComboBox::GetItemHeight(int) const
{
    measureItems();
    return state().itemHeight > 0 ? state().itemHeight : DialogTemplate::kBaseUnitY;
}

void UiComboBox::SetItemHeight(int, int height)
{
    control().itemHeight = height > 0 ? height : 1;
    changed();
}

void UiComboBox::SetDroppedWidth(int width)
{
    control().droppedWidth = width;
    changed();
}

} // namespace vantrel
