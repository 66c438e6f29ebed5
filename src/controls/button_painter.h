#pragma once
// The Command button's face, drawn from plain data: everything a paint reads
// is in a ButtonLook, and the strokes go to a DrawingSurface. The model
// (command_button.h) decides when to paint and with which look; this file
// decides what the five styles look like in their up, down and disabled
// states. Nothing here keeps state between paints.

#include <cstdint>
#include <string>

#include "controls/drawing_surface.h"
#include "controls/pixel_buffer.h"

namespace vellumar {

enum class ColorShift { kAdditive, kProportional };

// Adds `delta` to red and green; to blue as well (additive) or
// blue * delta / 192, truncated (proportional). Channels clamp to 0..255.
ColorRef ShiftColor(ColorRef color, int delta, ColorShift shift);
// Adds the offsets per channel and clamps each between 0 and the same channel
// of `limit`.
ColorRef OffsetColor(ColorRef color, int d_red, int d_green, int d_blue, ColorRef limit);
// Rounds to the nearest integer, halves to the even one.
int RoundHalfEven(double value);

struct ButtonPalette {
    ColorRef FaceColor = 0;
    ColorRef LightColor = 0;
    ColorRef HighlightColor = 0;
    ColorRef ShadowColor = 0;
    ColorRef DarkShadowColor = 0;
    ColorRef TextColor = 0;
    friend bool operator==(const ButtonPalette&, const ButtonPalette&) = default;
};

// The colour pairs of the gradient styles (3 and 4) and the Office XP set of
// style 5.
struct ButtonColors {
    ColorRef MidColor = 0;
    ColorRef EndColor = 0;
    ColorRef MouseMoveMidColor = 0;
    ColorRef MouseMoveEndColor = 0;
    ColorRef MouseDownMidColor = 0;
    ColorRef MouseDownEndColor = 0;
    ColorRef OfficeXpFillColor = 0;
    ColorRef OfficeXpFrameColor = 0;
    ColorRef OfficeXpMousemoveFillColor = 0;
    ColorRef OfficeXpMousemoveFrameColor = 0;
    ColorRef rectcolor = 0;
    friend bool operator==(const ButtonColors&, const ButtonColors&) = default;
};

inline constexpr std::uint8_t kStateUp = 0;
inline constexpr std::uint8_t kStateDown = 2;

struct ButtonLook {
    int width = 0;   // w, pixels
    int height = 0;  // h, pixels
    int ButtonType = 1;
    int XpType = 1;
    int ColorScheme = 1;
    int Percent = 16;
    std::uint8_t state = kStateUp;
    bool enabled = true;
    bool hovering = false;
    // Focus as the face shows it: the control has the focus and focus
    // rectangles are on.
    bool focus_visible = false;
    bool ShowFocusRect = true;
    // The container marks the control as its default button.
    bool is_default = false;
    ButtonPalette palette;
    ButtonColors colors;
    std::string caption;
};

// Draws the whole face: background, body, border, decorations and caption.
void PaintButtonFace(DrawingSurface& surface, const ButtonLook& look);

}  // namespace vellumar
