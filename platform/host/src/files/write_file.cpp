// Output files other than drawings: written like a drawing, without keeping a backup.
#include <vantrel/host/write_file.h>

#include <vantrel/db/OdError.h>
#include <vantrel/db/OutputFile.h>

namespace vantrel {

std::string writeFileAtomically(const std::string& path, std::string_view data)
{
    try {
        OutputFile::save(path, data, OutputFile::Backup::None);
        return {};
    } catch (const OdError& e) {
        return e.what();
    }
}

} // namespace vantrel
