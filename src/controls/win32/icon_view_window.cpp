#include "controls/win32/control_window_kit.h"

#include "controls/image_list.h"
#include "platform/win32/dpi.h"
#include "platform/win32/text.h"

namespace vellumar::win32 {

namespace {

// A STATIC icon window; the model's picture owns the icon it shows.
class IconViewWindow : public SystemControlWindow<IconView> {
  public:
    IconViewWindow(IconView& model, HWND parent, int id) : SystemControlWindow(model) {
        CreateAtPlace(L"STATIC", 0, Widen(model.Text()), SS_ICON | SS_CENTERIMAGE, parent, id,
                      nullptr);
        // SS_ICON sizes the window to its icon; the place stays the model's.
        MirrorCommonChange(Handle(), model_, ControlChange::Bounds);
        SyncIcon();
        Observe();
    }

    // The icon is made again at the system's icon size for the new scale.
    void Relayout() override { SyncIcon(); }

  private:
    void SyncIcon() {
        const SharedIcon& picture = model_.Picture();
        const int size_px = SystemMetricAt(SM_CXICON, LayoutDpi(Handle()));
        const auto icon =
            picture ? reinterpret_cast<HICON>(picture->IconHandleAt(size_px)) : nullptr;
        ::SendMessageW(Handle(), STM_SETICON, reinterpret_cast<WPARAM>(icon), 0);
        MirrorCommonChange(Handle(), model_, ControlChange::Bounds);
    }
    void OnControlChanged(ControlChange change, ChangeDetail /*detail*/) override {
        if (change == ControlChange::Picture)
            SyncIcon();
        else if (change != ControlChange::Text)
            MirrorCommonChange(Handle(), model_, change);
    }
};

}  // namespace

std::unique_ptr<ChildWindow> CreateIconViewWindow(IconView& model, HWND parent, int id) {
    return std::make_unique<IconViewWindow>(model, parent, id);
}

}  // namespace vellumar::win32
