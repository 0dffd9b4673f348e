// Writing an output file so that nothing is clobbered: a regular file is replaced atomically (the
// content goes to a temporary file beside it and replaces it only once complete on disk), a
// symbolic link is followed to the file it names, a device or a pipe (and "-", standard output)
// is written directly and never replaced, and anything else is refused.
#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include <vantrel/db/DeferredNumbers.h>
#include <vantrel/db/OdDbExport.h>

namespace vantrel {

struct VANTREL_DB_EXPORT OutputTarget {
    enum class Kind {
        Replace, // a regular file, or a new one
        Direct,  // a device, a pipe, or standard output
        Refused,
    };
    Kind kind = Kind::Refused;
    std::filesystem::path path; // with links followed; "-" for standard output
    std::string refusal;        // why, when refused
};

// Where writing to `requested` goes. Asks the file system only; creates nothing.
VANTREL_DB_EXPORT OutputTarget resolveOutputTarget(const std::filesystem::path& requested);

class VANTREL_DB_EXPORT OutputFile {
public:
    enum class Backup { None, Keep };

    // Opens the target: a temporary file beside a file to be replaced, the device or pipe itself,
    // or standard output. Raises OdError(eFileError) naming the path and the reason.
    explicit OutputFile(const std::filesystem::path& path, Backup backup = Backup::Keep);
    // Without commit() the temporary file is removed and the target is left as it was (what went
    // to a device or a pipe has gone).
    ~OutputFile();
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    // Large outputs are handed to a thread of their own in blocks, so that producing the text
    // goes on while the system takes it (and is held back only when several blocks wait); a
    // failure to write is raised by a later write or by commit.
    void write(std::string_view data);
    // Text with numbers to be printed in it: the printing is left to the thread that writes.
    // Takes the piece as a NumberSink does: a large one is handed on as it is, a small one added
    // to the text waiting here. Answers whether that thread is behind (blocks wait for it), so
    // that the caller would do better to print the numbers that follow itself.
    bool write(NumberedText& piece);
    // Waits until everything written so far is in the file, then writes text over its start: for
    // a format whose first lines depend on all that follows, written after room left for them.
    // A file being replaced only (a device or a pipe cannot go back): raises OdError(eFileError)
    // for any other.
    void overwriteStart(std::string_view text);
    // A file being replaced: syncs the temporary file, keeps the previous file (if any and if
    // asked) as PATH.bak, renames the temporary file into place, and removes the temporaries that
    // saves of this target by processes now gone left behind. Otherwise it closes the target.
    void commit();

    const std::filesystem::path& path() const { return m_target.path; }

    // The whole save in one call.
    static void save(const std::filesystem::path& path, std::string_view data, Backup backup = Backup::Keep);

private:
    class Background;

    void openTemporary();
    void openDirect();
    // Raises OdError(eFileError) once the file is committed.
    void requireOpen() const;
    // The text waiting to make a block.
    NumberedText& pending();
    // Hands a block to the writing thread (starting it), leaving empty storage of its room.
    void handOn(NumberedText& block);
    // Writes what is pending and waits for the blocks handed on; raises the first failure.
    void finishWriting();

    OutputTarget m_target;
    Backup m_backup;
    std::filesystem::path m_tempPath;
    int m_fd = -1;
    bool m_ownsFd = true;
    bool m_targetExists = false;
    unsigned m_targetMode = 0;
    bool m_committed = false;
    NumberedText m_pending; // written to the file once it makes a block
    std::unique_ptr<Background> m_background;
};

} // namespace vantrel
