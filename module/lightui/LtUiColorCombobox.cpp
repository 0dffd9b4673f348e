// The filter colour list: its entries, how each item is drawn, and the choice of "Custom...".
#include "lightui/LtUiColorCombobox.h"

#include <algorithm>
#include <array>
#include <cassert>

#include <vantrel/host/DialogDC.h>
#include <vantrel/host/hostUiDialog.h>
#include <vantrel/host/hostcolor.h>
#include <vantrel/hxicore/CXStringW.h>
#include <vantrel/hxicore/ResTranslation.h>

using vantrel::ColorRef;
using vantrel::DialogDC;
using vantrel::PixelRect;
using vantrel::rgbColor;

namespace {

ColorRef colorRefOf(const OdCmColor& color) { return rgbColor(color.red(), color.green(), color.blue()); }

bool isMetaColor(const OdCmColor& color) { return color.isByLayer() || color.isByBlock(); }

// Each item carries the index of its entry; entries are only ever appended, so an index stays valid.
const LtUiColorCombobox::Entry* entryOf(const std::deque<LtUiColorCombobox::Entry>& entries, std::uintptr_t itemData)
{
    return itemData < entries.size() ? &entries[itemData] : nullptr;
}

} // namespace

void LtUiColorCombobox::PreSubclassWindow()
{
    // A dialog run creates its controls afresh: the entries of an earlier run went with them.
    m_entries.clear();
    m_current = nullptr;
    std::array<OdString, kHostColorNameCount> names;
    hostCmGetLocalizedColorNames(names);
    for (const OdString& name : names) {
        OdCmColor parsed;
        if (hostCmParseColor(name, parsed) != eOk)
            continue;
        Entry entry{OdString(Supp_Translate(name.c_str())), colorRefOf(parsed), false, std::nullopt};
        if (isMetaColor(parsed))
            entry.metaColor = parsed;
        m_entries.push_back(std::move(entry));
    }
    m_entries.push_back(Entry{OdString(Supp_Translate(L"Custom...")), rgbColor(255, 255, 255), true, std::nullopt});

    for (std::size_t i = 0; i < m_entries.size(); ++i)
        SetItemData(AddString(m_entries[i].name.str()), i);
    m_current = &m_entries.front();

    hostUiDialog& owner = *dialog();
    const int id = GetDlgCtrlID();
    owner.onMeasureItem(id, [](vantrel::MeasureItemEvent& e) {
        e.itemHeight = kItemHeight;
        e.itemWidth = kItemWidth;
    });
    owner.onDrawItem(id, [this](vantrel::DrawItemEvent& e) { drawItem(e); });
    owner.onDropDown(id, [this] { widenDroppedList(); });
    owner.onSelEndOk(id, [this] { choose(); });
}

ColorRef LtUiColorCombobox::GetSelectedColor() const
{
    assert(m_current && "the list is filled when the control is attached");
    return m_current->color;
}

OdCmColor LtUiColorCombobox::selectedLightColor() const
{
    assert(m_current && "the list is filled when the control is attached");
    if (m_current->metaColor)
        return *m_current->metaColor;
    OdCmColor color;
    color.setRGB(vantrel::redOf(m_current->color), vantrel::greenOf(m_current->color),
                 vantrel::blueOf(m_current->color));
    return color;
}

void LtUiColorCombobox::SelectColor(const OdCmColor& color)
{
    const bool meta = isMetaColor(color);
    const ColorRef shown = colorRefOf(color);
    for (const Entry& entry : m_entries) {
        if (entry.custom)
            continue;
        const bool same = meta ? entry.metaColor && entry.metaColor->colorMethod() == color.colorMethod()
                               : !entry.metaColor && entry.color == shown;
        if (!same)
            continue;
        const int index = FindStringExact(-1, entry.name.str());
        if (index != kError) {
            SetCurSel(index);
            m_current = &entry;
            return;
        }
    }
    addNumberedEntry(color);
}

