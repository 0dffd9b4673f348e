// The "Lamp intensity" dialog and its exported launcher: unit changes convert the working
// copy's intensity, edits take only numeric texts within their field's range, and OK copies the
// photometric settings to the light.
#include "lightui/LightLampIntensityDlg.h"

#include <algorithm>
#include <cassert>
#include <cmath>
#include <cwchar>
#include <string>

#include <vantrel/db/OdError.h>
#include <vantrel/host/dialog_resources.h>
#include <vantrel/host/host_message_box.h>
#include <vantrel/hxicore/ResTranslation.h>

#include "frame/module_instance.h"
#include "lightui/photometric_units.h"

namespace {

enum : int {
    kCandelaRadio = 1366,
    kLumenRadio = 1367,
    kLuxRadio = 1368,
    kIntensitySpin = 1369,
    kDistanceEdit = 1370,
    kDistanceSpin = 1371,
    kCoefficientEdit = 1372,
    kCoefficientSpin = 1373,
    kDistanceLabel = 1374,
    kResultLine = 1375,
    kIntensityEdit = 1377,
};

constexpr unsigned kIntensityRangeMessage = 170;
constexpr unsigned kResultLineFormat = 171;
constexpr unsigned kCoefficientRangeMessage = 189;
constexpr unsigned kLightRefusedMessage = 190;
constexpr unsigned kNotConvertibleMessage = 191;

// Texts within this much outside a range still count as in it.
constexpr double kTolerance = 1e-10;

struct FieldRange {
    double lower;
    double upper;
};
// Photometric intensity, illuminance distance and coefficient, in the order of Field.
constexpr FieldRange kRanges[] = {{0.0, 1e14}, {1.0, 1e10}, {0.0, 1e6}};

int radioOf(OdDbLight::PhysicalIntensityMethod method)
{
    switch (method) {
    case OdDbLight::kPeakIntensity: return kCandelaRadio;
    case OdDbLight::kFlux: return kLumenRadio;
    case OdDbLight::kIlluminance: return kLuxRadio;
    }
    return 0;
}

// The untranslated name of the unit.
const wchar_t* unitName(OdDbLight::PhysicalIntensityMethod method)
{
    switch (method) {
    case OdDbLight::kPeakIntensity: return L"Candela";
    case OdDbLight::kFlux: return L"Lumen";
    case OdDbLight::kIlluminance: return L"Lux";
    }
    return nullptr;
}

void showMessage(unsigned id) { hostMessageBox(vantrel::loadResource(id).c_str()); }

void reportRefusal(const OdError& error)
{
    CXStringW message;
    message.Format(vantrel::loadResource(kLightRefusedMessage).c_str(), error.description());
    hostMessageBox(message.c_str());
}

// Restores the dialog resource module however the dialog ends.
class ResourceModuleScope {
public:
    explicit ResourceModuleScope(vantrel::ModuleHandle module) : m_previous(vantrel::setDialogResourceModule(module)) {}
    ~ResourceModuleScope() { vantrel::setDialogResourceModule(m_previous); }
    ResourceModuleScope(const ResourceModuleScope&) = delete;
    ResourceModuleScope& operator=(const ResourceModuleScope&) = delete;

private:
    vantrel::ModuleHandle m_previous;
};

// The intensity settings of the dialog's working copy, in the order the light checks them.
void takeIntensity(OdDbLight& light, const OdDbLight& copy)
{
    light.setPhysicalIntensityMethod(copy.physicalIntensityMethod());
    light.setIntensity(copy.intensity());
    light.setPhysicalIntensity(copy.physicalIntensity());
    if (copy.physicalIntensityMethod() == OdDbLight::kIlluminance)
        light.setIlluminanceDistance(copy.illuminanceDistance());
}

} // namespace

LightLampIntensityDlg::LightLampIntensityDlg(OdDbLight* light, HostWindowId parent)
    : hostUiDialog(kTemplateId, parent), m_light(light)
{
    assert(light && "the launcher answers a missing light");
    m_workingCopy = OdDbLightPtr(light->clone());
    m_previousUnit = m_workingCopy->physicalIntensityMethod();

    onClicked(kCandelaRadio, [this] { unitChanged(OdDbLight::kPeakIntensity); });
    onClicked(kLumenRadio, [this] { unitChanged(OdDbLight::kFlux); });
    onClicked(kLuxRadio, [this] { unitChanged(OdDbLight::kIlluminance); });
    const struct {
        Field field;
        int edit;
        int spin;
    } fields[] = {{Field::Intensity, kIntensityEdit, kIntensitySpin},
                  {Field::Distance, kDistanceEdit, kDistanceSpin},
                  {Field::Coefficient, kCoefficientEdit, kCoefficientSpin}};
    for (const auto& f : fields) {
        const Field field = f.field;
        onEditChange(f.edit, [this, field] { textChanged(field); });
        onKillFocus(f.edit, [this, field] { focusLost(field); });
        onUpDownDelta(f.spin, [this, field](vantrel::UpDownEvent& event) { step(field, event.delta); });
    }
}

