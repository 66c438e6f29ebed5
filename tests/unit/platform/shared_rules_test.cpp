// The rules every subsystem shares: halves-to-even rounding, UTF-8 walking
// and ASCII case comparison.
#include <gtest/gtest.h>

#include <limits>
#include <string>

#include "platform/rounding.h"
#include "platform/text.h"
#include "platform/utf8.h"

namespace vellumar {
namespace {

TEST(RoundHalfEven, RoundsHalvesToEvenAndClampsTheRest) {
    constexpr auto kMin = std::numeric_limits<std::int32_t>::min();
    constexpr auto kMax = std::numeric_limits<std::int32_t>::max();
    const struct {
        double value;
        std::int32_t rounded;
    } cases[] = {
        {0.5, 0},
        {1.5, 2},
        {2.5, 2},
        {-0.5, 0},
        {-1.5, -2},
        {-2.5, -2},
        {2.4999, 2},
        {2.5001, 3},
        {-7.6, -8},
        {1e12, kMax},
        {-1e12, kMin},
        {std::numeric_limits<double>::infinity(), kMax},
        {-std::numeric_limits<double>::infinity(), kMin},
        {std::numeric_limits<double>::quiet_NaN(), 0},
        {2147483646.5, 2147483646},
        {-2147483647.5, kMin},
    };
    for (const auto& c : cases) EXPECT_EQ(RoundHalfEven(c.value), c.rounded) << c.value;
    static_assert(RoundHalfEven(3.5) == 4);
}

TEST(Utf8, DecodesWellFormedSequencesAndTakesAnyOtherByteAlone) {
    const struct {
        std::string text;
        char32_t code;
        std::size_t length;
    } cases[] = {
        {"A", U'A', 1},
        {"\xC3\xA4", U'\u00E4', 2},
        {"\xE4\xB8\xAD", U'\u4E2D', 3},
        {"\xF0\x9F\x98\x80", U'\U0001F600', 4},
        {"\xED\xA0\x80", 0xD800, 3},  // a lone surrogate, as converted from UTF-16
        {"\x80", 0x80, 1},            // continuation without a lead
        {"\xC3", 0xC3, 1},            // cut short
        {"\xC3(", 0xC3, 1},           // no continuation
        {"\xC0\x80", 0xC0, 1},        // overlong
        {"\xF8\x88\x80\x80", 0xF8, 1},
        {"\xF4\x90\x80\x80", 0xF4, 1},  // beyond U+10FFFF
    };
    for (const auto& c : cases) {
        const Utf8Char decoded = DecodeUtf8At(c.text, 0);
        EXPECT_EQ(decoded.code, c.code) << c.text;
        EXPECT_EQ(decoded.length, c.length) << c.text;
        if (c.length > 1) {
            std::string again;
            AppendUtf8(again, decoded.code);
            EXPECT_EQ(again, c.text);
        }
    }
    const std::string mixed = "a\xC3\xA4\xE4\xB8\xAD\x80z";
    EXPECT_EQ(Utf8CharCount(mixed), 5U);
    EXPECT_EQ(Utf8Prefix(mixed, 2), "a\xC3\xA4");
    EXPECT_EQ(Utf8Prefix(mixed, 3), "a\xC3\xA4\xE4\xB8\xAD");
    EXPECT_EQ(Utf8Prefix(mixed, 99), mixed);
}

TEST(AsciiCase, MatchesOnlyAsciiLettersAcrossCase) {
    EXPECT_TRUE(EqualsIgnoringAsciiCase("EnableFreeMemory", "enablefreememory"));
    EXPECT_FALSE(EqualsIgnoringAsciiCase("Setting", "Settings"));
    EXPECT_FALSE(EqualsIgnoringAsciiCase("\xC3\x84", "\xC3\xA4"));  // not ASCII: exact only
    EXPECT_FALSE(EqualsIgnoringAsciiCase("@", "`"));
    EXPECT_TRUE(StartsWithIgnoringAsciiCase("Ad line", "AD"));
    EXPECT_FALSE(StartsWithIgnoringAsciiCase("A", "AD"));
}

}  // namespace
}  // namespace vellumar
