#include "controls/win32/control_window_kit.h"

#include <commctrl.h>
#include <windowsx.h>

#include <cwchar>

#include "platform/win32/common_controls.h"
#include "platform/win32/dpi.h"
#include "platform/win32/text.h"

namespace vellumar::win32 {

namespace {

constexpr wchar_t kLabelClass[] = L"VellumarLabel";

class LabelWindow : public Window, public ChildWindow, private ControlObserver {
  public:
    LabelWindow(Label& model, HWND parent, BackgroundSource& background, ViewContext& context,
                int id)
        : model_(model), background_(background), context_(context) {
        const RECT r = PixelRect(model.Bounds(), LayoutDpi(parent));
        Create(WindowClassSpec{kLabelClass}, 0, Widen(model.Text()).c_str(),
               WS_CHILD | WS_CLIPSIBLINGS | VisibleStyle(model), r.left, r.top, r.right - r.left,
               r.bottom - r.top, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)));
        FitToText();
        model_.SetObserver(this);
    }
    ~LabelWindow() override { model_.SetObserver(nullptr); }
    HWND Hwnd() const override { return Handle(); }
    Control& Model() override { return model_; }
    void Relayout() override {
        ChildWindow::Relayout();
        FitToText();
        ::InvalidateRect(Handle(), nullptr, FALSE);
    }

  private:
    void OnControlChanged(ControlChange change, ChangeDetail /*detail*/) override {
        if (change == ControlChange::ToolTip) {
            if (tool_tip_)
                UpdateToolTip();
            return;
        }
        MirrorCommonChange(Handle(), model_, change);
        if (change == ControlChange::Text || change == ControlChange::Style)
            FitToText();
        // A label out of sight is painted afresh when it is shown; asking for
        // it now would only cost a round trip to the window server each time.
        if (::IsWindowVisible(Handle()))
            ::InvalidateRect(Handle(), nullptr, FALSE);
    }

