// Rendering a drawing's model space (or any block) to SVG, as a string or as a file.
#pragma once

#include <span>
#include <string>

#include <vantrel/db/OdDbDatabase.h>
#include <vantrel/db/OdDbEntity.h>
#include <vantrel/host/HostExport.h>

namespace vantrel {

// The SVG document of a block's visible entities in draw order; model space when block is null.
// Entities that are invisible or on a frozen or switched-off layer are left out.
VANTREL_HOST_EXPORT std::string renderSvg(OdDbDatabase& db, OdDbObjectId block = OdDbObjectId::kNull);
// The same with entities that are not in the drawing (a document's transient graphics) drawn
// over it, in the order given.
VANTREL_HOST_EXPORT std::string renderSvg(OdDbDatabase& db, OdDbObjectId block,
                                          std::span<const OdDbEntity* const> overlay);

// Renders model space and writes it atomically; answers an empty string on success, else one line
// naming the file and the reason (the file is then left as it was).
VANTREL_HOST_EXPORT std::string writeSvg(OdDbDatabase& db, const std::string& path);
VANTREL_HOST_EXPORT std::string writeSvg(OdDbDatabase& db, const std::string& path,
                                         std::span<const OdDbEntity* const> overlay);

} // namespace vantrel
