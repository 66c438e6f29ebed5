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
