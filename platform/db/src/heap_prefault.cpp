#include "heap_prefault.h"

#include <malloc.h>
#include <unistd.h>

#include <algorithm>

namespace vantrel {

namespace {

constexpr std::size_t kLargestStep = std::size_t(16) << 20;
// glibc's own padding, which it goes back to.
constexpr int kDefaultTopPad = 128 * 1024;

char* programBreak() { return static_cast<char*>(::sbrk(0)); }

std::uintptr_t address(const char* p) { return reinterpret_cast<std::uintptr_t>(p); }

} // namespace

HeapPrefault::HeapPrefault(std::size_t expectedBytes)
{
#if defined(__GLIBC__) && !defined(__SANITIZE_ADDRESS__)
    if (expectedBytes < BackgroundPrefault::kWorthAThread)
        return;
    char* const brk = programBreak();
    if (address(brk) == static_cast<std::uintptr_t>(-1)) // sbrk's failure
        return;
    const auto step = static_cast<int>(std::min(kLargestStep, expectedBytes / 4));
    if (::mallopt(M_TOP_PAD, step) != 1)
        return;
    m_done = brk;
    m_background = std::make_unique<BackgroundPrefault>();
#else
    (void)expectedBytes;
#endif
}

HeapPrefault::~HeapPrefault()
{
#if defined(__GLIBC__)
    if (m_background)
        (void)::mallopt(M_TOP_PAD, kDefaultTopPad); // a refusal only leaves the heap growing in larger steps
#endif
}

void HeapPrefault::followGrowth()
{
    char* const brk = programBreak();
    if (address(brk) <= address(m_done))
        return;
    m_background->add(m_done, brk, BackgroundPrefault::Access::Write);
    m_done = brk;
}

} // namespace vantrel
