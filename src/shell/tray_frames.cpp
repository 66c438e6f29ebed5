#include "shell/tray_frames.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <utility>

namespace vellumar {

namespace {

// Each row of a chevron covers the columns whose distance from the apex
// column lies in [inner, outer]: one pixel at the apex, widening into two
// strokes three pixels thick, and single-pixel stroke ends in the last row
// (which is cut square there, where the next slot's apex sits).
struct ChevronRow {
    int inner;
    int outer;
};
constexpr std::array<ChevronRow, kChevronHeightRows> kChevronRows = {{
    {0, 0},
    {0, 1},
    {0, 2},
    {1, 3},
    {2, 4},
    {4, 4},
}};
static_assert(2 * 4 + 1 == kChevronWidthPixels, "the widest row spans the chevron's width");

// Which slots each frame draws.
struct FrameSlots {
    bool top;
    bool middle;
    bool bottom;
};
constexpr std::array<FrameSlots, kTrayFrameCount> kFrameSlots = {{
    {false, false, true},
    {false, true, true},
    {true, true, true},
    {true, true, false},
    {true, false, false},
    {false, false, false},
}};

constexpr int kInfoHeaderBytes = 40;
constexpr int kPaletteEntries = 256;
constexpr std::uint8_t kMaskAlphaThreshold = 128;

void Put16(std::vector<std::uint8_t>& out, std::uint32_t v) {
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}
void Put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    Put16(out, v & 0xFFFFU);
    Put16(out, v >> 16);
}

int RowStrideBytes(int width, int bits_per_pixel) {
    return ((width * bits_per_pixel + 31) / 32) * 4;
}

// Header, colour rows and mask of one icon image. The mask marks the
// transparent pixels (bit set), which is all that 256-colour displays use
// and what older renderers fall back to for the 32-bit image.
IconImage EncodeImage(const PixelBuffer& frame, const TrayArtwork& artwork, int bits_per_pixel) {
    const int w = frame.width;
    const int h = frame.height;
    const int colour_stride = RowStrideBytes(w, bits_per_pixel);
    const int mask_stride = RowStrideBytes(w, 1);

    IconImage image;
    image.bits_per_pixel = bits_per_pixel;
    auto& out = image.bytes;
    Put32(out, kInfoHeaderBytes);
    Put32(out, static_cast<std::uint32_t>(w));
    Put32(out, static_cast<std::uint32_t>(h * 2));
    Put16(out, 1);
    Put16(out, static_cast<std::uint32_t>(bits_per_pixel));
    Put32(out, 0);  // BI_RGB
    Put32(out, static_cast<std::uint32_t>((colour_stride + mask_stride) * h));
    Put32(out, 0);
    Put32(out, 0);
    Put32(out, bits_per_pixel == 8 ? kPaletteEntries : 0);
    Put32(out, 0);

    if (bits_per_pixel == 8) {
        // Index 0: black under a set mask bit, so the screen shows through.
        // Index 1: the chevron colour, index 2 the rim. The rest stay black
        // and unused.
        Put32(out, 0);
        Put32(out, BitsOf(artwork.chevron) & 0x00FFFFFFU);
        Put32(out, BitsOf(artwork.rim) & 0x00FFFFFFU);
        for (int i = 3; i < kPaletteEntries; ++i) Put32(out, 0);
    }

    for (int y = h - 1; y >= 0; --y) {
        const std::size_t row_start = out.size();
        for (int x = 0; x < w; ++x) {
            const Argb c = frame.At(x, y);
            if (bits_per_pixel == 8) {
                std::uint8_t index = 0;
                if (AlphaOf(c) >= kMaskAlphaThreshold)
                    index = c == artwork.chevron ? 1 : 2;
                out.push_back(index);
            } else {
                Put32(out, BitsOf(c));  // BGRA in memory, straight alpha
            }
        }
        out.resize(row_start + static_cast<std::size_t>(colour_stride), 0);
    }
    for (int y = h - 1; y >= 0; --y) {
        std::vector<std::uint8_t> row(static_cast<std::size_t>(mask_stride), 0);
        for (int x = 0; x < w; ++x) {
            if (AlphaOf(frame.At(x, y)) < kMaskAlphaThreshold)
                row[static_cast<std::size_t>(x / 8)] |= static_cast<std::uint8_t>(0x80U >> (x % 8));
        }
        out.insert(out.end(), row.begin(), row.end());
    }
    return image;
}

// One row of pixels from `left` to `right` inclusive.
void FillRow(PixelBuffer& buffer, int left, int right, int y, Argb c) {
    for (int x = left; x <= right; ++x) buffer.Set(x, y, c);
}

// The chevron of the slot at `slot_row` drawn at the frame's own size. The
// 16-pixel art is the rasterisation of one outline, in frame units (a
// sixteenth of the frame) with v the height below the apex row's top and d
// the distance from the apex column's centre:
//   0 <= v < 6, v - 3 <= d <= v (the 45-degree strokes, three units across),
//   d <= 4.5 (the chevron's width) and d >= 2v - 7.5 (each stroke ends in a
//   point in the last row).
// Tested at pixel centres this gives exactly the rows above at 16 pixels; a
// larger frame tests its own pixel centres, with the apex column's centre on
// the nearest half pixel so the chevron stays symmetric.
void DrawChevron(PixelBuffer& buffer, int slot_row, Argb colour) {
    const double unit = buffer.width / static_cast<double>(kTrayFrameSizePixels);
    const double axis = std::floor((kChevronApexColumn + 0.5) * unit * 2 + 0.5) / 2;
    for (int y = 0; y < buffer.height; ++y) {
        const double v = (y + 0.5) / unit - slot_row;
        if (v < 0 || v >= kChevronHeightRows)
            continue;
        for (int x = 0; x < buffer.width; ++x) {
            const double d = std::abs(x + 0.5 - axis) / unit;
            if (d <= v && d >= v - 3 && d <= 4.5 && d >= 2 * v - 7.5)
                buffer.Set(x, y, colour);
        }
    }
}

}  // namespace

