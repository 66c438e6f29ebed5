#pragma once
// Command: the program's own push button. Every push button of the program is
// one; forms use only its Click event.
//
// Three layers make the control. CommandButton (this file) is the model: its
// properties with their defaults, setter effects and numbered errors, the
// palette derived from them, persistence in a PropertyBag, and the input state
// machine (press, release, move, click, keys, focus, the 10 ms pointer watch)
// that raises the control's events. It paints through button_painter.h onto
// whatever surface its CommandHost lends it, and reaches its window only
// through that host. CommandButtonWindow (win32/command_button_window.h) is
// the host on Windows: a BUTTON-class child window, so screen readers see a
// push button named by the caption. Tests use a host over a software raster.
//
// Lifecycle: construct with a host and a timer service, load the stored
// properties with ReadProperties, then the host reports its size with
// OnResize, which sets the window region and paints. Property errors (380,
// 382, 387) are thrown as PropertyError; nothing else in the control throws.

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "controls/button_painter.h"
#include "controls/drawing_surface.h"
#include "controls/geometry.h"
#include "controls/pixel_buffer.h"
#include "controls/property_bag.h"
#include "platform/text.h"
#include "platform/timer.h"

namespace vellumar {

class PropertyError : public std::runtime_error {
  public:
    static constexpr int kInvalidPropertyValue = 380;
    static constexpr int kSetNotSupportedAtRuntime = 382;
    static constexpr int kSetNotPermitted = 387;

    explicit PropertyError(int number);
    [[nodiscard]] int Number() const noexcept { return number_; }

  private:
    int number_;
};

// The platform colours the palette and the defaults are taken from.
enum class SystemColorIndex {
    kBtnFace,
    kBtnText,
    kBtnShadow,
    k3DLight,
    k3DDkShadow,
    kBtnHighlight
};

// The window's shape: its client rectangle less the cut-out rectangles.
struct WindowShape {
    int width = 0;
    int height = 0;
    std::vector<Rect> cutouts;
};

// What the model needs from the window that shows it.
class CommandHost {
  public:
    virtual ~CommandHost() = default;

    // The persistent picture a paint draws on, sized to the client area.
    virtual DrawingSurface& Surface() = 0;
    // A paint has finished: show the surface (at the window's next redraw).
    virtual void SurfaceChanged() = 0;
    // Bring the window up to date now instead of at the next redraw.
    virtual void Refresh() = 0;
    [[nodiscard]] virtual SizePx ClientSize() const = 0;
    virtual void SetWindowEnabled(bool enabled) = 0;
    virtual void SetWindowFont(const FontSpec& font) = 0;
    [[nodiscard]] virtual FontSpec WindowFont() const = 0;
    // The container's font, for instances loaded without a stored font.
    [[nodiscard]] virtual FontSpec AmbientFont() const = 0;
    virtual void SetWindowRegion(const WindowShape& shape) = 0;
    // The caption as the window's text: its accessible name, and where the
    // platform finds the access key.
    virtual void SetWindowCaption(std::string_view caption) = 0;
    [[nodiscard]] virtual PointPx CursorClientPosition() const = 0;
    // Moves the focus to the next (or previous) control of the container.
    virtual void MoveFocus(bool forward) = 0;
    [[nodiscard]] virtual ColorRef SystemColor(SystemColorIndex index) const = 0;
    [[nodiscard]] virtual std::uintptr_t WindowHandle() const = 0;
    // The display scale the window is laid out at; the face and its corners
    // are drawn for it.
    [[nodiscard]] virtual int Dpi() const { return kStandardDpi; }
    // A property was set and the container should save the control again.
    virtual void PropertyChanged(std::string_view /*name*/) {}
};

// The control's events. Arguments are by reference: the control carries on
// with the values a handler leaves (a KeyDown handler that sets KeyCode to 0
// cancels the control's own handling of the key).
struct CommandEvents {
    std::function<void()> Click;
    std::function<void(std::int16_t& KeyCode, std::int16_t& Shift)> KeyDown;
    std::function<void(std::int16_t& KeyAscii)> KeyPress;
    std::function<void(std::int16_t& KeyCode, std::int16_t& Shift)> KeyUp;
    std::function<void(std::int16_t& Button, std::int16_t& Shift, float& X, float& Y)> MouseDown;
    std::function<void(std::int16_t& Button, std::int16_t& Shift, float& X, float& Y)> MouseMove;
    std::function<void(std::int16_t& Button, std::int16_t& Shift, float& X, float& Y)> MouseUp;
    std::function<void()> MouseOut;
};

// Mouse button codes and key codes the control acts on.
namespace command_input {
inline constexpr std::int16_t kLeftButton = 1;
inline constexpr std::int16_t kRightButton = 2;
inline constexpr std::int16_t kMiddleButton = 4;
inline constexpr std::int16_t kShiftMask = 1;
inline constexpr std::int16_t kCtrlMask = 2;
inline constexpr std::int16_t kAltMask = 4;
inline constexpr std::int16_t kKeySpace = 32;
inline constexpr std::int16_t kKeyLeft = 37;
inline constexpr std::int16_t kKeyUp = 38;
inline constexpr std::int16_t kKeyRight = 39;
inline constexpr std::int16_t kKeyDown = 40;
}  // namespace command_input

class CommandButton {
  public:
    static constexpr int kPointerWatchIntervalMs = 10;

