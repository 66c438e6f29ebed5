#pragma once
// The six frames of the notification-icon animation, drawn by code. Each
// frame is a 16 x 16 picture of white upward chevrons on a transparent
// background: the white chevron of the program icon's mark, edged with a
// one-pixel rim of the icon's orange so that it reads on light taskbars as
// well as dark ones and stays one family with the program icon. Shown in
// order, the chevrons come in from below, rise through the icon and leave at
// the top, followed by one empty, fully transparent frame.
//
// Every frame becomes an icon with two images, a 256-colour one for displays
// of few colours and a 32-bit one with an alpha channel; the Win32 layer
// (shell/win32/tray_icon_win32.h) makes an icon from the image that suits the
// display and keeps it for the life of the process.

#include <cstdint>
#include <vector>

#include "controls/pixel_buffer.h"

namespace vellumar {

inline constexpr int kTrayFrameCount = 6;
inline constexpr int kTrayFrameSizePixels = 16;

// Chevron geometry, in pixels of the frame.
inline constexpr int kChevronWidthPixels = 9;
inline constexpr int kChevronHeightRows = 6;
inline constexpr int kChevronApexColumn = 7;
// First rows of the three slots; neighbours overlap by one row.
inline constexpr int kChevronTopSlotRow = 0;
inline constexpr int kChevronMiddleSlotRow = 5;
inline constexpr int kChevronBottomSlotRow = 10;

// The colours of a frame, given by the program icon's owner: the chevrons,
// and the rim, every pixel beside a chevron pixel (left, right, above, below)
// that is not one itself. Both opaque and different.
struct TrayArtwork {
    Argb chevron = OpaqueRgb(0xFF, 0xFF, 0xFF);
    Argb rim{};
};

// Whether the chevron whose apex row is `slot_row` covers (x, y).
bool ChevronCovers(int slot_row, int x, int y);
// Frame 1 to 6 as straight-alpha pixels, size_pixels square; an empty buffer
// for any other number or a size below 16. At 16 pixels the chevrons are the
// pixel art above; larger frames draw the same shapes at their own size
// (diagonals a pixel step at a time, the rim a pixel for every 16), never a
// stretched copy.
PixelBuffer TrayFrame(int frame, const TrayArtwork& artwork,
                      int size_pixels = kTrayFrameSizePixels);

// One image of an icon in the layout that icon files and icon resources
// share: a BITMAPINFOHEADER with the doubled height, the colour table (for
// palette images), the colour rows and the 1-bit transparency mask, both
// bottom row first.
struct IconImage {
    int bits_per_pixel = 0;
    std::vector<std::uint8_t> bytes;
};

// The 256-colour image (index 0 transparent black, index 1 the chevron
// white, index 2 the rim) and the 32-bit image with alpha, in that order.
std::vector<IconImage> TrayFrameImages(int frame, const TrayArtwork& artwork,
                                       int size_pixels = kTrayFrameSizePixels);
// The image to show on a display of `display_bits_per_pixel`: the 32-bit
// one on displays of more than 256 colours, the 256-colour one otherwise.
const IconImage& ChooseIconImage(const std::vector<IconImage>& images, int display_bits_per_pixel);

}  // namespace vellumar
