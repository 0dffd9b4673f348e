// Tests of the DXF tag layer: tokenizing, checked values, text encodings, formatting that reads
// back exactly, kept tag lists, and saving that never damages the previous file.
#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <bit>
#include <csignal>

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <limits>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "dxf/DxfClassMap.h"
#include "dxf/DxfError.h"
#include "dxf/DxfTagList.h"
#include "dxf/DxfTagReader.h"
#include "dxf/DxfTagWriter.h"
#include <vantrel/db/OutputFile.h>
#include "dxf/dxf_values.h"

using namespace vantrel;

namespace {

struct PlainTag {
    int code;
    std::string value;
    std::size_t line;
    friend bool operator==(const PlainTag&, const PlainTag&) = default;
};

std::vector<PlainTag> readAll(std::string_view text)
{
    DxfTagReader reader(text);
    std::vector<PlainTag> tags;
    while (reader.next())
        tags.push_back({reader.code(), std::string(reader.value()), reader.line()});
    return tags;
}

// The DxfError raised while reading all tags and converting each by its code's type, as the
// fields of modelled records are read.
DxfError firstError(std::string_view text)
{
    try {
        DxfTagReader reader(text);
        while (reader.next()) {
            switch (dxfValueType(reader.code())) {
            case DxfValueType::Double: reader.asDouble(); break;
            case DxfValueType::Int16: reader.asInt16(); break;
            case DxfValueType::Int32: reader.asInt32(); break;
            case DxfValueType::Int64: reader.asInt64(); break;
            case DxfValueType::Bool: reader.asBool(); break;
            case DxfValueType::Handle: reader.asHandle(); break;
            case DxfValueType::Binary: checkDxfBinary(reader.value(), reader.code(), reader.valueLine()); break;
            default: break;
            }
        }
    } catch (const DxfError& e) {
        return e;
    }
    ADD_FAILURE() << "no error for: " << text;
    return DxfError(0, "none");
}

std::string slurp(const std::filesystem::path& p)
{
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

} // namespace

TEST(DxfTagReader, ReadsLfAndCrlfAlike)
{
    const std::string lf = "  0\nSECTION\n  2\nHEADER\n 10\n1.5\n 70\n     3\n  1\n text \n  0\nEOF\n";
    std::string crlf;
    for (char c : lf)
        crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);

    const std::vector<PlainTag> expected = {
        {0, "SECTION", 1}, {2, "HEADER", 3}, {10, "1.5", 5}, {70, "     3", 7}, {1, " text ", 9}, {0, "EOF", 11},
    };
    EXPECT_EQ(readAll(lf), expected);
    EXPECT_EQ(readAll(crlf), expected);
    // No newline after the last value, a byte-order mark, comments and blanks around codes.
    EXPECT_EQ(readAll("\xEF\xBB\xBF"
                      "999\nmade by hand\n\t0 \r\nEOF"),
              (std::vector<PlainTag>{{0, "EOF", 3}}));
    // A line converted to CRLF twice ends in two carriage returns; both end the line.
    EXPECT_EQ(readAll("  9\r\r\n$NAME\r\r\r\n  0\r\r\nEOF\r\r\n"),
              (std::vector<PlainTag>{{9, "$NAME", 1}, {0, "EOF", 3}}));
}

TEST(DxfTagReader, ConvertsValuesByType)
{
    DxfTagReader reader(" 10\n -2.5e3 \n 70\n     7\n 90\n+100000\n160\n-9000000000\n290\n1\n  5\n1a2B\n");
    ASSERT_TRUE(reader.next());
    EXPECT_EQ(reader.asDouble(), -2500.0);
    ASSERT_TRUE(reader.next());
    EXPECT_EQ(reader.asInt16(), 7);
    ASSERT_TRUE(reader.next());
    EXPECT_EQ(reader.asInt32(), 100000);
    ASSERT_TRUE(reader.next());
    EXPECT_EQ(reader.asInt64(), -9000000000LL);
    ASSERT_TRUE(reader.next());
    EXPECT_TRUE(reader.asBool());
    reader.pushBack();
    ASSERT_TRUE(reader.next());
    EXPECT_EQ(reader.code(), 290);
    ASSERT_TRUE(reader.next());
    EXPECT_EQ(reader.asHandle(), 0x1A2BU);
    EXPECT_FALSE(reader.next());
}

