// A picture kept as runs of colour gives back exactly the pixels it was made
// from, for whole rows and for any part of one.
#include <gtest/gtest.h>

#include <array>
#include <string>
#include <utility>
#include <vector>

#include "app/artwork.h"
#include "controls/run_length_picture.h"

namespace vellumar {
namespace {

constexpr Argb kGuard = ArgbFromBits(0x12345678);

// Rows of letters, one colour per letter: runs of several lengths, a row of
// one run, and colours that differ only in alpha.
PixelBuffer HandMade() {
    const std::vector<std::string> rows{"aaabbbbc", "dddddddd", "abababab", "aAaAAaaa"};
    PixelBuffer pixels(8, 4);
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 8; ++x) {
            const char c = rows[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)];
            pixels.At(x, y) =
                c == 'A' ? ArgbFromBits(0x00FF0000) : OpaqueRgb(static_cast<std::uint8_t>(c), 7, 9);
        }
    }
    return pixels;
}

TEST(RunLengthPicture, DecodesEveryRowAndAnyPartOfOneAsTheSourcePixels) {
    struct Case {
        std::string name;
        PixelBuffer pixels;
        std::size_t most_runs;
    };
    // The skin has a handful of runs a row: fewer than one per 40 pixels.
    auto skin = [](int dpi) {
        const PixelBuffer& pixels = artwork::Skin(dpi);
        return Case{"skin at " + std::to_string(dpi) + " dpi", pixels, pixels.pixels.size() / 40};
    };
    const std::vector<Case> cases{{"hand-made", HandMade(), 3 + 1 + 8 + 5}, skin(96), skin(144)};
    artwork::ForgetSkin();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const RunLengthPicture picture(c.pixels);
        const int w = c.pixels.width;
        ASSERT_EQ(picture.Width(), w);
        ASSERT_EQ(picture.Height(), c.pixels.height);
        EXPECT_LE(picture.RunCount(), c.most_runs);
        // Whole rows, and parts that start at the edge, mid-run or at the
        // last pixel and end at the edge or inside the row; the guard after
        // each part must survive.
        const std::vector<std::pair<int, int>> ranges{
            {0, w}, {1, w - 1}, {0, 2}, {w / 3, w - w / 3}, {w / 2 + 1, 3}, {w - 1, 1}, {5, 0}};
        for (int y = 0; y < picture.Height(); ++y) {
            for (const auto& [x0, count] : ranges) {
                std::vector<Argb> decoded(static_cast<std::size_t>(count) + 1, kGuard);
                ASSERT_TRUE(picture.DecodeRow(y, x0, count, decoded.data()));
                const auto from = c.pixels.pixels.begin() + std::ptrdiff_t{y} * w + x0;
                std::vector<Argb> expected(from, from + count);
                expected.push_back(kGuard);
                ASSERT_EQ(decoded, expected) << "row " << y << " from " << x0 << " count " << count;
            }
        }
        // Ranges outside the picture write nothing.
        Argb out = kGuard;
        const int h = c.pixels.height;
        for (const auto& [y, x0, count] :
             {std::array{-1, 0, 1}, {h, 0, 1}, {0, -1, 1}, {0, w, 1}, {0, 1, w}, {0, 0, -1}}) {
            EXPECT_FALSE(picture.DecodeRow(y, x0, count, &out)) << y << " " << x0 << " " << count;
        }
        EXPECT_EQ(out, kGuard);
    }
}

}  // namespace
}  // namespace vellumar
