// Saving drawings: extents first, so that programs that zoom by the header see the drawing.
#include <vantrel/host/save_drawing.h>

#include <vantrel/db/DxfFile.h>
#include <vantrel/db/drawing_extents.h>
#include <vantrel/host/HostDocument.h>

namespace vantrel {

std::string writeDrawing(OdDbDatabase& db, const std::string& path)
{
    updateDrawingExtents(db);
    return writeDxf(db, path);
}

std::string saveDocument(HostDocument& doc, const std::wstring& path)
{
    std::string error = writeDrawing(*doc.database(), OdString(path).toUtf8());
    if (error.empty())
        doc.noteSaved(path);
    return error;
}

} // namespace vantrel