TEST(DxfTagReader, RefusesDamagedInputWithOneErrorNamingTheLine)
{
    struct Case {
        std::string text;
        std::size_t line;
        std::string fragment;
    };
    const std::vector<Case> cases = {
        {"  0\nSECTION\n  2", 3, "has no value"},   // odd number of lines
        {"  0\nSECTION\n  2\n", 3, "has no value"}, // truncated after a code line
        {"  0\nSECTION\nxyz\nHEADER\n", 3, "expected a group code, got \"xyz\""},
        {"  0\nSECTION\n\nHEADER\n", 3, "expected a group code"}, // blank code line
        {"  0\nSECTION\n-1\nX\n", 3, "expected a group code"},
        {"  0\nSECTION\n5000\nX\n", 3, "outside the DXF range"},
        {" 10\nabc\n", 2, "group code 10 expects a finite number, got \"abc\""},
        {" 10\n1.5x\n", 2, "expects a finite number"},
        {" 20\n\n", 2, "expects a finite number"},
        {" 10\n0\n 20\nnan\n", 4, "finite number"},
        {" 40\ninf\n", 2, "finite number"},
        {" 40\n1e400\n", 2, "finite number"},
        {" 40\n-2e309\n", 2, "finite number"},
        {" 70\n40000\n", 2, "-32768 to 32767"},
        {" 90\n1.5\n", 2, "32-bit integer"},
        {"290\n2\n", 2, "0 or 1"},
        {"105\n12345678901234567\n", 2, "1 to 16 hex digits"},
        {"330\nG1\n", 2, "hex digits"},
        {"310\nABC\n", 2, "even number"},
    };
    for (const Case& c : cases) {
        DxfError e = firstError(c.text);
        EXPECT_EQ(e.line(), c.line) << c.text;
        EXPECT_EQ(e.code(), eBadDxfFile);
        const std::string message = e.what();
        EXPECT_TRUE(message.starts_with("line " + std::to_string(c.line) + ": ")) << message;
        EXPECT_NE(message.find(c.fragment), std::string::npos) << message;
    }
}

TEST(DxfTagReader, NeverCrashesOnArbitraryBytes)
{
    std::mt19937 rng(7);
    const std::string alphabet = "0123456789 \r\n\t-.eE+^\\U+abcnaif\x80\xff";
    for (int round = 0; round < 2000; ++round) {
        std::string text(rng() % 64, ' ');
        for (char& c : text)
            c = alphabet[rng() % alphabet.size()];
        try {
            DxfTagReader reader(text);
            DxfTagList kept;
            while (reader.next()) {
                reader.appendTo(kept);
                (void)reader.asString();
            }
        } catch (const DxfError&) {
        }
    }
}

TEST(DxfTextCodec, DecodesCodePagesAndEscapes)
{
    DxfTextCodec codec;
    codec.setVersion("AC1015");
    EXPECT_FALSE(codec.isUtf8());
    EXPECT_EQ(codec.decode("caf\xE9 \x80"), "café €"); // ANSI_1252 until told otherwise
    EXPECT_EQ(codec.decode("caf\\U+00E9"), "café");
    EXPECT_EQ(codec.decode("\\U+D83D\\U+DE00"), "\U0001F600");
    EXPECT_EQ(codec.decode("\\U+00G9 \\U+0000"), "\\U+00G9 \\U+0000"); // not escapes: kept
    EXPECT_EQ(codec.decode("a^Jb^ c^Id^x"), "a\nb^c\td^x");

    codec.setCodePage("ANSI_1251");
    EXPECT_TRUE(codec.codePageKnown());
    EXPECT_EQ(codec.decode("\xE9"), "й");
    // Shift-JIS: the second byte of U+8868 is 0x5C, which must not start an escape.
    codec.setCodePage("ANSI_932");
    EXPECT_EQ(codec.decode("\x95\x5CU+0041"), "表U+0041");
    codec.setCodePage("ANSI_99999");
    EXPECT_FALSE(codec.codePageKnown());
    EXPECT_EQ(codec.decode("\xE9"), "é");

    codec.setVersion("AC1024");
    EXPECT_TRUE(codec.isUtf8());
    EXPECT_EQ(codec.decode("caf\xC3\xA9"), "café");
    EXPECT_EQ(codec.decode("bad \xE9 byte"), "bad é byte"); // stray ANSI byte in a UTF-8 file
    EXPECT_EQ(codec.toUtf8("^J\\U+00E9"), "^J\\U+00E9");    // the file form keeps escapes
}

TEST(DxfTagReader, TakesStringsInTheFileEncoding)
{
    const std::string file = "  9\n$ACADVER\n  1\nAC1015\n  9\n$DWGCODEPAGE\n  3\nANSI_1252\n  1\nd\xE9j\xE0\n";
    DxfTagReader reader(file);
    while (reader.next()) {
        if (reader.code() == 1 && reader.value().starts_with("AC"))
            reader.codec().setVersion(reader.value());
        if (reader.code() == 3)
            reader.codec().setCodePage(reader.value());
    }
    EXPECT_EQ(reader.asString(), "déjà");
    DxfTagList kept;
    reader.appendTo(kept);
    EXPECT_EQ(kept[0].value, "déjà");
}

TEST(DxfTagWriter, FormatsCodesAndValuesAsReadersExpect)
{
    DxfTagWriter w;
    w.writeString(0, "LINE");
    w.writeDouble(10, 1.0);
    w.writeDouble(20, -0.5);
    w.writeDouble(30, 1e20);
    w.writeInt(70, -3);
    w.writeHandle(5, 0x2ABC);
    w.writeHandle(330, 0);
    w.writeBool(290, true);
    w.writeString(1000, "x");
    EXPECT_EQ(w.text(), "  0\nLINE\n 10\n1.0\n 20\n-0.5\n 30\n1e+20\n 70\n-3\n  5\n2ABC\n330\n0\n290\n1\n1000\nx\n");
    EXPECT_THROW(w.writeDouble(40, std::numeric_limits<double>::quiet_NaN()), OdError);
    EXPECT_THROW(w.writeRaw(1, "two\nlines"), OdError);
}

