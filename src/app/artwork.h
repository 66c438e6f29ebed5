#pragma once
// The program's pictures: the window skin, its chrome and page buttons, the
// page pictures and the program icon. Every picture is drawn by code at run
// time, so the artwork lives in the source tree and changes like any code.
//
// All pictures share one palette: a calm slate-navy for the chrome, a light
// cool grey backdrop, white content surfaces and one warm orange accent that
// matches the orange headings of the pages.
//
// Every picture is drawn for a display scale (dots per inch, 96 being the
// standard): places, radii and line widths grow with it, colours stay, and
// each picture has exactly the pixel size of the place the window shows it
// at, rounded as the window rounds its layout (controls/controls.h).

#include "controls/controls.h"
#include "controls/pixel_buffer.h"

namespace vellumar::artwork {

// ---- Palette ---------------------------------------------------------------

// Title band at the top of the window (vertical gradient, top to bottom).
inline constexpr Argb kTitleBandTop = OpaqueRgb(0x2A, 0x3A, 0x50);
inline constexpr Argb kTitleBandBottom = OpaqueRgb(0x1D, 0x29, 0x3A);
// Light backdrop of the header, the space between the surfaces and the footer.
inline constexpr Argb kBackdrop = OpaqueRgb(0xEE, 0xF1, 0xF5);
// Dark navigation column that carries the six page buttons.
inline constexpr Argb kSidebar = OpaqueRgb(0x1F, 0x2B, 0x3C);
// Highlighted page button (vertical gradient, top to bottom).
inline constexpr Argb kSelectionTop = OpaqueRgb(0x33, 0x62, 0x9A);
inline constexpr Argb kSelectionBottom = OpaqueRgb(0x2A, 0x54, 0x87);
// The warm accent: selection bar, product mark, program icon.
inline constexpr Argb kAccent = OpaqueRgb(0xFF, 0x8A, 0x1C);
inline constexpr Argb kAccentLight = OpaqueRgb(0xFF, 0xA2, 0x45);
inline constexpr Argb kAccentDeep = OpaqueRgb(0xEE, 0x6E, 0x0C);
// Hairline border of the white content card.
inline constexpr Argb kCardBorder = OpaqueRgb(0xD5, 0xDB, 0xE3);
// Close button when hovered and pressed.
inline constexpr Argb kCloseHover = OpaqueRgb(0xE0, 0x45, 0x4B);
inline constexpr Argb kClosePressed = OpaqueRgb(0xB5, 0x32, 0x38);

// ---- Colours for the text the window draws over the pictures ----------------

// Background of the page panels; the skin's content card has exactly this
// colour, so a panel of any size blends into it.
inline constexpr Argb kPanelBackground = OpaqueRgb(0xFF, 0xFF, 0xFF);
// Window title "Vellumar" on the dark title band (skin and title strip).
inline constexpr Argb kTitleTextColor = OpaqueRgb(0xE6, 0xEC, 0xF3);
// Labels of the page buttons, plain and highlighted alike.
inline constexpr Argb kPageLabelColor = OpaqueRgb(0xFF, 0xFF, 0xFF);
// Product name, subtitle, advertisement line and version on the backdrop.
inline constexpr Argb kBodyTextColor = OpaqueRgb(64, 64, 64);

// ---- Where the window shows the pictures -------------------------------------

// In twips from the top-left of the window or, for the page pictures, of
// their page panel.
inline constexpr TwipsRect kTitleStripPlace{480, 0, 10215, 375};
inline constexpr TwipsRect kMinimisePlace{10800, 90, 420, 225};
inline constexpr TwipsRect kClosePlace{11280, 90, 420, 225};
// The six page buttons, one under the other.
inline constexpr int kPageButtonLeftTwips = 100;
inline constexpr int kPageButtonWidthTwips = 3540;
inline constexpr int kPageButtonHeightTwips = 540;
inline constexpr int kPageButtonTopsTwips[6] = {2010, 2540, 3060, 3590, 4110, 4635};
inline constexpr TwipsRect kSettingPicturePlace{120, 240, 900, 900};
inline constexpr TwipsRect kStatePicturePlace{2400, 175, 975, 555};
inline constexpr TwipsRect kProcessPicturePlace{480, 1560, 450, 465};
inline constexpr TwipsRect kMemoryPicturePlace{480, 2880, 450, 465};
inline constexpr TwipsRect kLogoPlace{5760, 240, 1155, 1275};

// The pixel size of a place at `dpi`.
struct PixelSize {
    int width = 0;
    int height = 0;
    friend bool operator==(const PixelSize&, const PixelSize&) = default;
};
constexpr PixelSize SizeAt(const TwipsRect& place, int dpi) {
    const PixelEdges edges = TwipsToPixelEdges(place, dpi);
    return {edges.right - edges.left, edges.bottom - edges.top};
}

// ---- Places on the skin, in pixels of the 786 x 557 window at 96 dpi ----------

inline constexpr int kSkinWidth = 786;
inline constexpr int kSkinHeight = 557;
inline constexpr int kTitleBandHeight = 25;
inline constexpr int kTitleStripX = TwipsToPixels(kTitleStripPlace.left);
inline constexpr int kTitleStripWidth = TwipsToPixels(kTitleStripPlace.width);
inline constexpr int kMinimiseX = TwipsToPixels(kMinimisePlace.left);
inline constexpr int kCloseX = TwipsToPixels(kClosePlace.left);
inline constexpr int kChromeButtonY = TwipsToPixels(kMinimisePlace.top);
inline constexpr int kChromeButtonWidth = TwipsToPixels(kMinimisePlace.width);
inline constexpr int kChromeButtonHeight = TwipsToPixels(kMinimisePlace.height);
inline constexpr int kPageButtonX = TwipsToPixels(kPageButtonLeftTwips);
inline constexpr int kPageButtonWidth = TwipsToPixels(kPageButtonWidthTwips);
inline constexpr int kPageButtonHeight = TwipsToPixels(kPageButtonHeightTwips);
inline constexpr int kPageButtonTops[6] = {
    TwipsToPixels(kPageButtonTopsTwips[0]), TwipsToPixels(kPageButtonTopsTwips[1]),
    TwipsToPixels(kPageButtonTopsTwips[2]), TwipsToPixels(kPageButtonTopsTwips[3]),
    TwipsToPixels(kPageButtonTopsTwips[4]), TwipsToPixels(kPageButtonTopsTwips[5])};
// Where the page label text starts, from the left edge of a page button.
inline constexpr int kPageLabelX = 72;
// Top-left corner where the window places every page panel, and the size of
// the largest panel; the white card on the skin holds this whole area.
inline constexpr int kPanelX = 256;
inline constexpr int kPanelY = 144;
inline constexpr int kPanelMaxWidth = 521;
inline constexpr int kPanelMaxHeight = 385;

// ---- Pictures ----------------------------------------------------------------

// The main window's whole background, fully opaque, the size of the window's
// client area at `dpi`. It is drawn once and kept for the pictures cut from
// it; the reference stays valid until ForgetSkin or a skin for another dpi.
const PixelBuffer& Skin(int dpi = kStandardDpi);
// Frees the kept skin once the pictures are made (it is drawn again if asked
// for later).
void ForgetSkin();
// The title strip; identical to the skin at its place.
PixelBuffer TitleStrip(int dpi = kStandardDpi);

enum class ChromeButton { Minimise, Close };
enum class ChromeState { Normal, Hover, Pressed };
// A chrome button on the title band (28 x 15 at 96 dpi).
PixelBuffer ChromeButtonImage(ChromeButton button, ChromeState state, int dpi = kStandardDpi);

// A page button (236 x 36 at 96 dpi): plain (false) or highlighted (true).
// Its first and last rows are plain navigation column, so neighbours may
// overlap by a row.
PixelBuffer PageButton(bool highlighted, int dpi = kStandardDpi);

// 60 x 60 picture at the top-left of the Setting page (a gear on a tile).
PixelBuffer SettingPicture(int dpi = kStandardDpi);
// 65 x 37 emblem at the top of the State page: a speed gauge with an orange
// needle turned well towards the fast end.
PixelBuffer StatePicture(int dpi = kStandardDpi);
// 30 x 31 picture beside the switch that raises the active program's
// priority: a program window with an orange arrow rising out of it.
PixelBuffer ProcessPicture(int dpi = kStandardDpi);
// 30 x 31 picture beside the switch that releases memory automatically: a
// memory module with orange chips.
PixelBuffer MemoryPicture(int dpi = kStandardDpi);
// 77 x 85 product logo for the About page.
PixelBuffer Logo(int dpi = kStandardDpi);
// The program icon, size x size, with an anti-aliased alpha edge. An empty
// buffer for a size below 1.
PixelBuffer ProgramIcon(int size);

}  // namespace vellumar::artwork
