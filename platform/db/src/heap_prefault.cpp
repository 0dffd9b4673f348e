#include "heap_prefault.h"

#include <malloc.h>
#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>

namespace vantrel {

namespace {

constexpr std::size_t kSmallest = std::size_t(8) << 20;
constexpr std::size_t kLargestStep = std::size_t(16) << 20;
// glibc's own padding, which it goes back to.
constexpr int kDefaultTopPad = 128 * 1024;

char* programBreak() { return static_cast<char*>(::sbrk(0)); }

std::uintptr_t address(const char* p) { return reinterpret_cast<std::uintptr_t>(p); }

} // namespace

HeapPrefault::HeapPrefault(std::size_t expectedBytes)
{
#if defined(__GLIBC__) && !defined(__SANITIZE_ADDRESS__)
    if (expectedBytes < kSmallest)
        return;
    char* const brk = programBreak();
    if (address(brk) == static_cast<std::uintptr_t>(-1)) // sbrk's failure
        return;
    const auto step = static_cast<int>(std::min(kLargestStep, expectedBytes / 4));
    if (::mallopt(M_TOP_PAD, step) != 1)
        return;
    m_done = brk;
    m_active = true;
#else
    (void)expectedBytes;
#endif
}

HeapPrefault::~HeapPrefault()
{
#if defined(__GLIBC__)
    if (m_active)
        (void)::mallopt(M_TOP_PAD, kDefaultTopPad); // a refusal only leaves the heap growing in larger steps
#endif
}

void HeapPrefault::followGrowth()
{
    char* const brk = programBreak();
    if (address(brk) <= address(m_done))
        return;
    const auto pageSize = static_cast<std::uintptr_t>(::sysconf(_SC_PAGESIZE));
    char* const from = m_done - (address(m_done) & (pageSize - 1));
    // A kernel without MADV_POPULATE_WRITE (before 5.14) refuses; the pages are then faulted in
    // one by one as before.
    (void)::madvise(from, address(brk) - address(from), MADV_POPULATE_WRITE);
    m_done = brk;
}

} // namespace vantrel
