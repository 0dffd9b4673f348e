// JsonWriter against the library it stands in for: random documents written both ways must be
// the same text, escapes, broken UTF-8, unusual numbers and empty containers included. Numbers
// may differ only where the library's digits are not the shortest that read back the same.
#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cctype>
#include <charconv>
#include <cmath>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "JsonWriter.h"

namespace {

using Json = nlohmann::ordered_json;

std::string dumped(const Json& j) { return j.dump(2, ' ', false, Json::error_handler_t::replace); }

class RandomDocument {
public:
    explicit RandomDocument(std::uint64_t seed) : m_random(seed) {}

    // Builds a value both as a document and through the writer.
    Json value(vantrel::JsonWriter& w, int depth)
    {
        switch (pick(depth > 3 ? 6 : 8)) {
        case 0: w.null(); return nullptr;
        case 1: {
            const bool b = pick(2) == 1;
            w.value(b);
            return b;
        }
        case 2: {
            const auto i = static_cast<std::int64_t>(m_random());
            w.value(i);
            return i;
        }
        case 3:
        case 4: {
            const double d = number();
            w.value(d);
            return d;
        }
        case 5: {
            const std::string s = text();
            w.value(s);
            return s;
        }
        case 6: {
            Json a = Json::array();
            if (pick(2) == 0) { // numbers given at once, as points are: on one line
                std::vector<double> numbers(static_cast<std::size_t>(pick(4)));
                for (double& d : numbers)
                    d = number();
                w.numbers(numbers);
                return oneLine(numbers);
            }
            w.beginArray();
            for (int n = pick(4); n > 0; --n)
                a.push_back(value(w, depth + 1));
            w.endArray();
            return a;
        }
        default: {
            Json o = Json::object();
            w.beginObject();
            for (int n = pick(4); n > 0; --n) {
                std::string k = text();
                // Keys of a document are unique; the writer is given each once.
                if (o.contains(k))
                    k += std::to_string(n) + "#" + std::to_string(o.size());
                // A word is given as a name the code declares, which is not looked at for escapes.
                const bool word = !k.empty() && std::all_of(k.begin(), k.end(), [](char c) {
                    return std::isalnum(static_cast<unsigned char>(c));
                });
                if (word)
                    w.name(k);
                else
                    w.key(k);
                o[k] = value(w, depth + 1);
            }
            w.endObject();
            return o;
        }
        }
    }

private:
    int pick(int n) { return static_cast<int>(m_random() % static_cast<std::uint64_t>(n)); }

    // An array the library would spread over lines, as a stand-in to be put on one line once
    // the document is dumped (text() never makes the stand-in's first character).
    Json oneLine(const std::vector<double>& numbers)
    {
        if (numbers.empty())
            return Json::array();
        m_oneLine.push_back(numbers);
        return "\x02" + std::to_string(m_oneLine.size() - 1);
    }

public:
    // The library's dump of a document made here, with each array of numbers given at once
    // on one line: "[1.0, -2.5]".
    std::string dump(const Json& document) const
    {
        std::string text = dumped(document);
        for (std::size_t i = 0; i < m_oneLine.size(); ++i) {
            const std::string standIn = "\"\\u0002" + std::to_string(i) + "\"";
            std::string line = "[";
            for (const double d : m_oneLine[i])
                line += (line.size() > 1 ? ", " : "") + Json(d).dump();
            line += "]";
            const std::size_t at = text.find(standIn);
            EXPECT_NE(at, std::string::npos) << standIn;
            if (at != std::string::npos)
                text.replace(at, standIn.size(), line);
        }
        return text;
    }

private:
    double number()
    {
        switch (pick(7)) {
        case 0: return std::bit_cast<double>(m_random()); // any bits: huge, tiny, NaN, infinite
        case 1: return static_cast<double>(static_cast<int>(m_random() % 2001) - 1000); // whole
        case 2: return std::ldexp(static_cast<double>(m_random() % 4096), -pick(12));   // few decimals
        case 3: return pick(2) ? 0.0 : -0.0;
        case 4: return std::numeric_limits<double>::denorm_min() * static_cast<double>(1 + pick(9));
        case 5: // whole, of any length up to where an exponent begins, and beyond
            return std::trunc(std::ldexp(std::uniform_real_distribution<double>(-1.0, 1.0)(m_random), pick(56)));
        default: return std::uniform_real_distribution<double>(-1e6, 1e6)(m_random);
        }
    }

