#include "shell/tray_frames.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vellumar {
namespace {

const TrayArtwork kArtwork{OpaqueRgb(0xFF, 0xFF, 0xFF), OpaqueRgb(0xEE, 0x6E, 0x0C)};

// The three chevrons of frame 3, one row a line; '#' is a chevron pixel.
const std::vector<std::string> kAllThree = {
    ".......#........",  // 0  top apex
    "......###.......",  // 1
    ".....#####......",  // 2
    "....###.###.....",  // 3
    "...###...###....",  // 4
    "...#...#...#....",  // 5  top ends, middle apex
    "......###.......",  // 6
    ".....#####......",  // 7
    "....###.###.....",  // 8
    "...###...###....",  // 9
    "...#...#...#....",  // 10 middle ends, bottom apex
    "......###.......",  // 11
    ".....#####......",  // 12
    "....###.###.....",  // 13
    "...###...###....",  // 14
    "...#.......#....",  // 15 bottom ends
};

std::vector<std::string> Picture(const PixelBuffer& frame) {
    std::vector<std::string> rows;
    for (int y = 0; y < frame.height; ++y) {
        std::string row;
        for (int x = 0; x < frame.width; ++x) {
            const Argb c = frame.At(x, y);
            if (c == kArtwork.chevron) {
                row += '#';
            } else if (c == kArtwork.rim) {
                row += 'o';
            } else if (c == Argb{}) {
                row += '.';
            } else {
                row += '?';  // neither chevron white nor fully transparent
            }
        }
        rows.push_back(row);
    }
    return rows;
}

// The chevrons of the chosen slots ('#'), without the rim.
std::vector<std::string> Chevrons(bool top, bool middle, bool bottom) {
    std::vector<std::string> rows(16, std::string(16, '.'));
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) {
            const bool covered = (top && ChevronCovers(kChevronTopSlotRow, x, y)) ||
                                 (middle && ChevronCovers(kChevronMiddleSlotRow, x, y)) ||
                                 (bottom && ChevronCovers(kChevronBottomSlotRow, x, y));
            if (covered)
                rows[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)] = '#';
        }
    }
    return rows;
}

// The chevrons with their rim ('o'): every other pixel left, right, above or
// below a chevron pixel.
std::vector<std::string> WithRim(std::vector<std::string> rows) {
    const auto at = [&](int x, int y) {
        return x >= 0 && y >= 0 && x < 16 && y < 16 &&
               rows[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)] == '#';
    };
    std::vector<std::string> result = rows;
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) {
            if (!at(x, y) && (at(x - 1, y) || at(x + 1, y) || at(x, y - 1) || at(x, y + 1)))
                result[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)] = 'o';
        }
    }
    return result;
}

std::vector<std::string> Expected(bool top, bool middle, bool bottom) {
    return WithRim(Chevrons(top, middle, bottom));
}

TEST(TrayFrames, TheChevronIsNineWideSixHighWithItsApexAtColumnSeven) {
    EXPECT_EQ(Chevrons(true, true, true), kAllThree);
    int left = 16;
    int right = -1;
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) {
            if (ChevronCovers(0, x, y)) {
                EXPECT_LT(y, 6);
                left = std::min(left, x);
                right = std::max(right, x);
            }
        }
    }
    EXPECT_EQ(right - left + 1, 9);
    EXPECT_TRUE(ChevronCovers(0, 7, 0));
    EXPECT_FALSE(ChevronCovers(0, 6, 0));
    EXPECT_FALSE(ChevronCovers(0, 8, 0));
}

TEST(TrayFrames, EachFrameDrawsItsSlotsInWhiteWithARimOnTransparency) {
    EXPECT_EQ(Picture(TrayFrame(1, kArtwork)), Expected(false, false, true));
    EXPECT_EQ(Picture(TrayFrame(2, kArtwork)), Expected(false, true, true));
    EXPECT_EQ(Picture(TrayFrame(3, kArtwork)), WithRim(kAllThree));
    EXPECT_EQ(Picture(TrayFrame(4, kArtwork)), Expected(true, true, false));
    EXPECT_EQ(Picture(TrayFrame(5, kArtwork)), Expected(true, false, false));
    EXPECT_EQ(Picture(TrayFrame(6, kArtwork)), std::vector<std::string>(16, std::string(16, '.')));
    // The rim of the bottom chevron, drawn alone.
    EXPECT_EQ(Picture(TrayFrame(1, kArtwork))[9], ".......o........");
    EXPECT_EQ(Picture(TrayFrame(1, kArtwork))[13], "...o###o###o....");
    EXPECT_TRUE(TrayFrame(0, kArtwork).pixels.empty());
    EXPECT_TRUE(TrayFrame(7, kArtwork).pixels.empty());
}

