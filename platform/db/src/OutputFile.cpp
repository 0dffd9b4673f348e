// Output files with POSIX calls: an O_EXCL temporary, fsync, a hard-linked backup, rename, fsync
// of the folder; devices, pipes and standard output opened and written as they are.
#include <vantrel/db/OutputFile.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <pthread.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <charconv>
#include <condition_variable>
#include <cstring>
#include <deque>
#include <exception>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include <vantrel/db/OdError.h>

namespace vantrel {

namespace {

[[noreturn]] void fail(const std::filesystem::path& path, const char* what, int err)
{
    throw OdError(eFileError, std::string("cannot ") + what + " " + path.string() + ": " + std::strerror(err));
}

// Writes data at the file's position, or from offset at when one is given.
void writeAll(int fd, std::string_view data, const std::filesystem::path& path, std::optional<off_t> at = {})
{
    while (!data.empty()) {
        const ssize_t n = at ? ::pwrite(fd, data.data(), data.size(), *at) : ::write(fd, data.data(), data.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            fail(path, "write", errno);
        data.remove_prefix(static_cast<std::size_t>(n));
        if (at)
            *at += n;
    }
}

// Blocks of this size go to the background writer; at most kQueuedBlocks wait for it.
// (A few blocks in flight keep the two sides busy; more would only hold memory.)
constexpr std::size_t kBlockBytes = std::size_t(1) << 19;
constexpr std::size_t kQueuedBlocks = 3;
// A piece with numbers that would take less than this is added to the text waiting to make a
// block; a larger one is a block of its own.
constexpr std::size_t kOwnBlock = kBlockBytes / 4;

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

// A temporary file of a save of target by a process that is gone: TARGET.tmpPID-N.
bool staleTemporary(const std::string& name, const std::string& prefix)
{
    if (name.compare(0, prefix.size(), prefix) != 0)
        return false;
    const char* first = name.data() + prefix.size();
    const char* last = name.data() + name.size();
    long pid = 0;
    unsigned long counter = 0;
    auto [dash, pidError] = std::from_chars(first, last, pid);
    if (pidError != std::errc() || dash == first || dash == last || *dash != '-' || pid <= 0)
        return false;
    auto [end, counterError] = std::from_chars(dash + 1, last, counter);
    if (counterError != std::errc() || end == dash + 1 || end != last)
        return false;
    return pid != ::getpid() && ::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH;
}

// Removes what earlier saves of path that were killed left beside it. A file that cannot be
// removed stays; the save itself has succeeded.
void removeStaleTemporaries(const std::filesystem::path& path)
{
    const std::string prefix = path.filename().string() + ".tmp";
    std::filesystem::path folder = path.parent_path();
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(folder.empty() ? "." : folder, ec)) {
        if (staleTemporary(entry.path().filename().string(), prefix))
            (void)::unlink(entry.path().c_str()); // best effort: see above
    }
}

} // namespace

OutputTarget resolveOutputTarget(const std::filesystem::path& requested)
{
    OutputTarget target;
    target.path = requested;
    if (requested.empty()) {
        target.refusal = "an output needs a file name";
        return target;
    }
    if (requested == "-") {
        target.kind = OutputTarget::Kind::Direct;
        return target;
    }
    // Links are followed one by one, so that one naming a file yet to be made leads to it.
    std::error_code ec;
    for (int hops = 0; std::filesystem::is_symlink(std::filesystem::symlink_status(target.path, ec)); ++hops) {
        std::filesystem::path next = std::filesystem::read_symlink(target.path, ec);
        if (ec || hops == 40) {
            target.refusal = "the link cannot be followed: " + (ec ? ec.message() : std::strerror(ELOOP));
            return target;
        }
        target.path = next.is_absolute() ? next : target.path.parent_path() / next;
    }
    struct stat st {};
    if (::stat(target.path.c_str(), &st) != 0) {
        if (errno == ENOENT)
            target.kind = OutputTarget::Kind::Replace;
        else
            target.refusal = std::strerror(errno);
        return target;
    }
    if (S_ISREG(st.st_mode))
        target.kind = OutputTarget::Kind::Replace;
    else if (S_ISCHR(st.st_mode) || S_ISBLK(st.st_mode) || S_ISFIFO(st.st_mode))
        target.kind = OutputTarget::Kind::Direct;
    else if (S_ISDIR(st.st_mode))
        target.refusal = "it is a folder";
    else
        target.refusal = "it is neither a file nor a device nor a pipe";
    return target;
}

// The text of a block with its numbers printed, in a buffer reused from block to block.
class PrintedBlock {
public:
    std::string_view text(std::string_view text, std::span<const DeferredNumber> numbers)
    {
        if (numbers.empty())
            return text;
        const std::size_t room = roomWithNumbers(text, numbers);
        if (room > m_capacity) {
            m_buffer = std::make_unique_for_overwrite<char[]>(room);
            m_capacity = room;
        }
        const char* end = writeWithNumbers(m_buffer.get(), text, numbers);
        return {m_buffer.get(), static_cast<std::size_t>(end - m_buffer.get())};
    }

private:
    std::unique_ptr<char[]> m_buffer;
    std::size_t m_capacity = 0;
};

// One thread that writes the blocks it is given, in order, to one file descriptor, printing their
// numbers first (work it so takes off the thread producing the text). The first failure stops
// it; push and finish raise it.
class OutputFile::Background {
public:
    Background(int fd, std::filesystem::path name) : m_fd(fd), m_name(std::move(name)), m_thread([this] { run(); }) {}
    Background(const Background&) = delete;
    Background& operator=(const Background&) = delete;
    // Without finish (an output abandoned): stops once the blocks queued are written or failed.
    ~Background() { stop(); }