    // `instance_name` is the default caption of a new instance.
    CommandButton(CommandHost& host, TimerService& timers, std::string instance_name,
                  ControlMode mode = ControlMode::kRunTime);
    CommandButton(const CommandButton&) = delete;
    CommandButton& operator=(const CommandButton&) = delete;

    CommandEvents& Events() { return events_; }

    // ---- Properties -----------------------------------------------------
    [[nodiscard]] ColorRef BackColor() const { return back_color_; }
    void SetBackColor(ColorRef color);
    [[nodiscard]] ColorRef ForeColor() const { return fore_color_; }
    void SetForeColor(ColorRef color);
    [[nodiscard]] int Percent() const { return percent_; }
    void SetPercent(int percent);
    [[nodiscard]] ColorRef MidColor() const { return colors_.MidColor; }
    void SetMidColor(ColorRef color);
    [[nodiscard]] ColorRef EndColor() const { return colors_.EndColor; }
    void SetEndColor(ColorRef color);
    [[nodiscard]] ColorRef MouseMoveMidColor() const { return colors_.MouseMoveMidColor; }
    void SetMouseMoveMidColor(ColorRef color);
    [[nodiscard]] ColorRef MouseMoveEndColor() const { return colors_.MouseMoveEndColor; }
    void SetMouseMoveEndColor(ColorRef color);
    [[nodiscard]] ColorRef MouseDownMidColor() const { return colors_.MouseDownMidColor; }
    void SetMouseDownMidColor(ColorRef color);
    [[nodiscard]] ColorRef MouseDownEndColor() const { return colors_.MouseDownEndColor; }
    void SetMouseDownEndColor(ColorRef color);
    [[nodiscard]] ColorRef OfficeXpFillColor() const { return colors_.OfficeXpFillColor; }
    void SetOfficeXpFillColor(ColorRef color);
    [[nodiscard]] ColorRef OfficeXpFrameColor() const { return colors_.OfficeXpFrameColor; }
    void SetOfficeXpFrameColor(ColorRef color);
    [[nodiscard]] ColorRef OfficeXpMousemoveFillColor() const {
        return colors_.OfficeXpMousemoveFillColor;
    }
    void SetOfficeXpMousemoveFillColor(ColorRef color);
    [[nodiscard]] ColorRef OfficeXpMousemoveFrameColor() const {
        return colors_.OfficeXpMousemoveFrameColor;
    }
    void SetOfficeXpMousemoveFrameColor(ColorRef color);
    [[nodiscard]] bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);
    [[nodiscard]] const FontSpec& Font() const { return font_; }
    void SetFont(const FontSpec& font);
    [[nodiscard]] std::uintptr_t hWnd() const { return host_.WindowHandle(); }
    // Always throws: 387 at design time, 382 at run time.
    [[noreturn]] void SetHWnd(std::uintptr_t value);
    [[nodiscard]] int ButtonType() const { return button_type_; }
    void SetButtonType(int button_type);
    [[nodiscard]] const std::string& Caption() const { return caption_; }
    void SetCaption(std::string caption);
    [[nodiscard]] int ColorScheme() const { return color_scheme_; }
    void SetColorScheme(int color_scheme);
    [[nodiscard]] int XpType() const { return xp_type_; }
    void SetXpType(int xp_type);
    [[nodiscard]] ColorRef rectcolor() const { return colors_.rectcolor; }
    void SetRectcolor(ColorRef color);
    [[nodiscard]] bool ShowFocusRect() const { return show_focus_rect_; }
    void SetShowFocusRect(bool show);

    // ---- Persistence ----------------------------------------------------
    void WriteProperties(PropertyBag& bag) const;
    void ReadProperties(const PropertyBag& bag);

