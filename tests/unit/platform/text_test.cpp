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
    const char32_t capitals[] = {U'A',      U'\u00C4', U'\u0100', U'\u0141', U'\u0391', U'\u03A9',
                                 U'\u0401', U'\u0411', U'\u042F', U'\u0462', U'\u0531'};
    const char32_t smalls[] = {U'a',      U'\u00E4', U'\u0101', U'\u0142', U'\u03B1', U'\u03C9',
                               U'\u0451', U'\u0431', U'\u044F', U'\u0463', U'\u0561'};
    for (std::size_t i = 0; i < std::size(capitals); ++i) {
        EXPECT_EQ(LowerCase(capitals[i]), smalls[i]) << i;
        EXPECT_EQ(LowerCase(smalls[i]), smalls[i]) << i;
    }
    EXPECT_EQ(LowerCase(U'\u0178'), U'\u00FF');
    EXPECT_EQ(LowerCase(U'\u0386'), U'\u03AC');
    for (char32_t other : {U'1', U'&', U'\u00D7', U'\u03A2', U'\u4E2D'})
        EXPECT_EQ(LowerCase(other), other);
}