    // Takes block, leaving in its place empty storage of its room (one the thread is done with,
    // when there is one).
    void push(NumberedText& block)
    {
        std::unique_lock lock(m_mutex);
        m_changed.wait(lock, [this] { return m_queue.size() < kQueuedBlocks || m_error; });
        raiseFailure();
        const auto spare
            = std::find_if(m_spare.begin(), m_spare.end(), [&](const NumberedText& b) { return b.sameRoom(block); });
        NumberedText empty
            = spare != m_spare.end() ? std::move(*spare) : NumberedText(block.textRoom, block.numberRoom);
        if (spare != m_spare.end())
            m_spare.erase(spare);
        m_queue.push_back(std::move(block));
        block = std::move(empty);
        m_changed.notify_all();
    }

    // Whether the blocks waiting fill the queue: the producer would wait at its next block.
    bool behind()
    {
        std::lock_guard lock(m_mutex);
        return m_queue.size() >= kQueuedBlocks;
    }

    // Waits for every block to be written.
    void finish()
    {
        stop();
        raiseFailure();
    }

private:
    void stop()
    {
        {
            std::lock_guard lock(m_mutex);
            m_stopping = true;
        }
        m_changed.notify_all();
        if (m_thread.joinable())
            m_thread.join();
    }

    void raiseFailure()
    {
        if (m_error)
            std::rethrow_exception(std::exchange(m_error, nullptr));
    }

    void run()
    {
        // Signals are for the thread that runs the program.
        sigset_t all;
        sigfillset(&all);
        pthread_sigmask(SIG_BLOCK, &all, nullptr);
        std::unique_lock lock(m_mutex);
        for (;;) {
            m_changed.wait(lock, [this] { return !m_queue.empty() || m_stopping; });
            if (m_queue.empty())
                return;
            NumberedText block = std::move(m_queue.front());
            m_queue.pop_front();
            lock.unlock();
            std::exception_ptr error;
            try {
                writeAll(m_fd, m_printed.text(block.view(), block.deferred()), m_name);
            } catch (...) {
                error = std::current_exception();
            }
            lock.lock();
            block.clear();
            m_spare.push_back(std::move(block));
            if (error) {
                m_error = error;
                m_queue.clear();
            }
            m_changed.notify_all();
        }
    }

