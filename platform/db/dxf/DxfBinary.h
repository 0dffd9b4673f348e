// Binary DXF: the same tags as an ASCII file, with numbers in their binary form. The reader turns
// a binary file into the ASCII text it stands for and reads that, so both forms share one reader.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace vantrel {

// Whether data opens with the binary sentinel ("... Binary DXF\r\n\x1a\0").
bool isBinaryDxf(std::string_view data);

// The ASCII text of a binary file: a code line and a value line per tag, numbers written so that
// they read back exactly. tagOffsets receives the byte offset in data of each tag. Raises
// OdError(eBadDxfFile) naming the byte offset when the file ends inside a tag.
std::string binaryDxfToText(std::string_view data, std::vector<std::size_t>& tagOffsets);

} // namespace vantrel
