// A colour swatch: an owner-drawn static that fills its whole area with one colour. The lamp
// colour dialog shows the lamp colour and the resulting colour with two of them.
#pragma once

#include <vantrel/host/ColorRef.h>
#include <vantrel/host/UiStatic.h>

class LtUiColorPreview : public vantrel::UiStatic {
public:
    vantrel::ColorRef GetColor() const { return m_color; }
    // Takes effect at the next painting (Invalidate, UpdateWindow).
    void SetColor(vantrel::ColorRef color) { m_color = color; }

protected:
    void PreSubclassWindow() override;

private:
    vantrel::ColorRef m_color = vantrel::rgbColor(255, 255, 255);
};
