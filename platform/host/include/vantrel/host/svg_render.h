// Rendering a drawing's model space (or any block) to SVG, as a string or as a file.
#pragma once

#include <string>

#include <vantrel/db/OdDbDatabase.h>

namespace vantrel {

// The SVG document of a block's visible entities in draw order; model space when block is null.
// Entities that are invisible or on a frozen or switched-off layer are left out.
std::string renderSvg(OdDbDatabase& db, OdDbObjectId block = OdDbObjectId::kNull);

// Renders model space and writes it atomically; answers an empty string on success, else one line
// naming the file and the reason (the file is then left as it was).
std::string writeSvg(OdDbDatabase& db, const std::string& path);

}
