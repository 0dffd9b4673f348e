// The dialog toolkit run from a script: every event kind in order, radio groups, combo items
// and their data, up-down steps, focus that a handler takes back, refusals that leave the
// dialog as it was, owner drawing recorded, and templates found in the module that holds them.
#include "DialogFixture.h"

#include <vantrel/db/OdError.h>
#include <vantrel/host/dialog_resources.h>

using namespace dialog_test;
using Events = std::vector<std::string>;

extern "C" const vantrel::DialogTemplate* vantrel_dialog_template(unsigned id)
{
    return id == testTemplate().id ? &testTemplate() : nullptr;
}

TEST(DialogTemplateUnits, DialogUnitsBecomePixelsWithTheFontBaseUnits)
{
    DialogTemplate tmpl{1, L"x", 241, 200, {}};
    EXPECT_EQ(tmpl.clientRect(), (PixelRect{0, 0, 362, 325}));
    // 120 * 6/4 = 180, 42 * 13/8 = 68.25, 42 * 6/4 = 63, 34 * 13/8 = 55.25
    EXPECT_EQ(DialogTemplate::toPixels({120, 42, 42, 34}), (PixelRect{180, 68, 243, 123}));
    EXPECT_EQ(DialogTemplate::toPixels({0, 20, 1, 30}), (PixelRect{0, 33, 2, 82}));
}

TEST_F(DialogFixture, EndOfInputCancelsAndLeavesTheInitialState)
{
    EXPECT_EQ(run(""), IDCANCEL);
    EXPECT_EQ(dialog.events, (Events{"init", "change 103 6500", "cancel"}));
    EXPECT_EQ(output(), "Test & dialog: *Cancel*\n");
    EXPECT_FALSE(dialog.isOpen());
    EXPECT_EQ(dialog.result(), IDCANCEL);
    EXPECT_EQ(dialog.focusId(), IDOK) << "the first control that takes the focus";
    EXPECT_EQ(state(kTempSpin).buddy, kTempEdit) << "auto-buddy takes the control before it";
    EXPECT_EQ(state(kSwatch).rect, DialogTemplate::toPixels({120, 20, 40, 30}));
    EXPECT_EQ(state(kColorCombo).shownText(), L"Red");
}

TEST_F(DialogFixture, EveryEventReachesItsHandlersInOrder)
{
    EXPECT_EQ(run("!dlg click 102\n!dlg text 103 7200 K\n!dlg focus 101\n!dlg spin 104 +3\n"
                  "!dlg select 101 two\n!dlg click 140\n!dlg ok\n"),
              IDOK);
    EXPECT_EQ(dialog.events,
              (Events{"init", "change 103 6500", "click 102", "change 103 7200 K", "killfocus 103", "spin 104 0+3",
                      "dropdown 101", "selendok 101 Two", "selchange 101", "click 140", "help from init", "ok"}));
    EXPECT_EQ(state(kTempEdit).text, L"7200 K");
    EXPECT_EQ(state(kTempSpin).pos, 1000) << "a step lands within the range";
    EXPECT_EQ(state(kPlainCombo).curSel, 1);
    EXPECT_EQ(state(kPlainCombo).shownText(), L"Two");
    EXPECT_EQ(dialog.focusId(), kPlainCombo);

    // The handlers registered while the first run ran are gone; those of the constructor stay.
    dialog.events.clear();
    EXPECT_EQ(run("!dlg click 140\n!dlg cancel\n"), IDCANCEL);
    EXPECT_EQ(dialog.events, (Events{"init", "change 103 6500", "click 140", "help from init", "cancel"}));
}

TEST_F(DialogFixture, AutoRadioButtonsUncheckOnlyTheirOwnGroup)
{
    EXPECT_EQ(run("!dlg click 102\n!dlg click 131\n!dlg click 102\n!dlg ok\n"), IDOK);
    EXPECT_EQ(state(kAlpha).check, 0);
    EXPECT_EQ(state(kBeta).check, 1);
    EXPECT_EQ(state(kGamma).check, 0);
    EXPECT_EQ(state(kDelta).check, 1);
    EXPECT_EQ(dialog.GetCheckedRadioButton(kAlpha, kBeta), kBeta);
    EXPECT_EQ(dialog.GetCheckedRadioButton(kGamma, kDelta), kDelta);

    dialog.CheckRadioButton(kAlpha, kBeta, kAlpha);
    EXPECT_EQ(dialog.GetCheckedRadioButton(kAlpha, kBeta), kAlpha);
    EXPECT_EQ(state(kBeta).check, 0);
    EXPECT_EQ(state(kDelta).check, 1) << "outside the range";
    dialog.CheckRadioButton(kGamma, kDelta, 0);
    EXPECT_EQ(dialog.GetCheckedRadioButton(kGamma, kDelta), 0);
}

