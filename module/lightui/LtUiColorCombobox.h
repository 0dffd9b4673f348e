// The filter colour list of the lamp colour dialog: an owner-drawn drop-down list whose items
// show a colour square before their name. It holds the host's named colours, colours added
// for the light or chosen through "Custom...", and "Custom..." itself, which opens the host's
// colour dialog.
#pragma once

#include <deque>
#include <optional>

#include <vantrel/db/OdCmColor.h>
#include <vantrel/db/OdString.h>
#include <vantrel/host/ColorRef.h>
#include <vantrel/host/DialogEvents.h>
#include <vantrel/host/UiComboBox.h>

class LtUiColorCombobox : public vantrel::UiComboBox {
public:
    static constexpr int kItemHeight = 13;
    static constexpr int kItemWidth = 256;

    struct Entry {
        OdString name;
        vantrel::ColorRef color = vantrel::rgbColor(255, 255, 255);
        // Only the "Custom..." entry.
        bool custom = false;
        // ByLayer and ByBlock show as white but stand for their own colour.
        std::optional<OdCmColor> metaColor;
    };

    // In insertion order; each item carries its entry's address as item data.
    const std::deque<Entry>& entries() const { return m_entries; }
    const Entry* currentEntry() const { return m_current; }
    // The colour of the current entry.
    vantrel::ColorRef GetSelectedColor() const;
    // What the light's filter colour becomes for the current entry: its meta colour, or the
    // true colour of its square.
    OdCmColor selectedLightColor() const;
    // Selects the first entry showing `color` whose name is an item's; without one, adds an
    // entry "R,G,B" just before "Custom..." and selects that. A by-layer or by-block colour
    // matches only its own entry, and other colours never match those two.
    void SelectColor(const OdCmColor& color);

protected:
    // Fills the list and starts handling the list's drawing and choices.
    void PreSubclassWindow() override;

private:
    void drawItem(vantrel::DrawItemEvent& e) const;
    void widenDroppedList();
    void choose();
    // Appends an entry "R,G,B" and shows it just before "Custom...", selected and current.
    void addNumberedEntry(const OdCmColor& color);
    void selectEntry(const Entry& entry);

    std::deque<Entry> m_entries;
    const Entry* m_current = nullptr;
};