bool LightLampIntensityDlg::OnInitDialog()
{
    hostUiDialog::OnInitDialog();
    m_candela.SubclassDlgItem(kCandelaRadio, *this);
    m_lumen.SubclassDlgItem(kLumenRadio, *this);
    m_lux.SubclassDlgItem(kLuxRadio, *this);
    m_intensityEdit.SubclassDlgItem(kIntensityEdit, *this);
    m_distanceEdit.SubclassDlgItem(kDistanceEdit, *this);
    m_coefficientEdit.SubclassDlgItem(kCoefficientEdit, *this);
    m_distanceLabel.SubclassDlgItem(kDistanceLabel, *this);
    m_resultLine.SubclassDlgItem(kResultLine, *this);
    m_intensitySpin.SubclassDlgItem(kIntensitySpin, *this);
    m_distanceSpin.SubclassDlgItem(kDistanceSpin, *this);
    m_coefficientSpin.SubclassDlgItem(kCoefficientSpin, *this);
    m_intensitySpin.SetBuddy(m_intensityEdit);
    m_distanceSpin.SetBuddy(m_distanceEdit);
    m_coefficientSpin.SetBuddy(m_coefficientEdit);

    const OdDbLight::PhysicalIntensityMethod method = m_workingCopy->physicalIntensityMethod();
    CheckRadioButton(kCandelaRadio, kLuxRadio, radioOf(method));
    enableDistance(method == OdDbLight::kIlluminance);
    m_previousUnit = method;
    show(Field::Intensity, value(Field::Intensity));
    show(Field::Distance, value(Field::Distance));
    show(Field::Coefficient, value(Field::Coefficient));
    updateResultLine();
    return true;
}

void LightLampIntensityDlg::unitChanged(OdDbLight::PhysicalIntensityMethod method)
{
    const OdDbLight::PhysicalIntensityMethod before = m_workingCopy->physicalIntensityMethod();
    m_previousUnit = before;
    m_workingCopy->setPhysicalIntensityMethod(method);
    enableDistance(method == OdDbLight::kIlluminance);
    if (!convertAndShow()) {
        // The intensity stays in the unit it was given in.
        m_workingCopy->setPhysicalIntensityMethod(before);
        CheckRadioButton(kCandelaRadio, kLuxRadio, radioOf(before));
        enableDistance(before == OdDbLight::kIlluminance);
    }
    updateResultLine();
}

// The distance's up-down control stays enabled: the distance also serves the conversion into
// lux, so it may be set before switching to lux.
void LightLampIntensityDlg::enableDistance(bool enable)
{
    m_distanceLabel.EnableWindow(enable);
    m_distanceEdit.EnableWindow(enable);
}

bool LightLampIntensityDlg::convertAndShow()
{
    const OdDbLight& copy = *m_workingCopy;
    const OdDbLight::PhysicalIntensityMethod method = copy.physicalIntensityMethod();
    const double solidAngle = vantrel::lightSolidAngle(copy.lightType(), copy.hotspotAngle(), copy.falloffAngle());
    const double distance = drawingLengthToMeters(copy.illuminanceDistance());
    const double converted
        = vantrel::convertPhysicalIntensity(copy.physicalIntensity(), m_previousUnit, method, solidAngle, distance);
    if (!std::isfinite(converted)) {
        CXStringW message;
        message.Format(vantrel::loadResource(kNotConvertibleMessage).c_str(), Supp_Translate(unitName(method)));
        hostMessageBox(message.c_str());
        return false;
    }
    if (!store(Field::Intensity, converted))
        return false;
    show(Field::Intensity, converted);
    return true;
}

void LightLampIntensityDlg::updateResultLine()
{
    const OdDbLight& copy = *m_workingCopy;
    CXStringW line;
    if (const wchar_t* unit = unitName(copy.physicalIntensityMethod()))
        line.Format(vantrel::loadResource(kResultLineFormat).c_str(), copy.intensity() * copy.physicalIntensity(),
                    Supp_Translate(unit));
    m_resultLine.SetWindowText(line.str());
}

void LightLampIntensityDlg::textChanged(Field field)
{
    if (!m_acceptTextChanges)
        return;
    if (std::optional<double> entered = validValue(field); entered && store(field, *entered))
        updateResultLine();
}