TEST(DxfTagWriter, WrittenValuesReadBackEqualAndRewriteIdentically)
{
    const std::vector<std::string> strings
        = {"", " padded ", "é ü 表 \U0001F600", "two\nlines\r", "^ caret ^J ^x ^", "\\P"};
    DxfTagWriter first;
    for (const std::string& s : strings)
        first.writeString(1, s);
    first.writeInt(70, -32768);
    first.writeInt(90, 2147483647);
    first.writeInt(160, -9000000000000000000LL);
    first.writeHandle(105, 0xFFFFFFFFFFFFFFFFULL);
    first.writeDouble(40, 0.1);

    DxfTagReader reader(first.text());
    reader.codec().setVersion("AC1024");
    DxfTagWriter second;
    for (const std::string& s : strings) {
        ASSERT_TRUE(reader.next());
        EXPECT_EQ(reader.asString(), s);
        second.writeString(reader.code(), reader.asString());
    }
    ASSERT_TRUE(reader.next());
    EXPECT_EQ(reader.asInt16(), -32768);
    second.writeInt(70, reader.asInt16());
    ASSERT_TRUE(reader.next());
    EXPECT_EQ(reader.asInt32(), 2147483647);
    second.writeInt(90, reader.asInt32());
    ASSERT_TRUE(reader.next());
    EXPECT_EQ(reader.asInt64(), -9000000000000000000LL);
    second.writeInt(160, reader.asInt64());
    ASSERT_TRUE(reader.next());
    EXPECT_EQ(reader.asHandle(), 0xFFFFFFFFFFFFFFFFULL);
    second.writeHandle(105, reader.asHandle());
    ASSERT_TRUE(reader.next());
    EXPECT_EQ(reader.asDouble(), 0.1);
    second.writeDouble(40, reader.asDouble());
    EXPECT_EQ(second.text(), first.text());
}

namespace {

std::uint64_t bitsOf(double v)
{
    std::uint64_t b;
    std::memcpy(&b, &v, sizeof b);
    return b;
}

} // namespace

TEST(DxfTagWriter, DoublesRoundTripExactly)
{
    std::mt19937_64 rng(42);
    std::uniform_real_distribution<double> coordinate(-1e6, 1e6);
    DxfTagWriter w;
    std::vector<double> values = {0.0, -0.0, 1.0, -1.0, 1e100, -1e100, 1e-300, 5e-324, 123456789012345680.0};
    for (int i = 0; i < 20000; ++i) {
        double bits;
        std::uint64_t r = rng();
        std::memcpy(&bits, &r, sizeof bits);
        if (std::isfinite(bits) && std::fabs(bits) <= 1e100 && std::fabs(bits) >= 1e-300)
            values.push_back(bits);
        values.push_back(coordinate(rng));
    }
    for (double v : values)
        w.writeDouble(10, v);
    DxfTagReader reader(w.text());
    for (double v : values) {
        ASSERT_TRUE(reader.next());
        const double back = reader.asDouble();
        ASSERT_EQ(bitsOf(back), bitsOf(v)) << reader.value();
        const std::string_view text = reader.value();
        ASSERT_NE(text.find_first_of(".e"), std::string_view::npos) << text;
    }
}

// The tokenizer finds line ends a word at a time: values of every length around the word size,
// with LF or CRLF, in the middle or at the very end of the text with or without a last line
// end, under codes in every form, come back whole with their line numbers.
TEST(DxfTagReader, FindsTheEndOfValuesOfEveryLength)
{
    const std::vector<std::string> codeForms = {"  8", "8", " 8 ", "\t8", "008", "  8\t"};
    for (std::size_t length = 0; length <= 70; ++length) {
        const std::string value = std::string(length, 'x') + (length % 3 == 0 ? "" : " y");
        for (bool crlf : {false, true}) {
            const std::string eol = crlf ? "\r\n" : "\n";
            const std::string& code = codeForms[length % codeForms.size()];
            std::string text = code;
            for (const std::string& line :
                 {eol, value, eol, std::string("1001"), eol, value, eol, std::string("  0"), eol, value})
                text += line;
            const std::vector<PlainTag> expected = {{8, value, 1}, {1001, value, 3}, {0, value, 5}};
            ASSERT_EQ(readAll(text + eol), expected) << "length " << length;
            if (length > 0) { // an empty last value needs its line end
                ASSERT_EQ(readAll(text), expected) << "length " << length;
            }
        }
    }
    EXPECT_EQ(readAll("  8\n\n 10\n1\n"), (std::vector<PlainTag>{{8, "", 1}, {10, "1", 3}}));
}

