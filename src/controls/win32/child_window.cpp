#include "controls/win32/child_window.h"

#include "controls/win32/control_window_kit.h"
#include "platform/win32/dpi.h"
#include "platform/win32/text.h"
#include "platform/win32/window_table.h"

namespace vellumar::win32 {

namespace {

// The child windows that receive their notifications, by window.
WindowTable<ChildWindow*>& RoutedChildren() {
    static WindowTable<ChildWindow*> table;
    return table;
}

}  // namespace

RECT PixelRect(const TwipsRect& twips, int dpi) {
    const PixelEdges edges = TwipsToPixelEdges(twips, dpi);
    return RECT{edges.left, edges.top, edges.right, edges.bottom};
}

ChildWindow::~ChildWindow() {
    if (routed_)
        RoutedChildren().Erase(routed_);
}

void ChildWindow::Relayout() {
    ApplyBounds(Hwnd(), Model().Bounds());
}

LRESULT ChildWindow::OnNotification(UINT /*message*/, WPARAM /*wparam*/, LPARAM /*lparam*/) {
    return 0;
}

void ChildWindow::ReceiveNotifications(HWND hwnd) {
    routed_ = hwnd;
    RoutedChildren().Set(hwnd, this);
}

LRESULT RouteToChild(UINT message, WPARAM wparam, LPARAM lparam) {
    HWND from = nullptr;
    if (message == WM_NOTIFY) {
        if (const auto* header = reinterpret_cast<const NMHDR*>(lparam))
            from = header->hwndFrom;
    } else if (message == WM_COMMAND || message == WM_HSCROLL) {
        from = reinterpret_cast<HWND>(lparam);
    }
    ChildWindow** child = from ? RoutedChildren().Find(from) : nullptr;
    return child ? (*child)->OnNotification(message, wparam, lparam) : 0;
}

void ApplyVisibility(HWND hwnd, bool visible) {
    ::ShowWindow(hwnd, visible ? SW_SHOWNA : SW_HIDE);
}

void ApplyBounds(HWND hwnd, const TwipsRect& bounds) {
    const RECT r = PixelRect(bounds, LayoutDpi(hwnd));
    ::SetWindowPos(hwnd, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
}

DWORD VisibleStyle(const Control& control) {
    return control.Visible() ? WS_VISIBLE : 0;
}

// Mirrors the changes every kind of control shares onto its window: shown
// or hidden, place and size, text. False for the other kinds of change.
bool MirrorCommonChange(HWND hwnd, const Control& model, ControlChange change) {
    switch (change) {
        case ControlChange::Visible:
            ApplyVisibility(hwnd, model.Visible());
            return true;
        case ControlChange::Bounds:
            ApplyBounds(hwnd, model.Bounds());
            return true;
        case ControlChange::Text:
            ::SetWindowTextW(hwnd, Widen(model.Text()).c_str());
            return true;
        default:
            return false;
    }
}

std::unique_ptr<ChildWindow> CreateChildWindow(Control& control, HWND parent,
                                               BackgroundSource& background, ViewContext& context,
                                               int id) {
    if (auto* label = dynamic_cast<Label*>(&control))
        return CreateLabelWindow(*label, parent, background, context, id);
    if (auto* image = dynamic_cast<Image*>(&control))
        return CreateImageWindow(*image, parent, context, id);
    if (auto* box = dynamic_cast<CheckBox*>(&control))
        return CreateCheckBoxWindow(*box, parent, context, id);
    if (auto* list = dynamic_cast<ComboList*>(&control))
        return CreateComboWindow(*list, parent, context, id);
    if (auto* panel = dynamic_cast<Panel*>(&control))
        return CreatePanelWindow(*panel, parent, context, id);
    if (auto* list = dynamic_cast<ListView*>(&control))
        return CreateListViewWindow(*list, parent, context, id);
    if (auto* button = dynamic_cast<PushButton*>(&control))
        return CreatePushButtonWindow(*button, parent, context, id);
    if (auto* slider = dynamic_cast<Slider*>(&control))
        return CreateSliderWindow(*slider, parent, id);
    if (auto* icon = dynamic_cast<IconView*>(&control))
        return CreateIconViewWindow(*icon, parent, id);
    return context.other_kinds ? context.other_kinds(control, parent, id) : nullptr;
}

}  // namespace vellumar::win32
