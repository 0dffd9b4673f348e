// A drop-down list: items with texts and item data, the current selection, and the item
// height of owner-drawn lists. Indices count from 0; -1 (kError) answers a failure.
#pragma once

#include <cstdint>
#include <string>

#include <vantrel/host/UiControl.h>
#include <vantrel/host/HostExport.h>

namespace vantrel {

class VANTREL_HOST_EXPORT UiComboBox : public UiControl {
public:
    static constexpr int kError = -1;

    using UiControl::UiControl;

    // The new item's index.
    int AddString(const std::wstring& text);
    // Before item `index`; -1 appends. kError when the index is past the end.
    int InsertString(int index, const std::wstring& text);
    // The number of items left, or kError.
    int DeleteString(int index);
    void ResetContent();
    int GetCount() const;

    int GetCurSel() const;
    // Selects item `index` (-1: none) without any event; answers it, or kError (selection then
    // cleared, as a list does).
    int SetCurSel(int index);
    // Empty for an index that is not there.
    std::wstring GetLBText(int index) const;
    // False for an index that is not there.
    bool SetItemData(int index, std::uintptr_t data);
    // 0 for an index that is not there.
    std::uintptr_t GetItemData(int index) const;
    // The first item after `start` (-1: from the beginning, wrapping round) whose whole text
    // equals `text` ignoring case; kError when none does.
    int FindStringExact(int start, const std::wstring& text) const;

    // Fixed items share one height; -1 means the selection field, which follows the items.
    int GetItemHeight(int index) const;
    void SetItemHeight(int index, int height);
    int GetDroppedWidth() const { return state().droppedWidth; }
    void SetDroppedWidth(int width);

protected:
    bool servesKind(DialogControlKind kind) const override { return kind == DialogControlKind::ComboBox; }

private:
    bool validIndex(int index) const { return index >= 0 && index < GetCount(); }
    void changed();
};

} // namespace vantrel
