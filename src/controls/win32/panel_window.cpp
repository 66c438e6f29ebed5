#include "controls/win32/control_window_kit.h"

#include <algorithm>

#include "platform/win32/dpi.h"
#include "platform/win32/text.h"

namespace vellumar::win32 {

namespace {

class PanelWindow : public Window,
                    public ChildWindow,
                    public BackgroundSource,
                    private ControlObserver {
  public:
    PanelWindow(Panel& model, HWND parent, ViewContext& context, int id)
        : model_(model),
          context_(context),
          white_(::CreateSolidBrush(RGB(255, 255, 255))),
          id_(id) {
        const RECT r = PixelRect(model.Bounds(), LayoutDpi(parent));
        Create(WindowClassSpec{L"VellumarPanel"}, WS_EX_CONTROLPARENT, Widen(model.Name()).c_str(),
               WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | VisibleStyle(model), r.left, r.top,
               r.right - r.left, r.bottom - r.top, parent,
               reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)));
        if (model.Visible())
            CreateChildren();
        model_.SetObserver(this);
    }
    ~PanelWindow() override {
        model_.SetObserver(nullptr);
        children_.clear();
    }
    HWND Hwnd() const override { return Handle(); }
    Control& Model() override { return model_; }
    void Relayout() override {
        ChildWindow::Relayout();
        for (const auto& child : children_) child->Relayout();
        ::InvalidateRect(Handle(), nullptr, TRUE);
    }

    void PaintBackground(HDC dc, const RECT& area) override {
        RECT r{0, 0, area.right - area.left, area.bottom - area.top};
        ::FillRect(dc, &r, white_.Get());
        ::SetViewportOrgEx(dc, -area.left, -area.top, nullptr);
        PaintShapes(dc);
        ::SetViewportOrgEx(dc, 0, 0, nullptr);
    }

    // Frames and legend squares lie on the panel's own background.
    void PaintShapes(HDC dc) {
        const int dpi = LayoutDpi(Handle());
        for (Control* child : model_.Children()) {
            auto* shape = dynamic_cast<Shape*>(child);
            if (!shape || !shape->Visible())
                continue;
            const RECT r = PixelRect(shape->Bounds(), dpi);
            UniquePen pen(::CreatePen(PS_SOLID, ScalePixels(1, dpi), ToColorRef(shape->Border())));
            UniqueBrush fill(shape->Filled() ? ::CreateSolidBrush(ToColorRef(shape->Fill()))
                                             : nullptr);
            ScopedSelect select_pen(dc, pen.Get());
            ScopedSelect select_brush(
                dc, fill ? static_cast<HGDIOBJ>(fill.Get()) : ::GetStockObject(NULL_BRUSH));
            if (shape->ShapeKind() == Shape::Kind::RoundedRectangle) {
                const int corner =
                    std::max(2, std::min<int>(r.right - r.left, r.bottom - r.top) / 4);
                const int most = ScalePixels(12, dpi);
                ::RoundRect(dc, r.left, r.top, r.right, r.bottom, std::min(corner, most),
                            std::min(corner, most));
            } else {
                ::Rectangle(dc, r.left, r.top, r.right, r.bottom);
            }
        }
    }

  private:
    // A page's windows cost time and memory at start: a hidden panel creates
    // them when it is first shown, each from its control's state by then.
    // Their ids do not depend on when they are made.
    void CreateChildren() {
        children_created_ = true;
        int child_id = id_ * 100;
        for (Control* child : model_.Children()) {
            if (auto window = CreateChildWindow(*child, Handle(), *this, context_, ++child_id)) {
                children_.push_back(std::move(window));
            }
        }
    }

    void OnControlChanged(ControlChange change, ChangeDetail /*detail*/) override {
        if (change == ControlChange::Visible && model_.Visible() && !children_created_)
            CreateChildren();
        if (change != ControlChange::Text)
            MirrorCommonChange(Handle(), model_, change);
    }

    LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) override {
        switch (message) {
            case WM_ERASEBKGND: {
                RECT client{};
                ::GetClientRect(Handle(), &client);
                PaintBackground(reinterpret_cast<HDC>(wparam), client);
                return 1;
            }
            case WM_CTLCOLORBTN:
            case WM_CTLCOLORSTATIC:
                ::SetBkColor(reinterpret_cast<HDC>(wparam), RGB(255, 255, 255));
                return reinterpret_cast<LRESULT>(white_.Get());
            case WM_COMMAND:
            case WM_NOTIFY:
            case WM_HSCROLL:
                return RouteToChild(message, wparam, lparam);
        }
        return Window::HandleMessage(message, wparam, lparam);
    }

    Panel& model_;
    ViewContext& context_;
    UniqueBrush white_;
    const int id_;
    bool children_created_ = false;
    std::vector<std::unique_ptr<ChildWindow>> children_;
};

}  // namespace

std::unique_ptr<ChildWindow> CreatePanelWindow(Panel& model, HWND parent, ViewContext& context,
                                               int id) {
    return std::make_unique<PanelWindow>(model, parent, context, id);
}

}  // namespace vellumar::win32
