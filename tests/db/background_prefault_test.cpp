// Pages faulted in on another thread: what the memory holds stays as it was, work left over is
// dropped when the prefaulter goes, and a large drawing file mapped that way reads as a copy does,
// letting go of the pages it has read.
#include <gtest/gtest.h>

#include <sys/mman.h>
#include <unistd.h>

#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "dxf/DxfTagReader.h"
#include "background_prefault.h"
#include "scratch_files.h"

using namespace vantrel;

namespace {

// Private, writable memory the test maps and unmaps itself.
struct Mapping {
    explicit Mapping(std::size_t bytes)
        : size(bytes), data(static_cast<char*>(::mmap(nullptr, bytes, PROT_READ | PROT_WRITE,
                                                      MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0)))
    {
    }
    ~Mapping() { ::munmap(data, size); }
    std::size_t residentPages() const
    {
        const auto page = static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));
        std::vector<unsigned char> resident((size + page - 1) / page);
        ::mincore(data, size, resident.data());
        std::size_t count = 0;
        for (unsigned char r : resident)
            count += r & 1;
        return count;
    }
    std::size_t size;
    char* data;
};

// The kilobytes of a file's mapping in this process's memory, from the kernel's account.
std::size_t residentKilobytes(const std::filesystem::path& mapped)
{
    std::ifstream maps("/proc/self/smaps");
    std::size_t kilobytes = 0;
    bool inMapping = false;
    for (std::string line; std::getline(maps, line);) {
        if (line.find('-') < line.find(' ') && line.find(' ') != std::string::npos && !line.starts_with("Rss"))
            inMapping = line.ends_with(" " + mapped.string());
        else if (inMapping && line.starts_with("Rss:"))
            kilobytes += std::stoul(line.substr(4));
    }
    return kilobytes;
}

} // namespace

TEST(BackgroundPrefault, LeavesWhatTheMemoryHoldsAsItWas)
{
    Mapping memory(std::size_t(8) << 20);
    ASSERT_NE(memory.data, MAP_FAILED);
    // Some pages written before, the rest untouched (they must read as zeros after).
    for (std::size_t i = 0; i < memory.size / 2; i += 4096)
        std::memcpy(memory.data + i, "written", 7);
    {
        BackgroundPrefault prefault;
        prefault.add(memory.data + 100, memory.data + memory.size, BackgroundPrefault::Access::Write);
        prefault.add(memory.data, memory.data + memory.size, BackgroundPrefault::Access::Read);
    }
    for (std::size_t i = 0; i < memory.size; i += 4096) {
        const bool written = i < memory.size / 2;
        ASSERT_EQ(std::memcmp(memory.data + i, written ? "written" : "\0\0\0\0\0\0\0", 7), 0) << "at " << i;
    }
}

TEST(BackgroundPrefault, DropsTheWorkLeftWhenItGoes)
{
    // A gigabyte that would all become resident if the prefaulter finished its work first.
    Mapping memory(std::size_t(1) << 30);
    ASSERT_NE(memory.data, MAP_FAILED);
    {
        BackgroundPrefault prefault;
        prefault.add(memory.data, memory.data + memory.size, BackgroundPrefault::Access::Write);
    }
    const std::size_t mib = memory.residentPages() * static_cast<std::size_t>(::sysconf(_SC_PAGESIZE)) >> 20;
    EXPECT_LT(mib, 64U);
}

// Files from 8 MiB are mapped page by page on another thread as they are read. Reading one whole
// gives every tag, and a reader given up after its first tag lets the file go safely. What was
// read is let go from memory as the reading moves on; looking back reads it again.
TEST(BackgroundPrefault, LargeDrawingFileReadsWholeAndLetsGoOfWhatItRead)
{
    const auto dir = scratchDir("prefault");
    const auto path = dir / "large.dxf";
    constexpr int kPoints = 300000;
    {
        std::ofstream out(path, std::ios::binary);
        for (int i = 0; i < kPoints; ++i)
            out << "  0\nPOINT\n 10\n" << i << ".125000000000000\n 20\n-" << i << ".5\n";
    }
    ASSERT_GE(std::filesystem::file_size(path), std::uintmax_t(8) << 20);

    {
        DxfTagReader abandoned = DxfTagReader::fromFile(path);
        ASSERT_TRUE(abandoned.next());
    }
    DxfTagReader reader = DxfTagReader::fromFile(path);
    const DxfTagReader::Position start = reader.position();
    int points = 0;
    double lastX = 0.0;
    while (reader.next()) {
        points += reader.code() == 0;
        if (reader.code() == 10)
            lastX = reader.asDouble();
    }
    EXPECT_EQ(points, kPoints);
    EXPECT_EQ(lastX, kPoints - 1 + 0.125);
    // Of more than 8 MiB mapped, what is kept behind the reading and the step of letting go.
    EXPECT_LE(residentKilobytes(path), 3u * 1024);
    reader.seek(start);
    ASSERT_TRUE(reader.next() && reader.next());
    EXPECT_EQ(reader.code(), 10);
    EXPECT_EQ(reader.asDouble(), 0.125);
    std::filesystem::remove_all(dir);
}
