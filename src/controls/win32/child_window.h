#pragma once
// One real child window per portable control, so screen readers and UI
// automation can read and operate everything a user sees:
//   Label      -> "VellumarLabel" window whose text is the label's text;
//   Image      -> BUTTON (push button to assistive tools) or STATIC window
//                 that paints its picture; real mouse input passes through to
//                 the container, which hit-tests the images like windowless
//                 controls, while BM_CLICK from assistive tools still works;
//   CheckBox   -> BUTTON check box; ComboList -> COMBOBOX drop-down list;
//   ListView   -> report list view, with its small-icon image list;
//   Slider     -> track bar; IconView -> STATIC icon;
//   PushButton -> the Command button's window;
//   Panel      -> "VellumarPanel" window holding its children.
// Each window observes its control and mirrors every change; user input on
// the window goes back to the control's User* methods. A container hands
// the notifications its children send it (WM_COMMAND, WM_NOTIFY, WM_HSCROLL)
// to RouteToChild, which gives each to the window that sent it.

#include <windows.h>

#include <functional>
#include <memory>
#include <string_view>

#include "controls/command_button.h"
#include "controls/controls.h"
#include "controls/win32/gdi.h"
#include "platform/timer.h"

namespace vellumar::win32 {

// What a container paints under its transparent children (labels).
class BackgroundSource {
  public:
    virtual ~BackgroundSource() = default;
    // Paints the container's background of `area` (container coordinates)
    // into `dc`, whose origin is the area's top-left corner.
    virtual void PaintBackground(HDC dc, const RECT& area) = 0;
};

class ChildWindow;

struct ViewContext {
    FontCache& fonts;
    // Timers of the Command buttons' pointer watch.
    TimerService& timers;
    // Bitmap of a picture id; nullptr when unknown.
    std::function<HBITMAP(int)> picture;
    // The stored properties and size of the Command button of that name;
    // nullptr for a plain button made from its control's place and caption.
    std::function<const CommandInstance*(std::string_view name)> button_instance = nullptr;
    // Windows of the kinds of control that the layers above this one add;
    // nullptr (or a null answer) when there is no window for the control.
    std::function<std::unique_ptr<ChildWindow>(Control&, HWND parent, int id)> other_kinds =
        nullptr;
};

// The pixel rectangle of `twips` at `dpi` dots per inch.
RECT PixelRect(const TwipsRect& twips, int dpi);

class ChildWindow {
  public:
    ChildWindow() = default;
    virtual ~ChildWindow();
    ChildWindow(const ChildWindow&) = delete;
    ChildWindow& operator=(const ChildWindow&) = delete;

    virtual HWND Hwnd() const = 0;
    virtual Control& Model() = 0;
    // Places the window, and sizes what it draws with, at the scale of its
    // top-level window after that changed. By default: its place.
    virtual void Relayout();
    // A notification this window sent its parent, handed back by
    // RouteToChild; the answer is the parent's. By default: ignored, 0.
    virtual LRESULT OnNotification(UINT message, WPARAM wparam, LPARAM lparam);

  protected:
    // From now on RouteToChild hands what `hwnd` sends its parent to this.
    void ReceiveNotifications(HWND hwnd);

  private:
    HWND routed_ = nullptr;
};

// Creates the window of `control` (a panel creates its children too);
// nullptr for a control without one.
std::unique_ptr<ChildWindow> CreateChildWindow(Control& control, HWND parent,
                                               BackgroundSource& background, ViewContext& context,
                                               int id);

// Gives WM_COMMAND, WM_NOTIFY or WM_HSCROLL that a container received to the
// child window that sent it, and returns that window's answer (0 when no
// child window takes it).
LRESULT RouteToChild(UINT message, WPARAM wparam, LPARAM lparam);

}  // namespace vellumar::win32
