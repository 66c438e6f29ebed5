#include "controls/win32/control_window_kit.h"

#include <commctrl.h>

#include "controls/slider.h"
#include "platform/win32/common_controls.h"
#include "platform/win32/dpi.h"
#include "platform/win32/text.h"

namespace vellumar::win32 {

namespace {

class SliderWindow : public SystemControlWindow<Slider> {
  public:
    SliderWindow(Slider& model, HWND parent, int id) : SystemControlWindow(model) {
        UseCommonControls();
        CreateAtPlace(TRACKBAR_CLASSW, 0, Widen(model.Name()),
                      WS_TABSTOP | TBS_HORZ | TBS_BOTTOM | TBS_AUTOTICKS, parent, id, nullptr);
        ::SendMessageW(Handle(), TBM_SETRANGEMIN, FALSE, model.Min());
        ::SendMessageW(Handle(), TBM_SETRANGEMAX, FALSE, model.Max());
        ::SendMessageW(Handle(), TBM_SETTICFREQ, 10, 0);
        ::SendMessageW(Handle(), TBM_SETLINESIZE, 0, 1);
        ::SendMessageW(Handle(), TBM_SETPAGESIZE, 0, 10);
        system_thumb_px_ = static_cast<int>(::SendMessageW(Handle(), TBM_GETTHUMBLENGTH, 0, 0));
        FitThumb();
        SyncPosition();
        Observe();
    }

    LRESULT OnNotification(UINT message, WPARAM /*wparam*/, LPARAM /*lparam*/) override {
        if (message == WM_HSCROLL)
            model_.UserSetValue(static_cast<int>(::SendMessageW(Handle(), TBM_GETPOS, 0, 0)));
        return 0;
    }
    void Relayout() override {
        ChildWindow::Relayout();
        FitThumb();
    }

  private:
    void SyncPosition() { ::SendMessageW(Handle(), TBM_SETPOS, TRUE, model_.Value()); }
    // The control sizes its thumb for the session's scale; in a window laid
    // out at another one the thumb is scaled with the window.
    void FitThumb() {
        const int dpi = LayoutDpi(Handle());
        const int system_dpi = SystemDpi();
        if (dpi == system_dpi && !fixed_thumb_)
            return;
        if (!fixed_thumb_) {
            fixed_thumb_ = true;
            ::SetWindowLongPtrW(Handle(), GWL_STYLE,
                                ::GetWindowLongPtrW(Handle(), GWL_STYLE) | TBS_FIXEDLENGTH);
        }
        ::SendMessageW(Handle(), TBM_SETTHUMBLENGTH,
                       static_cast<WPARAM>(::MulDiv(system_thumb_px_, dpi, system_dpi)), 0);
    }
    void OnControlChanged(ControlChange change, ChangeDetail /*detail*/) override {
        if (change == ControlChange::Value)
            SyncPosition();
        else if (change != ControlChange::Text)
            MirrorCommonChange(Handle(), model_, change);
    }

    int system_thumb_px_ = 0;
    bool fixed_thumb_ = false;
};

}  // namespace

std::unique_ptr<ChildWindow> CreateSliderWindow(Slider& model, HWND parent, int id) {
    return std::make_unique<SliderWindow>(model, parent, id);
}

}  // namespace vellumar::win32