    std::string text()
    {
        static const std::string pieces[]
            = {"a",    "Layer 0", "\"", "\\", "/",    "\n",   "\t",       "\x01",         "\x1f",
               "\x7f", "é",       "€",  "𝄞",  "\xff", "\xc3", "\xe2\x82", "\xed\xa0\x80", ""};
        std::string s;
        for (int n = pick(5); n > 0; --n)
            s += pieces[pick(std::size(pieces))];
        return s;
    }

    std::mt19937_64 m_random;
    std::vector<std::vector<double>> m_oneLine;
};

// A JSON text with each number outside the strings taken out into numbers (its place left as #).
std::string withoutNumbers(std::string_view text, std::vector<std::string>& numbers)
{
    std::string rest;
    bool inString = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (inString) {
            rest += c;
            if (c == '\\')
                rest += text[++i];
            else if (c == '"')
                inString = false;
        } else if (c == '-' || (c >= '0' && c <= '9')) {
            const std::size_t end = text.find_first_of(",\n]}", i);
            numbers.emplace_back(text.substr(i, end - i));
            rest += '#';
            i = end - 1;
        } else {
            inString = c == '"';
            rest += c;
        }
    }
    return rest;
}

double readBack(const std::string& text)
{
    double d = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), d);
    EXPECT_TRUE(ec == std::errc() && end == text.data() + text.size()) << text;
    return d;
}

// The significant digits of a number's text, without the zeros that only place the point.
std::string significantDigits(std::string_view text)
{
    std::string digits;
    for (const char c : text.substr(0, text.find('e')))
        if (c >= '0' && c <= '9' && !(digits.empty() && c == '0'))
            digits += c;
    return digits.erase(digits.find_last_not_of('0') + 1);
}

// The writer's text against the library's: the same but for numbers. Of the same digits the text
// is the same; other digits must read back as the very same double in no more characters (the
// library's digits are now and then one too many, or not the nearest of the shortest).
void expectSameDocument(const std::string& written, const std::string& library)
{
    std::vector<std::string> ours;
    std::vector<std::string> theirs;
    ASSERT_EQ(withoutNumbers(written, ours), withoutNumbers(library, theirs));
    for (std::size_t i = 0; i < ours.size(); ++i) {
        if (significantDigits(ours[i]) == significantDigits(theirs[i])) {
            EXPECT_EQ(ours[i], theirs[i]);
            continue;
        }
        EXPECT_LE(ours[i].size(), theirs[i].size()) << ours[i] << " for " << theirs[i];
        EXPECT_EQ(std::bit_cast<std::uint64_t>(readBack(ours[i])), std::bit_cast<std::uint64_t>(readBack(theirs[i])))
            << ours[i] << " for " << theirs[i];
    }
}

} // namespace

TEST(JsonWriterTest, WritesWhatTheLibraryDumpsOfTheSameDocument)
{
    for (std::uint64_t seed = 1; seed <= 3000; ++seed) {
        std::string text;
        // A small buffer, so that values also straddle the blocks handed on.
        vantrel::TextOutput out([&text](std::string_view piece) { text.append(piece); }, 128);
        vantrel::JsonWriter writer(out);
        RandomDocument random(seed);
        const Json expected = random.value(writer, 0);
        out.flush();
        SCOPED_TRACE("seed " + std::to_string(seed));
        expectSameDocument(text, random.dump(expected));
    }
}