void LtUiColorCombobox::drawItem(vantrel::DrawItemEvent& e) const
{
    if (e.item < 0 || e.item >= GetCount())
        return;
    const Entry* entry = entryOf(m_entries, e.itemData);
    assert(entry && "every item carries its entry");
    DialogDC& dc = e.dc;
    const PixelRect& r = e.rect;
    const int saved = dc.SaveDC();

    const bool inField = (e.state & vantrel::kItemComboBoxEdit) != 0;
    const bool selected = (e.state & vantrel::kItemSelected) != 0;
    const ColorRef background = inField
        ? rgbColor(255, 255, 255)
        : DialogDC::GetSysColor(selected ? DialogDC::kColorHighlight : DialogDC::kColorWindow);
    if (!inField)
        dc.FillSolidRect(r, background);

    dc.SetPenColor(rgbColor(0, 0, 0));
    dc.MoveTo(r.left + 1, r.top + 1);
    dc.LineTo(r.left + 11, r.top + 1);
    dc.LineTo(r.left + 11, r.top + 11);
    dc.LineTo(r.left + 1, r.top + 11);
    dc.LineTo(r.left + 1, r.top + 1);

    // "Custom..." has no colour of its own: a white band, then black.
    if (entry->custom) {
        dc.FillSolidRect({r.left + 2, r.top + 2, r.left + 6, r.top + 11}, rgbColor(255, 255, 255));
        dc.FillSolidRect({r.left + 6, r.top + 2, r.left + 11, r.top + 11}, rgbColor(0, 0, 0));
    } else {
        dc.FillSolidRect({r.left + 2, r.top + 2, r.left + 11, r.top + 11}, entry->color);
    }

    // Text on the item's own background; a selected list item in the highlight's text colour.
    dc.SetBkColor(background);
    dc.SetTextColor(inField || !selected ? rgbColor(0, 0, 0) : DialogDC::GetSysColor(DialogDC::kColorHighlightText));
    dc.DrawText(GetLBText(e.item), {r.left + 13, r.top, r.right, r.bottom},
                DialogDC::kTextSingleLine | DialogDC::kTextVCenter | DialogDC::kTextNoPrefix);
    dc.RestoreDC(saved);
}

void LtUiColorCombobox::widenDroppedList()
{
    vantrel::DialogPaint scratch;
    DialogDC dc(scratch);
    int widest = 0;
    for (int i = 0; i < GetCount(); ++i)
        widest = std::max(widest, dc.GetTextExtent(GetLBText(i)).cx);
    SetDroppedWidth(widest + DialogDC::kVScrollWidth + dc.GetTextExtent(L"0").cx);
}

void LtUiColorCombobox::choose()
{
    const int index = GetCurSel();
    if (index < 0)
        return;
    const Entry* chosen = entryOf(m_entries, GetItemData(index));
    assert(chosen && "every item carries its entry");
    if (!chosen->custom) {
        m_current = chosen;
        return;
    }
    OdCmColor color;
    if (hostSetColorDialogTrueColor(color, false, OdCmColor(), kColorTabAll, dialog()->parentWindow()))
        addNumberedEntry(color);
    else
        selectEntry(*m_current);
}

void LtUiColorCombobox::addNumberedEntry(const OdCmColor& color)
{
    CXStringW name;
    name.Format(L"%d,%d,%d", int(color.red()), int(color.green()), int(color.blue()));
    m_entries.push_back(Entry{OdString(name), colorRefOf(color), false, std::nullopt});
    const Entry& added = m_entries.back();
    const int index = InsertString(std::max(GetCount() - 1, 0), name.str());
    SetItemData(index, m_entries.size() - 1);
    SetCurSel(index);
    m_current = &added;
}

void LtUiColorCombobox::selectEntry(const Entry& entry) { SetCurSel(FindStringExact(-1, entry.name.str())); }
