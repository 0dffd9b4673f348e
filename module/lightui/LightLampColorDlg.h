// The "Lamp colors" dialog: a light's lamp colour, from a preset or a temperature in kelvin,
// and its filter colour, with swatches of the lamp colour and of the colour the light casts.
// It edits a copy of the light and writes the lamp and filter colours back on OK. Other host
// modules open it through the exported launcher.
#pragma once

#include <optional>

#include <vantrel/db/OdDbLight.h>
#include <vantrel/db/OdResult.h>
#include <vantrel/host/UiButton.h>
#include <vantrel/host/UiComboBox.h>
#include <vantrel/host/UiEdit.h>
#include <vantrel/host/UiStatic.h>
#include <vantrel/host/UiUpDown.h>
#include <vantrel/host/hostUiDialog.h>

#include "light/LightVocabulary.h"
#include "lightui/LtUiColorCombobox.h"
#include "lightui/LtUiColorPreview.h"

class LightLampColorDlg : public hostUiDialog {
public:
    static constexpr unsigned kTemplateId = 1381;
    enum ControlId : int {
        kStandardColors = 1359,
        kPresetCombo = 1360,
        kKelvinColors = 1361,
        kTemperatureSpin = 1362,
        kLampPlaceholder = 1363,
        kResultPlaceholder = 1364,
        kResultText = 1365,
        kTemperatureEdit = 1376,
        kFilterCombo = 1378,
        kHelp = 1379,
        // The swatches the dialog creates itself.
        kLampSwatch = 666,
        kResultSwatch = 667,
    };
    static constexpr double kTemperatureStep = 10.0;

    // Takes template 1381 from the current dialog resource module and copies the light, which
    // is not owned and must be open in its database (OK upgrades it to write). Raises
    // OdError(eNotThatKindOfClass) when the copy is no light.
    explicit LightLampColorDlg(OdDbLight* light, HostWindowId parent = 0);

    // The copy the dialog edits.
    const OdDbLight& workingCopy() const { return *m_workingCopy; }

protected:
    void OnCreate() override;
    bool OnInitDialog() override;
    // Refuses (and keeps the dialog open) while a kelvin temperature is chosen and the
    // temperature field holds a text that is not one.
    void OnOK() override;
    void OnCancel() override;

private:
    void standardColorsClicked();
    void kelvinColorsClicked();
    void presetChanged();
    void temperatureTextChanged();
    void temperatureFieldLeft();
    void temperatureStepped(const vantrel::UpDownEvent& e);
    void filterColorChanged();
    // Shows the temperature in the field, which applies it as typed text would.
    void showTemperature(double kelvin);
    // The field's value when its text is a number (digits and points) within the range.
    std::optional<double> validTemperatureText() const;
    void refuseTemperature();
    // Swatches and result text from the working copy.
    void refresh();

    OdDbLight* m_light;
    vantrel::UiButton m_standardColors;
    vantrel::UiButton m_kelvinColors;
    vantrel::UiComboBox m_presetCombo;
    LtUiColorCombobox m_filterCombo;
    vantrel::UiUpDown m_temperatureSpin;
    vantrel::UiEdit m_temperatureEdit;
    LtUiColorPreview m_lampSwatch;
    LtUiColorPreview m_resultSwatch;
    vantrel::UiStatic m_resultText;
    OdDbLightPtr m_workingCopy;
    // Set once Cancel started closing the dialog: leaving the temperature field is then no
    // reason to complain.
    bool m_closing = false;
};

extern "C" {
// Runs the dialog on the light: eNullObjectPointer (20) for no light (nothing shown), eOk when
// the user pressed OK, eCancelled (443) otherwise. The dialog resources of this module are the
// current ones while it runs.
VANTREL_LIGHT_EXPORT OdResult showLightLampColorDialog(OdDbLight* light);
}
