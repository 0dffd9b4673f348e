// Writing an output file so that a failure never leaves a half-written file behind.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include <vantrel/host/TextOutput.h>
#include <vantrel/host/HostExport.h>

namespace vantrel {

// Writes data as OutputFile does (a regular file replaced atomically, a link followed, a device,
// a pipe or "-" written directly), keeping no backup. Answers an empty string on success, else
// one line naming the file and the reason.
VANTREL_HOST_EXPORT std::string writeFileAtomically(const std::string& path, std::string_view data);
// The same with the text streamed: write hands it to the output piece by piece, so the whole
// never has to be in memory.
VANTREL_HOST_EXPORT std::string writeFileAtomically(const std::string& path,
                                                    const std::function<void(TextOutput&)>& write);

} // namespace vantrel
