#pragma once
// What the windows of the portable controls are made with: the shared
// mirroring of a control's common state, the base of the windows over a
// system control, and the maker of each kind, which CreateChildWindow picks
// from.

#include <windows.h>

#include <memory>
#include <string>

#include "controls/controls.h"
#include "controls/image_list.h"
#include "controls/slider.h"
#include "controls/win32/child_window.h"
#include "platform/win32/dpi.h"
#include "platform/win32/text.h"
#include "platform/win32/window_base.h"

namespace vellumar::win32 {

// The changes every kind of control shares, applied to its window.
void ApplyVisibility(HWND hwnd, bool visible);
void ApplyBounds(HWND hwnd, const TwipsRect& bounds);
DWORD VisibleStyle(const Control& control);
// Mirrors the changes every kind of control shares onto its window: shown
// or hidden, place and size, text. False for the other kinds of change.
bool MirrorCommonChange(HWND hwnd, const Control& model, ControlChange change);

// A system control (BUTTON, STATIC, COMBOBOX, list view) that mirrors one
// portable control: created at the control's place, shown or hidden with
// it, and observing it for as long as the window object lives.
template <typename TModel>
class SystemControlWindow : public SubclassedControl,
                            public ChildWindow,
                            protected ControlObserver {
  public:
    ~SystemControlWindow() override { model_.SetObserver(nullptr); }
    HWND Hwnd() const override { return Handle(); }
    Control& Model() override { return model_; }

  protected:
    explicit SystemControlWindow(TModel& model) : model_(model) {}
    // `height_px` replaces the control's height where the system control
    // needs more (a drop-down list's open height); `font` may be null.
    void CreateAtPlace(const wchar_t* system_class, DWORD ex_style, const std::wstring& text,
                       DWORD style, HWND parent, int id, HFONT font, int height_px = -1) {
        const RECT r = PixelRect(model_.Bounds(), LayoutDpi(parent));
        Create(system_class, ex_style, text.c_str(),
               WS_CHILD | WS_CLIPSIBLINGS | VisibleStyle(model_) | style, r.left, r.top,
               r.right - r.left, height_px < 0 ? r.bottom - r.top : height_px, parent, id);
        if (font)
            ::SendMessageW(Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    }
    // Observes the control, and receives what the window sends its parent.
    void Observe() {
        model_.SetObserver(this);
        ReceiveNotifications(Handle());
    }
    // Its place and a font of the new scale (fonts of the old one go).
    void RelayoutWithFont(HFONT font) {
        ChildWindow::Relayout();
        ::SendMessageW(Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    }

    TModel& model_;
};

// Labels paint the pictures under them as their background: repaints the
// labels over `image` (a sibling of theirs) after it appeared, changed or
// went.
void RepaintLabelsOver(HWND image);

std::unique_ptr<ChildWindow> CreateLabelWindow(Label& model, HWND parent,
                                               BackgroundSource& background, ViewContext& context,
                                               int id);
std::unique_ptr<ChildWindow> CreateImageWindow(Image& model, HWND parent, ViewContext& context,
                                               int id);
std::unique_ptr<ChildWindow> CreateCheckBoxWindow(CheckBox& model, HWND parent,
                                                  ViewContext& context, int id);
std::unique_ptr<ChildWindow> CreateComboWindow(ComboList& model, HWND parent, ViewContext& context,
                                               int id);
std::unique_ptr<ChildWindow> CreateListViewWindow(ListView& model, HWND parent,
                                                  ViewContext& context, int id);
std::unique_ptr<ChildWindow> CreateSliderWindow(Slider& model, HWND parent, int id);
std::unique_ptr<ChildWindow> CreateIconViewWindow(IconView& model, HWND parent, int id);
std::unique_ptr<ChildWindow> CreatePushButtonWindow(PushButton& model, HWND parent,
                                                    ViewContext& context, int id);
std::unique_ptr<ChildWindow> CreatePanelWindow(Panel& model, HWND parent, ViewContext& context,
                                               int id);

}  // namespace vellumar::win32
