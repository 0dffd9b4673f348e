// The lamp colour dialog: how its controls start from the light, what each control changes,
// the swatches, and the copy back on OK.
#include "lightui/LightLampColorDlg.h"

#include <algorithm>
#include <charconv>
#include <string>

#include <vantrel/host/dialog_resources.h>
#include <vantrel/host/host_message_box.h>
#include <vantrel/hxicore/CXStringW.h>
#include <vantrel/hxicore/ResTranslation.h>

#include "frame/module_instance.h"

using vantrel::DialogControlKind;
using vantrel::rgbColor;

namespace {

constexpr unsigned kTemperatureRangeMessage = 155;
constexpr double kRangeTolerance = 1e-10;
constexpr double kMinKelvin = OdDbLight::kMinLampColorTemp;
constexpr double kMaxKelvin = OdDbLight::kMaxLampColorTemp;

// The swatch windows: visible, notifying, sunken owner-drawn statics, first placed off the
// dialog until they are moved onto their placeholders.
constexpr std::uint32_t kSwatchStyle = 0x5000110D;
constexpr vantrel::PixelRect kSwatchFirstPlace{10, 600, 300, 800};

bool inTemperatureRange(double kelvin)
{
    return kelvin >= kMinKelvin - kRangeTolerance && kelvin <= kMaxKelvin + kRangeTolerance;
}

// The number the text starts with (after blanks): an optional sign, digits with an optional
// point and an exponent, read the same in every locale; 0 when the text starts with none.
double leadingNumber(const std::wstring& text)
{
    std::size_t i = text.find_first_not_of(L" \t");
    if (i == std::wstring::npos)
        return 0.0;
    bool negative = false;
    if (text[i] == L'+' || text[i] == L'-')
        negative = text[i++] == L'-';
    std::string ascii;
    for (; i < text.size() && ascii.size() < 64; ++i) {
        const wchar_t c = text[i];
        if (!((c >= L'0' && c <= L'9') || c == L'.' || c == L'e' || c == L'E' || c == L'+' || c == L'-'))
            break;
        ascii.push_back(static_cast<char>(c));
    }
    double value = 0.0;
    const auto [end, error] = std::from_chars(ascii.data(), ascii.data() + ascii.size(), value);
    if (error != std::errc() || end == ascii.data())
        return 0.0;
    return negative ? -value : value;
}

std::wstring temperatureText(double kelvin)
{
    CXStringW text;
    text.Format(L"%0.1f", kelvin);
    return text.str();
}

std::uint8_t lampChannel(double intensity)
{
    return static_cast<std::uint8_t>(static_cast<int>(intensity * 255.0) & 0xFF);
}

} // namespace

LightLampColorDlg::LightLampColorDlg(OdDbLight* light, HostWindowId parent)
    : hostUiDialog(kTemplateId, parent), m_light(light), m_workingCopy(light->clone())
{
    onClicked(kStandardColors, [this] { standardColorsClicked(); });
    onClicked(kKelvinColors, [this] { kelvinColorsClicked(); });
    onSelChange(kPresetCombo, [this] { presetChanged(); });
    onEditChange(kTemperatureEdit, [this] { temperatureTextChanged(); });
    onKillFocus(kTemperatureEdit, [this] { temperatureFieldLeft(); });
    onUpDownDelta(kTemperatureSpin, [this](vantrel::UpDownEvent& e) { temperatureStepped(e); });
    onSelChange(kFilterCombo, [this] { filterColorChanged(); });
}

void LightLampColorDlg::OnCreate()
{
    CreateControl(kLampSwatch, DialogControlKind::Static, {}, kSwatchStyle, kSwatchFirstPlace);
    CreateControl(kResultSwatch, DialogControlKind::Static, {}, kSwatchStyle, kSwatchFirstPlace);
}

