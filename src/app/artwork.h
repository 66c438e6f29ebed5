#pragma once
// The program's pictures: the window skin, its chrome and page buttons, the
// page pictures and the program icon. Every picture is drawn by code at run
// time, so the artwork lives in the source tree and changes like any code.
//
// All pictures share one palette: a calm slate-navy for the chrome, a light
// cool grey backdrop, white content surfaces and one warm orange accent that
// matches the orange headings of the pages.

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

// ---- Places on the skin, in pixels of the 786 x 557 window -------------------

inline constexpr int kSkinWidth = 786;
inline constexpr int kSkinHeight = 557;
inline constexpr int kTitleBandHeight = 25;
inline constexpr int kTitleStripX = 32;
inline constexpr int kTitleStripWidth = 681;
inline constexpr int kMinimiseX = 720;
inline constexpr int kCloseX = 752;
inline constexpr int kChromeButtonY = 6;
inline constexpr int kChromeButtonWidth = 28;
inline constexpr int kChromeButtonHeight = 15;
inline constexpr int kPageButtonX = 7;
inline constexpr int kPageButtonWidth = 236;
inline constexpr int kPageButtonHeight = 36;
inline constexpr int kPageButtonTops[6] = {134, 169, 204, 239, 274, 309};
// Where the page label text starts, from the left edge of a page button.
inline constexpr int kPageLabelX = 72;
// Top-left corner where the window places every page panel, and the size of
// the largest panel; the white card on the skin holds this whole area.
inline constexpr int kPanelX = 256;
inline constexpr int kPanelY = 144;
inline constexpr int kPanelMaxWidth = 521;
inline constexpr int kPanelMaxHeight = 385;

// ---- Pictures ----------------------------------------------------------------

// The main window's whole background, fully opaque.
PixelBuffer Skin();
// The skin is drawn once and kept for the pictures cut from it; once they
// are made, this frees it (it is drawn again if asked for later).
void ForgetSkin();
// The title strip placed at (kTitleStripX, 0); identical to the skin there.
PixelBuffer TitleStrip();

enum class ChromeButton { Minimise, Close };
enum class ChromeState { Normal, Hover, Pressed };
// 28 x 15 image of a chrome button placed on the title band.
PixelBuffer ChromeButtonImage(ChromeButton button, ChromeState state);

// 236 x 36 page button: plain (false) or highlighted (true). Its first and
// last rows are plain navigation column, so neighbours may overlap by a row.
PixelBuffer PageButton(bool highlighted);

// 60 x 60 picture at the top-left of the Setting page (a gear on a tile).
PixelBuffer SettingPicture();
// 65 x 37 emblem at the top of the State page: a speed gauge with an orange
// needle turned well towards the fast end.
PixelBuffer StatePicture();
// 30 x 31 picture beside the switch that raises the active program's
// priority: a program window with an orange arrow rising out of it.
PixelBuffer ProcessPicture();
// 30 x 31 picture beside the switch that releases memory automatically: a
// memory module with orange chips.
PixelBuffer MemoryPicture();
// 77 x 85 product logo for the About page.
PixelBuffer Logo();
// The program icon, size x size, with an anti-aliased alpha edge. An empty
// buffer for a size below 1.
PixelBuffer ProgramIcon(int size);

}  // namespace vellumar::artwork
