// Writing an output file so that a failure never leaves a half-written file behind.
#pragma once

#include <string>
#include <string_view>

namespace vantrel {

// Writes data as OutputFile does (a regular file replaced atomically, a link followed, a device,
// a pipe or "-" written directly), keeping no backup. Answers an empty string on success, else
// one line naming the file and the reason.
std::string writeFileAtomically(const std::string& path, std::string_view data);

} // namespace vantrel