TEST_F(DialogFixture, UpDownStepsStayInRangeAndWriteTheirBuddy)
{
    EXPECT_EQ(run("!dlg spin 121 +2\n!dlg spin 121 +9\n!dlg spin 121 0\n!dlg spin 121 -1\n!dlg ok\n"), IDOK);
    EXPECT_EQ(dialog.events,
              (Events{"init", "change 103 6500", "spin 121 0+2", "change 120 2", "spin 121 2+9", "change 120 5",
                      "spin 121 5+0", "spin 121 5+-1", "change 120 4", "ok"}));
    EXPECT_EQ(state(kCountSpin).pos, 4);
    EXPECT_EQ(state(kCountEdit).text, L"4");
}

TEST_F(DialogFixture, RefusedEventsChangeNothingAndTheDialogStays)
{
    EXPECT_EQ(run("!dlg click 999\n!dlg text 120 5\n!dlg click 105\n!dlg click 103\n!dlg text 100 x\n"
                  "!dlg spin 1 +1\n!dlg select 103 One\n!dlg focus 104\n!dlg select 101 Four\n!dlg text 150 x\n"
                  "!dlg spin 104 up\n!dlg frob 1\n!dlg click\n!dlg ok now\nhello\n!click 1,1\n!dlg cancel\n"),
              IDCANCEL);
    EXPECT_EQ(dialog.events, (Events{"init", "change 103 6500", "cancel"}));
    EXPECT_EQ(output(),
              "Test & dialog: !dlg click 999\nThe dialog has no control 999.\n"
              "Test & dialog: !dlg text 120 5\nControl 120 is disabled.\n"
              "Test & dialog: !dlg click 105\nControl 105 is not shown.\n"
              "Test & dialog: !dlg click 103\nControl 103 is an edit field; only buttons can be clicked.\n"
              "Test & dialog: !dlg text 100 x\nControl 100 is a radio button, not an edit field.\n"
              "Test & dialog: !dlg spin 1 +1\nControl 1 is a button, not an up-down control.\n"
              "Test & dialog: !dlg select 103 One\nControl 103 is an edit field, not a combo box.\n"
              "Test & dialog: !dlg focus 104\nControl 104 is an up-down control and cannot take the focus.\n"
              "Test & dialog: !dlg select 101 Four\nCombo box 101 has no item \"Four\".\n"
              "Test & dialog: !dlg text 150 x\nControl 150 is read-only.\n"
              "Test & dialog: !dlg spin 104 up\n!dlg spin needs a control id and a step such as +1 or -1.\n"
              "Test & dialog: !dlg frob 1\nUnknown dialog event \"frob\"; the dialog takes click, text, focus, spin, "
              "select, ok and cancel.\n"
              "Test & dialog: !dlg click\n!dlg click needs a control id.\n"
              "Test & dialog: !dlg ok now\n!dlg ok takes nothing after it.\n"
              "Test & dialog: hello\nA dialog is open: give !dlg click, text, focus, spin or select with a control "
              "id, !dlg ok or !dlg cancel.\n"
              "Test & dialog: !click 1,1\nA point is not accepted here.\n"
              "Test & dialog: !dlg cancel\n");
    EXPECT_EQ(dialog.focusId(), IDOK);
    EXPECT_EQ(state(kCountEdit).text, L"");
    EXPECT_EQ(state(kPlainCombo).curSel, -1);
    EXPECT_EQ(state(kAlpha).check, 1);
}