// Plain decimals are read without from_chars; the value must be the same to the last bit, and
// every other form must still go to from_chars.
TEST(DxfValues, DecimalsReadAsFromCharsReadsThem)
{
    std::vector<std::string> texts = {"0",
                                      "-0",
                                      "0.0",
                                      "-0.0",
                                      "10.0",
                                      "7.25",
                                      "-12.375",
                                      "0.15000000000000002",
                                      "9007199254740992",
                                      "9007199254740993",
                                      "900719925474099.3",
                                      "0.9007199254740993",
                                      "1234567890123456789",
                                      "12345678901234567890",
                                      "1.",
                                      ".5",
                                      "-.5",
                                      "00012.5000",
                                      "1e5",
                                      "2.5E-3",
                                      "123.456e2",
                                      "4503599627370497.5",
                                      "-",
                                      "--1",
                                      "1.2.3",
                                      "0x10"};
    // A character next to the digits ('/' before '0', ':' after '9', a blank, a byte above
    // ASCII) at each place of a run of decimals read eight, then four at a time.
    for (std::size_t at = 2; at < 17; ++at)
        for (char c : {'/', ':', ' ', '\xB9'}) {
            std::string t = "1.234567890123456";
            t.insert(t.begin() + static_cast<std::ptrdiff_t>(at), c);
            texts.push_back(t);
        }
    std::mt19937_64 rng(7);
    for (int i = 0; i < 200000; ++i) {
        const int digits = 1 + static_cast<int>(rng() % 20);
        const int point = static_cast<int>(rng() % static_cast<unsigned>(digits + 1));
        std::string t = rng() % 2 ? "-" : "";
        for (int k = 0; k < digits; ++k) {
            if (k == point && k > 0)
                t += '.';
            t += static_cast<char>('0' + rng() % 10);
        }
        texts.push_back(t);
    }
    int quick = 0;
    for (const std::string& t : texts) {
        double expected = 0;
        const auto [end, ec] = std::from_chars(t.data(), t.data() + t.size(), expected);
        const bool number = ec == std::errc{} && end == t.data() + t.size();
        double fast = 0;
        if (parsePlainDxfDecimal(t, fast)) {
            ++quick;
            ASSERT_TRUE(number) << t;
            ASSERT_EQ(bitsOf(fast), bitsOf(expected)) << t;
        }
        if (number)
            ASSERT_EQ(bitsOf(parseDxfDouble(" " + t + " ", 10, 1)), bitsOf(expected)) << t;
        else
            EXPECT_THROW(parseDxfDouble(t, 10, 1), DxfError) << t;
    }
    EXPECT_GT(quick, 100000) << "the common forms take the quick path";
}

// Decimals of 17 to 19 digits (as coordinates written by computation have) take the quick path
// too, by a product with a power of ten; exact halves between two doubles must round to the even
// one, and printed doubles must read back to themselves.
TEST(DxfValues, LongDecimalsReadToTheNearestDoubleOnTheQuickPath)
{
    std::vector<std::string> texts;
    // Half way between neighbours one apart (2^52 to 2^53) and two apart (2^53 to 2^54), and next
    // to half way.
    for (std::uint64_t k = 0; k < 2000; ++k) {
        texts.push_back(std::to_string((std::uint64_t(1) << 52) + k) + ".5");
        texts.push_back(std::to_string((std::uint64_t(1) << 52) + k) + ".4999");
        texts.push_back(std::to_string((std::uint64_t(1) << 53) + 2 * k + 1));
        texts.push_back(std::to_string((std::uint64_t(1) << 53) + 2 * k + 1) + ".00");
        texts.push_back(std::to_string((std::uint64_t(1) << 62) + 1024 * k + 512));
    }
    std::mt19937_64 rng(20261207);
    for (int i = 0; i < 200000; ++i) {
        const double v
            = std::ldexp(std::uniform_real_distribution<double>(1.0, 2.0)(rng), static_cast<int>(rng() % 100) - 40);
        char text[64];
        const int decimals = static_cast<int>(rng() % 20);
        const int n = std::snprintf(text, sizeof text, "%.*f", decimals, v);
        texts.emplace_back(text, static_cast<std::size_t>(n));
    }
    int quick = 0, longOnes = 0;
    for (const std::string& t : texts) {
        double expected = 0;
        std::from_chars(t.data(), t.data() + t.size(), expected);
        const std::size_t digits = t.size() - (t.find('.') == std::string::npos ? 0 : 1);
        double fast = 0;
        if (digits > 19)
            continue;
        ASSERT_TRUE(parsePlainDxfDecimal(t, fast)) << t;
        ++quick;
        longOnes += digits >= 17;
        ASSERT_EQ(bitsOf(fast), bitsOf(expected)) << t;
        ASSERT_EQ(bitsOf(parsePlainDxfDecimal("-" + t, fast) ? fast : 0.0), bitsOf(-expected)) << t;
    }
    EXPECT_GT(longOnes, 20000);
    EXPECT_GT(quick, 100000);
    // The product alone, where no text is involved: the largest digits and the whole range of
    // decimals.
    double out = 0;
    ASSERT_TRUE(longDecimalToDouble(9999999999999999999u, 19, out));
    EXPECT_EQ(out, 0.9999999999999999999);
    ASSERT_TRUE(longDecimalToDouble(9007199254740993u, 0, out));
    EXPECT_EQ(out, 9007199254740992.0) << "a half rounds to the even neighbour";
    ASSERT_TRUE(longDecimalToDouble(90071992547409950u, 1, out));
    EXPECT_EQ(out, 9007199254740996.0) << "a half rounds to the even neighbour";
    EXPECT_FALSE(longDecimalToDouble(0, 3, out));
    EXPECT_FALSE(longDecimalToDouble(12345678901234567u, 20, out));
}

