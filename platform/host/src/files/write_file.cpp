// Atomic output files: a temporary file beside the target, synced, then renamed over it, so a
// reader never sees a half-written file and a failed write leaves the old one untouched.
#include <vantrel/host/write_file.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <string>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vantrel {

namespace {
std::string failure(const std::string& path, int err)
{
    return "cannot write " + path + ": " + std::strerror(err);
}
}

std::string writeFileAtomically(const std::string& path, std::string_view data)
{
    if (path.empty())
        return "cannot write a file with an empty name";
    std::string temp = path + ".tmpXXXXXX";
    int fd = ::mkstemp(temp.data());
    if (fd < 0)
        return failure(path, errno);
    // Keep the permissions of the file being replaced; a new file gets the usual rw-r--r--.
    struct stat st {};
    mode_t mode = ::stat(path.c_str(), &st) == 0 ? (st.st_mode & 07777) : 0644;
    int err = ::fchmod(fd, mode) == 0 ? 0 : errno;
    for (std::size_t done = 0; err == 0 && done < data.size();) {
        ssize_t n = ::write(fd, data.data() + done, data.size() - done);
        if (n < 0) {
            if (errno != EINTR)
                err = errno;
            continue;
        }
        done += static_cast<std::size_t>(n);
    }
    if (err == 0 && ::fsync(fd) != 0)
        err = errno;
    if (::close(fd) != 0 && err == 0)
        err = errno;
    if (err == 0 && ::rename(temp.c_str(), path.c_str()) != 0)
        err = errno;
    if (err != 0) {
        ::unlink(temp.c_str());
        return failure(path, err);
    }
    return {};
}

}