bool ChevronCovers(int slot_row, int x, int y) {
    const int r = y - slot_row;
    if (r < 0 || r >= kChevronHeightRows)
        return false;
    const ChevronRow& row = kChevronRows[static_cast<std::size_t>(r)];
    const int distance = std::abs(x - kChevronApexColumn);
    return distance >= row.inner && distance <= row.outer;
}

PixelBuffer TrayFrame(int frame, const TrayArtwork& artwork, int size_pixels) {
    if (frame < 1 || frame > kTrayFrameCount || size_pixels < kTrayFrameSizePixels)
        return {};
    PixelBuffer buffer(size_pixels, size_pixels, Argb{});
    const FrameSlots& slots = kFrameSlots[static_cast<std::size_t>(frame - 1)];
    for (const auto& [drawn, slot_row] :
         {std::pair{slots.top, kChevronTopSlotRow}, std::pair{slots.middle, kChevronMiddleSlotRow},
          std::pair{slots.bottom, kChevronBottomSlotRow}}) {
        if (!drawn)
            continue;
        if (size_pixels == kTrayFrameSizePixels) {
            // At 16 pixels a chevron is pixel art: whole pixels, no soft
            // edges, so it stays crisp on every taskbar colour.
            for (int r = 0; r < kChevronHeightRows; ++r) {
                const ChevronRow& row = kChevronRows[static_cast<std::size_t>(r)];
                const int y = slot_row + r;
                const int left = kChevronApexColumn - row.outer;
                const int right = kChevronApexColumn + row.outer;
                if (row.inner == 0) {
                    FillRow(buffer, left, right, y, artwork.chevron);
                } else {
                    const int stroke = row.outer - row.inner + 1;
                    FillRow(buffer, left, left + stroke - 1, y, artwork.chevron);
                    FillRow(buffer, right - stroke + 1, right, y, artwork.chevron);
                }
            }
        } else {
            DrawChevron(buffer, slot_row, artwork.chevron);
        }
    }
    // The rim goes round the finished chevrons, so where two slots meet it
    // never covers a chevron pixel.
    const int rim = std::max(1, size_pixels / kTrayFrameSizePixels);
    const PixelBuffer chevrons = buffer;
    for (int y = 0; y < buffer.height; ++y) {
        for (int x = 0; x < buffer.width; ++x) {
            if (chevrons.At(x, y) != Argb{})
                continue;
            bool beside = false;
            for (int dy = -rim; dy <= rim && !beside; ++dy) {
                for (int dx = std::abs(dy) - rim; dx <= rim - std::abs(dy) && !beside; ++dx) {
                    beside = chevrons.Contains(x + dx, y + dy) &&
                             chevrons.At(x + dx, y + dy) == artwork.chevron;
                }
            }
            if (beside)
                buffer.Set(x, y, artwork.rim);
        }
    }
    return buffer;
}

std::vector<IconImage> TrayFrameImages(int frame, const TrayArtwork& artwork, int size_pixels) {
    const PixelBuffer pixels = TrayFrame(frame, artwork, size_pixels);
    if (pixels.pixels.empty())
        return {};
    return {EncodeImage(pixels, artwork, 8), EncodeImage(pixels, artwork, 32)};
}

const IconImage& ChooseIconImage(const std::vector<IconImage>& images, int display_bits_per_pixel) {
    // Alpha-blended icons draw on every display of more than 256 colours.
    const int usable_bits = display_bits_per_pixel > 8 ? 32 : display_bits_per_pixel;
    const IconImage* best = &images.front();
    for (const IconImage& image : images) {
        if (image.bits_per_pixel <= usable_bits && image.bits_per_pixel > best->bits_per_pixel)
            best = &image;
    }
    return *best;
}

}  // namespace vellumar
