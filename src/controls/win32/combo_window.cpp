#include "controls/win32/control_window_kit.h"

#include "platform/win32/common_controls.h"
#include "platform/win32/dpi.h"
#include "platform/win32/text.h"

namespace vellumar::win32 {

namespace {

class ComboWindow : public SystemControlWindow<ComboList> {
  public:
    ComboWindow(ComboList& model, HWND parent, ViewContext& context, int id)
        : SystemControlWindow(model), context_(context) {
        UseCommonControls();
        CreateAtPlace(L"COMBOBOX", 0, L"", WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST, parent, id,
                      context.fonts.Get(model.Style()),
                      ScalePixels(kDropDownHeight, LayoutDpi(parent)));
        SyncItems();
        Observe();
    }
    void Relayout() override {
        ::SendMessageW(Handle(), WM_SETFONT,
                       reinterpret_cast<WPARAM>(context_.fonts.Get(model_.Style())), TRUE);
        const int dpi = LayoutDpi(Handle());
        const RECT r = PixelRect(model_.Bounds(), dpi);
        ::SetWindowPos(Handle(), nullptr, r.left, r.top, r.right - r.left,
                       ScalePixels(kDropDownHeight, dpi), SWP_NOZORDER | SWP_NOACTIVATE);
    }

    LRESULT OnNotification(UINT message, WPARAM wparam, LPARAM /*lparam*/) override {
        if (message != WM_COMMAND || HIWORD(wparam) != CBN_SELCHANGE)
            return 0;
        const auto index = static_cast<int>(::SendMessageW(Handle(), CB_GETCURSEL, 0, 0));
        if (index != CB_ERR)
            model_.UserPick(index);
        return 0;
    }

  private:
    void SyncItems() {
        ::SendMessageW(Handle(), CB_RESETCONTENT, 0, 0);
        for (const std::string& item : model_.Items()) {
            ::SendMessageW(Handle(), CB_ADDSTRING, 0,
                           reinterpret_cast<LPARAM>(Widen(item).c_str()));
        }
        SyncSelection();
    }
    void SyncSelection() {
        ::SendMessageW(Handle(), CB_SETCURSEL, static_cast<WPARAM>(model_.ListIndex()), 0);
    }
    void OnControlChanged(ControlChange change, ChangeDetail /*detail*/) override {
        if (change == ControlChange::Items)
            SyncItems();
        if (change == ControlChange::Value)
            SyncSelection();
        if (change != ControlChange::Text)
            MirrorCommonChange(Handle(), model_, change);
    }

    static constexpr int kDropDownHeight = 160;
    ViewContext& context_;
};

}  // namespace

std::unique_ptr<ChildWindow> CreateComboWindow(ComboList& model, HWND parent, ViewContext& context,
                                               int id) {
    return std::make_unique<ComboWindow>(model, parent, context, id);
}

}  // namespace vellumar::win32
