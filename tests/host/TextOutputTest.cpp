// TextOutput hands on exactly what was written, in order, whatever the sizes of the pieces
// against its buffer, and never more than a buffer at a time except a piece larger than it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <vantrel/host/TextOutput.h>

TEST(TextOutputTest, PiecesOfEverySizeArriveWholeAndInOrder)
{
    constexpr std::size_t kBuffer = 200;
    std::string received;
    std::vector<std::size_t> blocks;
    vantrel::TextOutput out(
        [&](std::string_view piece) {
            received.append(piece);
            blocks.push_back(piece.size());
        },
        kBuffer);
    std::string expected;
    for (std::size_t size : {1u, 63u, 136u, 199u, 200u, 201u, 1000u, 5u, 64u}) {
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
        EXPECT_TRUE(block <= kBuffer || block == 201 || block == 1000) << block;
}