// The reader finds the field of a code through a table for the common codes: it must give the
// field the declaration gives, the first of the subclass that reads the code, for every code.
TEST(DxfClassMaps, FieldsFoundByCodeAreTheFirstDeclaredReaders)
{
    int checked = 0;
    for (const char* record :
         {"LINE", "LWPOLYLINE", "ARC", "CIRCLE", "TEXT", "MTEXT", "INSERT", "HATCH", "LAYER", "LTYPE", "STYLE",
          "DIMENSION", "VERTEX 3D", "POLYLINE 2D", "SPLINE", "LIGHT", "DICTIONARY", "LAYOUT"}) {
        const DxfClassMap* map = dxfClassMap(record);
        ASSERT_NE(map, nullptr) << record;
        for (const DxfSubclass& sub : map->subclasses)
            for (int code = 0; code <= kMaxDxfGroupCode; ++code) {
                const auto declared = std::find_if(sub.fields.begin(), sub.fields.end(),
                                                   [&](const DxfField& f) { return f.set && f.code == code; });
                const DxfField* expected = declared == sub.fields.end() ? nullptr : &*declared;
                ASSERT_EQ(sub.readerOf(code), expected) << record << " group code " << code;
                checked += expected != nullptr;
            }
    }
    EXPECT_GT(checked, 100);
}

// Whole numbers and values with a few decimals are formatted without to_chars; the text must be
// the one to_chars writes, exponent form included where it is shorter.
TEST(DxfTagWriter, ShortDecimalsAreWrittenAsToCharsWritesThem)
{
    std::vector<double> values = {7.25,
                                  -0.05,
                                  0.001,
                                  0.0001,
                                  1200.0,
                                  10000.0,
                                  100000.0,
                                  1e6,
                                  123456789012345.0,
                                  999999999999999.9,
                                  0.15000000000000002,
                                  1.0 / 3.0,
                                  1e-3,
                                  4503599627370496.5};
    std::mt19937_64 rng(11);
    for (int i = 0; i < 300000; ++i) {
        const double m = static_cast<double>(static_cast<std::int64_t>(rng() % 2000000001) - 1000000000);
        const double scaled = m / std::pow(10.0, static_cast<double>(rng() % 8));
        values.push_back(scaled);
        values.push_back(std::nextafter(scaled, i % 2 ? 1e300 : -1e300));
        values.push_back(m * std::pow(10.0, static_cast<double>(rng() % 12)));
        values.push_back(std::uniform_real_distribution<double>(-1e5, 1e5)(rng));
    }
    int quick = 0;
    for (double v : values) {
        char fast[32];
        char* end = formatShortDecimal(fast, v);
        if (!end)
            continue;
        ++quick;
        char expected[32];
        char* expectedEnd = std::to_chars(expected, expected + sizeof expected, v).ptr;
        ASSERT_EQ(std::string_view(fast, static_cast<std::size_t>(end - fast)),
                  std::string_view(expected, static_cast<std::size_t>(expectedEnd - expected)))
            << "value bits " << bitsOf(v);
    }
    EXPECT_GT(quick, 250000) << "the common values take the quick path";
    char out[32];
    for (double common : {7.25, -0.05, 0.001, 1200.0, 10000.0, 0.5})
        EXPECT_NE(formatShortDecimal(out, common), nullptr) << common;
    for (double other : {0.0001, 1e6, 0.15000000000000002, 1.0 / 3.0})
        EXPECT_EQ(formatShortDecimal(out, other), nullptr) << other;
}

// The text of every finite value as to_chars writes it, and in a DXF file with ".0" after a
// whole number's: any bits, whole numbers, decimals of every length, powers of ten and their
// neighbours (where the shorter form changes), and the neighbours of 2^53, from where to_chars
// itself writes.
TEST(DxfTagWriter, ShortestTextIsTheOneToCharsWrites)
{
    std::vector<double> values = {0.0,
                                  -0.0,
                                  0x1p53,
                                  std::nextafter(0x1p53, 0.0),
                                  0x1p52 + 0.5,
                                  std::numeric_limits<double>::denorm_min(),
                                  std::numeric_limits<double>::max()};
    for (int power = -325; power <= 308; ++power) {
        const double edge = std::pow(10.0, power);
        values.insert(values.end(), {edge, std::nextafter(edge, 0.0), std::nextafter(edge, HUGE_VAL), -1.5 * edge});
    }
    std::mt19937_64 rng(29);
    for (int i = 0; i < 100000; ++i) {
        const double any = std::bit_cast<double>(rng());
        if (std::isfinite(any))
            values.push_back(any);
        values.push_back(std::uniform_real_distribution<double>(-1e5, 1e5)(rng));
        values.push_back(static_cast<double>(rng() >> (rng() % 64)));
        values.push_back(static_cast<double>(static_cast<std::int64_t>(rng() % 2000001) - 1000000)
                         / std::pow(10.0, static_cast<double>(rng() % 20)));
    }
    for (double v : values) {
        char ours[kNumberChars];
        const char* end = formatShortest(ours, v);
        char expected[kNumberChars];
        const char* expectedEnd = std::to_chars(expected, expected + sizeof expected, v).ptr;
        const std::string_view text(expected, static_cast<std::size_t>(expectedEnd - expected));
        ASSERT_EQ(std::string_view(ours, static_cast<std::size_t>(end - ours)), text) << "value bits " << bitsOf(v);
        const std::string inFile = std::string(text) + (text.find_first_of(".e") == text.npos ? ".0" : "");
        char dxf[kNumberChars];
        ASSERT_EQ(std::string_view(dxf, static_cast<std::size_t>(formatDxfDouble(dxf, v) - dxf)), inFile)
            << "value bits " << bitsOf(v);
    }
}

