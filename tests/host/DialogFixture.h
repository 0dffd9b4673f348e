// A small dialog that uses every kind of control and logs every event it hears, run on a
// scripted command line, for the tests of the dialog toolkit and its pictures.
#pragma once

#include "EditorFixture.h"

#include <string>
#include <vector>

#include <vantrel/db/OdString.h>
#include <vantrel/host/DialogDC.h>
#include <vantrel/host/UiButton.h>
#include <vantrel/host/UiComboBox.h>
#include <vantrel/host/UiEdit.h>
#include <vantrel/host/UiStatic.h>
#include <vantrel/host/UiUpDown.h>
#include <vantrel/host/hostUiDialog.h>

namespace dialog_test {

using namespace vantrel;
namespace S = vantrel::DialogStyle;

enum : int {
    kAlpha = 100,
    kPlainCombo = 101,
    kBeta = 102,
    kTempEdit = 103,
    kTempSpin = 104,
    kPlaceholder = 105,
    kColorCombo = 110,
    kCountEdit = 120,
    kCountSpin = 121,
    kGamma = 130,
    kDelta = 131,
    kHelp = 140,
    kLockedEdit = 150,
    kSwatch = 200,
};

inline const DialogTemplate& testTemplate()
{
    static const DialogTemplate tmpl{
        7001,
        L"Test & dialog",
        200,
        160,
        {
            {IDOK, DialogControlKind::PushButton, L"OK", S::kDefPushButton, {40, 140, 50, 14}},
            {IDCANCEL, DialogControlKind::PushButton, L"Cancel", 0, {94, 140, 50, 14}},
            {kNoControlId, DialogControlKind::GroupBox, L"Lamp", 0, {6, 6, 188, 70}},
            {kAlpha, DialogControlKind::RadioButton, L"Alpha", S::kAutoRadioButton | S::kGroup, {12, 18, 60, 10}},
            {kPlainCombo, DialogControlKind::ComboBox, {}, S::kComboDropDownList | S::kVScroll, {12, 30, 60, 40}},
            {kBeta, DialogControlKind::RadioButton, L"Beta", S::kAutoRadioButton, {12, 46, 60, 10}},
            {kTempEdit, DialogControlKind::Edit, {}, S::kBorder | S::kEditAutoHScroll, {12, 58, 50, 14}},
            {kTempSpin,
             DialogControlKind::UpDown,
             {},
             S::kUpDownAlignRight | S::kUpDownAutoBuddy | S::kUpDownArrowKeys,
             {62, 58, 11, 14}},
            {kPlaceholder, DialogControlKind::Static, {}, 0, {120, 20, 40, 30}, true},
            {kNoControlId, DialogControlKind::Static, L"Filter <color>:", S::kGroup, {6, 82, 60, 8}},
            {kColorCombo,
             DialogControlKind::ComboBox,
             {},
             S::kComboDropDownList | S::kComboOwnerDrawFixed | S::kComboHasStrings | S::kVScroll,
             {80, 80, 100, 40}},
            {kCountEdit, DialogControlKind::Edit, {}, S::kBorder, {12, 100, 40, 14}},
            {kCountSpin, DialogControlKind::UpDown, {}, S::kUpDownAutoBuddy | S::kUpDownSetBuddyInt, {52, 100, 11, 14}},
            {kGamma, DialogControlKind::RadioButton, L"Gamma", S::kAutoRadioButton | S::kGroup, {80, 100, 50, 10}},
            {kDelta, DialogControlKind::RadioButton, L"Delta", S::kAutoRadioButton, {80, 112, 50, 10}},
            {kHelp, DialogControlKind::PushButton, L"Help", S::kGroup, {148, 140, 46, 14}},
            {kLockedEdit, DialogControlKind::Edit, L"fixed", S::kBorder | S::kEditReadOnly, {100, 120, 40, 14}},
        }};
    return tmpl;
}

struct Swatch {
    const wchar_t* name;
    ColorRef color;
};
inline constexpr Swatch kSwatches[]
    = {{L"Red", rgbColor(255, 0, 0)}, {L"Green", rgbColor(0, 255, 0)}, {L"Blue", rgbColor(0, 0, 255)}};

class TestDialog : public hostUiDialog {
public:
    explicit TestDialog(HostWindowId parent) : hostUiDialog(testTemplate(), parent)
    {
        for (int id : {kAlpha, kBeta, kGamma, kDelta, kHelp})
            onClicked(id, [this, id] { log("click", id); });
        for (int id : {kTempEdit, kCountEdit}) {
            onEditChange(id, [this, id] { log("change", id, GetDlgItem(id).GetWindowText()); });
            onKillFocus(id, [this, id] { leave(id); });
        }
        for (int id : {kTempSpin, kCountSpin})
            onUpDownDelta(id, [this](UpDownEvent& e) {
                log("spin", e.controlId, std::to_wstring(e.pos) + L"+" + std::to_wstring(e.delta));
                e.preventChange = e.delta == 0;
            });
        onDropDown(kPlainCombo, [this] { log("dropdown", kPlainCombo); });
        onSelEndOk(kPlainCombo, [this] { log("selendok", kPlainCombo, m_plain.GetLBText(m_plain.GetCurSel())); });
        onSelChange(kPlainCombo, [this] { log("selchange", kPlainCombo); });
        onSelChange(kColorCombo, [this] { chooseColor(); });
        onMeasureItem(kColorCombo, [](MeasureItemEvent& e) { e.itemHeight = 13; });
        onDrawItem(kColorCombo, [](DrawItemEvent& e) {
            const auto* swatch = &kSwatches[e.itemData];
            const int saved = e.dc.SaveDC();
            if (!(e.state & kItemComboBoxEdit))
                e.dc.FillSolidRect(e.rect,
                                   DialogDC::GetSysColor(e.state & kItemSelected ? DialogDC::kColorHighlight
                                                                                 : DialogDC::kColorWindow));
            e.dc.FillSolidRect(e.rect.left + 2, e.rect.top + 2, 9, 9, swatch->color);
            e.dc.DrawText(swatch->name, {e.rect.left + 13, e.rect.top, e.rect.right, e.rect.bottom},
                          DialogDC::kTextSingleLine | DialogDC::kTextVCenter);
            e.dc.RestoreDC(saved);
        });
        onDrawItem(kSwatch, [this](DrawItemEvent& e) { e.dc.FillSolidRect(e.rect, m_swatchColor); });
    }

