// TextOutput hands on exactly what was written, in order, whatever the sizes of the pieces
// against its buffer, and never more than a buffer at a time except a piece larger than it.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include <vantrel/host/TextOutput.h>

TEST(TextOutputTest, PiecesOfEverySizeArriveWholeAndInOrder)
{
    constexpr std::size_t kBuffer = 300;
    std::string received;
    std::vector<std::size_t> blocks;
    vantrel::TextOutput out(
        [&](std::string_view piece) {
            received.append(piece);
            blocks.push_back(piece.size());
        },
        kBuffer);
    std::string expected;
    for (std::size_t size : {1u, 63u, 136u, 299u, 300u, 301u, 1000u, 5u, 64u}) {
        const std::string piece(size, static_cast<char>('a' + size % 26));
        out.append(piece);
        expected += piece;
        // A number written into the free room at the end of whatever the buffer holds.
        char* at = out.room(24);
        at[0] = '7';
        at[1] = ';';
        out.advance(at + 2);
        expected += "7;";
    }
    out.append('!');
    expected += '!';
    out.flush();
    out.flush();
    EXPECT_EQ(received, expected);
    for (std::size_t block : blocks)
        EXPECT_TRUE(block <= kBuffer || block == 301 || block == 1000) << block;
}

// Numbers given to a number sink arrive unprinted, each at its place in the text of its block;
// printed there, the text is the one a plain sink receives with the numbers printed in place,
// also when the sink asks now and then for the numbers of the next block printed in it.
TEST(TextOutputTest, NumbersLeftToTheSinkComeOutWhereTheyWereWritten)
{
    const vantrel::NumberFormat twoDecimals = [](char* out, double v) {
        return out + static_cast<std::size_t>(std::snprintf(out, vantrel::kNumberChars, "%.2f", v));
    };
    const auto writeAll = [&](vantrel::TextOutput& out) {
        for (int i = 0; i < 300; ++i) {
            out.append(std::string(static_cast<std::size_t>(i % 19), 'x')); // none to 18
            out.number(i / 8.0, twoDecimals);
            if (i % 50 == 0)
                out.append(std::string(300, '-')); // longer than the buffer
            out.append(';');
        }
        out.number(-1.0, twoDecimals); // the last thing written
        out.flush();
    };
    std::string plain, printed;
    std::size_t blocksWithNumbers = 0, blocks = 0, printedHere = 0;
    vantrel::TextOutput inPlace([&](std::string_view piece) { plain.append(piece); }, 200);
    vantrel::TextOutput deferred(
        [&](vantrel::NumberedText& piece) {
            const std::string_view text = piece.view();
            std::string room(piece.weight(), '\0');
            room.resize(
                static_cast<std::size_t>(vantrel::writeWithNumbers(room.data(), text, piece.deferred()) - room.data()));
            printed += room;
            blocksWithNumbers += piece.count == 0 ? 0U : 1U;
            printedHere += text.find('.') != std::string_view::npos ? 1U : 0U; // a number in the text
            piece.clear();
            return ++blocks % 3 == 0;
        },
        200);
    writeAll(inPlace);
    writeAll(deferred);
    EXPECT_EQ(printed, plain);
    EXPECT_GT(blocksWithNumbers, 10U);
    EXPECT_GT(printedHere, 5U);
    EXPECT_NE(plain.find("x37.38;"), std::string::npos);
    EXPECT_TRUE(plain.ends_with(";-1.00"));
}
