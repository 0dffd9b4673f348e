// Atomic replacement of a file with POSIX calls: O_EXCL temporary, fsync, hard-linked backup,
// rename, fsync of the folder.
#include "AtomicFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <string>

#include <vantrel/db/OdError.h>

namespace vantrel {

namespace {

[[noreturn]] void fail(const std::filesystem::path& path, const char* what, int err)
{
    throw OdError(eFileError, std::string("cannot ") + what + " " + path.string() + ": " + std::strerror(err));
}

void writeAll(int fd, std::string_view data, const std::filesystem::path& path)
{
    while (!data.empty()) {
        ssize_t n = ::write(fd, data.data(), data.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            fail(path, "write", errno);
        data.remove_prefix(static_cast<std::size_t>(n));
    }
}

struct Fd {
    int fd;
    ~Fd()
    {
        if (fd >= 0)
            ::close(fd);
    }
};

void copyFile(const std::filesystem::path& from, const std::filesystem::path& to, mode_t mode)
{
    Fd in{::open(from.c_str(), O_RDONLY | O_CLOEXEC)};
    if (in.fd < 0)
        fail(from, "read", errno);
    Fd out{::open(to.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, mode)};
    if (out.fd < 0)
        fail(to, "create the backup", errno);
    char buffer[1 << 16];
    for (;;) {
        ssize_t n = ::read(in.fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            fail(from, "read", errno);
        if (n == 0)
            break;
        writeAll(out.fd, {buffer, static_cast<std::size_t>(n)}, to);
    }
}

// Keeps the current content of path as backup: a hard link where the file system allows one,
// a copy otherwise.
void keepBackup(const std::filesystem::path& path, mode_t mode)
{
    std::filesystem::path backup = path;
    backup += ".bak";
    if (::unlink(backup.c_str()) != 0 && errno != ENOENT)
        fail(backup, "replace the backup", errno);
    if (::link(path.c_str(), backup.c_str()) == 0)
        return;
    copyFile(path, backup, mode);
}

} // namespace

AtomicFile::AtomicFile(const std::filesystem::path& requested) : m_path(requested)
{
    std::error_code ec;
    if (std::filesystem::is_symlink(std::filesystem::symlink_status(m_path, ec))) {
        m_path = std::filesystem::weakly_canonical(m_path, ec);
        if (ec)
            fail(requested, "resolve", ec.value());
    }

    struct stat st {};
    m_targetExists = ::stat(m_path.c_str(), &st) == 0;
    if (!m_targetExists && errno != ENOENT)
        fail(m_path, "write", errno);
    if (m_targetExists && !S_ISREG(st.st_mode))
        fail(m_path, "write", S_ISDIR(st.st_mode) ? EISDIR : EINVAL);
    m_targetMode = st.st_mode & 07777;

    static std::atomic<unsigned> counter{0};
    for (int attempt = 0; m_fd < 0; ++attempt) {
        m_tempPath = m_path;
        m_tempPath += ".tmp" + std::to_string(::getpid()) + "-" + std::to_string(counter++);
        m_fd = ::open(m_tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (m_fd < 0 && (errno != EEXIST || attempt > 100)) {
            int err = errno;
            m_tempPath.clear();
            fail(m_path, "write", err);
        }
    }
    if (m_targetExists && ::fchmod(m_fd, m_targetMode) != 0) {
        int err = errno;
        ::close(m_fd);
        ::unlink(m_tempPath.c_str());
        fail(m_tempPath, "set the permissions of", err);
    }
}

AtomicFile::~AtomicFile()
{
    if (m_fd >= 0)
        ::close(m_fd);
    if (!m_committed && !m_tempPath.empty())
        ::unlink(m_tempPath.c_str());
}

void AtomicFile::write(std::string_view data)
{
    if (m_fd < 0)
        throw OdError(eFileError, "cannot write " + m_path.string() + ": the file is already closed");
    writeAll(m_fd, data, m_tempPath);
}

void AtomicFile::commit()
{
    if (m_fd < 0)
        throw OdError(eFileError, "cannot write " + m_path.string() + ": the file is already closed");
    if (::fsync(m_fd) != 0)
        fail(m_tempPath, "flush", errno);
    int fd = m_fd;
    m_fd = -1;
    if (::close(fd) != 0)
        fail(m_tempPath, "write", errno);
    if (m_targetExists)
        keepBackup(m_path, m_targetMode);
    if (::rename(m_tempPath.c_str(), m_path.c_str()) != 0)
        fail(m_path, "replace", errno);
    m_committed = true;

    std::filesystem::path folder = m_path.parent_path();
    int dir = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        // The rename is done; a folder that cannot be synced still holds the new file.
        ::fsync(dir);
        ::close(dir);
    }
}

void AtomicFile::save(const std::filesystem::path& path, std::string_view data)
{
    AtomicFile file(path);
    file.write(data);
    file.commit();
}

} // namespace vantrel
