#include "app/win32/control_windows.h"

#include <windowsx.h>
// windowsx.h names a macro like a method of the Command button window.
#undef SetWindowFont
// After windows.h, which they build on.
#include <commctrl.h>

#include <algorithm>
#include <cwchar>

#include "controls/win32/command_button_window.h"
#include "monitor/cpu_monitor.h"
#include "monitor/win32/cpu_monitor_window.h"
#include "monitor/win32/level_sources_win32.h"
#include "platform/win32/dpi.h"
#include "platform/win32/text.h"

namespace vellumar::win32 {

RECT PixelRect(const TwipsRect& twips, int dpi) {
    const PixelEdges edges = TwipsToPixelEdges(twips, dpi);
    return RECT{edges.left, edges.top, edges.right, edges.bottom};
}

namespace {
void ApplyBounds(HWND hwnd, const TwipsRect& bounds);
}  // namespace

void ChildWindow::Relayout() {
    ApplyBounds(Hwnd(), Model().Bounds());
}

namespace {

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

constexpr wchar_t kLabelClass[] = L"VellumarLabel";

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

// ---------------------------------------------------------------- Label

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
    void OnControlChanged(ControlChange change) override {
        if (change == ControlChange::ToolTip) {
            UpdateToolTip();
            return;
        }
        MirrorCommonChange(Handle(), model_, change);
        if (change == ControlChange::Text || change == ControlChange::Style)
            FitToText();
        ::InvalidateRect(Handle(), nullptr, FALSE);
    }

