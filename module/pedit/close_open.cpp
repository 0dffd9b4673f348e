// Close and Open of PEdit: the polyline closed or opened as its kind does it; a fitted or
// splined polyline is fitted again with the drawing's SPLINESEGS.
#include "frame/AlpCmdUtils.h"
#include "pedit/CPeditCmd.h"
#include "pedit/polyline_edits.h"
#include "pedit/sysvars.h"

void CPeditCmd::OnKeyOpenClose(OdDbObjectId id, bool open)
{
    const OdDbEntityPtr entity = id.safeOpenObject(OdDb::kForWrite);
    const std::int16_t segments = vantrel::pedit::splineSettings(m_database.get()).segments;
    if (auto lw = OdDbPolyline::cast(entity.get()))
        vantrel::pedit::closeOrOpen(*lw, open);
    else if (auto pl = OdDb2dPolyline::cast(entity.get()))
        vantrel::pedit::closeOrOpen(*pl, open, segments);
    else if (auto pl3 = OdDb3dPolyline::cast(entity.get()))
        vantrel::pedit::closeOrOpen(*pl3, open, segments);
    AlpCmdUtils::touchEntity(entity);
}
