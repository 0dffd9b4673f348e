// The files a run writes: each output is checked before any work is done, and a drawing that
// cannot reach its file goes to a recovery copy (NAME.recover.dxf beside it or in the working
// folder) rather than being lost.
#pragma once

#include <string>

#include <vantrel/db/OdDbDatabase.h>

// Why nothing could be written to path, as one line naming it; empty when it can be: a regular
// file or a new one (a link followed) in a folder that exists and takes new files, a device, a
// pipe, or "-" for standard output. A folder and anything else is refused.
std::string unusableOutput(const std::string& path);

// Whether two names lead to the same file (the same path once resolved, existing or not).
bool sameFile(const std::string& a, const std::string& b);

struct RecoveryCopy {
    std::string path;  // where the copy is, empty when none could be written
    std::string error; // why, when none could be written
};

// Writes the drawing as a recovery copy of the file `name` (UTF-8; empty for a drawing without
// one): NAME.recover.dxf beside it, else in the working folder.
RecoveryCopy writeRecoveryCopy(OdDbDatabase& db, const std::string& name);