TEST_F(DialogFixture, FocusTakenBackKeepsTheUserOutAndOkMayRefuse)
{
    dialog.m_strictTemperature = true;
    dialog.m_requireTemperature = true;
    // Enter presses the default button, OK, which refuses while the field is empty.
    EXPECT_EQ(run("!dlg text 103 abc\n!dlg select 101 One\n!dlg text 103\n\n!dlg text 103 5000\n\n"), IDOK);
    EXPECT_EQ(dialog.events,
              (Events{"init", "change 103 6500", "change 103 abc", "killfocus 103", "change 103", "ok",
                      "change 103 5000", "ok"}));
    EXPECT_EQ(state(kPlainCombo).curSel, -1) << "the list was not reached";
    EXPECT_EQ(dialog.focusId(), kTempEdit);
    EXPECT_EQ(state(kTempEdit).text, L"5000");
}

TEST_F(DialogFixture, ComboItemsKeepTheirDataAndSelectionThroughEdits)
{
    run("");
    UiComboBox& combo = dialog.m_plain;
    ASSERT_EQ(combo.GetCount(), 3);
    EXPECT_EQ(combo.GetItemData(2), 30u);
    EXPECT_EQ(combo.FindStringExact(-1, L"tWo"), 1);
    EXPECT_EQ(combo.FindStringExact(-1, L"Tw"), UiComboBox::kError) << "whole texts only";
    EXPECT_EQ(combo.AddString(L"one"), 3);
    EXPECT_EQ(combo.FindStringExact(0, L"ONE"), 3) << "searches after start";
    EXPECT_EQ(combo.FindStringExact(3, L"ONE"), 0) << "and wraps round";

    EXPECT_EQ(combo.SetCurSel(2), 2);
    EXPECT_EQ(combo.InsertString(0, L"Zero"), 0);
    EXPECT_EQ(combo.GetCurSel(), 3) << "the selection moves with its item";
    EXPECT_EQ(combo.GetLBText(3), L"Three");
    EXPECT_EQ(combo.GetItemData(3), 30u);
    EXPECT_EQ(combo.GetItemData(0), 0u);
    EXPECT_EQ(combo.DeleteString(1), 4);
    EXPECT_EQ(combo.GetCurSel(), 2);
    EXPECT_EQ(combo.DeleteString(2), 3);
    EXPECT_EQ(combo.GetCurSel(), -1) << "deleting the selected item clears the selection";
    EXPECT_EQ(combo.InsertString(9, L"far"), UiComboBox::kError);
    EXPECT_EQ(combo.DeleteString(3), UiComboBox::kError);
    EXPECT_FALSE(combo.SetItemData(7, 1));
    EXPECT_EQ(combo.GetLBText(-1), L"");
    combo.SetCurSel(1);
    EXPECT_EQ(combo.SetCurSel(17), UiComboBox::kError);
    EXPECT_EQ(combo.GetCurSel(), -1);
    combo.ResetContent();
    EXPECT_EQ(combo.GetCount(), 0);
    EXPECT_EQ(combo.FindStringExact(-1, L"Zero"), UiComboBox::kError);
}

// What each filter item of the lamp colour dialog draws is LampColorDialog's test; here the
// toolkit's part: item states and places, and painting at once on UpdateWindow.
TEST_F(DialogFixture, OwnerDrawingIsRecordedPerItemAndRepaintedWhenInvalidated)
{
    EXPECT_EQ(run("!dlg select 110 blue\n!dlg ok\n"), IDOK);
    const DialogControl& combo = state(kColorCombo);
    EXPECT_EQ(combo.paintCount, 2) << "once shown, once after the selection changed";
    ASSERT_EQ(combo.paints.size(), 4u) << "the selection field, then each item of the list";
    EXPECT_EQ(combo.paints[0].state, kItemComboBoxEdit | kItemSelected | kItemFocus);
    EXPECT_EQ(combo.paints[0].fillColorAt({combo.paints[0].rect.left + 5, combo.paints[0].rect.top + 5}),
              rgbColor(0, 0, 255));
    for (int i = 0; i < 3; ++i) {
        const DialogPaint& item = combo.paints[static_cast<std::size_t>(i) + 1];
        EXPECT_EQ(item.rect.top, combo.paints[1].rect.top + 13 * i);
        EXPECT_EQ(item.state & kItemSelected, i == 2 ? kItemSelected : 0u) << i;
    }

    const DialogControl& swatch = state(kSwatch);
    EXPECT_EQ(dialog.paintsSeenInHandler, 2) << "UpdateWindow paints at once";
    EXPECT_EQ(swatch.paintCount, 2) << "and nothing is left to paint after the event";
    ASSERT_EQ(swatch.paints.size(), 1u);
    EXPECT_EQ(swatch.paints[0].rect, (PixelRect{0, 0, swatch.rect.width(), swatch.rect.height()}));
    EXPECT_EQ(swatch.fillColorAt({swatch.rect.width() - 1, swatch.rect.height() - 1}), rgbColor(0, 0, 255));
}