TEST(DxfTagList, KeepsCheckedTagsInOrderForWritingBack)
{
    DxfTagReader reader("  0\nACME_WIDGET\n330\n 1F \n 70\n   12\n  1\nna\xEFve\n 10\n2.50\n");
    DxfTagList kept;
    while (reader.next())
        reader.appendTo(kept);
    ASSERT_EQ(kept.size(), 5U);
    EXPECT_EQ(kept[1], (DxfTagList::Tag{330, "1F"}));
    EXPECT_EQ(kept[2], (DxfTagList::Tag{70, "12"}));
    EXPECT_EQ(kept[3], (DxfTagList::Tag{1, "naïve"}));
    EXPECT_EQ(kept.find(10), 4U);
    EXPECT_EQ(kept.find(11), kept.size());

    DxfTagList copy = kept;
    copy.append(copy);
    ASSERT_EQ(copy.size(), 10U);
    EXPECT_EQ(copy[9], (DxfTagList::Tag{10, "2.50"}));
    copy.clear();
    EXPECT_NE(copy, kept);

    DxfTagWriter w;
    w.writeTags(kept);
    EXPECT_EQ(w.text(), "  0\nACME_WIDGET\n330\n1F\n 70\n12\n  1\nnaïve\n 10\n2.50\n");
}

class AtomicSave : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir = std::filesystem::temp_directory_path()
            / ("vantrel_atomic_" + std::to_string(::getpid()) + "_"
               + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(dir);
        std::filesystem::create_directories(dir);
    }
    void TearDown() override
    {
        std::filesystem::permissions(dir, std::filesystem::perms::owner_all);
        std::filesystem::remove_all(dir);
    }
    std::size_t entries() const
    {
        return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(dir), {}));
    }
    std::filesystem::path dir;
};

TEST_F(AtomicSave, ReplacesTheFileAndKeepsThePreviousOneAsBak)
{
    const auto target = dir / "a.dxf";
    OutputFile::save(target, "first");
    EXPECT_EQ(slurp(target), "first");
    EXPECT_FALSE(std::filesystem::exists(dir / "a.dxf.bak"));

    OutputFile::save(target, "second");
    OutputFile::save(target, "third");
    EXPECT_EQ(slurp(target), "third");
    EXPECT_EQ(slurp(dir / "a.dxf.bak"), "second");
    EXPECT_EQ(entries(), 2U); // no temporary file left
}