void LightLampIntensityDlg::focusLost(Field field)
{
    if (std::optional<double> entered = validValue(field)) {
        if (store(field, *entered))
            updateResultLine();
        return;
    }
    refuseText(field);
}

void LightLampIntensityDlg::refuseText(Field field)
{
    switch (field) {
    case Field::Intensity:
        showMessage(kIntensityRangeMessage);
        m_intensityEdit.SetFocus();
        break;
    case Field::Coefficient:
        showMessage(kCoefficientRangeMessage);
        m_coefficientEdit.SetFocus();
        break;
    case Field::Distance:
        // Shown with the decimals it has, so that taking the text again changes nothing.
        show(Field::Distance, value(Field::Distance));
        break;
    }
}

// A step ends within the field's range: a value within 1 of a bound steps onto the bound.
void LightLampIntensityDlg::step(Field field, int delta)
{
    const FieldRange range = kRanges[static_cast<int>(field)];
    const double current = value(field);
    double next = current;
    if (delta > 0 && current < range.upper)
        next = std::min(current + 1.0, range.upper);
    else if (delta < 0 && current > range.lower)
        next = std::max(current - 1.0, range.lower);
    else
        return;
    if (!store(field, next))
        return;
    show(field, next);
    updateResultLine();
}

std::optional<double> LightLampIntensityDlg::validValue(Field field)
{
    const FieldRange range = kRanges[static_cast<int>(field)];
    const std::wstring text = edit(field).GetWindowText();
    if (!isNumericText(text.c_str()))
        return std::nullopt;
    // The leading numeric part: "1.2.3" reads 1.2, an empty text 0.
    const double entered = std::wcstod(text.c_str(), nullptr);
    if (entered < range.lower - kTolerance || entered > range.upper + kTolerance)
        return std::nullopt;
    return entered;
}

bool LightLampIntensityDlg::store(Field field, double newValue)
{
    try {
        switch (field) {
        case Field::Intensity: m_workingCopy->setPhysicalIntensity(newValue); break;
        case Field::Distance: m_workingCopy->setIlluminanceDistance(newValue); break;
        case Field::Coefficient: m_workingCopy->setIntensity(newValue); break;
        }
        return true;
    } catch (const OdError& error) {
        reportRefusal(error);
        return false;
    }
}

double LightLampIntensityDlg::value(Field field) const
{
    switch (field) {
    case Field::Intensity: return m_workingCopy->physicalIntensity();
    case Field::Distance: return m_workingCopy->illuminanceDistance();
    case Field::Coefficient: return m_workingCopy->intensity();
    }
    return 0.0;
}

void LightLampIntensityDlg::show(Field field, double shown, const wchar_t* format)
{
    CXStringW text;
    text.Format(format, shown);
    m_acceptTextChanges = false;
    edit(field).SetWindowText(text.str());
    m_acceptTextChanges = true;
}

vantrel::UiEdit& LightLampIntensityDlg::edit(Field field)
{
    switch (field) {
    case Field::Intensity: return m_intensityEdit;
    case Field::Distance: return m_distanceEdit;
    case Field::Coefficient: return m_coefficientEdit;
    }
    return m_intensityEdit;
}

// Every text must be valid before anything is written: a text the working copy never took would
// otherwise be dropped without a word.
void LightLampIntensityDlg::OnOK()
{
    if (!validValue(Field::Intensity)) {
        refuseText(Field::Intensity);
        return;
    }
    if (!validValue(Field::Coefficient)) {
        refuseText(Field::Coefficient);
        return;
    }
    if (m_workingCopy->physicalIntensityMethod() == OdDbLight::kIlluminance && !validValue(Field::Distance)) {
        refuseText(Field::Distance);
        return;
    }
    if (writeBack())
        EndDialog(IDOK);
}

bool LightLampIntensityDlg::writeBack()
{
    // Tried on a copy first, so that a light that refuses one setting keeps all of its old
    // ones; the light itself then takes them as the copy did (or refuses the first, when it is
    // not open for writing).
    try {
        const OdDbLightPtr trial = OdDbLight::cast(m_light->clone().get());
        takeIntensity(*trial, *m_workingCopy);
        takeIntensity(*m_light, *m_workingCopy);
    } catch (const OdError& error) {
        reportRefusal(error);
        return false;
    }
    return true;
}

OdResult showLightLampIntensityDialog(OdDbLight* light)
{
    if (!light)
        return eNullObjectPointer;
    ResourceModuleScope resources(vantrel::moduleInstance());
    LightLampIntensityDlg dialog(light);
    return dialog.DoModal() == IDOK ? eOk : eCancelled;
}
