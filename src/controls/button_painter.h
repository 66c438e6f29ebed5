#pragma once
// The Command button's face, drawn from plain data: everything a paint reads
// is in a ButtonLook, and the strokes go to a DrawingSurface. The model
// (command_button.h) decides when to paint and with which look; this file
// decides what the five styles look like in their up, down and disabled
// states. Nothing here keeps state between paints.

#include <cstdint>
#include <string>

#include "controls/controls.h"
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

// Places on a face drawn at another display scale. Faces are designed in
// pixels at 96 dpi; at `dpi` a place keeps its scaled distance from the
// nearer edge of the face, so borders, insets and corners are equally thick
// on every side whatever the rounding of the whole size, and the bands of
// neighbouring rows and columns tile the face without gaps or overlaps.
// At 96 dpi every place is itself.
class FaceScale {
  public:
    FaceScale(int width_px, int height_px, int dpi);

    bool Standard() const { return dpi_ == kStandardDpi; }
    // The face's size at 96 dpi.
    int Width() const { return width_; }
    int Height() const { return height_; }
    // Device coordinates of design coordinates.
    int X(int x) const { return Place(x, width_, width_px_); }
    int Y(int y) const { return Place(y, height_, height_px_); }
    // A design length (a stroke's width, an offset) in device pixels.
    int Length(int pixels96) const { return ScalePixels(pixels96, dpi_); }

  private:
    int Place(int at, int size, int size_px) const {
        if (Standard())
            return at;
        return 2 * at <= size ? Length(at) : size_px - Length(size - at);
    }

    int width_px_;
    int height_px_;
    int dpi_;
    int width_;
    int height_;
};

struct ButtonLook {
    int width = 0;   // pixels on the device
    int height = 0;  // pixels on the device
    // The display scale the face is drawn at: its strokes, insets and
    // caption offsets are designed at 96 dpi and drawn this much larger.
    // The caption's font is the surface's, made for the same scale.
    int dpi = kStandardDpi;
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
