#include "controls/win32/control_window_kit.h"

#include <windowsx.h>

#include "platform/win32/text.h"

namespace vellumar::win32 {

namespace {

class ImageWindow : public SystemControlWindow<Image> {
  public:
    ImageWindow(Image& model, HWND parent, ViewContext& context, int id)
        : SystemControlWindow(model), context_(context) {
        const bool button = model.ActsAsButton();
        CreateAtPlace(button ? L"BUTTON" : L"STATIC", 0, Widen(model.Text()),
                      button ? BS_OWNERDRAW : SS_OWNERDRAW, parent, id, nullptr);
        Observe();
    }

  private:
    void OnControlChanged(ControlChange change, ChangeDetail /*detail*/) override {
        // Labels over the picture paint it as their background.
        if (change == ControlChange::Bounds)
            RepaintLabelsOver(Handle());
        if (!MirrorCommonChange(Handle(), model_, change))
            ::InvalidateRect(Handle(), nullptr, FALSE);
        if (change != ControlChange::Text)
            RepaintLabelsOver(Handle());
    }

    void Paint() {
        PaintDc paint(Handle());
        RECT client{};
        ::GetClientRect(Handle(), &client);
        if (HBITMAP bitmap = context_.picture(model_.Picture())) {
            BlitBitmap(paint.Get(), 0, 0, client.right, client.bottom, bitmap, 0, 0);
        }
    }

    LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) override {
        switch (message) {
            case WM_PAINT:
                Paint();
                return 0;
            case WM_ERASEBKGND:
                return 1;
            // Real mouse input belongs to the container, which treats images
            // like windowless pictures (overlaps, capture, hover looks).
            case WM_NCHITTEST:
                return HTTRANSPARENT;
            // Only BM_CLICK (assistive tools, tests) sends these to the
            // window itself: act as a left click on the picture.
            case WM_LBUTTONDOWN:
                if (model_.onMouseDown)
                    model_.onMouseDown(MouseButton::Left);
                return 0;
            case WM_LBUTTONUP:
                if (model_.onMouseUp)
                    model_.onMouseUp(MouseButton::Left);
                if (model_.onClick)
                    model_.onClick();
                return 0;
            case WM_SETFOCUS:
            case WM_KILLFOCUS:
                return 0;
        }
        return SubclassedControl::HandleMessage(message, wparam, lparam);
    }

    ViewContext& context_;
};

}  // namespace

std::unique_ptr<ChildWindow> CreateImageWindow(Image& model, HWND parent, ViewContext& context,
                                               int id) {
    return std::make_unique<ImageWindow>(model, parent, context, id);
}

}  // namespace vellumar::win32
