// Fit, Spline ("Spline curve" for 3D polylines) and Decurve of PEdit, on one polyline each time.
// Fitting a lightweight polyline makes it a 2D polyline and decurving a 2D polyline makes it a
// lightweight one, under the same id.
#include "frame/AlpCmdUtils.h"
#include "pedit/CPeditCmd.h"
#include "pedit/polyline_edits.h"
#include "pedit/sysvars.h"

namespace {

void touch(OdDbObjectId id) { AlpCmdUtils::touchEntity(OdDbEntityPtr(id.safeOpenObject())); }

} // namespace

void CPeditCmd::OnKeyFit(OdDbObjectId id)
{
    if (vantrel::pedit::fitCurve(*m_database, id))
        touch(id);
}

void CPeditCmd::OnKeySpline(OdDbObjectId id)
{
    const vantrel::pedit::SplineSettings settings = vantrel::pedit::splineSettings(m_database.get());
    if (vantrel::pedit::fitSpline(*m_database, id, settings.quadratic, settings.segments))
        touch(id);
}

void CPeditCmd::OnKeyDecurve(OdDbObjectId id)
{
    if (vantrel::pedit::decurve(*m_database, id))
        touch(id);
}
