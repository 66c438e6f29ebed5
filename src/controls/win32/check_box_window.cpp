#include "controls/win32/control_window_kit.h"

#include "platform/win32/common_controls.h"
#include "platform/win32/text.h"

namespace vellumar::win32 {

namespace {

class CheckBoxWindow : public SystemControlWindow<CheckBox> {
  public:
    CheckBoxWindow(CheckBox& model, HWND parent, ViewContext& context, int id)
        : SystemControlWindow(model), context_(context) {
        UseCommonControls();
        CreateAtPlace(L"BUTTON", 0, Widen(model.Text()), WS_TABSTOP | BS_CHECKBOX, parent, id,
                      context.fonts.Get(model.Style()));
        SyncCheck();
        Observe();
    }
    void Relayout() override { RelayoutWithFont(context_.fonts.Get(model_.Style())); }

    LRESULT OnNotification(UINT message, WPARAM wparam, LPARAM /*lparam*/) override {
        if (message == WM_COMMAND && HIWORD(wparam) == BN_CLICKED)
            model_.UserToggle();
        return 0;
    }

  private:
    void SyncCheck() {
        ::SendMessageW(Handle(), BM_SETCHECK, model_.Value() ? BST_CHECKED : BST_UNCHECKED, 0);
    }
    void OnControlChanged(ControlChange change, ChangeDetail /*detail*/) override {
        if (change == ControlChange::Value)
            SyncCheck();
        MirrorCommonChange(Handle(), model_, change);
    }

    ViewContext& context_;
};

}  // namespace

std::unique_ptr<ChildWindow> CreateCheckBoxWindow(CheckBox& model, HWND parent,
                                                  ViewContext& context, int id) {
    return std::make_unique<CheckBoxWindow>(model, parent, context, id);
}

}  // namespace vellumar::win32
