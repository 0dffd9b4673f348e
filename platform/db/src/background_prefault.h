// Faulting memory in on the other core: the pages of the ranges handed to a BackgroundPrefault
// are mapped by a thread of its own while the caller goes on with its work, which then finds
// them in place instead of trapping into the kernel for each one. Populating changes no byte
// the caller sees, so whether the thread gets there first or not, the work's result is the same.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <mutex>
#include <thread>

#include <vantrel/db/OdDbExport.h>

namespace vantrel {

class VANTREL_DB_FOR_TESTS BackgroundPrefault {
public:
    // Read maps a file's cached pages; Write gives private memory its pages (the heap's growth).
    enum class Access { Read, Write };
    // Less work than this is not worth a thread: starting one costs about what it would save.
    static constexpr std::size_t kWorthAThread = std::size_t(8) << 20;

    BackgroundPrefault();
    // Drops what is still to do and waits for the piece under way. The ranges must stay mapped
    // until then.
    ~BackgroundPrefault();
    BackgroundPrefault(const BackgroundPrefault&) = delete;
    BackgroundPrefault& operator=(const BackgroundPrefault&) = delete;

    // Queues [from, to), which must stay mapped while this lives (or, when no thread could be
    // started, populates it before answering). Nothing is ever written.
    void add(const char* from, const char* to, Access access);

private:
    struct Range {
        const char* from;
        const char* to;
        Access access;
    };
    void run();

    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::deque<Range> m_ranges;
    bool m_stop = false;
    std::thread m_thread; // started once the members it uses are made
};

} // namespace vantrel
