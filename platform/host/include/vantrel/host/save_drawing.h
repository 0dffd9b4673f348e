// Saving a document's drawing as DXF: the header's extents are brought up to date, then the file
// is written atomically (the previous one kept as NAME.bak).
#pragma once

#include <string>

#include <vantrel/db/OdDbDatabase.h>
#include <vantrel/host/HostExport.h>

class HostDocument;

namespace vantrel {

// Writes the drawing to path (UTF-8) without it becoming anyone's file, as a recovery copy is.
// Answers an empty string, or one line naming the file and the reason.
VANTREL_HOST_EXPORT std::string writeDrawing(OdDbDatabase& db, const std::string& path);
// Saves the document to path; on success path is its name from now on and it counts as
// unmodified. Errors as writeDrawing.
VANTREL_HOST_EXPORT std::string saveDocument(HostDocument& doc, const std::wstring& path);

} // namespace vantrel
