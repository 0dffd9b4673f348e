// Viewport and UCS queries: the active space follows the paper-space viewport rule, and the UCS
// is the one the running application's document keeps for the drawing.
#include <vantrel/host/hostutils.h>

#include <vantrel/db/OdDbViewport.h>
#include <vantrel/db/OdError.h>
#include <vantrel/host/HostApplication.h>
#include <vantrel/host/HostDocument.h>

namespace {

OdDbDatabase& checked(OdDbDatabase* db)
{
    if (!db)
        throw OdError(eNullObjectPointer, "no drawing database");
    return *db;
}

const HostDocument* documentOf(const OdDbDatabase* db)
{
    HostApplication* app = HostApplication::current();
    HostDocument* doc = app ? app->activeDocument() : nullptr;
    return doc && db && doc->database() == db ? doc : nullptr;
}

} // namespace

OdDbObjectId getActiveViewportId(OdDbDatabase* db) { return checked(db).activeViewportId(); }

OdDbObjectId getActiveBTRId(OdDbDatabase* db)
{
    OdDbDatabase& d = checked(db);
    OdDbObjectId space = d.currentSpaceId();
    if (space != d.getPaperSpaceId())
        return space;
    OdDbViewportPtr viewport = OdDbViewport::cast(d.activeViewportId().openObject().get());
    if (viewport && viewport->number() > 1)
        return d.getModelSpaceId();
    return space;
}

OdGeMatrix3d getCurrentUCS(OdDbDatabase* db)
{
    const HostDocument* doc = documentOf(db);
    return doc ? doc->ucs() : OdGeMatrix3d::kIdentity;
}

OdGeVector3d get_UCSXDIR(OdDbDatabase* db)
{
    OdGePoint3d origin;
    OdGeVector3d x, y, z;
    getCurrentUCS(db).getCoordSystem(origin, x, y, z);
    return x.normal();
}

OdGeVector3d get_UCSZDIR(OdDbDatabase* db)
{
    OdGePoint3d origin;
    OdGeVector3d x, y, z;
    getCurrentUCS(db).getCoordSystem(origin, x, y, z);
    return z.normal();
}

OdGeVector3d getViewDirection(OdDbDatabase* db)
{
    checked(db);
    return OdGeVector3d::kZAxis;
}
