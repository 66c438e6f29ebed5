#include "controls/command_button.h"

#include <array>
#include <utility>

#include "platform/utf8.h"

namespace vellumar {

namespace {

// Defaults of the properties that have fixed ones.
constexpr int kDefaultPercent = 16;
constexpr ColorRef kDefaultMidColor = Rgb(116, 200, 115);
constexpr ColorRef kDefaultEndColor = Rgb(215, 246, 215);
constexpr ColorRef kDefaultMouseMoveMidColor = Rgb(53, 163, 51);
constexpr ColorRef kDefaultMouseMoveEndColor = Rgb(245, 252, 244);
constexpr ColorRef kDefaultMouseDownMidColor = Rgb(132, 208, 133);
constexpr ColorRef kDefaultMouseDownEndColor = 0;
constexpr ColorRef kDefaultOfficeXpFillColor = Rgb(222, 222, 160);
constexpr ColorRef kDefaultOfficeXpFrameColor = Rgb(188, 188, 66);
constexpr ColorRef kDefaultOfficeXpMousemoveFillColor = Rgb(220, 220, 186);
constexpr ColorRef kDefaultOfficeXpMousemoveFrameColor = Rgb(127, 128, 1);
constexpr ColorRef kDefaultRectcolor = Rgb(250, 195, 88);
constexpr const char* kLoadedCaptionDefault = "wwbutton";

const char* MessageOf(int number) {
    switch (number) {
        case PropertyError::kInvalidPropertyValue:
            return "Invalid property value";
        case PropertyError::kSetNotSupportedAtRuntime:
            return "Set not supported at runtime";
        case PropertyError::kSetNotPermitted:
            return "Set not permitted";
        default:
            return "Property error";
    }
}

bool IsScheme(int color_scheme, int which) {
    return color_scheme == which;
}

std::int32_t Stored(ColorRef color) {
    return static_cast<std::int32_t>(color);
}
ColorRef Loaded(std::int32_t value) {
    return static_cast<ColorRef>(value);
}

}  // namespace

PropertyError::PropertyError(int number) : std::runtime_error(MessageOf(number)), number_(number) {}

CommandButton::CommandButton(CommandHost& host, TimerService& timers, std::string instance_name,
                             ControlMode mode)
    : host_(host),
      mode_(mode),
      back_color_(host.SystemColor(SystemColorIndex::kBtnFace)),
      fore_color_(host.SystemColor(SystemColorIndex::kBtnText)),
      colors_{kDefaultMidColor,
              kDefaultEndColor,
              kDefaultMouseMoveMidColor,
              kDefaultMouseMoveEndColor,
              kDefaultMouseDownMidColor,
              kDefaultMouseDownEndColor,
              kDefaultOfficeXpFillColor,
              kDefaultOfficeXpFrameColor,
              kDefaultOfficeXpMousemoveFillColor,
              kDefaultOfficeXpMousemoveFrameColor,
              kDefaultRectcolor},
      font_(host.WindowFont()),
      caption_(std::move(instance_name)),
      timer1_(timers, kPointerWatchIntervalMs, false, [this] { PointerWatch(); }) {
    RebuildPalette();
    UpdateAccessKey();
}

// ---- Properties -------------------------------------------------------------

void CommandButton::SetBackColor(ColorRef color) {
    back_color_ = color;
    RebuildPalette();
    Repaint();
    Changed("BackColor");
}

void CommandButton::SetForeColor(ColorRef color) {
    fore_color_ = color;
    RebuildPalette();
    Repaint();
    Changed("ForeColor");
}

void CommandButton::SetPercent(int percent) {
    if (percent < 0 || percent > 100)
        throw PropertyError(PropertyError::kInvalidPropertyValue);
    percent_ = percent;
    Repaint();
    Changed("Percent");
}

void CommandButton::SetColorProperty(ColorRef& member, ColorRef color, std::string_view name) {
    member = color;
    Repaint();
    Changed(name);
}

void CommandButton::SetMidColor(ColorRef color) {
    SetColorProperty(colors_.MidColor, color, "MidColor");
}
void CommandButton::SetEndColor(ColorRef color) {
    SetColorProperty(colors_.EndColor, color, "EndColor");
}
void CommandButton::SetMouseMoveMidColor(ColorRef color) {
    SetColorProperty(colors_.MouseMoveMidColor, color, "MouseMoveMidColor");
}
void CommandButton::SetMouseMoveEndColor(ColorRef color) {
    SetColorProperty(colors_.MouseMoveEndColor, color, "MouseMoveEndColor");
}
void CommandButton::SetMouseDownMidColor(ColorRef color) {
    SetColorProperty(colors_.MouseDownMidColor, color, "MouseDownMidColor");
}
void CommandButton::SetMouseDownEndColor(ColorRef color) {
    SetColorProperty(colors_.MouseDownEndColor, color, "MouseDownEndColor");
}
void CommandButton::SetOfficeXpFillColor(ColorRef color) {
    SetColorProperty(colors_.OfficeXpFillColor, color, "OfficeXpFillColor");
}
void CommandButton::SetOfficeXpFrameColor(ColorRef color) {
    SetColorProperty(colors_.OfficeXpFrameColor, color, "OfficeXpFrameColor");
}
void CommandButton::SetOfficeXpMousemoveFillColor(ColorRef color) {
    SetColorProperty(colors_.OfficeXpMousemoveFillColor, color, "OfficeXpMousemoveFillColor");
}
void CommandButton::SetOfficeXpMousemoveFrameColor(ColorRef color) {
    SetColorProperty(colors_.OfficeXpMousemoveFrameColor, color, "OfficeXpMousemoveFrameColor");
}

void CommandButton::SetEnabled(bool enabled) {
    enabled_ = enabled;
    host_.SetWindowEnabled(enabled);
    ResizeHandling();
    Changed("Enabled");
}

void CommandButton::SetFont(const FontSpec& font) {
    font_ = font;
    host_.SetWindowFont(font_);
    Repaint();
    Changed("Font");
}

void CommandButton::SetHWnd(std::uintptr_t /*value*/) {
    throw PropertyError(mode_ == ControlMode::kDesignTime
                            ? PropertyError::kSetNotPermitted
                            : PropertyError::kSetNotSupportedAtRuntime);
}

// The palette rebuild may write the gradient colours of style 4 (a grey set);
// the blue preset then replaces them, so after this setter the preset wins.
void CommandButton::SetButtonType(int button_type) {
    button_type_ = button_type;
    RebuildPalette();
    if (button_type == 4)
        LoadBluePreset();
    ResizeHandling();
    Changed("ButtonType");
}

void CommandButton::SetCaption(std::string caption) {
    caption_ = std::move(caption);
    UpdateAccessKey();
    Repaint();
    Changed("Caption");
}

void CommandButton::SetColorScheme(int color_scheme) {
    color_scheme_ = color_scheme;
    RebuildPalette();
    Repaint();
    Changed("ColorScheme");
}

void CommandButton::SetXpType(int xp_type) {
    xp_type_ = xp_type;
    Repaint();
    Changed("XpType");
}

// The ring colour shows at the next paint that draws the hover ring.
void CommandButton::SetRectcolor(ColorRef color) {
    colors_.rectcolor = color;
    Changed("rectcolor");
}

void CommandButton::SetShowFocusRect(bool show) {
    show_focus_rect_ = show;
    Repaint();
    Changed("ShowFocusRect");
}

void CommandButton::RebuildPalette() {
    if (IsScheme(color_scheme_, 2)) {
        palette_.FaceColor = back_color_;
        palette_.TextColor = fore_color_;
        palette_.ShadowColor = ShiftColor(back_color_, -64, ColorShift::kAdditive);
        palette_.LightColor = ShiftColor(back_color_, 31, ColorShift::kAdditive);
        palette_.HighlightColor = ShiftColor(back_color_, 47, ColorShift::kAdditive);
        palette_.DarkShadowColor = ShiftColor(back_color_, -192, ColorShift::kAdditive);
    } else if (IsScheme(color_scheme_, 3)) {
        palette_.DarkShadowColor = 0;
        palette_.TextColor = 0;
        palette_.FaceColor = 0xC0C0C0;
        palette_.ShadowColor = 0x808080;
        palette_.LightColor = 0xDFDFDF;
        palette_.HighlightColor = 0xFFFFFF;
        colors_.OfficeXpFillColor = Rgb(236, 233, 216);
        colors_.OfficeXpFrameColor = Rgb(172, 169, 154);
        colors_.OfficeXpMousemoveFillColor = Rgb(193, 210, 238);
        colors_.OfficeXpMousemoveFrameColor = Rgb(49, 105, 198);
    } else {
        palette_.FaceColor = host_.SystemColor(SystemColorIndex::kBtnFace);
        palette_.ShadowColor = host_.SystemColor(SystemColorIndex::kBtnShadow);
        palette_.LightColor = host_.SystemColor(SystemColorIndex::k3DLight);
        palette_.DarkShadowColor = host_.SystemColor(SystemColorIndex::k3DDkShadow);
        palette_.HighlightColor = host_.SystemColor(SystemColorIndex::kBtnHighlight);
        palette_.TextColor = fore_color_;
        if (button_type_ == 4) {
            colors_.MidColor = Rgb(197, 197, 197);
            colors_.EndColor = Rgb(238, 238, 238);
            colors_.MouseMoveMidColor = Rgb(123, 167, 211);
            colors_.MouseMoveEndColor = Rgb(210, 245, 251);
            colors_.MouseDownMidColor = Rgb(227, 167, 105);
            colors_.MouseDownEndColor = Rgb(252, 220, 199);
        }
    }
}

void CommandButton::LoadBluePreset() {
    percent_ = 53;
    colors_.MidColor = Rgb(124, 171, 255);
    colors_.EndColor = Rgb(191, 211, 255);
    colors_.MouseMoveMidColor = Rgb(157, 203, 255);
    colors_.MouseMoveEndColor = Rgb(209, 231, 255);
    colors_.MouseDownMidColor = Rgb(100, 153, 255);
    colors_.MouseDownEndColor = Rgb(191, 211, 255);
}

void CommandButton::UpdateAccessKey() {
    access_key_ = AccessKeyOf(caption_);
    host_.SetWindowCaption(caption_);
}

// ---- Persistence --------------------------------------------------------------

void CommandButton::WriteProperties(PropertyBag& bag) const {
    bag.WriteProperty("BackColor", Stored(back_color_),
                      Stored(host_.SystemColor(SystemColorIndex::kBtnFace)));
    bag.WriteProperty("ForeColor", Stored(fore_color_),
                      Stored(host_.SystemColor(SystemColorIndex::kBtnText)));
    bag.WriteProperty("Enabled", enabled_, true);
    bag.Set("Font", font_);
    // A window handle means nothing in another run: the stored value is
    // always the default, so the key is never written.
    bag.WriteProperty("hWnd", std::int32_t{0}, std::int32_t{0});
    bag.WriteProperty("ButtonType", button_type_, 1);
    bag.WriteProperty("XpType", xp_type_, 1);
    bag.WriteProperty("Caption", caption_, std::string(kLoadedCaptionDefault));
    bag.WriteProperty("ColorScheme", color_scheme_, 1);
    bag.WriteProperty("ShowFocusRect", show_focus_rect_, true);
    bag.WriteProperty("rectcolor", Stored(colors_.rectcolor), Stored(kDefaultRectcolor));
    bag.WriteProperty("Percent", percent_, kDefaultPercent);
    bag.WriteProperty("MidColor", Stored(colors_.MidColor), Stored(kDefaultMidColor));
    bag.WriteProperty("EndColor", Stored(colors_.EndColor), Stored(kDefaultEndColor));
    bag.WriteProperty("MouseMoveMidColor", Stored(colors_.MouseMoveMidColor),
                      Stored(kDefaultMouseMoveMidColor));
    bag.WriteProperty("MouseMoveEndColor", Stored(colors_.MouseMoveEndColor),
                      Stored(kDefaultMouseMoveEndColor));
    bag.WriteProperty("MouseDownMidColor", Stored(colors_.MouseDownMidColor),
                      Stored(kDefaultMouseDownMidColor));
    bag.WriteProperty("MouseDownEndColor", Stored(colors_.MouseDownEndColor),
                      Stored(kDefaultMouseDownEndColor));
    bag.WriteProperty("OfficeXpFillColor", Stored(colors_.OfficeXpFillColor),
                      Stored(kDefaultOfficeXpFillColor));
    bag.WriteProperty("OfficeXpFrameColor", Stored(colors_.OfficeXpFrameColor),
                      Stored(kDefaultOfficeXpFrameColor));
    bag.WriteProperty("OfficeXpMousemoveFillColor", Stored(colors_.OfficeXpMousemoveFillColor),
                      Stored(kDefaultOfficeXpMousemoveFillColor));
    bag.WriteProperty("OfficeXpMousemoveFrameColor", Stored(colors_.OfficeXpMousemoveFrameColor),
                      Stored(kDefaultOfficeXpMousemoveFrameColor));
}

// Two phases: the properties the palette is derived from come first, then
// the palette is rebuilt, and only then are the colours read, so that stored
// colours override what the rebuild wrote.
void CommandButton::ReadProperties(const PropertyBag& bag) {
    back_color_ =
        Loaded(bag.ReadInt32("BackColor", Stored(host_.SystemColor(SystemColorIndex::kBtnFace))));
    fore_color_ =
        Loaded(bag.ReadInt32("ForeColor", Stored(host_.SystemColor(SystemColorIndex::kBtnText))));
    enabled_ = bag.ReadBool("Enabled", true);
    font_ = bag.ReadFont("Font", host_.AmbientFont());
    // Read for completeness only; the handle is always the window's own.
    (void)bag.ReadInt32("hWnd", 0);
    button_type_ = bag.ReadInt32("ButtonType", 1);
    xp_type_ = bag.ReadInt32("XpType", 1);
    caption_ = bag.ReadText("Caption", kLoadedCaptionDefault);
    color_scheme_ = bag.ReadInt32("ColorScheme", 1);
    show_focus_rect_ = bag.ReadBool("ShowFocusRect", true);

    host_.SetWindowEnabled(enabled_);
    host_.SetWindowFont(font_);
    RebuildPalette();
    UpdateAccessKey();

    colors_.rectcolor = Loaded(bag.ReadInt32("rectcolor", Stored(kDefaultRectcolor)));
    // A stored split outside 0..100 is refused as the setter would refuse it.
    const int percent = bag.ReadInt16("Percent", kDefaultPercent);
    percent_ = percent >= 0 && percent <= 100 ? percent : kDefaultPercent;
    colors_.MidColor = Loaded(bag.ReadInt32("MidColor", Stored(kDefaultMidColor)));
    colors_.EndColor = Loaded(bag.ReadInt32("EndColor", Stored(kDefaultEndColor)));
    colors_.MouseMoveMidColor =
        Loaded(bag.ReadInt32("MouseMoveMidColor", Stored(kDefaultMouseMoveMidColor)));
    colors_.MouseMoveEndColor =
        Loaded(bag.ReadInt32("MouseMoveEndColor", Stored(kDefaultMouseMoveEndColor)));
    colors_.MouseDownMidColor =
        Loaded(bag.ReadInt32("MouseDownMidColor", Stored(kDefaultMouseDownMidColor)));
    colors_.MouseDownEndColor =
        Loaded(bag.ReadInt32("MouseDownEndColor", Stored(kDefaultMouseDownEndColor)));
    colors_.OfficeXpFillColor =
        Loaded(bag.ReadInt32("OfficeXpFillColor", Stored(kDefaultOfficeXpFillColor)));
    colors_.OfficeXpFrameColor =
        Loaded(bag.ReadInt32("OfficeXpFrameColor", Stored(kDefaultOfficeXpFrameColor)));
    colors_.OfficeXpMousemoveFillColor = Loaded(
        bag.ReadInt32("OfficeXpMousemoveFillColor", Stored(kDefaultOfficeXpMousemoveFillColor)));
    colors_.OfficeXpMousemoveFrameColor = Loaded(
        bag.ReadInt32("OfficeXpMousemoveFrameColor", Stored(kDefaultOfficeXpMousemoveFrameColor)));

    button_state_ = kStateUp;
    PaintButton(kStateUp, true);
}

// ---- Size and region ----------------------------------------------------------

void CommandButton::ResizeHandling() {
    const SizePx size = host_.ClientSize();
    client_width_ = size.width;
    client_height_ = size.height;
    host_.SetWindowRegion(
        {client_width_, client_height_,
         RegionCutouts(button_type_, client_width_, client_height_, host_.Dpi())});
    Repaint();
}

void CommandButton::OnResize() {
    ResizeHandling();
}

// ---- Painting ------------------------------------------------------------------

ButtonLook CommandButton::Look() const {
    ButtonLook look;
    look.width = client_width_;
    look.height = client_height_;
    look.ButtonType = button_type_;
    look.XpType = xp_type_;
    look.ColorScheme = color_scheme_;
    look.Percent = percent_;
    look.state = button_state_;
    look.enabled = enabled_;
    look.hovering = is_hovering_;
    look.focus_visible = focus_visible_ && show_focus_rect_;
    look.ShowFocusRect = show_focus_rect_;
    look.is_default = is_default_;
    look.palette = palette_;
    look.colors = colors_;
    look.caption = caption_;
    look.dpi = host_.Dpi();
    return look;
}

// A button with no width has nothing to draw either, and placing a caption
// in it would divide by its width.
void CommandButton::PaintButton(std::uint8_t state, bool force) {
    if (!force && caption_ == last_painted_caption_ && state == button_state_)
        return;
    if (client_height_ <= 0 || client_width_ <= 0)
        return;
    button_state_ = state;
    last_painted_caption_ = caption_;
    PaintButtonFace(host_.Surface(), Look());
    host_.SurfaceChanged();
}

// ---- Mouse ---------------------------------------------------------------------

void CommandButton::OnMouseDown(std::int16_t button, std::int16_t shift, float x, float y) {
    if (!enabled_)
        return;
    last_mouse_button_ = static_cast<std::uint8_t>(button);
    if (button != command_input::kRightButton)
        button_state_ = kStateDown;
    Repaint();
    if (auto handler = events_.MouseDown)
        handler(button, shift, x, y);
}

void CommandButton::OnMouseUp(std::int16_t button, std::int16_t shift, float x, float y) {
    if (!enabled_)
        return;
    if (button != command_input::kRightButton)
        button_state_ = kStateUp;
    Repaint();
    if (auto handler = events_.MouseUp)
        handler(button, shift, x, y);
}

// Moves with the left button held paint the down look without force, so it
// comes back when the pointer returns inside but is not redrawn on every move.
void CommandButton::OnMouseMove(std::int16_t button, std::int16_t shift, float x, float y) {
    if (!enabled_)
        return;
    if (button != 0 && button != command_input::kLeftButton)
        return;
    if (!timer1_.Enabled())
        timer1_.SetEnabled(true);
    if (x < 0 || x > static_cast<float>(client_width_) || y < 0 ||
        y > static_cast<float>(client_height_)) {
        return;
    }
    if (auto handler = events_.MouseMove)
        handler(button, shift, x, y);
    if (button == command_input::kLeftButton) {
        PaintButton(kStateDown, false);
    } else if (!is_hovering_) {
        is_hovering_ = true;
        PaintButton(kStateUp, true);
    }
}

void CommandButton::OnClick() {
    if (!enabled_)
        return;
    if (last_mouse_button_ == command_input::kLeftButton)
        button_state_ = kStateUp;
    Repaint();
    host_.Refresh();
    if (auto handler = events_.Click)
        handler();
}

void CommandButton::OnDoubleClick() {
    if (!enabled_)
        return;
    if (last_mouse_button_ == command_input::kLeftButton) {
        OnMouseDown(command_input::kLeftButton, 1, 1.0f, 1.0f);
    }
}

// The 10 ms watch that notices the pointer has left: the window gets no
// move message once the pointer is outside it.
void CommandButton::PointerWatch() {
    const PointPx p = host_.CursorClientPosition();
    if (p.x >= 0 && p.y >= 0 && p.x <= client_width_ && p.y <= client_height_)
        return;
    timer1_.SetEnabled(false);
    if (auto handler = events_.MouseOut)
        handler();
    is_hovering_ = false;
    PaintButton(kStateUp, true);
}

// ---- Keyboard ------------------------------------------------------------------

void CommandButton::OnKeyDown(std::int16_t key_code, std::int16_t shift) {
    if (!enabled_)
        return;
    if (auto handler = events_.KeyDown)
        handler(key_code, shift);
    // A handler may leave any number here; only real key codes are kept.
    last_key_code_ = key_code >= 0 && key_code <= 255 ? static_cast<std::uint8_t>(key_code) : 0;
    switch (key_code) {
        case command_input::kKeySpace:
            OnMouseDown(command_input::kLeftButton, 1, 1.0f, 1.0f);
            break;
        case command_input::kKeyRight:
        case command_input::kKeyDown:
            host_.MoveFocus(true);
            break;
        case command_input::kKeyLeft:
        case command_input::kKeyUp:
            host_.MoveFocus(false);
            break;
        default:
            break;
    }
}

void CommandButton::OnKeyPress(std::int16_t key_ascii) {
    if (!enabled_)
        return;
    if (auto handler = events_.KeyPress)
        handler(key_ascii);
}

// A space release clicks only after a space press; the press is used up by
// the click, so a second release without a new press does not click again.
void CommandButton::OnKeyUp(std::int16_t key_code, std::int16_t shift) {
    if (!enabled_)
        return;
    if (auto handler = events_.KeyUp)
        handler(key_code, shift);
    if (last_key_code_ == command_input::kKeySpace && key_code == command_input::kKeySpace) {
        last_key_code_ = 0;
        OnMouseUp(command_input::kLeftButton, 1, 1.0f, 1.0f);
        last_mouse_button_ = command_input::kLeftButton;
        OnClick();
    }
}

void CommandButton::OnAccessKeyPress() {
    if (!enabled_)
        return;
    OnClick();
}

// ---- Focus and container -------------------------------------------------------

void CommandButton::OnGotFocus() {
    focus_visible_ = true;
    Repaint();
}

void CommandButton::OnLostFocus() {
    focus_visible_ = false;
    Repaint();
}

void CommandButton::SetDisplayAsDefault(bool is_default) {
    is_default_ = is_default;
    OnAmbientChanged();
}

void CommandButton::OnAmbientChanged() {
    Repaint();
}

// ---- Free functions -------------------------------------------------------------

std::optional<char32_t> AccessKeyOf(std::string_view caption) {
    if (caption.size() < 2)
        return std::nullopt;
    std::size_t amp = caption.find('&');
    if (amp == std::string_view::npos || amp + 1 >= caption.size())
        return std::nullopt;
    if (caption[amp + 1] != '&')
        return LowerCase(DecodeUtf8At(caption, amp + 1).code);
    amp = caption.find('&', amp + 2);
    if (amp == std::string_view::npos || amp + 1 >= caption.size())
        return std::nullopt;
    if (caption[amp + 1] != '&')
        return LowerCase(DecodeUtf8At(caption, amp + 1).code);
    return std::nullopt;
}

// At another scale the corners are cut as the face is drawn there, so the
// rounded border keeps its shape.
std::vector<Rect> RegionCutouts(int button_type, int width, int height, int dpi) {
    if (button_type != 3 && button_type != 4 && button_type != 8 && button_type != 9)
        return {};
    const FaceScale scale(width, height, dpi);
    const int w = scale.Width();
    const int h = scale.Height();
    std::vector<Rect> cutouts{
        {0, 0, 2, 1}, {0, h - 1, 2, h},     {w - 2, 0, w, 1}, {w - 2, h - 1, w, h},
        {0, 1, 1, 2}, {0, h - 2, 1, h - 1}, {w - 1, 1, w, 2}, {w - 1, h - 2, w, h - 1},
    };
    for (Rect& cut : cutouts)
        cut = {scale.X(cut.left), scale.Y(cut.top), scale.X(cut.right), scale.Y(cut.bottom)};
    return cutouts;
}

PropertyBag StoredCommandProperties(const CommandInstance& instance) {
    PropertyBag bag;
    bag.Set("Font", FontSpec{"Verdana", 7.5, false, false});
    bag.Set("XpType", std::int32_t{2});
    bag.Set("Caption", std::string(instance.caption));
    return bag;
}

}  // namespace vellumar