    // Figures grow and shrink with their text; their height stays.
    void FitToText() {
        if (!model_.AutoSize())
            return;
        WindowDc dc(Handle());
        ScopedSelect select_font(dc.Get(), context_.fonts.Get(model_.Style()));
        const std::wstring text = Widen(model_.Text());
        SIZE extent{};
        ::GetTextExtentPoint32W(dc.Get(), text.c_str(), static_cast<int>(text.size()), &extent);
        RECT r{};
        ::GetClientRect(Handle(), &r);
        if (extent.cx != r.right) {
            ::SetWindowPos(Handle(), nullptr, 0, 0, extent.cx, r.bottom,
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
        }
        return Window::HandleMessage(message, wparam, lparam);
    }

    Label& model_;
    BackgroundSource& background_;
    ViewContext& context_;
    HWND tool_tip_ = nullptr;  // owned by the label window, destroyed with it
};

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
    void Observe() { model_.SetObserver(this); }
    // Its place and a font of the new scale (fonts of the old one go).
    void RelayoutWithFont(HFONT font) {
        ChildWindow::Relayout();
        ::SendMessageW(Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    }

    TModel& model_;
};

// ---------------------------------------------------------------- Image

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
    void OnControlChanged(ControlChange change) override {
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

// ------------------------------------------------------------- CheckBox

class CheckBoxWindow : public SystemControlWindow<CheckBox>, public CommandTarget {
  public:
    CheckBoxWindow(CheckBox& model, HWND parent, ViewContext& context, int id)
        : SystemControlWindow(model), context_(context) {
        CreateAtPlace(L"BUTTON", 0, Widen(model.Text()), WS_TABSTOP | BS_CHECKBOX, parent, id,
                      context.fonts.Get(model.Style()));
        SyncCheck();
        Observe();
    }
    void Relayout() override { RelayoutWithFont(context_.fonts.Get(model_.Style())); }

    void OnCommand(WORD code) override {
        if (code == BN_CLICKED)
            model_.UserToggle();
    }

  private:
    void SyncCheck() {
        ::SendMessageW(Handle(), BM_SETCHECK, model_.Value() ? BST_CHECKED : BST_UNCHECKED, 0);
    }
    void OnControlChanged(ControlChange change) override {
        if (change == ControlChange::Value)
            SyncCheck();
        MirrorCommonChange(Handle(), model_, change);
    }

    ViewContext& context_;
};

// ------------------------------------------------------------ ComboList

class ComboWindow : public SystemControlWindow<ComboList>, public CommandTarget {
  public:
    ComboWindow(ComboList& model, HWND parent, ViewContext& context, int id)
        : SystemControlWindow(model), context_(context) {
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

    void OnCommand(WORD code) override {
        if (code != CBN_SELCHANGE)
            return;
        const auto index = static_cast<int>(::SendMessageW(Handle(), CB_GETCURSEL, 0, 0));
        if (index != CB_ERR)
            model_.UserPick(index);
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
    void OnControlChanged(ControlChange change) override {
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

// ------------------------------------------------------------- ListView

class ListViewWindow : public SystemControlWindow<ListView> {
  public:
    ListViewWindow(ListView& model, HWND parent, ViewContext& context, int id)
        : SystemControlWindow(model), context_(context) {
        CreateAtPlace(WC_LISTVIEWW, WS_EX_CLIENTEDGE, Widen(model.Name()),
                      WS_TABSTOP | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS, parent, id,
                      context.fonts.Get(model.Style()));
        ::SendMessageW(Handle(), LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT,
                       LVS_EX_FULLROWSELECT);
        int index = 0;
        for (const ListView::Column& column : model.Columns()) {
            std::wstring header = Widen(column.header);
            LVCOLUMNW lv{};
            lv.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
            lv.pszText = header.data();
            lv.cx = TwipsToPixelsAt(column.width_twips, LayoutDpi(parent));
            lv.iSubItem = index;
            ::SendMessageW(Handle(), LVM_INSERTCOLUMNW, static_cast<WPARAM>(index++),
                           reinterpret_cast<LPARAM>(&lv));
        }
        Observe();
    }

    void Relayout() override {
        RelayoutWithFont(context_.fonts.Get(model_.Style()));
        const int dpi = LayoutDpi(Handle());
        int index = 0;
        for (const ListView::Column& column : model_.Columns()) {
            ::SendMessageW(Handle(), LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(index++),
                           TwipsToPixelsAt(column.width_twips, dpi));
        }
    }

  private:
    ViewContext& context_;

    void SetCellText(int row, int column) {
        std::wstring text = Widen(model_.Row(row)[static_cast<std::size_t>(column)]);
        LVITEMW item{};
        item.iSubItem = column;
        item.pszText = text.data();
        ::SendMessageW(Handle(), LVM_SETITEMTEXTW, static_cast<WPARAM>(row),
                       reinterpret_cast<LPARAM>(&item));
    }
    void OnControlChanged(ControlChange change) override {
        const int row = model_.ChangedRow();
        switch (change) {
            case ControlChange::RowAdded: {
                std::wstring text = Widen(model_.Row(row)[0]);
                LVITEMW item{};
                item.mask = LVIF_TEXT;
                item.iItem = row;
                item.pszText = text.data();
                ::SendMessageW(Handle(), LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
                break;
            }
            case ControlChange::CellChanged:
                SetCellText(row, model_.ChangedColumn());
                break;
            case ControlChange::ScrollToRow:
                ::SendMessageW(Handle(), LVM_ENSUREVISIBLE, static_cast<WPARAM>(row), FALSE);
                break;
            default:
                if (change != ControlChange::Text)
                    MirrorCommonChange(Handle(), model_, change);
                break;
        }
    }
};

// ----------------------------------------------------------- PushButton

// One of the program's Command buttons, created from its instance's stored
// properties, whose Click runs the place's handler.
class PushButtonWindow : public ChildWindow, private ControlObserver {
  public:
    PushButtonWindow(PushButton& model, HWND parent, ViewContext& context, int id)
        : model_(model), button_(MakeButton(model, parent, context, id)) {
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
        if (const CommandInstance* instance = FindCommandInstance(model_.Name())) {
            r.right = r.left + ScalePixels(instance->width_px, dpi);
            r.bottom = r.top + ScalePixels(instance->height_px, dpi);
        }
        ::SetWindowPos(Hwnd(), nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                       SWP_NOZORDER | SWP_NOACTIVATE);
    }

  private:
    static std::unique_ptr<CommandButtonWindow> MakeButton(PushButton& model, HWND parent,
                                                           ViewContext& context, int id) {
        const int dpi = LayoutDpi(parent);
        const RECT r = PixelRect(model.Bounds(), dpi);
        if (const CommandInstance* instance = FindCommandInstance(model.Name())) {
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
    void OnControlChanged(ControlChange change) override {
        if (change == ControlChange::Visible || change == ControlChange::Bounds) {
            MirrorCommonChange(button_->Handle(), model_, change);
        }
    }

    PushButton& model_;
    std::unique_ptr<CommandButtonWindow> button_;
};

// ----------------------------------------------------------- CpuMonitor

// The graph at its place, loaded from the place's stored properties; it
// samples and repaints on its own timer through the process's sampler.
class CpuMonitorPlaceWindow : public ChildWindow {
  public:
    CpuMonitorPlaceWindow(CpuMonitorPlace& model, HWND parent, ViewContext& context, int id)
        : model_(model) {
        const RECT r = PixelRect(model.Bounds(), LayoutDpi(parent));
        graph_ = std::make_unique<CpuMonitorWindow>(
            parent, r.left, r.top, r.right - r.left, r.bottom - r.top, model.Stored(),
            context.timers, ProcessCpuMonitorSupport(), model.Name(), id);
    }
    HWND Hwnd() const override { return graph_->Handle(); }
    Control& Model() override { return model_; }

  private:
    CpuMonitorPlace& model_;
    std::unique_ptr<CpuMonitorWindow> graph_;
};

// ---------------------------------------------------------------- Panel

class PanelWindow : public Window,
                    public ChildWindow,
                    public BackgroundSource,
                    private ControlObserver {
  public:
    PanelWindow(Panel& model, HWND parent, ViewContext& context, int id)
        : model_(model), context_(context), white_(::CreateSolidBrush(RGB(255, 255, 255))) {
        const RECT r = PixelRect(model.Bounds(), LayoutDpi(parent));
        Create(WindowClassSpec{L"VellumarPanel"}, WS_EX_CONTROLPARENT, Widen(model.Name()).c_str(),
               WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | VisibleStyle(model), r.left, r.top,
               r.right - r.left, r.bottom - r.top, parent,
               reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)));
        int child_id = id * 100;
        for (Control* child : model.Children()) {
            if (auto window = CreateChildWindow(*child, Handle(), *this, context_, ++child_id)) {
                children_.push_back(std::move(window));
            }
        }
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
    void OnControlChanged(ControlChange change) override {
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
                RouteCommand(wparam, lparam);
                return 0;
        }
        return Window::HandleMessage(message, wparam, lparam);
    }

    Panel& model_;
    ViewContext& context_;
    UniqueBrush white_;
    std::vector<std::unique_ptr<ChildWindow>> children_;
};

}  // namespace

std::unique_ptr<ChildWindow> CreateChildWindow(Control& control, HWND parent,
                                               BackgroundSource& background, ViewContext& context,
                                               int id) {
    if (auto* label = dynamic_cast<Label*>(&control)) {
        return std::make_unique<LabelWindow>(*label, parent, background, context, id);
    }
    if (auto* image = dynamic_cast<Image*>(&control)) {
        return std::make_unique<ImageWindow>(*image, parent, context, id);
    }
    if (auto* box = dynamic_cast<CheckBox*>(&control)) {
        return std::make_unique<CheckBoxWindow>(*box, parent, context, id);
    }
    if (auto* list = dynamic_cast<ComboList*>(&control)) {
        return std::make_unique<ComboWindow>(*list, parent, context, id);
    }
    if (auto* panel = dynamic_cast<Panel*>(&control)) {
        return std::make_unique<PanelWindow>(*panel, parent, context, id);
    }
    if (auto* list = dynamic_cast<ListView*>(&control)) {
        return std::make_unique<ListViewWindow>(*list, parent, context, id);
    }
    if (auto* button = dynamic_cast<PushButton*>(&control)) {
        return std::make_unique<PushButtonWindow>(*button, parent, context, id);
    }
    if (auto* graph = dynamic_cast<CpuMonitorPlace*>(&control)) {
        return std::make_unique<CpuMonitorPlaceWindow>(*graph, parent, context, id);
    }
    return nullptr;
}

void RouteCommand(WPARAM wparam, LPARAM lparam) {
    const auto child = reinterpret_cast<HWND>(lparam);
    if (!child)
        return;
    if (auto* target = dynamic_cast<CommandTarget*>(SubclassedControl::FromHandle(child))) {
        target->OnCommand(HIWORD(wparam));
    }
}

}  // namespace vellumar::win32