    // Figures grow and shrink with their text; their height stays. At any
    // other than the standard scale, a one-line label is also at least as
    // tall as its font's line: the layout's heights were chosen for 96 dpi,
    // and there a few labels cut their descenders, which a larger scale
    // must not copy.
    void FitToText() {
        const bool scaled = layout_dpi_.Get(Handle()) != kStandardDpi;
        if (!model_.AutoSize() && !scaled)
            return;
        // A memory DC measures like the window's, without the display
        // driver's work of a window DC (under Wine: an X resource lookup each).
        HDC dc = context_.fonts.MeasuringDc(model_.Style());
        const std::wstring text = Widen(model_.Text());
        RECT r{};
        ::GetClientRect(Handle(), &r);
        SIZE fitted{r.right, r.bottom};
        if (model_.AutoSize()) {
            SIZE extent{};
            ::GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &extent);
            fitted.cx = extent.cx;
        }
        TEXTMETRICW metrics{};
        if (scaled && text.find(L'\n') == std::wstring::npos && ::GetTextMetricsW(dc, &metrics) &&
            fitted.cy < metrics.tmHeight) {
            fitted.cy = metrics.tmHeight;
        }
        if (fitted.cx != r.right || fitted.cy != r.bottom) {
            ::SetWindowPos(Handle(), nullptr, 0, 0, fitted.cx, fitted.cy,
                           SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
    }

    void UpdateToolTip() {
        const std::wstring text = Widen(model_.ToolTip());
        TOOLINFOW tool{};
        tool.cbSize = sizeof(tool);
        tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
        tool.hwnd = ::GetParent(Handle());
        tool.uId = reinterpret_cast<UINT_PTR>(Handle());
        tool.lpszText = const_cast<wchar_t*>(text.c_str());
        if (!tool_tip_) {
            UseCommonControls();
            tool_tip_ = ::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                                          WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
                                          CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, Handle(),
                                          nullptr, ::GetModuleHandleW(nullptr), nullptr);
            ::SendMessageW(tool_tip_, TTM_SETMAXTIPWIDTH, 0, 600);
            ::SendMessageW(tool_tip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
        } else {
            ::SendMessageW(tool_tip_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
        }
    }

    void Paint() {
        PaintDc paint(Handle());
        RECT client{};
        ::GetClientRect(Handle(), &client);
        const int width = client.right;
        const int height = client.bottom;
        if (width <= 0 || height <= 0)
            return;
        // Compose off screen: the container's background under the label,
        // then the text, so an update never flickers through the skin.
        UniqueMemoryDc memory(::CreateCompatibleDC(paint.Get()));
        UniqueBitmap buffer(::CreateCompatibleBitmap(paint.Get(), width, height));
        ScopedSelect select_buffer(memory.Get(), buffer.Get());
        RECT in_parent = client;
        ::MapWindowPoints(Handle(), ::GetParent(Handle()), reinterpret_cast<POINT*>(&in_parent), 2);
        background_.PaintBackground(memory.Get(), in_parent);
        const TextStyle& style = model_.Style();
        ScopedSelect select_font(memory.Get(), context_.fonts.Get(style));
        ::SetBkMode(memory.Get(), TRANSPARENT);
        ::SetTextColor(memory.Get(), ToColorRef(style.color));
        const std::wstring text = Widen(model_.Text());
        // Text wraps where the label has room for more than one line;
        // a one-line field cuts what does not fit.
        TEXTMETRICW metrics{};
        ::GetTextMetricsW(memory.Get(), &metrics);
        const bool wraps = height >= 2 * metrics.tmHeight || text.find(L'\n') != std::wstring::npos;
        const UINT format = DT_TOP | DT_NOPREFIX | (wraps ? DT_WORDBREAK : DT_SINGLELINE) |
                            (model_.AlignRight() ? DT_RIGHT : DT_LEFT);
        ::DrawTextW(memory.Get(), text.c_str(), static_cast<int>(text.size()), &client, format);
        ::BitBlt(paint.Get(), 0, 0, width, height, memory.Get(), 0, 0, SRCCOPY);
    }

    LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) override {
        switch (message) {
            case WM_PAINT:
                Paint();
                return 0;
            case WM_ERASEBKGND:
                return 1;
            case WM_LBUTTONDOWN:
                ::SetCapture(Handle());
                return 0;
            case WM_LBUTTONUP: {
                if (::GetCapture() != Handle())
                    return 0;
                ::ReleaseCapture();
                RECT client{};
                ::GetClientRect(Handle(), &client);
                const POINT pt{GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam)};
                if (::PtInRect(&client, pt))
                    model_.UserClick();
                return 0;
            }
            case WM_MOUSEMOVE:
                // The tip is made when the mouse first comes over the label:
                // a label that is never pointed at needs no common controls.
                if (!tool_tip_ && !model_.ToolTip().empty()) {
                    UpdateToolTip();
                    MSG move{
                        Handle(), message, wparam, lparam, static_cast<DWORD>(::GetMessageTime()),
                        {}};
                    ::SendMessageW(tool_tip_, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&move));
                }
                if (model_.onMouseMove)
                    model_.onMouseMove();
                return 0;
            case WM_SETCURSOR:
                if (model_.onClick && LOWORD(lparam) == HTCLIENT) {
                    ::SetCursor(
                        ::LoadCursorW(nullptr, model_.Style().underline ? IDC_HAND : IDC_ARROW));
                    return TRUE;
                }
                break;
            case WM_GETDLGCODE:
                return DLGC_STATIC;
            case WM_GETFONT:  // as a static control answers, for tools that read the text
                return reinterpret_cast<LRESULT>(context_.fonts.Get(model_.Style()));
        }
        return Window::HandleMessage(message, wparam, lparam);
    }

    Label& model_;
    BackgroundSource& background_;
    ViewContext& context_;
    HWND tool_tip_ = nullptr;  // owned by the label window, destroyed with it
    LayoutDpiCache layout_dpi_;
};

}  // namespace

std::unique_ptr<ChildWindow> CreateLabelWindow(Label& model, HWND parent,
                                               BackgroundSource& background, ViewContext& context,
                                               int id) {
    return std::make_unique<LabelWindow>(model, parent, background, context, id);
}

// Labels paint the pictures under them as their background, so a picture
// that appears or disappears must have the labels above it repainted.
void RepaintLabelsOver(HWND image) {
    RECT image_rect{};
    ::GetWindowRect(image, &image_rect);
    for (HWND sibling = ::GetWindow(image, GW_HWNDFIRST); sibling;
         sibling = ::GetWindow(sibling, GW_HWNDNEXT)) {
        wchar_t class_name[32] = {};
        ::GetClassNameW(sibling, class_name, 32);
        if (wcscmp(class_name, kLabelClass) != 0)
            continue;
        RECT label_rect{};
        RECT overlap{};
        ::GetWindowRect(sibling, &label_rect);
        if (::IntersectRect(&overlap, &label_rect, &image_rect)) {
            ::InvalidateRect(sibling, nullptr, FALSE);
        }
    }
}

}  // namespace vellumar::win32
