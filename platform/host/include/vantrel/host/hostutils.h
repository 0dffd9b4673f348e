// Viewport and UCS queries of a drawing as commands need them: where new entities go, and the
// user coordinate system of the document that shows the drawing.
#pragma once

#include <vantrel/db/OdDbDatabase.h>
#include <vantrel/ge/OdGeMatrix3d.h>
#include <vantrel/ge/OdGeVector3d.h>
#include <vantrel/host/hostcolor.h>
#include <vantrel/host/HostExport.h>

// The active viewport: in paper space the viewport entity (number 1 is the sheet itself).
VANTREL_HOST_EXPORT OdDbObjectId getActiveViewportId(OdDbDatabase* db);
// The block that commands work in: the current space, except that with paper space current and
// a floating viewport active (number above 1) the user works in model space through it.
// Raises OdError(eNullObjectPointer) for a null database.
VANTREL_HOST_EXPORT OdDbObjectId getActiveBTRId(OdDbDatabase* db);
// The UCS (UCS to world) of the running application's document that shows db; the world
// system when no document does.
VANTREL_HOST_EXPORT OdGeMatrix3d getCurrentUCS(OdDbDatabase* db);
VANTREL_HOST_EXPORT OdGeVector3d get_UCSXDIR(OdDbDatabase* db);
VANTREL_HOST_EXPORT OdGeVector3d get_UCSZDIR(OdDbDatabase* db);
// The direction from the view towards the viewer in the current view of db's document. Every
// view of this host is a plan view of the world, so it is the world Z axis.
VANTREL_HOST_EXPORT OdGeVector3d getViewDirection(OdDbDatabase* db);
