// Output checks made with the file system's own answers (stat, access), and recovery copies
// written with the same atomic save as every drawing.
#include "Outputs.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <vector>

#include <vantrel/db/OutputFile.h>
#include <vantrel/host/save_drawing.h>

namespace fs = std::filesystem;

namespace {

constexpr const char* kUnnamed = "drawing";

std::string folderOf(const fs::path& file)
{
    fs::path folder = file.parent_path();
    return folder.empty() ? std::string(".") : folder.string();
}

} // namespace

std::string unusableOutput(const std::string& path)
{
    const vantrel::OutputTarget target = vantrel::resolveOutputTarget(path);
    switch (target.kind) {
    case vantrel::OutputTarget::Kind::Refused:
        return path.empty() ? target.refusal : path + ": cannot be written: " + target.refusal;
    case vantrel::OutputTarget::Kind::Direct: return {};
    case vantrel::OutputTarget::Kind::Replace: break;
    }
    // A new file, or a file replaced by renaming a new one over it: both need the folder.
    const std::string folder = folderOf(target.path);
    struct stat st {};
    if (::stat(folder.c_str(), &st) != 0 || !S_ISDIR(st.st_mode))
        return path + ": cannot be written: the folder " + folder + " does not exist";
    if (::access(folder.c_str(), W_OK | X_OK) != 0)
        return path + ": cannot be written: the folder " + folder + " takes no new files (" + std::strerror(errno)
            + ")";
    return {};
}

bool sameFile(const std::string& a, const std::string& b)
{
    std::error_code ea, eb;
    fs::path pa = fs::weakly_canonical(fs::absolute(a, ea), ea);
    fs::path pb = fs::weakly_canonical(fs::absolute(b, eb), eb);
    return !ea && !eb && pa == pb;
}

RecoveryCopy writeRecoveryCopy(OdDbDatabase& db, const std::string& name)
{
    fs::path file = name.empty() ? fs::path(kUnnamed) : fs::path(name).filename();
    std::string ext = file.extension().string();
    for (char& c : ext)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (ext == ".dxf")
        file.replace_extension();
    file += ".recover.dxf";

    std::vector<fs::path> places;
    if (!name.empty() && fs::path(name).has_parent_path())
        places.push_back(fs::path(name).parent_path() / file);
    places.push_back(file);

    RecoveryCopy copy;
    for (const fs::path& place : places) {
        std::string error = vantrel::writeDrawing(db, place.string());
        if (error.empty()) {
            std::error_code ec;
            copy.path = fs::absolute(place, ec).string();
            copy.error.clear();
            return copy;
        }
        copy.error += (copy.error.empty() ? "" : "; ") + error;
    }
    return copy;
}