bool LightLampColorDlg::OnInitDialog()
{
    m_filterCombo.SubclassDlgItem(kFilterCombo, *this);
    const bool focusToFirstControl = hostUiDialog::OnInitDialog();
    m_standardColors.SubclassDlgItem(kStandardColors, *this);
    m_kelvinColors.SubclassDlgItem(kKelvinColors, *this);
    m_presetCombo.SubclassDlgItem(kPresetCombo, *this);
    m_temperatureSpin.SubclassDlgItem(kTemperatureSpin, *this);
    m_temperatureEdit.SubclassDlgItem(kTemperatureEdit, *this);
    m_lampSwatch.SubclassDlgItem(kLampSwatch, *this);
    m_resultSwatch.SubclassDlgItem(kResultSwatch, *this);
    m_resultText.SubclassDlgItem(kResultText, *this);

    m_lampSwatch.MoveWindow(GetDlgItem(kLampPlaceholder).GetWindowRect());
    m_resultSwatch.MoveWindow(GetDlgItem(kResultPlaceholder).GetWindowRect());

    m_filterCombo.SelectColor(m_workingCopy->lightColor());

    m_temperatureSpin.SetBuddy(m_temperatureEdit);
    m_temperatureSpin.SetRange(static_cast<int>(kMinKelvin), static_cast<int>(kMaxKelvin));

    for (const auto& [value, name] : lampPresets())
        m_presetCombo.SetItemData(m_presetCombo.AddString(Supp_Translate(name.c_str()).str()),
                                  static_cast<std::uintptr_t>(value));
    const OdString presetName = lampColorPresetToStr(m_workingCopy->lampColorPreset());
    if (!presetName.isEmpty())
        m_presetCombo.SetCurSel(m_presetCombo.FindStringExact(-1, presetName.str()));

    switch (m_workingCopy->lampColorType()) {
    case OdDbLight::kPreset:
        m_standardColors.SetCheck(1);
        m_temperatureEdit.EnableWindow(false);
        m_temperatureSpin.EnableWindow(false);
        break;
    case OdDbLight::kKelvin:
        m_kelvinColors.SetCheck(1);
        m_presetCombo.EnableWindow(false);
        break;
    }

    m_temperatureEdit.SetWindowText(temperatureText(m_workingCopy->lampColorTemp()));
    refresh();
    return focusToFirstControl;
}

void LightLampColorDlg::OnOK()
{
    if (m_workingCopy->lampColorType() == OdDbLight::kKelvin && !validTemperatureText()) {
        refuseTemperature();
        return;
    }
    if (!m_light->isWriteEnabled())
        m_light->upgradeOpen();
    const OdDbLight::LampColorType type = m_workingCopy->lampColorType();
    m_light->setLampColorType(type);
    if (type == OdDbLight::kPreset)
        m_light->setLampColorPreset(m_workingCopy->lampColorPreset());
    else if (type == OdDbLight::kKelvin)
        m_light->setLampColorTemp(m_workingCopy->lampColorTemp());
    m_light->setLightColor(m_workingCopy->lightColor());
    EndDialog(IDOK);
}

void LightLampColorDlg::OnCancel()
{
    m_closing = true;
    EndDialog(IDCANCEL);
}

void LightLampColorDlg::standardColorsClicked()
{
    m_workingCopy->setLampColorType(OdDbLight::kPreset);
    m_temperatureEdit.EnableWindow(false);
    m_temperatureSpin.EnableWindow(false);
    m_presetCombo.EnableWindow(true);
    refresh();
}

void LightLampColorDlg::kelvinColorsClicked()
{
    m_workingCopy->setLampColorType(OdDbLight::kKelvin);
    m_presetCombo.EnableWindow(false);
    m_temperatureSpin.EnableWindow(true);
    m_temperatureEdit.EnableWindow(true);
    m_temperatureEdit.SetWindowText(temperatureText(m_workingCopy->lampColorTemp()));
    refresh();
}

