// The baseline that whole-process reading is compared with: maps a DXF file, splits it into
// (group code, value) pairs and parses every number the code says is one, as any reader must,
// and nothing more. Prints the count of pairs and a sum of the numbers so nothing is left out.
#include <charconv>
#include <cstdio>
#include <fcntl.h>
#include <string_view>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::string_view trimmed(std::string_view s)
{
    while (!s.empty() && (s.back() == '\r' || s.back() == ' '))
        s.remove_suffix(1);
    while (!s.empty() && s.front() == ' ')
        s.remove_prefix(1);
    return s;
}

bool isReal(int code)
{
    return (code >= 10 && code <= 59) || (code >= 110 && code <= 149) || (code >= 210 && code <= 239)
        || (code >= 460 && code <= 469) || (code >= 1010 && code <= 1059);
}

bool isInteger(int code)
{
    return (code >= 60 && code <= 99) || (code >= 160 && code <= 179) || (code >= 270 && code <= 289)
        || (code >= 370 && code <= 389) || (code >= 400 && code <= 409) || (code >= 420 && code <= 429)
        || (code >= 440 && code <= 459) || (code >= 1060 && code <= 1071);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: dxf_tokenize FILE.dxf\n");
        return 2;
    }
    const int fd = open(argv[1], O_RDONLY);
    struct stat st {};
    if (fd < 0 || fstat(fd, &st) != 0) {
        std::perror(argv[1]);
        return 1;
    }
    const auto size = static_cast<std::size_t>(st.st_size);
    void* map = mmap(nullptr, size, PROT_READ, MAP_PRIVATE, fd, 0);
    if (map == MAP_FAILED) {
        std::perror("mmap");
        return 1;
    }
    std::string_view text(static_cast<const char*>(map), size);
    std::size_t pairs = 0;
    double sum = 0.0;
    long long integers = 0;
    auto nextLine = [&]() {
        const std::size_t end = text.find('\n');
        const std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        return trimmed(line);
    };
    while (!text.empty()) {
        const std::string_view codeText = nextLine();
        const std::string_view value = nextLine();
        int code = 0;
        std::from_chars(codeText.data(), codeText.data() + codeText.size(), code);
        if (isReal(code)) {
            double v = 0.0;
            std::from_chars(value.data(), value.data() + value.size(), v);
            sum += v;
        } else if (isInteger(code)) {
            long long v = 0;
            std::from_chars(value.data(), value.data() + value.size(), v);
            integers += v;
        }
        ++pairs;
    }
    std::printf("%zu pairs, sum %.17g, %lld\n", pairs, sum, integers);
    munmap(map, size);
    close(fd);
    return 0;
}
