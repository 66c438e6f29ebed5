#include "controls/win32/control_window_kit.h"

#include "controls/win32/command_button_window.h"
#include "platform/win32/dpi.h"

namespace vellumar::win32 {

namespace {

// A Command button, created from its instance's stored properties where the
// context knows the instance, whose Click runs the place's handler.
class PushButtonWindow : public ChildWindow, private ControlObserver {
  public:
    PushButtonWindow(PushButton& model, HWND parent, ViewContext& context, int id)
        : model_(model),
          instance_(context.button_instance ? context.button_instance(model.Name()) : nullptr),
          button_(MakeButton(model, instance_, parent, context, id)) {
        button_->Model().Events().Click = [this] { model_.UserClick(); };
        if (!model.Visible())
            ::ShowWindow(button_->Handle(), SW_HIDE);
        model_.SetObserver(this);
    }
    ~PushButtonWindow() override { model_.SetObserver(nullptr); }
    HWND Hwnd() const override { return button_->Handle(); }
    Control& Model() override { return model_; }
    void Relayout() override {
        const int dpi = LayoutDpi(Hwnd());
        RECT r = PixelRect(model_.Bounds(), dpi);
        if (instance_) {
            r.right = r.left + ScalePixels(instance_->width_px, dpi);
            r.bottom = r.top + ScalePixels(instance_->height_px, dpi);
        }
        ::SetWindowPos(Hwnd(), nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                       SWP_NOZORDER | SWP_NOACTIVATE);
    }

  private:
    static std::unique_ptr<CommandButtonWindow> MakeButton(PushButton& model,
                                                           const CommandInstance* instance,
                                                           HWND parent, ViewContext& context,
                                                           int id) {
        const int dpi = LayoutDpi(parent);
        const RECT r = PixelRect(model.Bounds(), dpi);
        if (instance) {
            if (dpi == kStandardDpi) {
                return std::make_unique<CommandButtonWindow>(parent, *instance, r.left, r.top,
                                                             context.timers, id);
            }
            // The instance's size is given at the standard scale.
            return std::make_unique<CommandButtonWindow>(
                parent, r.left, r.top, ScalePixels(instance->width_px, dpi),
                ScalePixels(instance->height_px, dpi), StoredCommandProperties(*instance),
                context.timers, std::string(instance->name), id);
        }
        return std::make_unique<CommandButtonWindow>(parent, r.left, r.top, r.right - r.left,
                                                     r.bottom - r.top, PropertyBag{},
                                                     context.timers, model.Text(), id);
    }
    void OnControlChanged(ControlChange change, ChangeDetail /*detail*/) override {
        if (change == ControlChange::Visible || change == ControlChange::Bounds) {
            MirrorCommonChange(button_->Handle(), model_, change);
        }
    }

    PushButton& model_;
    const CommandInstance* const instance_;
    std::unique_ptr<CommandButtonWindow> button_;
};

}  // namespace

std::unique_ptr<ChildWindow> CreatePushButtonWindow(PushButton& model, HWND parent,
                                                    ViewContext& context, int id) {
    return std::make_unique<PushButtonWindow>(model, parent, context, id);
}

}  // namespace vellumar::win32
