// Build-time generator: turns a module's strings.tsv (id<TAB>text, UTF-8, escapes \n \t \\ \")
// into a C++ source that defines the module's exported string table.
#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct Entry {
    unsigned long id;
    std::u32string text;
    std::size_t line;
};

struct InputError {
    std::size_t line;
    std::string what;
};

// Strict UTF-8: overlong forms, surrogates and values past U+10FFFF are errors.
std::u32string decodeUtf8(const std::string& s, std::size_t line)
{
    std::u32string out;
    for (std::size_t i = 0; i < s.size();) {
        auto c = static_cast<unsigned char>(s[i]);
        std::size_t len = c < 0x80 ? 1 : (c >> 5) == 0x6 ? 2 : (c >> 4) == 0xE ? 3 : (c >> 3) == 0x1E ? 4 : 0;
        if (len == 0 || i + len > s.size())
            throw InputError{line, "invalid UTF-8"};
        char32_t cp = len == 1 ? c : c & (0x7Fu >> len);
        for (std::size_t k = 1; k < len; ++k) {
            auto cc = static_cast<unsigned char>(s[i + k]);
            if ((cc >> 6) != 0x2)
                throw InputError{line, "invalid UTF-8"};
            cp = (cp << 6) | (cc & 0x3F);
        }
        static const char32_t least[] = {0, 0, 0x80, 0x800, 0x10000};
        if (cp < least[len] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
            throw InputError{line, "invalid UTF-8"};
        out += cp;
        i += len;
    }
    return out;
}

std::u32string unescape(const std::u32string& s, std::size_t line)
{
    std::u32string out;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] != U'\\') {
            out += s[i];
            continue;
        }
        if (++i == s.size())
            throw InputError{line, "a backslash ends the text"};
        switch (s[i]) {
        case U'n': out += U'\n'; break;
        case U't': out += U'\t'; break;
        case U'\\': out += U'\\'; break;
        case U'"': out += U'"'; break;
        default: throw InputError{line, "unknown escape (only \\n \\t \\\\ \\\" are known)"};
        }
    }
    return out;
}

std::vector<Entry> readTable(std::istream& in)
{
    std::vector<Entry> entries;
    std::string line;
    for (std::size_t number = 1; std::getline(in, line); ++number) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.empty() || line.front() == '#')
            continue;
        std::size_t tab = line.find('\t');
        if (tab == std::string::npos)
            throw InputError{number, "expected an id, a TAB and the text"};
        std::string id = line.substr(0, tab);
        if (id.empty() || id.size() > 9 || id.find_first_not_of("0123456789") != std::string::npos)
            throw InputError{number, "the id \"" + id + "\" is not a number below 10^9"};
        entries.push_back({std::stoul(id), unescape(decodeUtf8(line.substr(tab + 1), number), number), number});
    }
    std::stable_sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) { return a.id < b.id; });
    for (std::size_t i = 1; i < entries.size(); ++i) {
        if (entries[i].id == entries[i - 1].id)
            throw InputError{entries[i].line,
                             "id " + std::to_string(entries[i].id) + " is used before, on line "
                                 + std::to_string(entries[i - 1].line)};
    }
    return entries;
}

// A wide literal that means the same whatever the compiler's source and execution character
// sets are: printable ASCII as it is, everything else escaped. Octal escapes always take three
// digits so that a following digit is never read into them.
std::string wideLiteral(const std::u32string& text)
{
    std::string out = "L\"";
    char buffer[16];
    for (char32_t cp : text) {
        if (cp == U'\\' || cp == U'"') {
            out += '\\';
            out += static_cast<char>(cp);
        } else if (cp == U'\n') {
            out += "\\n";
        } else if (cp >= 0x20 && cp < 0x7F && cp != U'?') {
            out += static_cast<char>(cp);
        } else if (cp < 0xA0) {
            std::snprintf(buffer, sizeof buffer, "\\%03o", static_cast<unsigned>(cp));
            out += buffer;
        } else {
            std::snprintf(buffer, sizeof buffer, "\\U%08X", static_cast<unsigned>(cp));
            out += buffer;
        }
    }
    return out + '"';
}

std::string generate(const std::vector<Entry>& entries, const std::string& inputName)
{
    std::ostringstream out;
    out << "// Generated from " << inputName << " by vantrel_string_table_gen; edit that file instead.\n"
        << "#include <vantrel/hxicore/StringTable.h>\n\n";
    if (entries.empty()) {
        out << "extern \"C\" __attribute__((visibility(\"default\"))) const VantrelStringTable vantrel_string_table = "
               "{0, nullptr};\n";
        return out.str();
    }
    out << "namespace {\n\nconst VantrelStringEntry entries[] = {\n";
    for (const Entry& e : entries)
        out << "    {" << e.id << "u, " << wideLiteral(e.text) << "},\n";
    out << "};\n\n} // namespace\n\n"
        << "extern \"C\" __attribute__((visibility(\"default\"))) const VantrelStringTable vantrel_string_table = {\n"
        << "    sizeof entries / sizeof entries[0], entries};\n";
    return out.str();
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::cerr << "usage: vantrel_string_table_gen STRINGS.tsv OUTPUT.cpp\n";
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    if (!in) {
        std::cerr << argv[1] << ": cannot be read\n";
        return 1;
    }
    std::string code;
    try {
        code = generate(readTable(in), argv[1]);
    } catch (const InputError& e) {
        std::cerr << argv[1] << ":" << e.line << ": error: " << e.what << '\n';
        return 1;
    }
    std::ofstream out(argv[2], std::ios::binary | std::ios::trunc);
    if (!(out << code) || !out.flush()) {
        std::cerr << argv[2] << ": cannot be written\n";
        return 1;
    }
    return 0;
}
