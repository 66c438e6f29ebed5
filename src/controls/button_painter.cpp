#include "controls/button_painter.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "platform/rounding.h"

namespace vellumar {

namespace {

constexpr ColorRef kBorderLine = Rgb(0, 60, 115);
constexpr ColorRef kBorderDot = Rgb(16, 77, 123);
constexpr ColorRef kEmphasisFrame = Rgb(140, 174, 231);
constexpr ColorRef kEmphasisBottom = Rgb(107, 130, 239);
constexpr ColorRef kEmphasisTop = Rgb(206, 231, 255);
constexpr ColorRef kEmphasisSecond = Rgb(189, 215, 247);
constexpr ColorRef kEmphasisSides = Rgb(181, 209, 240);
constexpr ColorRef kEmphasisXp2 = Rgb(122, 184, 98);
constexpr ColorRef kHoverRingXp2 = Rgb(228, 144, 80);
constexpr ColorRef kUpBodyStartXp2 = Rgb(242, 237, 218);
constexpr ColorRef kDisabledFace = Rgb(244, 244, 234);
constexpr ColorRef kDisabledCaption = Rgb(161, 162, 146);
constexpr ColorRef kDisabledBorder = Rgb(201, 199, 186);
constexpr ColorRef kGradientDisabledCaption = Rgb(171, 168, 153);

// Layout flags of the two caption placements.
constexpr unsigned kSingleLineFormat = text_format::kCenter | text_format::kVCenter |
                                       text_format::kSingleLine | text_format::kExpandTabs;
constexpr unsigned kWrappedFormat = text_format::kCenter | text_format::kWordBreak;

int RedOfRef(ColorRef c) {
    return static_cast<int>(c & 0xFF);
}
int GreenOfRef(ColorRef c) {
    return static_cast<int>((c >> 8) & 0xFF);
}
int BlueOfRef(ColorRef c) {
    return static_cast<int>((c >> 16) & 0xFF);
}
int ChannelOf(ColorRef c, int channel) {
    return static_cast<int>((c >> (8 * channel)) & 0xFF);
}

std::uint8_t ClampChannel(int value) {
    return static_cast<std::uint8_t>(std::clamp(value, 0, 255));
}

ColorRef ClampedRgb(int r, int g, int b) {
    return Rgb(ClampChannel(r), ClampChannel(g), ClampChannel(b));
}

enum class CaptionBox {
    kClient,   // ClientRect: (0, 0, w, h)
    kCaption,  // CaptionRect: (2, 2, w, h), one pixel right and down of the centre
};

enum class Look { kUp, kHover, kDown };

class Painter {
  public:
    Painter(DrawingSurface& surface, const ButtonLook& look)
        : surface_(surface),
          look_(look),
          scale_(look.width, look.height, look.dpi),
          w_(scale_.Width()),
          h_(scale_.Height()) {}

    void Paint();

  private:
    bool Emphasis() const {
        return look_.ShowFocusRect && (look_.is_default || look_.focus_visible);
    }
    const ButtonPalette& Palette() const { return look_.palette; }
    const ButtonColors& Colors() const { return look_.colors; }

    // Primitives shared by every style.
    void FillBox(int x, int y, int width, int height, ColorRef color, bool frame_only);
    void DrawLine(int x1, int y1, int x2, int y2, ColorRef color);
    void SetDot(int x, int y, ColorRef color) {
        if (scale_.Standard()) {
            surface_.SetPixel(x, y, color);
        } else {
            FillScaled(x, y, x + 1, y + 1, color);
        }
    }
    // The device pixels of the design pixels [left, right) x [top, bottom).
    void FillScaled(int left, int top, int right, int bottom, ColorRef color);
    void FadeLines(ColorRef from, int y_from, int y_to, int step);
    void DrawXpBorder(ColorRef line_color, ColorRef dot_color);
    void DrawFocusBox();
    void PlaceCaption(CaptionBox box, ColorRef text_color);

    void Style1Up();
    void Style1Down();
    void Style1Disabled();
    void HoverRing(ColorRef color);
    void EmphasisStrokes(bool all_green, int second_line_x1, int second_line_x2);

    void Style2Up();
    void Style2Bevel();
    void Style2Down();
    void Style2Disabled();

    void Style3Up();
    void Style3Down();
    void Style3Disabled();
    void Style3Face(ColorRef mid, ColorRef end, ColorRef border, int percent);
    ColorRef Style3Border(Look look) const;

