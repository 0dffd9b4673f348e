// The "Lamp intensity" dialog: the unit a light's photometric intensity is given in (candela,
// lumen, lux), its value, the illuminance distance and the intensity coefficient, edited on a
// copy of the light and written back on OK. Other host modules open it through the exported
// launcher.
#pragma once

#include <optional>

#include <vantrel/db/OdDbLight.h>
#include <vantrel/db/OdResult.h>
#include <vantrel/host/UiButton.h>
#include <vantrel/host/UiEdit.h>
#include <vantrel/host/UiStatic.h>
#include <vantrel/host/UiUpDown.h>
#include <vantrel/host/hostUiDialog.h>

#include "light/LightVocabulary.h"

class LightLampIntensityDlg : public hostUiDialog {
public:
    static constexpr unsigned kTemplateId = 1382;

    // Takes template 1382 from the current dialog resource module. The light is not owned; it
    // must be open for write when OK is pressed.
    explicit LightLampIntensityDlg(OdDbLight* light, HostWindowId parent = 0);

    // The copy the dialog edits.
    const OdDbLight& workingCopy() const { return *m_workingCopy; }

protected:
    bool OnInitDialog() override;
    void OnOK() override;

private:
    enum class Field { Intensity, Distance, Coefficient };

    void unitChanged(OdDbLight::PhysicalIntensityMethod method);
    void enableDistance(bool enable);
    // Re-expresses the working copy's intensity from the previous unit in its current one and
    // shows it; false (nothing changed) when the light cannot take the result.
    bool convertAndShow();
    void updateResultLine();
    void textChanged(Field field);
    void focusLost(Field field);
    void step(Field field, int delta);

    // The edit's value when its text is numeric and within the field's range.
    std::optional<double> validValue(Field field);
    // Stores the value in the working copy; a value the light refuses is reported and changes
    // nothing (false).
    bool store(Field field, double value);
    double value(Field field) const;
    // Writes the value into the field's edit without taking the text back as an edit.
    void show(Field field, double value, const wchar_t* format = L"%0.3f");
    // Tells the user that the field's text is not valid and puts the focus back on it.
    void refuseText(Field field);
    vantrel::UiEdit& edit(Field field);
    // Copies the photometric settings to the light, all or none.
    bool writeBack();

    OdDbLight* m_light;
    OdDbLightPtr m_workingCopy;
    vantrel::UiButton m_candela;
    vantrel::UiButton m_lumen;
    vantrel::UiButton m_lux;
    vantrel::UiEdit m_intensityEdit;
    vantrel::UiEdit m_distanceEdit;
    vantrel::UiEdit m_coefficientEdit;
    vantrel::UiStatic m_distanceLabel;
    vantrel::UiStatic m_resultLine;
    vantrel::UiUpDown m_intensitySpin;
    vantrel::UiUpDown m_distanceSpin;
    vantrel::UiUpDown m_coefficientSpin;
    // Cleared while the dialog itself writes into an edit.
    bool m_acceptTextChanges = true;
    // The unit the working copy's intensity was given in before the last unit change.
    OdDbLight::PhysicalIntensityMethod m_previousUnit;
};

extern "C" {
// Runs the dialog on the light: eNullObjectPointer (20) for no light (nothing shown), eOk when
// the user pressed OK, eCancelled (443) otherwise. The dialog resources of this module are the
// current ones while it runs.
VANTREL_LIGHT_EXPORT OdResult showLightLampIntensityDialog(OdDbLight* light);
}
