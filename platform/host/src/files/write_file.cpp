// Output files other than drawings: written like a drawing, without keeping a backup.
#include <vantrel/host/write_file.h>

#include <vantrel/db/OdError.h>
#include <vantrel/db/OutputFile.h>

namespace vantrel {

std::string writeFileAtomically(const std::string& path, std::string_view data)
{
    return writeFileAtomically(path, [data](TextOutput& out) { out.append(data); });
}

std::string writeFileAtomically(const std::string& path, const std::function<void(TextOutput&)>& write)
{
    try {
        OutputFile file(path, OutputFile::Backup::None);
        TextOutput out([&file](NumberedText& piece) { return file.write(piece); });
        write(out);
        out.flush();
        file.commit();
        return {};
    } catch (const OdError& e) {
        return e.what();
    }
}

} // namespace vantrel
