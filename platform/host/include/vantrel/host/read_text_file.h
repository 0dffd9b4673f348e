// Reading a whole file a front end was given (a script), with one line saying why it could not be
// read.
#pragma once

#include <string>

#include <vantrel/host/HostExport.h>

namespace vantrel {

// Puts the file's bytes into text and answers true; else answers false with error set to
// "PATH: cannot read: REASON" (a folder is refused as such).
VANTREL_HOST_EXPORT bool readTextFile(const std::string& path, std::string& text, std::string& error);

} // namespace vantrel
