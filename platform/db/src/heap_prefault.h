// Reading a large drawing puts tens of megabytes on the heap in small pieces. Faulted in as each
// piece is first written, that memory costs a trap into the kernel per 4 KiB page. While a
// HeapPrefault lives, the heap grows in steps of a quarter of the expected size (at most 16 MiB),
// and each step is faulted in as soon as it is taken, on the other core, which spares the traps
// (5-10 % of loading 100k to 1M entities) and the time the kernel takes over them. Where the heap
// is not glibc's program break (another allocator, a heap that grew by mapping) it does nothing.
//
// Transparent huge pages for the same steps were faster only on memory the machine had just
// freed: on a virtual machine that hands free memory back to its host, fresh 2 MiB pages cost
// far more than the small ones (loading 1M entities took 2.5 s instead of 1.5 s).
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "background_prefault.h"

namespace vantrel {

class HeapPrefault {
public:
    // expectedBytes: about how much the work will put on the heap; below a few megabytes nothing
    // is changed. At most a quarter of it is resident before it is used.
    explicit HeapPrefault(std::size_t expectedBytes);
    ~HeapPrefault();
    HeapPrefault(const HeapPrefault&) = delete;
    HeapPrefault& operator=(const HeapPrefault&) = delete;

    // Has what the heap grew by since the last call faulted in; as cheap as a comparison when it did
    // not grow, so it can run once per record.
    void follow()
    {
        if (m_background)
            followGrowth();
    }

private:
    void followGrowth();

    char* m_done = nullptr;                           // the end of the heap handed to m_background so far
    std::unique_ptr<BackgroundPrefault> m_background; // while active
};

} // namespace vantrel
