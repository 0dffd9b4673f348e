// A file written so that a failure never damages what was there: the content goes to a
// temporary file beside the target and replaces the target only once it is complete on disk.
#pragma once

#include <filesystem>
#include <string_view>

namespace vantrel {

class AtomicFile {
public:
    // Creates the temporary file beside path (a symbolic link is followed: its target is what
    // gets replaced). Raises OdError(eFileError) naming the path and the system's reason.
    explicit AtomicFile(const std::filesystem::path& path);
    // Without commit() the temporary file is removed and the target is left as it was.
    ~AtomicFile();
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    void write(std::string_view data);
    // Syncs the temporary file, keeps the previous file (if any) as PATH.bak and renames the
    // temporary file into place.
    void commit();

    const std::filesystem::path& path() const { return m_path; }

    // The whole save in one call.
    static void save(const std::filesystem::path& path, std::string_view data);

private:
    std::filesystem::path m_path;
    std::filesystem::path m_tempPath;
    int m_fd = -1;
    bool m_targetExists = false;
    unsigned m_targetMode = 0;
    bool m_committed = false;
};

} // namespace vantrel
