#pragma once
// One real child window per portable control, so screen readers and UI
// automation can read and operate everything a user sees:
//   Label    -> "VellumarLabel" window whose text is the label's text;
//   Image    -> BUTTON (push button to assistive tools) or STATIC window that
//               paints its picture; real mouse input passes through to the
//               container, which hit-tests the images like windowless
//               controls, while BM_CLICK from assistive tools still works;
//   CheckBox -> BUTTON check box; ComboList -> COMBOBOX drop-down list;
//   ListView -> report list view, with its small-icon image list;
//   Slider   -> track bar; IconView -> STATIC icon;
//   Panel    -> "VellumarPanel" window holding its children.
// Each window observes its control and mirrors every change; user input on
// the window goes back to the control's User* methods.

#include <windows.h>

#include <functional>
#include <memory>
#include <vector>

#include "controls/controls.h"
#include "controls/win32/gdi.h"
#include "platform/timer.h"
#include "platform/win32/window_base.h"

namespace vellumar::win32 {

// What a container paints under its transparent children (labels).
class BackgroundSource {
  public:
    virtual ~BackgroundSource() = default;
    // Paints the container's background of `area` (container coordinates)
    // into `dc`, whose origin is the area's top-left corner.
    virtual void PaintBackground(HDC dc, const RECT& area) = 0;
};

struct ViewContext {
    FontCache& fonts;
    // Timers of the Command buttons' pointer watch.
    TimerService& timers;
    // Bitmap of a picture id; nullptr when unknown.
    std::function<HBITMAP(int)> picture;
};

// The pixel rectangle of `twips` at `dpi` dots per inch.
RECT PixelRect(const TwipsRect& twips, int dpi);

// Children of a window that receive WM_COMMAND notifications from it.
class CommandTarget {
  public:
    virtual ~CommandTarget() = default;
    virtual void OnCommand(WORD code) = 0;
};

// Children that send WM_NOTIFY (list views) or WM_HSCROLL (track bars).
class NotifyTarget {
  public:
    virtual ~NotifyTarget() = default;
    virtual LRESULT OnNotify(const NMHDR& header) = 0;
};
class ScrollTarget {
  public:
    virtual ~ScrollTarget() = default;
    virtual void OnScroll() = 0;
};

class ChildWindow {
  public:
    virtual ~ChildWindow() = default;
    virtual HWND Hwnd() const = 0;
    virtual Control& Model() = 0;
    // Places the window, and sizes what it draws with, at the scale of its
    // top-level window after that changed. By default: its place.
    virtual void Relayout();
};

// Creates the window of `control` (a panel creates its children too).
std::unique_ptr<ChildWindow> CreateChildWindow(Control& control, HWND parent,
                                               BackgroundSource& background, ViewContext& context,
                                               int id);

// Routes WM_COMMAND from a child control to its window object.
void RouteCommand(WPARAM wparam, LPARAM lparam);
// Routes WM_NOTIFY and WM_HSCROLL from a child control to its window object.
LRESULT RouteNotify(LPARAM lparam);
void RouteScroll(LPARAM lparam);

}  // namespace vellumar::win32
