// Writing an output file so that a failure never leaves a half-written file behind.
#pragma once

#include <string>
#include <string_view>

namespace vantrel {

// Writes data to a temporary file beside path, syncs it and renames it over path. Answers an
// empty string on success, else one line naming the file and the system's reason.
std::string writeFileAtomically(const std::string& path, std::string_view data);

}
