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
    return writeFileAtomically(path, [&write](TextOutput& out, OutputFile&) { write(out); });
}

std::string writeFileAtomically(const std::string& path, const std::function<void(TextOutput&, OutputFile&)>& write)
{
    try {
        OutputFile file(path, OutputFile::Backup::None);
        TextOutput out = textOutputFor(file);
        write(out, file);
        out.flush();
        file.commit();
        return {};
    } catch (const OdError& e) {
        return e.what();
    }
}

TextOutput textOutputFor(OutputFile& file)
{
    return TextOutput(
        [&file](std::string_view text, std::span<const DeferredNumber> numbers) { file.write(text, numbers); });
}

} // namespace vantrel