    // ---- Input, as the window reports it ---------------------------------
    void OnResize();
    void OnMouseDown(std::int16_t button, std::int16_t shift, float x, float y);
    void OnMouseUp(std::int16_t button, std::int16_t shift, float x, float y);
    // `button` is the set of buttons held (1 left, 2 right, 4 middle).
    void OnMouseMove(std::int16_t button, std::int16_t shift, float x, float y);
    void OnClick();
    void OnDoubleClick();
    void OnKeyDown(std::int16_t key_code, std::int16_t shift);
    void OnKeyPress(std::int16_t key_ascii);
    void OnKeyUp(std::int16_t key_code, std::int16_t shift);
    void OnAccessKeyPress();
    void OnGotFocus();
    void OnLostFocus();
    // The container marks (or unmarks) the control as its default button.
    void SetDisplayAsDefault(bool is_default);
    void OnAmbientChanged();

    // Draws the face in `state` (0 up, 2 down); without `force` only when
    // the state or the caption changed since the last paint.
    void PaintButton(std::uint8_t state, bool force);

    // ---- State ------------------------------------------------------------
    [[nodiscard]] std::uint8_t ButtonState() const { return button_state_; }
    [[nodiscard]] bool IsHovering() const { return is_hovering_; }
    [[nodiscard]] bool FocusVisible() const { return focus_visible_; }
    [[nodiscard]] bool DisplayAsDefault() const { return is_default_; }
    [[nodiscard]] std::uint8_t LastMouseButton() const { return last_mouse_button_; }
    [[nodiscard]] std::uint8_t LastKeyCode() const { return last_key_code_; }
    [[nodiscard]] const std::string& LastPaintedCaption() const { return last_painted_caption_; }
    [[nodiscard]] int ClientWidth() const { return client_width_; }
    [[nodiscard]] int ClientHeight() const { return client_height_; }
    [[nodiscard]] Rect ClientRect() const { return {0, 0, client_width_, client_height_}; }
    [[nodiscard]] Rect CaptionRect() const { return {2, 2, client_width_, client_height_}; }
    [[nodiscard]] Rect InnerRect() const { return {2, 2, client_width_ - 2, client_height_ - 2}; }
    [[nodiscard]] const ButtonPalette& Palette() const { return palette_; }
    // The lower-cased access key of the caption, if it has one.
    [[nodiscard]] std::optional<char32_t> AccessKey() const { return access_key_; }
    // Whether a typed character (of either case) is the access key.
    [[nodiscard]] bool IsAccessKey(char32_t typed) const {
        return access_key_ && LowerCase(typed) == *access_key_;
    }
    [[nodiscard]] const Timer& Timer1() const { return timer1_; }
    // Everything the next paint would draw from.
    [[nodiscard]] ButtonLook Look() const;

  private:
    void RebuildPalette();
    void LoadBluePreset();
    void ResizeHandling();
    void Repaint() { PaintButton(button_state_, true); }
    void UpdateAccessKey();
    void Changed(std::string_view name) { host_.PropertyChanged(name); }
    void SetColorProperty(ColorRef& member, ColorRef color, std::string_view name);
    void PointerWatch();

    CommandHost& host_;
    ControlMode mode_;
    CommandEvents events_;

    ColorRef back_color_;
    ColorRef fore_color_;
    int percent_ = 16;
    ButtonColors colors_;
    bool enabled_ = true;
    FontSpec font_;
    int button_type_ = 1;
    std::string caption_;
    int color_scheme_ = 1;
    int xp_type_ = 1;
    bool show_focus_rect_ = true;

    std::uint8_t button_state_ = kStateUp;
    bool is_hovering_ = false;
    bool focus_visible_ = false;
    bool is_default_ = false;
    std::uint8_t last_mouse_button_ = 1;
    std::uint8_t last_key_code_ = 0;
    std::string last_painted_caption_;
    int client_width_ = 0;
    int client_height_ = 0;
    ButtonPalette palette_;
    std::optional<char32_t> access_key_;
    Timer timer1_;
};

// The access key of a caption: the character after the first single "&",
// looking past one "&&" pair at most, lower-cased; none otherwise.
[[nodiscard]] std::optional<char32_t> AccessKeyOf(std::string_view caption);

// The rectangles cut from the window's corners for `button_type` 3, 4, 8 and
// 9 (none for any other), in the order they are removed.
[[nodiscard]] std::vector<Rect> RegionCutouts(int button_type, int width, int height,
                                              int dpi = kStandardDpi);

// ---- Instances -----------------------------------------------------------

// One Command button of a form, with its caption and size at 96 dpi.
struct CommandInstance {
    std::string_view form;
    std::string_view name;
    std::string_view caption;
    int width_px;
    int height_px;
};

// The property store a form keeps for one of its instances: style 1,
// XpType 2, ColorScheme 1, Verdana 7.5 pt and the instance's caption, as a
// form saves them (values at their defaults are absent).
[[nodiscard]] PropertyBag StoredCommandProperties(const CommandInstance& instance);

}  // namespace vellumar
