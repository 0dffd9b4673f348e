#include "background_prefault.h"

#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <system_error>

namespace vantrel {

namespace {

// A piece small enough for the destructor not to wait long, large enough for a call to pay.
constexpr std::size_t kPiece = std::size_t(2) << 20;

std::uintptr_t address(const char* p) { return reinterpret_cast<std::uintptr_t>(p); }

// Populates one piece. A kernel without MADV_POPULATE_* (before 5.14) refuses: a file's pages are
// then mapped by reading a byte of each (the kernel maps their neighbours with it); private memory
// is left to be faulted in by its first write, as it would be anyway.
void populate(const char* from, const char* to, BackgroundPrefault::Access access, std::size_t pageSize)
{
    const bool reads = access == BackgroundPrefault::Access::Read;
    char* const start = const_cast<char*>(from) - (address(from) & (pageSize - 1));
    if (::madvise(start, address(to) - address(start), reads ? MADV_POPULATE_READ : MADV_POPULATE_WRITE) == 0
        || errno != EINVAL || !reads)
        return;
    for (const volatile char* p = start; p < to; p += pageSize)
        (void)*p;
}

} // namespace

BackgroundPrefault::BackgroundPrefault()
{
    try {
        m_thread = std::thread([this] { run(); });
    } catch (const std::system_error&) {
        // No thread to be had (a process at its limit): add() does the work itself.
    }
}

BackgroundPrefault::~BackgroundPrefault()
{
    if (!m_thread.joinable())
        return;
    {
        std::lock_guard lock(m_mutex);
        m_stop = true;
    }
    m_wake.notify_one();
    m_thread.join();
}

void BackgroundPrefault::add(const char* from, const char* to, Access access)
{
    if (from >= to)
        return;
    if (!m_thread.joinable()) {
        populate(from, to, access, static_cast<std::size_t>(::sysconf(_SC_PAGESIZE)));
        return;
    }
    {
        std::lock_guard lock(m_mutex);
        m_ranges.push_back({from, to, access});
    }
    m_wake.notify_one();
}

void BackgroundPrefault::run()
{
    const auto pageSize = static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_wake.wait(lock, [this] { return m_stop || !m_ranges.empty(); });
        if (m_stop)
            return;
        Range& range = m_ranges.front();
        const char* const from = range.from;
        const char* const to = from + std::min(kPiece, static_cast<std::size_t>(range.to - from));
        const Access access = range.access;
        range.from = to;
        if (range.from == range.to)
            m_ranges.pop_front();
        lock.unlock();
        populate(from, to, access, pageSize);
        lock.lock();
    }
}

} // namespace vantrel
