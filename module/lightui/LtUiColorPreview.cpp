// The swatch paints itself whenever its dialog asks it to draw.
#include "lightui/LtUiColorPreview.h"

#include <vantrel/host/DialogDC.h>
#include <vantrel/host/hostUiDialog.h>

void LtUiColorPreview::PreSubclassWindow()
{
    dialog()->onDrawItem(GetDlgCtrlID(), [this](vantrel::DrawItemEvent& e) { e.dc.FillRect(e.rect, m_color); });
}