    std::vector<std::string> events;
    ColorRef m_swatchColor = rgbColor(255, 255, 255);
    // A temperature field left with a text that is no number takes the focus back.
    bool m_strictTemperature = false;
    // OK is refused while the temperature field is empty.
    bool m_requireTemperature = false;
    int paintsSeenInHandler = -1;

    UiButton m_alpha, m_gamma;
    UiComboBox m_plain, m_colors;
    UiEdit m_temperature;
    UiUpDown m_tempSpin, m_countSpin;
    UiStatic m_swatch;

protected:
    void OnCreate() override
    {
        CreateControl(kSwatch, DialogControlKind::Static, {},
                      S::kChild | S::kVisible | S::kStaticNotify | S::kStaticSunken | S::kStaticOwnerDraw,
                      {10, 600, 300, 800});
    }

    bool OnInitDialog() override
    {
        events.push_back("init");
        m_alpha.SubclassDlgItem(kAlpha, *this);
        m_gamma.SubclassDlgItem(kGamma, *this);
        m_plain.SubclassDlgItem(kPlainCombo, *this);
        m_colors.SubclassDlgItem(kColorCombo, *this);
        m_temperature.SubclassDlgItem(kTempEdit, *this);
        m_tempSpin.SubclassDlgItem(kTempSpin, *this);
        m_countSpin.SubclassDlgItem(kCountSpin, *this);
        m_swatch.SubclassDlgItem(kSwatch, *this);
        m_swatch.MoveWindow(GetDlgItem(kPlaceholder).GetWindowRect());

        for (const wchar_t* name : {L"One", L"Two", L"Three"}) {
            const int index = m_plain.AddString(name);
            m_plain.SetItemData(index, (static_cast<std::uintptr_t>(index) + 1) * 10);
        }
        for (std::size_t i = 0; i < std::size(kSwatches); ++i)
            m_colors.SetItemData(m_colors.AddString(kSwatches[i].name), i);
        m_colors.SetCurSel(0);
        m_alpha.SetCheck(1);
        m_gamma.SetCheck(1);
        m_tempSpin.SetRange(1000, 20000);
        m_countSpin.SetRange(0, 5);
        m_temperature.SetWindowText(L"6500");
        GetDlgItem(kCountEdit).EnableWindow(false);
        // Registered while running: dropped when the run ends, so a second run hears it once.
        onClicked(kHelp, [this] { events.push_back("help from init"); });
        return true;
    }

    void OnOK() override
    {
        events.push_back("ok");
        if (m_requireTemperature && m_temperature.GetWindowText().empty())
            return;
        EndDialog(IDOK);
    }

    void OnCancel() override
    {
        events.push_back("cancel");
        EndDialog(IDCANCEL);
    }

private:
    void log(const char* what, int id, const std::wstring& detail = {})
    {
        std::string line = std::string(what) + " " + std::to_string(id);
        if (!detail.empty())
            line += " " + OdString(detail).toUtf8();
        events.push_back(line);
    }

    void leave(int id)
    {
        log("killfocus", id);
        const bool number = m_temperature.GetWindowText().find_first_not_of(L"0123456789") == std::wstring::npos;
        if (id == kTempEdit && m_strictTemperature && !number)
            m_temperature.SetFocus();
    }

    void chooseColor()
    {
        const auto* swatch = &kSwatches[m_colors.GetItemData(m_colors.GetCurSel())];
        m_swatchColor = swatch->color;
        m_swatch.Invalidate();
        m_swatch.UpdateWindow();
        paintsSeenInHandler = m_swatch.state().paintCount;
        log("selchange", kColorCombo);
    }
};

class DialogFixture : public EditorFixture {
protected:
    int run(const std::string& lines)
    {
        script(lines);
        return dialog.DoModal();
    }
    const DialogControl& state(int id) const
    {
        const DialogControl* control = dialog.control(id);
        EXPECT_NE(control, nullptr) << id;
        return *control;
    }

    TestDialog dialog{engine.window()};
};

} // namespace dialog_test
