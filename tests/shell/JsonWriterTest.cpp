// JsonWriter against the library it stands in for: random documents written both ways must be
// the same text, escapes, broken UTF-8, unusual numbers and empty containers included.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <limits>
#include <random>
#include <string>

#include <nlohmann/json.hpp>

#include "JsonWriter.h"

namespace {

using Json = nlohmann::ordered_json;

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
};

std::string dumped(const Json& j) { return j.dump(2, ' ', false, Json::error_handler_t::replace); }

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
        ASSERT_EQ(text, dumped(expected)) << "seed " << seed;
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

TEST(JsonWriterTest, EmptyContainersAndNestingKeepTheLibrarysLayout)
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
    w.endArray();
    w.endObject();
    out.flush();
    EXPECT_EQ(text,
              "{\n  \"empty\": [],\n  \"none\": {},\n  \"points\": [\n    [\n      1.0,\n      -2\n    ]\n  ]\n}");
}