TEST(DialogDC, RecordsOperationsAndRestoresSavedColours)
{
    DialogPaint paint;
    DialogDC dc(paint);
    EXPECT_EQ(dc.SetTextColor(rgbColor(1, 2, 3)), rgbColor(0, 0, 0));
    const int first = dc.SaveDC();
    dc.FillSolidRect(0, 0, 10, 10, rgbColor(255, 0, 0));
    EXPECT_EQ(dc.GetBkColor(), rgbColor(255, 0, 0)) << "a solid fill sets the background colour";
    dc.SetPenColor(rgbColor(0, 255, 0));
    dc.MoveTo(1, 1);
    dc.LineTo(11, 1);
    dc.LineTo(11, 11);
    const int second = dc.SaveDC();
    dc.SetBrushColor(rgbColor(9, 9, 9));
    dc.Rectangle({20, 20, 30, 30});
    dc.SetTextColor(rgbColor(7, 7, 7));
    dc.TextOut(2, 3, L"abc");
    EXPECT_EQ(second, first + 1);
    EXPECT_TRUE(dc.RestoreDC(-1));
    EXPECT_EQ(dc.GetPenColor(), rgbColor(0, 255, 0));
    EXPECT_EQ(dc.GetBrushColor(), rgbColor(255, 255, 255));
    EXPECT_TRUE(dc.RestoreDC(first));
    EXPECT_EQ(dc.GetTextColor(), rgbColor(1, 2, 3));
    EXPECT_EQ(dc.GetBkColor(), rgbColor(255, 255, 255));
    EXPECT_EQ(dc.GetPenColor(), rgbColor(0, 0, 0));
    EXPECT_FALSE(dc.RestoreDC(second)) << "dropped with the level before it";

    ASSERT_EQ(paint.ops.size(), 5u);
    EXPECT_EQ(paint.ops[1].from, (PixelPoint{1, 1}));
    EXPECT_EQ(paint.ops[2].from, (PixelPoint{11, 1})) << "a line starts where the last one ended";
    EXPECT_EQ(paint.ops[2].color, rgbColor(0, 255, 0));
    EXPECT_EQ(paint.ops[4].rect, (PixelRect{2, 3, 20, 16}));
    EXPECT_EQ(paint.ops[4].color, rgbColor(7, 7, 7));
    EXPECT_EQ(paint.fillColorAt({25, 25}), rgbColor(9, 9, 9));
    EXPECT_EQ(paint.fillColorAt({5, 5}), rgbColor(255, 0, 0));
    EXPECT_EQ(paint.fillColorAt({15, 15}), std::nullopt);
    EXPECT_EQ(redOf(rgbColor(10, 20, 30)), 10);
    EXPECT_EQ(rgbColor(255, 0, 0), 0x0000FFu) << "red in the low byte";
}

TEST(DialogResources, TemplatesAreFoundInTheModuleThatExportsThem)
{
    const ModuleHandle self = mainProgramModule();
    EXPECT_EQ(findDialogTemplate(self, 7001), &testTemplate());
    EXPECT_EQ(findDialogTemplate(self, 7002), nullptr);
    EXPECT_EQ(findDialogTemplate(nullptr, 7001), nullptr);

    const ModuleHandle before = setDialogResourceModule(self);
    hostUiDialog byId(7001);
    EXPECT_EQ(byId.dialogTemplate().caption, L"Test & dialog");
    EXPECT_EQ(byId.dialogTemplate().controls.size(), testTemplate().controls.size());
    try {
        hostUiDialog missing(7002);
        ADD_FAILURE() << "a missing template was not reported";
    } catch (const OdError& e) {
        EXPECT_EQ(e.code(), eKeyNotFound);
    }
    EXPECT_EQ(setDialogResourceModule(before), self);
}

TEST(DialogWithoutCommandLine, DoesNotRun)
{
    TestDialog dialog(999999);
    EXPECT_EQ(dialog.DoModal(), -1);
    EXPECT_TRUE(dialog.events.empty());
}