TEST(TrayFrames, LargerFramesDrawTheSameChevronsAtTheirOwnSize) {
    for (int size : {20, 24, 32, 48}) {
        for (int frame = 1; frame <= kTrayFrameCount; ++frame) {
            SCOPED_TRACE(testing::Message() << size << " pixels, frame " << frame);
            const auto small = Picture(TrayFrame(frame, kArtwork));
            const auto large = Picture(TrayFrame(frame, kArtwork, size));
            ASSERT_EQ(large.size(), static_cast<std::size_t>(size));
            auto chevron = [&](int x, int y) {
                return x >= 0 && y >= 0 && x < 16 && y < 16 &&
                       small[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)] == '#';
            };
            // Away from a stroke's edge (which may move by less than a
            // pixel), the large pixel under each small pixel's centre agrees.
            for (int y = 0; y < 16; ++y) {
                for (int x = 0; x < 16; ++x) {
                    const bool inside = chevron(x, y);
                    if (chevron(x - 1, y) == inside && chevron(x + 1, y) == inside &&
                        chevron(x, y - 1) == inside && chevron(x, y + 1) == inside) {
                        EXPECT_EQ(large[static_cast<std::size_t>((2 * y + 1) * size / 32)]
                                       [static_cast<std::size_t>((2 * x + 1) * size / 32)] == '#',
                                  inside);
                    }
                }
            }
            for (const std::string& row : large)
                EXPECT_EQ(row.find('?'), std::string::npos) << row;  // crisp
        }
    }
    EXPECT_TRUE(TrayFrame(3, kArtwork, 15).pixels.empty());
}

std::uint32_t Read32(const std::vector<std::uint8_t>& b, std::size_t at) {
    return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) |
           (static_cast<std::uint32_t>(b[at + 3]) << 24);
}

// Reads an icon image back into '#' (opaque white) and '.' (masked) rows.
std::vector<std::string> Decode(const IconImage& image) {
    const auto& b = image.bytes;
    const int width = static_cast<int>(Read32(b, 4));
    const int height = static_cast<int>(Read32(b, 8)) / 2;
    const int bits = b[14];
    const std::size_t palette = Read32(b, 32) * 4;
    const std::size_t colour_stride = ((width * bits + 31) / 32) * 4;
    const std::size_t mask_stride = ((width + 31) / 32) * 4;
    const std::size_t colours = 40 + palette;
    const std::size_t mask = colours + colour_stride * height;
    EXPECT_EQ(b.size(), mask + mask_stride * height);
    std::vector<std::string> rows(static_cast<std::size_t>(height));
    for (int y = 0; y < height; ++y) {
        const std::size_t row = static_cast<std::size_t>(height - 1 - y);  // bottom row first
        for (int x = 0; x < width; ++x) {
            const bool masked =
                (b[mask + row * mask_stride + static_cast<std::size_t>(x / 8)] >> (7 - x % 8)) & 1;
            std::uint32_t colour = 0;
            if (bits == 8) {
                const std::uint8_t index =
                    b[colours + row * colour_stride + static_cast<std::size_t>(x)];
                colour = 0xFF000000U | Read32(b, 40 + index * 4U);
            } else {
                colour = Read32(b, colours + row * colour_stride + static_cast<std::size_t>(x) * 4);
            }
            char c = '?';
            if (masked && (colour & 0xFFFFFFU) == 0)
                c = '.';
            else if (!masked && colour == BitsOf(kArtwork.chevron))
                c = '#';
            else if (!masked && colour == BitsOf(kArtwork.rim))
                c = 'o';
            rows[static_cast<std::size_t>(y)] += c;
        }
    }
    return rows;
}

TEST(TrayFrames, EveryFrameHasA256ColourAndA32BitImageOfTheSamePicture) {
    for (int frame = 1; frame <= kTrayFrameCount; ++frame) {
        const auto images = TrayFrameImages(frame, kArtwork);
        ASSERT_EQ(images.size(), 2U);
        EXPECT_EQ(images[0].bits_per_pixel, 8);
        EXPECT_EQ(images[1].bits_per_pixel, 32);
        for (const IconImage& image : images) {
            EXPECT_EQ(Read32(image.bytes, 0), 40U);
            EXPECT_EQ(Read32(image.bytes, 4), 16U);
            EXPECT_EQ(Read32(image.bytes, 8), 32U);  // colour and mask
            EXPECT_EQ(Decode(image), Picture(TrayFrame(frame, kArtwork))) << frame;
        }
    }
    EXPECT_TRUE(TrayFrameImages(0, kArtwork).empty());
    for (const IconImage& image : TrayFrameImages(3, kArtwork, 24))
        EXPECT_EQ(Decode(image), Picture(TrayFrame(3, kArtwork, 24)));
}

TEST(TrayFrames, TrueColourDisplaysGetTheAlphaImageAndOthersThePaletteOne) {
    const auto images = TrayFrameImages(2, kArtwork);
    EXPECT_EQ(ChooseIconImage(images, 32).bits_per_pixel, 32);
    EXPECT_EQ(ChooseIconImage(images, 24).bits_per_pixel, 32);
    EXPECT_EQ(ChooseIconImage(images, 16).bits_per_pixel, 32);
    EXPECT_EQ(ChooseIconImage(images, 8).bits_per_pixel, 8);
    EXPECT_EQ(ChooseIconImage(images, 4).bits_per_pixel, 8);
}

}  // namespace
}  // namespace vellumar
