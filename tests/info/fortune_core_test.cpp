#include "app/info/fortune_core.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/info/fortune_listing.h"

namespace {

using horolo::FortuneGenerator;
using horolo::FortuneMessage;
using horolo::FortuneEntries;
using fortunetest::Listed;
using Entries = std::vector<std::string>;

struct SplitCase {
    const char* name;
    std::string data;
    Entries entries;
};

TEST(FortuneData, SplitsLinesIntoTrimmedPiecesOfAtMost255Bytes) {
    const std::string x255(255, 'x');
    const std::string y45(45, 'y');
    // Entries far past the first few, with empty pieces between them.
    std::string many;
    Entries numbers;
    for (int i = 0; i < 300; ++i) {
        numbers.push_back(std::to_string(i));
        many += numbers.back() + (i % 3 == 0 ? "\r\n \n\n" : "\n");
    }
    const SplitCase cases[] = {
        {"CR LF lines with an empty one between", "first\r\n\r\nsecond\r\n", {"first", "second"}},
        {"a line of spaces and one of carriage returns", "a\n   \n\r\r\r\nb", {"a", "b"}},
        {"300 bytes without spaces", x255 + y45 + "\r\n", {x255, y45}},
        {"255 bytes, then the line end alone", x255 + "\r\nz", {x255, "z"}},
        {"the second piece trimmed on its own", x255 + "  y  \n", {x255, "  y"}},
        {"one entry without a line end", "only", {"only"}},
        {"Ctrl-Z and blanks at the end", "end \x1A \x1A\r\n\x1A", {"end"}},
        {"leading blanks and tabs stay", "  \tin\tside\n", {"  \tin\tside"}},
        {"duplicates stay", "same\nsame\n", {"same", "same"}},
        {"a NUL ends what can be shown", std::string("ab\0cd\nef", 8), {"ab", "ef"}},
        {"a cut inside a double-byte character", std::string(254, 'x') + "\x91\xe5\n", {std::string(254, 'x') + "\x91", "\xe5"}},
        {"nothing", "", {}},
        {"300 entries and blank lines", many, numbers},
    };
    for (const SplitCase& c : cases) EXPECT_EQ(Listed(FortuneEntries(c.data)), c.entries) << c.name;
}

// Worked by hand with M = 346 * 2^32 + 20021:
// from state 0: 1, high part 0;
// then M + 1 = 346 * 2^32 + 20022, high part 346;
// then M * (M + 1) + 1 = 346 * (20021 + 20022) * 2^32 + 20021 * 20022 + 1 (mod 2^64)
//   = 13854878 * 2^32 + 400860463, and 400860463 < 2^32: high part 13854878.
// From state 2^63, M odd: M * 2^63 + 1 = 2^63 + 1, high part 0x80000000,
// top bit cleared: 0; then 2^63 + M + 1, high part 0x8000015A: 346.
TEST(FortuneGenerator, DrawsTheHighPartOfTheStateWithoutItsTopBit) {
    FortuneGenerator fromZero;
    fromZero.seed(0);
    EXPECT_EQ(fromZero.next(), 0u);
    EXPECT_EQ(fromZero.next(), 346u);
    EXPECT_EQ(fromZero.next(), 13854878u);

    FortuneGenerator fromTopBit(1ULL << 63);
    EXPECT_EQ(fromTopBit.next(), 0u);
    EXPECT_EQ(fromTopBit.next(), 346u);
}

TEST(FortuneGenerator, TheSameSecondGivesTheSameDraws) {
    FortuneGenerator first(12345);
    FortuneGenerator second(67890);
    first.seed(1765000000);
    second.seed(1765000000);
    for (int i = 0; i < 1000; ++i) ASSERT_EQ(first.pick(7), second.pick(7)) << "draw " << i;
    FortuneGenerator one;
    one.seed(1765000000);
    for (int i = 0; i < 100; ++i) EXPECT_EQ(one.pick(1), 0u);
}

TEST(FortuneMessage, EachVoiceFramesTheEntry) {
    const struct {
        int voice;
        std::wstring message;
    } cases[] = {
        {0, L"アンタの今日の運勢は、\n「大吉」\nよ！"},
        {1, L"あなたの運勢は\n「大吉」\nよ…"},
        {2, L"え、えと…君の運勢は…\n「大吉」\nなんだ。"},
        {3, L"今日の運勢は、\n「大吉」\nです"},
        {-1, L"今日の運勢は、\n「大吉」\nです"},  // no background selected
    };
    for (const auto& c : cases) EXPECT_EQ(FortuneMessage(c.voice, L"大吉"), c.message) << "voice " << c.voice;
}

}  // namespace