    void Style4Up();
    void Style4Down();
    void Style4Disabled();
    void Style4Face(ColorRef mid, ColorRef end, ColorRef border, int percent);

    void Style5Up();
    void Style5Down();
    void Style5Disabled();

    void Row(int y, ColorRef color) { DrawLine(1, y, w_ - 1, y, color); }

    DrawingSurface& surface_;
    const ButtonLook& look_;
    const FaceScale scale_;
    // The face's size at 96 dpi: every stroke below is placed in it.
    const int w_;
    const int h_;
};

void Painter::Paint() {
    if (w_ <= 0 || h_ <= 0 || look_.width <= 0 || look_.height <= 0)
        return;
    // The fill covers the whole surface, so nothing else needs clearing.
    FillBox(0, 0, w_, h_, Palette().FaceColor, false);
    if (look_.enabled) {
        surface_.SetTextColor(Palette().TextColor);
        if (look_.state != kStateUp && look_.state != kStateDown)
            return;
        const bool up = look_.state == kStateUp;
        switch (look_.ButtonType) {
            case 1:
                up ? Style1Up() : Style1Down();
                break;
            case 2:
                up ? Style2Up() : Style2Down();
                break;
            case 3:
                up ? Style3Up() : Style3Down();
                break;
            case 4:
                up ? Style4Up() : Style4Down();
                break;
            case 5:
                up ? Style5Up() : Style5Down();
                break;
            default:
                break;
        }
        return;
    }
    switch (look_.ButtonType) {
        case 1:
            Style1Disabled();
            break;
        case 2:
            Style2Disabled();
            break;
        case 3:
            Style3Disabled();
            break;
        case 4:
            Style4Disabled();
            break;
        case 5:
            Style5Disabled();
            break;
        default:
            break;
    }
}

// An empty or inverted box draws nothing, so tiny buttons look the same on
// every surface.
void Painter::FillBox(int x, int y, int width, int height, ColorRef color, bool frame_only) {
    if (width <= 0 || height <= 0)
        return;
    if (!scale_.Standard()) {
        if (!frame_only) {
            FillScaled(x, y, x + width, y + height, color);
            return;
        }
        FillScaled(x, y, x + width, y + 1, color);
        FillScaled(x, y + height - 1, x + width, y + height, color);
        FillScaled(x, y + 1, x + 1, y + height - 1, color);
        FillScaled(x + width - 1, y + 1, x + width, y + height - 1, color);
        return;
    }
    const Rect rect{x, y, x + width, y + height};
    if (frame_only) {
        surface_.FrameRect(rect, color);
    } else {
        surface_.FillRect(rect, color);
    }
}

void Painter::FillScaled(int left, int top, int right, int bottom, ColorRef color) {
    const Rect rect{scale_.X(left), scale_.Y(top), scale_.X(right), scale_.Y(bottom)};
    if (!rect.IsEmpty())
        surface_.FillRect(rect, color);
}

// At another scale a one-pixel line of the design is a band as wide as one
// design pixel there; the faces draw only horizontal and vertical lines.
void Painter::DrawLine(int x1, int y1, int x2, int y2, ColorRef color) {
    if (scale_.Standard()) {
        surface_.DrawLine(x1, y1, x2, y2, color);
    } else if (y1 == y2) {
        // The end point is left out, whichever way the line runs.
        FillScaled(x2 > x1 ? x1 : x2 + 1, y1, x2 > x1 ? x2 : x1 + 1, y1 + 1, color);
    } else if (x1 == x2) {
        FillScaled(x1, y2 > y1 ? y1 : y2 + 1, x1 + 1, y2 > y1 ? y2 : y1 + 1, color);
    } else {
        surface_.DrawLine(scale_.X(x1), scale_.Y(y1), scale_.X(x2), scale_.Y(y2), color);
    }
}

// Rows lighten from `from` toward white by 1/(h - 5) of the distance per
// row. At five pixels or less there is no room for a fade; the rows are
// drawn flat in the start colour instead of dividing by zero or by a
// negative count. Increments and running values are single-precision
// floats, every step of the arithmetic included, so each row rounds where
// the face is meant to.
void Painter::FadeLines(ColorRef from, int y_from, int y_to, int step) {
    const int r0 = RedOfRef(from);
    const int g0 = GreenOfRef(from);
    const int b0 = BlueOfRef(from);
    const int rows = h_ - 5;
    const float rows_f = static_cast<float>(rows);
    const float inc_r = rows > 0 ? static_cast<float>(255 - r0) / rows_f : 0.0f;
    const float inc_g = rows > 0 ? static_cast<float>(255 - g0) / rows_f : 0.0f;
    const float inc_b = rows > 0 ? static_cast<float>(255 - b0) / rows_f : 0.0f;
    float r = static_cast<float>(r0);
    float g = static_cast<float>(g0);
    float b = static_cast<float>(b0);
    for (int y = y_from; step > 0 ? y <= y_to : y >= y_to; y += step) {
        r = std::min(r + inc_r, 255.0f);
        g = std::min(g + inc_g, 255.0f);
        b = std::min(b + inc_b, 255.0f);
        Row(y, ClampedRgb(RoundHalfEven(r), RoundHalfEven(g), RoundHalfEven(b)));
    }
}

void Painter::DrawXpBorder(ColorRef line_color, ColorRef dot_color) {
    DrawLine(2, 0, w_ - 2, 0, line_color);
    DrawLine(2, h_ - 1, w_ - 2, h_ - 1, line_color);
    DrawLine(0, 2, 0, h_ - 2, line_color);
    DrawLine(w_ - 1, 2, w_ - 1, h_ - 2, line_color);
    SetDot(1, 1, dot_color);
    SetDot(1, h_ - 2, dot_color);
    SetDot(w_ - 2, 1, dot_color);
    SetDot(w_ - 2, h_ - 2, dot_color);
}

// At another scale the dotted outline is as thick as a design pixel: rings
// inside one another, since the platform's dotted rectangle is one pixel.
void Painter::DrawFocusBox() {
    surface_.SetTextColor(Palette().TextColor);
    const Rect inner{2, 2, w_ - 2, h_ - 2};
    // Too small a button has no inside to outline.
    if (inner.IsEmpty())
        return;
    if (scale_.Standard()) {
        surface_.DrawFocusRect(inner);
        return;
    }
    Rect ring{scale_.X(2), scale_.Y(2), scale_.X(w_ - 2), scale_.Y(h_ - 2)};
    for (int k = 0; k < scale_.Length(1) && !ring.IsEmpty(); ++k) {
        surface_.DrawFocusRect(ring);
        ring = Rect{ring.left + 1, ring.top + 1, ring.right - 1, ring.bottom - 1};
    }
}

// A caption that fits is centred on one line. A wider one wraps; its top is
// computed from the number of lines so the block sits roughly centred, and
// the pressed placement (CaptionRect) sits two pixels lower. The computed
// top applies to this drawing only, so a later caption that fits is centred
// in the full rectangle again.
// The text is measured in the surface's font, made for the face's scale, so
// the placement works in device pixels; only the pressed offset is a
// design length.
void Painter::PlaceCaption(CaptionBox box, ColorRef text_color) {
    surface_.SetTextColor(text_color);
    const int width = look_.width;
    const int height = look_.height;
    const int offset = scale_.Length(2);
    Rect rect = box == CaptionBox::kClient ? Rect{0, 0, width, height}
                                           : Rect{offset, offset, width, height};
    const TextExtent extent = surface_.MeasureText(look_.caption);
    if (extent.width <= width) {
        surface_.DrawText(look_.caption, rect, kSingleLineFormat);
        return;
    }
    const int lines = extent.width / width;
    const int top = RoundHalfEven(static_cast<double>(height) -
                                  static_cast<double>(extent.height) * (lines + 1)) /
                    2;
    rect.top = box == CaptionBox::kClient ? top : top + offset;
    surface_.DrawText(look_.caption, rect, kWrappedFormat);
}

// ---- Style 1 --------------------------------------------------------------

void Painter::Style1Up() {
    if (look_.ColorScheme == 2 || look_.ColorScheme == 3) {
        const ColorRef base = ShiftColor(Palette().FaceColor, 48, ColorShift::kProportional);
        // The factor and its product with i in single precision: in double
        // some products fall just short of a half and round the other way.
        const float factor = 25.0f / static_cast<float>(h_);
        for (int i = 1; i <= h_ - 2; ++i) {
            const float product = factor * static_cast<float>(i);
            const int delta = RoundHalfEven(product);
            DrawLine(0, i, w_, i, ShiftColor(base, -delta, ColorShift::kProportional));
        }
    } else {
        switch (look_.XpType) {
            case 1:
                FadeLines(Rgb(198, 197, 215), h_ - 2, 1, -1);
                break;
            case 2: {
                ColorRef c = kUpBodyStartXp2;
                for (int y = h_ - 2; y >= 1; --y) {
                    c = ShiftColor(c, 1, ColorShift::kAdditive);
                    DrawLine(1, y, w_ - 2, y, c);
                }
                break;
            }
            case 3:
                FadeLines(Rgb(236, 235, 230), h_ - 2, 1, -1);
                break;
            default:
                break;
        }
    }
    DrawXpBorder(kBorderLine, kBorderDot);
    if (look_.hovering) {
        HoverRing(look_.XpType == 2 ? kHoverRingXp2 : Colors().rectcolor);
    } else if (Emphasis()) {
        if (look_.XpType == 1 || look_.XpType == 3) {
            EmphasisStrokes(false, 2, w_ - 2);
        } else if (look_.XpType == 2) {
            EmphasisStrokes(true, 2, w_ - 2);
        }
        DrawFocusBox();
    }
    PlaceCaption(CaptionBox::kClient, Palette().TextColor);
}

void Painter::HoverRing(ColorRef color) {
    FillBox(2, 1, w_ - 4, h_ - 2, color, true);
    DrawLine(1, 2, 1, h_ - 2, color);
    DrawLine(3, 2, w_ - 3, 2, color);
    DrawLine(w_ - 2, 2, w_ - 2, h_ - 2, color);
    DrawLine(3, h_ - 3, w_ - 3, h_ - 3, color);
}

// The emphasis frame and its five lines; the second top line's extent
// differs between styles 1 and 2.
void Painter::EmphasisStrokes(bool all_green, int second_line_x1, int second_line_x2) {
    auto pick = [all_green](ColorRef blue) { return all_green ? kEmphasisXp2 : blue; };
    FillBox(1, 2, w_ - 2, h_ - 4, pick(kEmphasisFrame), true);
    DrawLine(2, h_ - 2, w_ - 2, h_ - 2, pick(kEmphasisBottom));
    DrawLine(2, 1, w_ - 2, 1, pick(kEmphasisTop));
    DrawLine(second_line_x1, 2, second_line_x2, 2, pick(kEmphasisSecond));
    DrawLine(2, 3, 2, h_ - 3, pick(kEmphasisSides));
    DrawLine(w_ - 3, 3, w_ - 3, h_ - 3, pick(kEmphasisSides));
}

void Painter::Style1Down() {
    switch (look_.XpType) {
        case 1:
            FadeLines(Rgb(171, 170, 188), 1, h_ - 2, 1);
            break;
        case 2: {
            const ColorRef base =
                ShiftColor(ShiftColor(Palette().FaceColor, 48, ColorShift::kProportional), -32,
                           ColorShift::kProportional);
            const float factor = 15.0f / static_cast<float>(h_);  // as in the up look
            for (int i = 1; i <= h_; ++i) {
                const float product = factor * static_cast<float>(i);
                const int delta = RoundHalfEven(-product);
                DrawLine(0, h_ - i, w_, h_ - i, ShiftColor(base, delta, ColorShift::kProportional));
            }
            break;
        }
        case 3:
            FadeLines(Rgb(224, 224, 216), 1, h_ - 2, 1);
            break;
        default:
            break;
    }
    PlaceCaption(CaptionBox::kCaption, Palette().TextColor);
    DrawXpBorder(kBorderLine, kBorderDot);
    if (look_.focus_visible)
        DrawFocusBox();
}

void Painter::Style1Disabled() {
    FillBox(0, 0, w_, h_, kDisabledFace, false);
    PlaceCaption(CaptionBox::kClient, kDisabledCaption);
    DrawXpBorder(kDisabledBorder, kDisabledBorder);
}

// ---- Style 2: bevel from the palette ---------------------------------------

void Painter::Style2Bevel() {
    const ButtonPalette& p = Palette();
    DrawLine(2, 0, w_ - 2, 0, p.DarkShadowColor);
    DrawLine(2, h_ - 1, w_ - 2, h_ - 1, p.DarkShadowColor);
    DrawLine(0, 2, 0, h_ - 2, p.DarkShadowColor);
    DrawLine(w_ - 1, 2, w_ - 1, h_ - 2, p.DarkShadowColor);
    SetDot(1, 1, p.DarkShadowColor);
    SetDot(1, h_ - 2, p.DarkShadowColor);
    SetDot(w_ - 2, 1, p.DarkShadowColor);
    SetDot(w_ - 2, h_ - 2, p.DarkShadowColor);
    SetDot(1, 2, p.FaceColor);
    SetDot(2, 1, p.FaceColor);
    DrawLine(3, 2, w_ - 3, 2, p.HighlightColor);
    DrawLine(2, 2, 2, h_ - 3, p.HighlightColor);
    SetDot(3, 3, p.HighlightColor);
    DrawLine(w_ - 3, 1, w_ - 3, h_ - 3, p.FaceColor);
    DrawLine(1, h_ - 3, w_ - 3, h_ - 3, p.FaceColor);
    SetDot(w_ - 4, h_ - 4, p.FaceColor);
    DrawLine(w_ - 2, 3, w_ - 2, h_ - 2, p.ShadowColor);
    DrawLine(3, h_ - 2, w_ - 2, h_ - 2, p.ShadowColor);
    SetDot(w_ - 3, h_ - 3, p.ShadowColor);
    SetDot(2, h_ - 2, p.FaceColor);
    SetDot(2, h_ - 3, p.LightColor);
    SetDot(w_ - 2, 2, p.FaceColor);
    SetDot(w_ - 3, 2, p.LightColor);
}

void Painter::Style2Up() {
    FillBox(1, 1, w_ - 2, h_ - 2, Palette().LightColor, false);
    Style2Bevel();
    if (look_.hovering) {
        HoverRing(Colors().rectcolor);
    } else if (Emphasis()) {
        EmphasisStrokes(false, 1, w_ - 1);
    }
    PlaceCaption(CaptionBox::kClient, Palette().TextColor);
}

void Painter::Style2Down() {
    const ButtonPalette& p = Palette();
    const ColorRef shade16 = ShiftColor(p.ShadowColor, -16, ColorShift::kAdditive);
    const ColorRef shade32 = ShiftColor(p.ShadowColor, -32, ColorShift::kAdditive);
    const ColorRef shade64 = ShiftColor(p.ShadowColor, -64, ColorShift::kAdditive);
    FillBox(1, 1, w_ - 2, h_ - 2, shade16, false);
    DrawLine(2, 0, w_ - 2, 0, p.DarkShadowColor);
    DrawLine(2, h_ - 1, w_ - 2, h_ - 1, p.DarkShadowColor);
    DrawLine(0, 2, 0, h_ - 2, p.DarkShadowColor);
    DrawLine(w_ - 1, 2, w_ - 1, h_ - 2, p.DarkShadowColor);
    FillBox(1, 1, w_ - 2, h_ - 2, shade64, true);
    FillBox(2, 2, w_ - 4, h_ - 4, shade32, true);
    SetDot(2, 2, shade64);
    SetDot(3, 3, shade32);
    SetDot(1, 1, p.DarkShadowColor);
    SetDot(1, h_ - 2, p.DarkShadowColor);
    SetDot(w_ - 2, 1, p.DarkShadowColor);
    SetDot(w_ - 2, h_ - 2, p.DarkShadowColor);
    DrawLine(w_ - 3, 1, w_ - 3, h_ - 3, p.ShadowColor);
    DrawLine(1, h_ - 3, w_ - 2, h_ - 3, p.ShadowColor);
    SetDot(w_ - 4, h_ - 4, p.ShadowColor);
    DrawLine(w_ - 2, 3, w_ - 2, h_ - 2, shade16);
    DrawLine(3, h_ - 2, w_ - 2, h_ - 2, shade16);
    SetDot(w_ - 2, h_ - 3, shade32);
    SetDot(w_ - 3, h_ - 2, shade32);
    SetDot(2, h_ - 2, shade32);
    SetDot(w_ - 2, 2, shade32);
    SetDot(2, h_ - 3, shade16);
    SetDot(1, h_ - 3, shade16);
    SetDot(w_ - 3, 2, shade16);
    SetDot(w_ - 3, 1, shade16);
    PlaceCaption(CaptionBox::kCaption, p.LightColor);
}

// Embossed: a shadow copy of the caption, the bevel, then a highlight copy
// one pixel right and down.
void Painter::Style2Disabled() {
    const ButtonPalette& p = Palette();
    FillBox(1, 1, w_ - 2, h_ - 2, p.LightColor, false);
    surface_.SetTextColor(p.ShadowColor);
    surface_.DrawText(look_.caption, Rect{0, 0, look_.width, look_.height}, kSingleLineFormat);
    Style2Bevel();
    PlaceCaption(CaptionBox::kCaption, p.HighlightColor);
}

// ---- Style 3: gradient with a split ----------------------------------------

ColorRef Painter::Style3Border(Look look) const {
    const bool scheme1 = look_.ColorScheme != 2 && look_.ColorScheme != 3;
    switch (look) {
        case Look::kUp:
            return scheme1 ? Rgb(183, 183, 183) : Rgb(1, 109, 1);
        case Look::kHover:
            return scheme1 ? Rgb(82, 134, 182) : Rgb(1, 109, 1);
        case Look::kDown:
            return scheme1 ? Rgb(203, 130, 62) : Rgb(84, 157, 84);
    }
    return Rgb(1, 109, 1);
}

// Above the split the face runs from `mid` at the split row up to `end` at
// row 1; two rows of dots fade from white into it at the top edge. Below the
// split a band of `mid` is followed by a gradient back toward `end`, a light
// reflection at rows h - 9 and h - 8 and a darker edge at rows h - 3 and
// h - 2. A split at row 1 or above has no upper gradient to divide among
// rows, so that part is flat.
void Painter::Style3Face(ColorRef mid, ColorRef end, ColorRef border, int percent) {
    percent = std::clamp(percent, 0, 100);
    // The split, the steps and the running values in single precision.
    const float split = static_cast<float>(percent) * static_cast<float>(h_) / 100.0f;
    const int split_row = RoundHalfEven(split);
    const float span = split - 1.0f;
    float channel[3];
    float step[3];
    for (int c = 0; c < 3; ++c) {
        channel[c] = static_cast<float>(ChannelOf(mid, c));
        step[c] =
            span > 0.0f ? static_cast<float>(ChannelOf(end, c) - ChannelOf(mid, c)) / span : 0.0f;
    }
    for (int y = split_row; y >= 1; --y) {
        Row(y, ClampedRgb(RoundHalfEven(channel[0]), RoundHalfEven(channel[1]),
                          RoundHalfEven(channel[2])));
        for (int c = 0; c < 3; ++c) channel[c] = std::clamp(channel[c] + step[c], 0.0f, 255.0f);
    }

    // Top-edge glint: white fading into `end` over the row.
    auto dot_row = [&](int y, int count) {
        for (int k = 0; k < count; ++k) {
            const double t = static_cast<double>(k) / count;
            SetDot(2 + k, y,
                   ClampedRgb(RoundHalfEven(255.0 + (RedOfRef(end) - 255.0) * t),
                              RoundHalfEven(255.0 + (GreenOfRef(end) - 255.0) * t),
                              RoundHalfEven(255.0 + (BlueOfRef(end) - 255.0) * t)));
        }
    };
    dot_row(1, w_ - 3);
    dot_row(2, (w_ - 3) * 2 / 3);

    const int first_lower = std::max(split_row + 1, 1);
    const int band_end = std::min(h_ - 2, split_row + RoundHalfEven(0.15 * h_));
    for (int y = first_lower; y <= band_end; ++y) Row(y, mid);
    const int lower_rows = h_ - 2 - band_end;
    auto lower_color = [&](int y) {
        const double t = lower_rows > 0 ? static_cast<double>(y - band_end) / lower_rows : 1.0;
        return ClampedRgb(RoundHalfEven(RedOfRef(mid) + (RedOfRef(end) - RedOfRef(mid)) * t),
                          RoundHalfEven(GreenOfRef(mid) + (GreenOfRef(end) - GreenOfRef(mid)) * t),
                          RoundHalfEven(BlueOfRef(mid) + (BlueOfRef(end) - BlueOfRef(mid)) * t));
    };
    for (int y = std::max(band_end + 1, first_lower); y <= h_ - 2; ++y) Row(y, lower_color(y));
    auto extra_row = [&](int y, ColorRef color) {
        if (y >= first_lower && y <= h_ - 2)
            Row(y, color);
    };
    extra_row(h_ - 9, ShiftColor(lower_color(h_ - 9), 24, ColorShift::kAdditive));
    extra_row(h_ - 8, ShiftColor(lower_color(h_ - 8), 12, ColorShift::kAdditive));
    extra_row(h_ - 3, ShiftColor(end, -12, ColorShift::kAdditive));
    extra_row(h_ - 2, ShiftColor(end, -28, ColorShift::kAdditive));
    DrawXpBorder(border, border);
}

void Painter::Style3Up() {
    const ButtonColors& c = Colors();
    Style3Face(c.MidColor, c.EndColor, Style3Border(Look::kUp), look_.Percent);
    if (look_.hovering) {
        Style3Face(c.MouseMoveMidColor, c.MouseMoveEndColor, Style3Border(Look::kHover),
                   look_.Percent);
    }
    if (Emphasis())
        DrawFocusBox();
    PlaceCaption(CaptionBox::kClient, Palette().TextColor);
}

void Painter::Style3Down() {
    const ButtonColors& c = Colors();
    if (look_.ColorScheme != 2 && look_.ColorScheme != 3) {
        Style3Face(c.MouseDownMidColor, c.MouseDownEndColor, Style3Border(Look::kDown),
                   look_.Percent);
    } else {
        FillBox(1, 1, w_ - 2, h_ - 2, c.MouseDownMidColor, false);
        DrawXpBorder(Style3Border(Look::kDown), Style3Border(Look::kDown));
    }
    PlaceCaption(CaptionBox::kCaption, Palette().TextColor);
    if (look_.focus_visible)
        DrawFocusBox();
}

void Painter::Style3Disabled() {
    FillBox(1, 1, w_ - 2, h_ - 2, Rgb(241, 242, 237), false);
    DrawXpBorder(Rgb(204, 204, 202), Rgb(204, 204, 202));
    PlaceCaption(CaptionBox::kClient, kGradientDisabledCaption);
}

// ---- Style 4: gradient around a flat band ----------------------------------

// Each part computes its per-row step only when it has rows to draw. A
// split or a height that leaves no room for a part (s - 1 or h - s - 4 zero
// or negative) would divide by zero or by a negative count; such a part is
// drawn flat instead.
void Painter::Style4Face(ColorRef mid, ColorRef end, ColorRef border, int percent) {
    percent = std::clamp(percent, 0, 100);
    const double s = static_cast<double>(percent) * h_ / 100.0;
    int color[3];

    const int upper_from = RoundHalfEven(s);
    if (upper_from > 2) {
        int step[3];
        for (int c = 0; c < 3; ++c) {
            step[c] = s - 1.0 > 0.0
                          ? RoundHalfEven((ChannelOf(end, c) - ChannelOf(mid, c)) / (s - 1.0))
                          : 0;
            color[c] = ChannelOf(mid, c) + 10;
        }
        for (int y = upper_from; y >= 3; --y) {
            Row(y, ClampedRgb(color[0], color[1], color[2]));
            for (int c = 0; c < 3; ++c) color[c] = std::clamp(color[c] + step[c], 0, 255);
        }
    }

    const int band_to = RoundHalfEven(s + 0.27 * h_);
    for (int y = RoundHalfEven(s + 1.0); y <= band_to; ++y) Row(y, mid);

    const int lower_from = RoundHalfEven((percent + 27.0) * h_ / 100.0);
    if (lower_from <= h_ - 4) {
        const double rows = h_ - s - 4.0;
        int step[3];
        for (int c = 0; c < 3; ++c) {
            step[c] =
                rows > 0.0 ? RoundHalfEven((ChannelOf(end, c) - ChannelOf(mid, c)) / rows) : 0;
            color[c] = ChannelOf(mid, c) + 5;
        }
        for (int y = lower_from; y <= h_ - 4; ++y) {
            Row(y, ClampedRgb(color[0], color[1], color[2]));
            for (int c = 0; c < 3; ++c) color[c] = std::clamp(color[c] + step[c], 0, 255);
        }
    }

    FillBox(1, 1, w_ - 2, h_ - 2, Rgb(211, 229, 255), true);
    FillBox(2, 2, w_ - 4, h_ - 4, Rgb(201, 216, 255), true);
    DrawLine(1, h_ - 3, w_ - 1, h_ - 3, Rgb(207, 234, 255));
    DrawXpBorder(border, border);
}

void Painter::Style4Up() {
    const ButtonColors& c = Colors();
    if (look_.hovering) {
        Style4Face(c.MouseMoveMidColor, c.MouseMoveEndColor, Rgb(81, 107, 148), look_.Percent);
    } else {
        Style4Face(c.MidColor, c.EndColor, Rgb(81, 107, 148), look_.Percent);
    }
    if (Emphasis())
        DrawFocusBox();
    PlaceCaption(CaptionBox::kClient, Palette().TextColor);
}

void Painter::Style4Down() {
    const ButtonColors& c = Colors();
    Style4Face(c.MouseDownMidColor, c.MouseDownEndColor, Rgb(81, 107, 148), look_.Percent);
    PlaceCaption(CaptionBox::kCaption, Palette().TextColor);
    if (look_.focus_visible)
        DrawFocusBox();
}

void Painter::Style4Disabled() {
    Style4Face(Rgb(198, 218, 255), Rgb(232, 242, 255), Rgb(128, 140, 162), 53);
    PlaceCaption(CaptionBox::kClient, kGradientDisabledCaption);
}

// ---- Style 5: flat fill and frame -------------------------------------------

void Painter::Style5Up() {
    const ButtonColors& c = Colors();
    const ColorRef frame = look_.hovering ? c.OfficeXpMousemoveFrameColor : c.OfficeXpFrameColor;
    const ColorRef fill = look_.hovering ? c.OfficeXpMousemoveFillColor : c.OfficeXpFillColor;
    FillBox(0, 0, w_, h_, frame, true);
    FillBox(1, 1, w_ - 2, h_ - 2, fill, false);
    if (look_.focus_visible)
        DrawFocusBox();
    PlaceCaption(CaptionBox::kClient, Palette().TextColor);
}

void Painter::Style5Down() {
    const ButtonColors& c = Colors();
    constexpr ColorRef kLimit = Rgb(250, 250, 250);
    FillBox(0, 0, w_, h_, c.OfficeXpMousemoveFrameColor, true);
    const ColorRef fill = look_.ColorScheme == 3
                              ? OffsetColor(c.OfficeXpMousemoveFillColor, -40, -30, -15, kLimit)
                              : OffsetColor(c.OfficeXpMousemoveFillColor, -30, -30, -60, kLimit);
    FillBox(1, 1, w_ - 2, h_ - 2, fill, false);
    PlaceCaption(CaptionBox::kCaption, Palette().TextColor);
    if (look_.focus_visible)
        DrawFocusBox();
}

void Painter::Style5Disabled() {
    const ButtonColors& c = Colors();
    if (look_.ColorScheme == 3) {
        FillBox(0, 0, w_, h_, c.OfficeXpFrameColor, true);
        FillBox(1, 1, w_ - 2, h_ - 2, c.OfficeXpFillColor, false);
        PlaceCaption(CaptionBox::kClient, c.OfficeXpFrameColor);
    } else {
        FillBox(0, 0, w_, h_, Rgb(188, 188, 64), true);
        FillBox(1, 1, w_ - 2, h_ - 2, Rgb(238, 239, 208), false);
        PlaceCaption(CaptionBox::kClient, Rgb(188, 188, 64));
    }
}

}  // namespace

// The design size is the device size at 96 dpi, to the nearest pixel: the
// size the button would have there.
FaceScale::FaceScale(int width_px, int height_px, int dpi)
    : width_px_(width_px),
      height_px_(height_px),
      dpi_(dpi > 0 ? dpi : kStandardDpi),
      width_(dpi_ == kStandardDpi ? width_px : (width_px * kStandardDpi + dpi_ / 2) / dpi_),
      height_(dpi_ == kStandardDpi ? height_px : (height_px * kStandardDpi + dpi_ / 2) / dpi_) {}

ColorRef ShiftColor(ColorRef color, int delta, ColorShift shift) {
    const int red = RedOfRef(color) + delta;
    const int green = GreenOfRef(color) + delta;
    const int blue_in = BlueOfRef(color);
    const int blue =
        shift == ColorShift::kAdditive ? blue_in + delta : blue_in + (blue_in * delta) / 192;
    return ClampedRgb(red, green, blue);
}

ColorRef OffsetColor(ColorRef color, int d_red, int d_green, int d_blue, ColorRef limit) {
    return Rgb(
        static_cast<std::uint8_t>(std::clamp(RedOfRef(color) + d_red, 0, RedOfRef(limit))),
        static_cast<std::uint8_t>(std::clamp(GreenOfRef(color) + d_green, 0, GreenOfRef(limit))),
        static_cast<std::uint8_t>(std::clamp(BlueOfRef(color) + d_blue, 0, BlueOfRef(limit))));
}

void PaintButtonFace(DrawingSurface& surface, const ButtonLook& look) {
    Painter(surface, look).Paint();
}

}  // namespace vellumar