void LightLampColorDlg::presetChanged()
{
    const int index = m_presetCombo.GetCurSel();
    if (index >= 0)
        m_workingCopy->setLampColorPreset(static_cast<OdDbLight::LampColorPreset>(m_presetCombo.GetItemData(index)));
    refresh();
}

// While typing, only a value within the range counts; the field is judged when it is left.
void LightLampColorDlg::temperatureTextChanged()
{
    const double kelvin = leadingNumber(m_temperatureEdit.GetWindowText());
    if (!inTemperatureRange(kelvin))
        return;
    m_workingCopy->setLampColorTemp(kelvin);
    refresh();
}

// A disabled field (a preset is chosen) holds no temperature in use, so it is not judged:
// the user could not correct it there.
void LightLampColorDlg::temperatureFieldLeft()
{
    if (m_closing || !m_temperatureEdit.IsWindowEnabled())
        return;
    const std::optional<double> kelvin = validTemperatureText();
    if (!kelvin) {
        refuseTemperature();
        return;
    }
    m_workingCopy->setLampColorTemp(*kelvin);
}

// Each arrow click is one step of 10 kelvin, ending at the limit rather than beyond it.
void LightLampColorDlg::temperatureStepped(const vantrel::UpDownEvent& e)
{
    const double kelvin = m_workingCopy->lampColorTemp();
    if (e.delta > 0) {
        if (kelvin < kMaxKelvin - kRangeTolerance)
            showTemperature(std::min(kelvin + kTemperatureStep, kMaxKelvin));
        else
            hostMessageBox(vantrel::loadResource(kTemperatureRangeMessage));
    } else {
        if (kelvin > kMinKelvin + kRangeTolerance)
            showTemperature(std::max(kelvin - kTemperatureStep, kMinKelvin));
        else
            hostMessageBox(vantrel::loadResource(kTemperatureRangeMessage));
    }
}

void LightLampColorDlg::filterColorChanged()
{
    m_workingCopy->setLightColor(m_filterCombo.selectedLightColor());
    refresh();
}

void LightLampColorDlg::showTemperature(double kelvin) { m_temperatureEdit.SetWindowText(temperatureText(kelvin)); }

std::optional<double> LightLampColorDlg::validTemperatureText() const
{
    const std::wstring text = m_temperatureEdit.GetWindowText();
    if (!isNumericText(text.c_str()))
        return std::nullopt;
    const double kelvin = leadingNumber(text);
    if (!inTemperatureRange(kelvin))
        return std::nullopt;
    return kelvin;
}

void LightLampColorDlg::refuseTemperature()
{
    hostMessageBox(vantrel::loadResource(kTemperatureRangeMessage));
    m_temperatureEdit.SetFocus();
}

void LightLampColorDlg::refresh()
{
    const vantrel::LampRgb lamp = m_workingCopy->lampColorRGB();
    m_lampSwatch.SetColor(rgbColor(lampChannel(lamp.red), lampChannel(lamp.green), lampChannel(lamp.blue)));
    const OdCmColor result = m_workingCopy->resultingColor();
    m_resultSwatch.SetColor(rgbColor(result.red(), result.green(), result.blue()));
    for (LtUiColorPreview* swatch : {&m_lampSwatch, &m_resultSwatch}) {
        swatch->Invalidate();
        swatch->UpdateWindow();
    }
    CXStringW text;
    text.Format(L"%d,%d,%d", int(result.red()), int(result.green()), int(result.blue()));
    m_resultText.SetWindowText(text.str());
}

OdResult showLightLampColorDialog(OdDbLight* light)
{
    if (!light)
        return eNullObjectPointer;
    // The dialog finds its template (and the module its texts) in this module while it runs.
    struct ResourceModuleSwitch {
        vantrel::ModuleHandle before = vantrel::setDialogResourceModule(vantrel::moduleInstance());
        ~ResourceModuleSwitch() { vantrel::setDialogResourceModule(before); }
    } resources;
    LightLampColorDlg dialog(light);
    return dialog.DoModal() == IDOK ? eOk : eCancelled;
}