    const int m_fd;
    const std::filesystem::path m_name;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<NumberedText> m_queue;
    std::vector<NumberedText> m_spare;
    PrintedBlock m_printed; // the thread's own
    std::exception_ptr m_error;
    bool m_stopping = false;
    std::thread m_thread; // last: it starts once the members it uses are made
};

OutputFile::OutputFile(const std::filesystem::path& requested, Backup backup)
    : m_target(resolveOutputTarget(requested)), m_backup(backup)
{
    switch (m_target.kind) {
    case OutputTarget::Kind::Refused:
        throw OdError(eFileError, "cannot write " + requested.string() + ": " + m_target.refusal);
    case OutputTarget::Kind::Direct: openDirect(); break;
    case OutputTarget::Kind::Replace: openTemporary(); break;
    }
}

void OutputFile::openDirect()
{
    if (m_target.path == "-") {
        m_fd = STDOUT_FILENO;
        m_ownsFd = false;
        return;
    }
    m_fd = ::open(m_target.path.c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY);
    if (m_fd < 0)
        fail(m_target.path, "write", errno);
}

void OutputFile::openTemporary()
{
    const std::filesystem::path& path = m_target.path;
    struct stat st {};
    m_targetExists = ::stat(path.c_str(), &st) == 0;
    m_targetMode = st.st_mode & 07777;

    static std::atomic<unsigned> counter{0};
    for (int attempt = 0; m_fd < 0; ++attempt) {
        m_tempPath = path;
        m_tempPath += ".tmp" + std::to_string(::getpid()) + "-" + std::to_string(counter++);
        m_fd = ::open(m_tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (m_fd < 0 && (errno != EEXIST || attempt > 100)) {
            int err = errno;
            m_tempPath.clear();
            fail(path, "write", err);
        }
    }
    if (m_targetExists && ::fchmod(m_fd, m_targetMode) != 0) {
        int err = errno;
        ::close(m_fd);
        m_fd = -1;
        ::unlink(m_tempPath.c_str());
        fail(path, "set the permissions of", err);
    }
}

OutputFile::~OutputFile()
{
    m_background.reset(); // before the file it writes to is closed
    if (m_fd >= 0 && m_ownsFd)
        ::close(m_fd);
    if (!m_committed && !m_tempPath.empty())
        ::unlink(m_tempPath.c_str());
}

NumberedText& OutputFile::pending()
{
    if (m_pending.textRoom == 0)
        m_pending = NumberedText(kBlockBytes, kOwnBlock / kNumberChars);
    return m_pending;
}

void OutputFile::write(std::string_view data)
{
    requireOpen();
    // Whole blocks go on as they fill, so that even one long piece holds no more than a block.
    for (;;) {
        NumberedText& block = pending();
        const std::size_t take = std::min(data.size(), kBlockBytes - std::min(kBlockBytes, block.weight()));
        if (take > 0)
            std::memcpy(block.text.get() + block.size, data.data(), take);
        block.size += take;
        data.remove_prefix(take);
        if (data.empty() && block.weight() < kBlockBytes)
            return;
        handOn(block);
    }
}

bool OutputFile::write(NumberedText& piece)
{
    requireOpen();
    NumberedText& block = pending();
    if (piece.weight() < kOwnBlock) {
        if (!block.holds(piece))
            handOn(block);
        block.append(piece);
        piece.clear();
        if (block.weight() >= kBlockBytes)
            handOn(block);
    } else {
        if (!block.empty())
            handOn(block);
        handOn(piece);
    }
    return m_background && m_background->behind();
}

void OutputFile::requireOpen() const
{
    if (m_fd < 0)
        throw OdError(eFileError, "cannot write " + m_target.path.string() + ": the file is already closed");
}

void OutputFile::handOn(NumberedText& block)
{
    if (!m_background)
        m_background = std::make_unique<Background>(m_fd, m_target.path);
    m_background->push(block);
}

void OutputFile::finishWriting()
{
    if (m_background) {
        if (!m_pending.empty())
            m_background->push(m_pending);
        m_background->finish();
        m_background.reset();
    } else {
        writeAll(m_fd, PrintedBlock().text(m_pending.view(), m_pending.deferred()), m_target.path);
    }
    m_pending.clear();
}

void OutputFile::overwriteStart(std::string_view text)
{
    requireOpen();
    if (m_target.kind != OutputTarget::Kind::Replace)
        throw OdError(eFileError, "cannot write " + m_target.path.string() + ": its start cannot be written again");
    finishWriting();
    writeAll(m_fd, text, m_target.path, 0);
}

void OutputFile::commit()
{
    requireOpen();
    finishWriting();
    int fd = m_fd;
    m_fd = -1;
    if (m_target.kind == OutputTarget::Kind::Direct) {
        m_committed = true;
        if (m_ownsFd && ::close(fd) != 0)
            fail(m_target.path, "write", errno);
        return;
    }
    const std::filesystem::path& path = m_target.path;
    if (::fsync(fd) != 0) {
        int err = errno;
        ::close(fd);
        fail(path, "flush", err);
    }
    if (::close(fd) != 0)
        fail(path, "write", errno);
    if (m_targetExists && m_backup == Backup::Keep)
        keepBackup(path, m_targetMode);
    if (::rename(m_tempPath.c_str(), path.c_str()) != 0)
        fail(path, "replace", errno);
    m_committed = true;

    std::filesystem::path folder = path.parent_path();
    int dir = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        // The rename is done; a folder that cannot be synced still holds the new file.
        (void)::fsync(dir);
        ::close(dir);
    }
    removeStaleTemporaries(path);
}

void OutputFile::save(const std::filesystem::path& path, std::string_view data, Backup backup)
{
    OutputFile file(path, backup);
    file.write(data);
    file.commit();
}

} // namespace vantrel