TEST_F(AtomicSave, FailureLeavesThePreviousFileAndNamesThePath)
{
    const auto folderTarget = dir / "folder.dxf";
    std::filesystem::create_directories(folderTarget / "inside");
    try {
        OutputFile::save(folderTarget, "data");
        ADD_FAILURE() << "saving over a folder succeeded";
    } catch (const OdError& e) {
        EXPECT_EQ(e.code(), eFileError);
        EXPECT_NE(std::string(e.what()).find(folderTarget.string()), std::string::npos) << e.what();
        EXPECT_NE(std::string(e.what()).find("it is a folder"), std::string::npos) << e.what();
    }
    EXPECT_TRUE(std::filesystem::is_directory(folderTarget / "inside"));

    EXPECT_THROW(OutputFile::save(dir / "missing" / "b.dxf", "data"), OdError);

    const auto target = dir / "c.dxf";
    OutputFile::save(target, "kept");
    OutputFile::save(target, "kept again");
    {
        // A file size limit makes writing the temporary file fail, even for root.
        struct rlimit old {};
        ::getrlimit(RLIMIT_FSIZE, &old);
        struct rlimit small = old;
        small.rlim_cur = 4;
        auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
        ::setrlimit(RLIMIT_FSIZE, &small);
        try {
            OutputFile::save(target, std::string(100, 'x'));
            ADD_FAILURE() << "a write beyond the size limit succeeded";
        } catch (const OdError& e) {
            // The file the user named, not the temporary file that stood in for it.
            EXPECT_EQ(std::string(e.what()), "cannot write " + target.string() + ": " + std::strerror(EFBIG));
        }
        ::setrlimit(RLIMIT_FSIZE, &old);
        std::signal(SIGXFSZ, previousHandler);
    }
    EXPECT_EQ(slurp(target), "kept again");
    EXPECT_EQ(slurp(dir / "c.dxf.bak"), "kept");

    if (::geteuid() != 0) { // root writes into read-only folders
        std::filesystem::permissions(dir, std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
        try {
            OutputFile::save(target, "lost");
            ADD_FAILURE() << "saving into a read-only folder succeeded";
        } catch (const OdError& e) {
            EXPECT_NE(std::string(e.what()).find(std::strerror(EACCES)), std::string::npos) << e.what();
        }
        EXPECT_EQ(slurp(target), "kept again");
    }
    std::filesystem::permissions(dir, std::filesystem::perms::owner_all);
    EXPECT_EQ(entries(), 3U); // folder.dxf, c.dxf, c.dxf.bak; no temporary file
}

// A link is followed and stays a link; a pipe and a device are written where they are, never
// replaced by a regular file; a socket is refused before anything is written.
TEST_F(AtomicSave, LinksAreFollowedAndDevicesAndPipesWrittenInPlace)
{
    const auto target = dir / "real.svg";
    OutputFile::save(target, "old");
    std::filesystem::create_symlink("real.svg", dir / "link.svg");
    OutputFile::save(dir / "link.svg", "new", OutputFile::Backup::None);
    EXPECT_TRUE(std::filesystem::is_symlink(dir / "link.svg"));
    EXPECT_EQ(slurp(target), "new");
    std::filesystem::create_symlink("later.svg", dir / "dangling.svg");
    OutputFile::save(dir / "dangling.svg", "made");
    EXPECT_TRUE(std::filesystem::is_symlink(dir / "dangling.svg"));
    EXPECT_EQ(slurp(dir / "later.svg"), "made");

    OutputFile::save("/dev/null", "nothing");
    EXPECT_TRUE(std::filesystem::is_character_file("/dev/null"));
    EXPECT_EQ(resolveOutputTarget("-").kind, OutputTarget::Kind::Direct);

    const auto pipe = dir / "pipe.json";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    FILE* reader = ::popen(("timeout 60 cat " + pipe.string()).c_str(), "r");
    ASSERT_NE(reader, nullptr);
    OutputFile::save(pipe, "through the pipe");
    char received[64] = {};
    EXPECT_EQ(std::fread(received, 1, sizeof received - 1, reader), 16U);
    ::pclose(reader);
    EXPECT_EQ(std::string(received), "through the pipe");
    EXPECT_TRUE(std::filesystem::is_fifo(pipe));

    const auto socket = dir / "socket.dxf";
    ASSERT_EQ(
        std::system(
            ("python3 -c \"import socket; socket.socket(socket.AF_UNIX).bind('" + socket.string() + "')\"").c_str()),
        0);
    EXPECT_EQ(resolveOutputTarget(socket).kind, OutputTarget::Kind::Refused);
    EXPECT_THROW(OutputFile::save(socket, "data"), OdError);
    EXPECT_TRUE(std::filesystem::is_socket(socket));
    EXPECT_EQ(resolveOutputTarget("").kind, OutputTarget::Kind::Refused);
}

// Plain text, small pieces with numbers (gathered into blocks) and large ones (each a block of its
// own, taken as they are) arrive in the order written; each piece comes back empty, with room
// as large as before for the next.
TEST_F(AtomicSave, PiecesWithNumbersArriveInOrderWhateverTheirSize)
{
    const auto target = dir / "mixed.json";
    std::string expected;
    {
        OutputFile file(target);
        std::mt19937 rng(11);
        NumberedText small(64, 4), large(std::size_t(1) << 20, 8192);
        for (int round = 0; round < 400; ++round) {
            const std::string plain = "[" + std::to_string(round) + "]";
            file.write(plain);
            expected += plain;
            NumberedText& piece = rng() % 4 == 0 ? large : small;
            const std::size_t numbers = 1 + rng() % (piece.numberRoom == 4 ? 4 : 8192);
            for (std::size_t i = 0; i < numbers; ++i) {
                const int whole = round * 10000 + static_cast<int>(i);
                piece.numbers[piece.count++] = {piece.size, formatDxfDouble, whole + 0.5};
                piece.text[piece.size++] = ',';
                expected += std::to_string(whole) + ".5,";
            }
            const std::size_t room = piece.textRoom;
            file.write(piece);
            EXPECT_TRUE(piece.empty());
            EXPECT_EQ(piece.textRoom, room);
        }
        file.commit();
    }
    EXPECT_TRUE(slurp(target) == expected);
}

// A file being replaced may have its start written last, over room left for it, once the blocks
// after it (with numbers the writing thread prints) are written; a device or a pipe may not.
TEST_F(AtomicSave, TheStartOfAFileBeingReplacedIsWrittenLast)
{
    const auto target = dir / "late.svg";
    std::string expected = "START";
    {
        OutputFile file(target);
        file.write(std::string(5, ' '));
        NumberedText piece(8, 1);
        for (int i = 0; i < 150000; ++i) {
            std::memcpy(piece.text.get(), " x=", 3);
            piece.size = 3;
            piece.numbers[0] = {3, formatDxfDouble, i * 0.5};
            piece.count = 1;
            file.write(piece);
            expected += " x=" + std::to_string(i / 2) + (i % 2 ? ".5" : ".0");
        }
        file.overwriteStart("START");
        file.commit();
    }
    ASSERT_GT(expected.size(), std::size_t(1) << 20) << "blocks went to the writing thread";
    EXPECT_TRUE(slurp(target) == expected);

    OutputFile device("/dev/null");
    device.write("text");
    EXPECT_THROW(device.overwriteStart("start"), OdError);
}

// A save killed before its rename leaves NAME.tmpPID-N; the next save of NAME removes those of
// processes that are gone and nothing else.
TEST_F(AtomicSave, ASuccessfulSaveRemovesTheStaleTemporariesOfItsTarget)
{
    const pid_t child = ::fork();
    if (child == 0)
        ::_exit(0);
    ASSERT_GT(child, 0);
    ASSERT_EQ(::waitpid(child, nullptr, 0), child);
    const std::string gone = std::to_string(child);
    const std::string alive = std::to_string(::getppid());
    for (const std::string& name :
         {"a.dxf.tmp" + gone + "-0", "a.dxf.tmp" + gone + "-17", "a.dxf.tmp" + alive + "-0", "b.dxf.tmp" + gone + "-0",
          "a.dxf.tmp" + gone, "a.dxf.tmp" + gone + "-1x", "a.dxf.tmpx" + gone + "-1"})
        std::ofstream(dir / name) << "half a drawing";
    OutputFile::save(dir / "a.dxf", "whole");
    EXPECT_FALSE(std::filesystem::exists(dir / ("a.dxf.tmp" + gone + "-0")));
    EXPECT_FALSE(std::filesystem::exists(dir / ("a.dxf.tmp" + gone + "-17")));
    EXPECT_EQ(entries(), 6U) << "kept: a live process's, another target's, and names of another form";
    EXPECT_EQ(slurp(dir / "a.dxf"), "whole");
}

// A large output goes to the file in blocks written by a thread of their own: every byte arrives
// in order; a failure to write one is raised by a later write or by commit and replaces nothing;
// an output abandoned part way leaves the target as it was.
TEST_F(AtomicSave, LargeOutputsArriveWholeInOrderAndTheirFailuresAreRaised)
{
    const auto target = dir / "big.svg";
    std::string expected;
    {
        OutputFile file(target);
        std::mt19937 rng(5);
        for (int piece = 0; expected.size() < (std::size_t(5) << 20); ++piece) {
            std::string text(1 + rng() % 300000, ' ');
            for (char& c : text)
                c = static_cast<char>('a' + rng() % 26);
            text += std::to_string(piece) + '\n';
            file.write(text);
            expected += text;
        }
        file.commit();
    }
    ASSERT_EQ(slurp(target).size(), expected.size());
    EXPECT_TRUE(slurp(target) == expected);

    {
        OutputFile file(target);
        file.write(std::string(std::size_t(3) << 20, 'x'));
        // Abandoned, as a save that meets an error is.
    }
    EXPECT_TRUE(slurp(target) == expected);

    struct rlimit old {};
    ::getrlimit(RLIMIT_FSIZE, &old);
    struct rlimit small = old;
    small.rlim_cur = std::size_t(1) << 20;
    auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    ::setrlimit(RLIMIT_FSIZE, &small);
    bool raised = false;
    try {
        OutputFile file(target);
        for (int i = 0; i < 64; ++i)
            file.write(std::string(std::size_t(1) << 16, 'y'));
        file.commit();
    } catch (const OdError& e) {
        raised = true;
        EXPECT_NE(std::string(e.what()).find("big.svg"), std::string::npos) << e.what();
    }
    ::setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, previousHandler);
    EXPECT_TRUE(raised) << "writing beyond the file size limit succeeded";
    EXPECT_TRUE(slurp(target) == expected);
    EXPECT_EQ(entries(), 1U) << "no temporary file left";
}

