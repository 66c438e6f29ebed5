#include "platform/text.h"

#include <gtest/gtest.h>

#include <string>

using vellumar::CutAtNul;

TEST(CutAtNul, CutsAtTheFirstNulAndTrimsSpaces) {
    using namespace std::string_literals;
    EXPECT_EQ(CutAtNul("  High \0garbage\0"s), "High");
    EXPECT_EQ(CutAtNul("\0after"s), "");
    EXPECT_EQ(CutAtNul("Above Normal"), "Above Normal");
    EXPECT_EQ(CutAtNul("   "), "");
    EXPECT_EQ(CutAtNul(""), "");
    // Only spaces are trimmed, and inner spaces stay.
    EXPECT_EQ(CutAtNul(" 10 minute  "), "10 minute");
    EXPECT_EQ(CutAtNul("\tx\t"), "\tx\t");
}

TEST(CutAtNul, TakesAFullBufferWithoutNul) {
    const std::string full(254, 'a');
    EXPECT_EQ(CutAtNul(full), full);
}

TEST(LowerCase, MapsCapitalsOfEachAlphabetAndLeavesTheRest) {
    using vellumar::LowerCase;
    const std::pair<char32_t, char32_t> pairs[] = {
        {U'A', U'a'},           {U'\u00C4', U'\u00E4'}, {U'\u0100', U'\u0101'},
        {U'\u0141', U'\u0142'}, {U'\u0178', U'\u00FF'}, {U'\u0391', U'\u03B1'},
        {U'\u03A9', U'\u03C9'}, {U'\u0386', U'\u03AC'}, {U'\u0401', U'\u0451'},
        {U'\u0411', U'\u0431'}, {U'\u042F', U'\u044F'}, {U'\u0462', U'\u0463'},
        {U'\u0531', U'\u0561'}, {U'\uFF21', U'\uFF41'},
    };
    for (const auto& [capital, small] : pairs) {
        EXPECT_EQ(LowerCase(capital), small) << static_cast<unsigned>(capital);
        EXPECT_EQ(LowerCase(small), small) << static_cast<unsigned>(small);
    }
    for (char32_t other : {U'1', U'&', U'\u00D7', U'\u03A2', U'\u4E2D'})
        EXPECT_EQ(LowerCase(other), other);
}