// Text is looked at several characters at a time: a character that needs escaping, or the
// printable ones at the edges of what goes as it is, in every place of texts of every length up
// to three words.
TEST(JsonWriterTest, EveryPlaceOfEveryLengthIsLookedAt)
{
    for (const char special : {'\x01', '\x1f', ' ', '~', '\x7f', '"', '\\', '\x80', '\xff'}) {
        for (std::size_t length = 1; length <= 24; ++length) {
            for (std::size_t at = 0; at < length; ++at) {
                std::string s(length, 'k');
                s[at] = special;
                std::string text;
                vantrel::TextOutput out([&text](std::string_view piece) { text.append(piece); });
                vantrel::JsonWriter w(out);
                w.beginObject();
                w.key(s);
                w.value(s);
                w.endObject();
                out.flush();
                Json expected = Json::object();
                expected[s] = s;
                ASSERT_EQ(text, dumped(expected)) << "character " << int(special) << " at " << at << " of " << length;
            }
        }
    }
}

TEST(JsonWriterTest, EmptyContainersAndNestingKeepTheLibrarysLayoutButPointsTakeOneLine)
{
    std::string text;
    vantrel::TextOutput out([&text](std::string_view piece) { text.append(piece); });
    vantrel::JsonWriter w(out);
    w.beginObject();
    w.key("empty");
    w.beginArray();
    w.endArray();
    w.key("none");
    w.beginObject();
    w.endObject();
    w.key("points");
    w.beginArray();
    w.beginArray();
    w.value(1.0);
    w.value(std::int64_t(-2));
    w.endArray();
    const double point[] = {0.5, -2.0, 1e300};
    w.numbers(point);
    w.numbers({});
    w.endArray();
    w.endObject();
    out.flush();
    EXPECT_EQ(text,
              "{\n  \"empty\": [],\n  \"none\": {},\n  \"points\": [\n    [\n      1.0,\n      -2\n    ],\n"
              "    [0.5, -2.0, 1e+300],\n    []\n  ]\n}");
}

// Numbers of every magnitude, the edges where the layout changes (1e-4, 1e15, exponents of one,
// two and three digits) and those next to them included: laid out as the library lays them out,
// with the digits the standard library gives as the shortest and nearest.
TEST(JsonWriterTest, NumbersAreTheShortestThatReadBackTheSame)
{
    std::mt19937_64 random(7);
    std::vector<double> values;
    for (int power = -320; power <= 308; ++power) {
        const double edge = std::pow(10.0, power);
        values.insert(values.end(), {edge, std::nextafter(edge, 0.0), std::nextafter(edge, HUGE_VAL), -edge});
    }
    for (int i = 0; i < 50000; ++i) {
        const double any = std::bit_cast<double>(random());
        if (std::isfinite(any))
            values.push_back(any);
        values.push_back(std::uniform_real_distribution<double>(-1e3, 1e3)(random));
    }
    values.insert(values.end(),
                  {0.0, -0.0, 1.0, 0.5, 1e15 - 1, 123456789012345.6, 0.1 + 0.2, std::numeric_limits<double>::max(),
                   std::numeric_limits<double>::denorm_min()});
    std::string written;
    vantrel::TextOutput out([&written](std::string_view piece) { written.append(piece); });
    vantrel::JsonWriter w(out);
    w.beginArray();
    for (const double v : values)
        w.value(v);
    w.endArray();
    out.flush();
    expectSameDocument(written, dumped(Json(values)));
    std::vector<std::string> numbers;
    withoutNumbers(written, numbers);
    ASSERT_EQ(numbers.size(), values.size());
    for (std::size_t i = 0; i < values.size(); ++i) {
        char shortest[32];
        const char* end
            = std::to_chars(shortest, shortest + sizeof shortest, values[i], std::chars_format::scientific).ptr;
        ASSERT_EQ(significantDigits(numbers[i]), significantDigits({shortest, end})) << numbers[i];
    }
}