// Streamed through a small buffer (a piece for almost every tag) and through the usual one (the
// file's blocks then go to its writing thread), with the numbers printed where the file is
// written, or now here and now there, the text is the one written in memory.
TEST_F(AtomicSave, StreamedWriterOutputReadsBackAndAnAbandonedSaveChangesNothing)
{
    const auto target = dir / "d.dxf", large = dir / "large.dxf";
    DxfTagWriter inMemory;
    std::string alternated;
    {
        OutputFile file(target), largeFile(large, OutputFile::Backup::None);
        const auto into = [](OutputFile& f) { return [&f](NumberedText& piece) { return f.write(piece); }; };
        DxfTagWriter streamed(into(file), 16), blocks(into(largeFile));
        // A sink that asks for the numbers of every other piece printed in its text.
        std::size_t pieces = 0;
        DxfTagWriter alternating(
            [&](NumberedText& piece) {
                std::string room(piece.weight(), '\0');
                alternated.append(room.data(), writeWithNumbers(room.data(), piece.view(), piece.deferred()));
                piece.clear();
                return ++pieces % 2 == 0;
            },
            64);
        for (int i = 0; i < 20000; ++i) {
            for (DxfTagWriter* w : {&inMemory, &streamed, &blocks, &alternating}) {
                w->writeString(0, "POINT");
                w->writePoint(10, i * 0.1, -i / 3.0, 0.0);
                w->writeInt(70, i);
            }
        }
        streamed.flush();
        blocks.flush();
        alternating.flush();
        file.commit();
        largeFile.commit();
    }
    EXPECT_TRUE(slurp(target) == inMemory.text());
    EXPECT_TRUE(slurp(large) == inMemory.text());
    EXPECT_TRUE(alternated == inMemory.text());
    std::filesystem::remove(large);
    DxfTagReader reader = DxfTagReader::fromFile(target);
    std::size_t tags = 0;
    while (reader.next())
        ++tags;
    EXPECT_EQ(tags, 100000U);

    {
        OutputFile file(target);
        file.write("half a drawing");
        // Leaving without commit, as a save interrupted by an error does.
    }
    EXPECT_EQ(slurp(target), inMemory.text());
    EXPECT_EQ(entries(), 1U);

    try {
        DxfTagReader::fromFile(dir / "none.dxf");
        ADD_FAILURE() << "read a missing file";
    } catch (const OdError& e) {
        EXPECT_EQ(e.code(), eFileError);
        EXPECT_NE(std::string(e.what()).find("none.dxf"), std::string::npos) << e.what();
    }
}
