#include "app/win32/control_windows.h"

#include <windowsx.h>
// windowsx.h names a macro like a method of the Command button window.
#undef SetWindowFont
// After windows.h, which they build on.
#include <commctrl.h>

#include <algorithm>
#include <cwchar>
#include <map>

#include "controls/image_list.h"
#include "controls/slider.h"
#include "controls/win32/command_button_window.h"
#include "monitor/cpu_monitor.h"
#include "monitor/win32/cpu_monitor_window.h"
#include "monitor/win32/level_sources_win32.h"
#include "platform/win32/common_controls.h"
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
        UseCommonControls();
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

struct ImageListTraits {
    static HIMAGELIST Invalid() { return nullptr; }
    static bool IsValid(HIMAGELIST h) { return h != nullptr; }
    static void Close(HIMAGELIST h) { UseCommonControls().image_list_destroy(h); }
};
using UniqueImageList = UniqueResource<HIMAGELIST, ImageListTraits>;

class ListViewWindow : public SystemControlWindow<ListView>, public NotifyTarget {
  public:
    ListViewWindow(ListView& model, HWND parent, ViewContext& context, int id)
        : SystemControlWindow(model), context_(context), on_demand_(model.OnDemand()) {
        UseCommonControls();
        // The window keeps its image list: the list view must not destroy it.
        CreateAtPlace(WC_LISTVIEWW, WS_EX_CLIENTEDGE, Widen(model.Name()),
                      WS_TABSTOP | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS |
                          LVS_SHAREIMAGELISTS | (on_demand_ ? LVS_OWNERDATA : 0),
                      parent, id, context.fonts.Get(model.Style()));
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
        MirrorExistingRows();
        Observe();
    }

    LRESULT OnNotify(const NMHDR& header) override {
        if (header.code == LVN_GETDISPINFOW) {
            FillOnDemand(reinterpret_cast<NMLVDISPINFOW&>(const_cast<NMHDR&>(header)).item);
        } else if (header.code == NM_DBLCLK) {
            model_.UserDoubleClick();
        } else if (header.code == LVN_ITEMCHANGED && !syncing_) {
            const auto& change = reinterpret_cast<const NMLISTVIEW&>(header);
            if ((change.uChanged & LVIF_STATE) &&
                ((change.uOldState ^ change.uNewState) & LVIS_SELECTED)) {
                model_.UserSelect(static_cast<int>(::SendMessageW(
                    Handle(), LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED)));
            }
        }
        return 0;
    }

    // Rows, texts and the selection stay; the font, the column widths and
    // the icons are made again for the new scale, which sets the row height.
    void Relayout() override {
        RelayoutWithFont(context_.fonts.Get(model_.Style()));
        const int dpi = LayoutDpi(Handle());
        int index = 0;
        for (const ListView::Column& column : model_.Columns()) {
            ::SendMessageW(Handle(), LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(index++),
                           TwipsToPixelsAt(column.width_twips, dpi));
        }
        if (native_images_ && IconSizePx() != native_icon_px_) {
            native_images_.Reset();
            native_index_.clear();
            native_of_picture_.clear();
            if (const ImageList* images = model_.SmallIcons())
                SyncImages(*images);
            bound_images_ = model_.SmallIcons() ? native_images_.Get() : nullptr;
            ::SendMessageW(Handle(), LVM_SETIMAGELIST, LVSIL_SMALL,
                           reinterpret_cast<LPARAM>(bound_images_));
        }
    }

  private:
    ViewContext& context_;

    // A row of an on-demand list, as the list view draws or reads it.
    void FillOnDemand(LVITEMW& item) {
        if (item.iItem < 0 || item.iItem >= model_.RowCount())
            return;
        const auto& row = model_.Row(item.iItem);
        if ((item.mask & LVIF_TEXT) && item.pszText && item.cchTextMax > 0 && item.iSubItem >= 0 &&
            static_cast<std::size_t>(item.iSubItem) < row.size()) {
            const std::wstring text = Widen(row[static_cast<std::size_t>(item.iSubItem)]);
            ::lstrcpynW(item.pszText, text.c_str(), item.cchTextMax);
        }
        if (item.mask & LVIF_IMAGE)
            item.iImage = NativeImageOf(item.iItem);
    }
    int NativeImageOf(int row) const {
        const ImageList* images = model_.SmallIcons();
        const int index = images ? images->IndexOf(model_.RowIcon(row)) : -1;
        if (index < 0 || static_cast<std::size_t>(index) >= native_index_.size())
            return I_IMAGENONE;
        return native_index_[static_cast<std::size_t>(index)];
    }
    // Tells an on-demand list view how many rows there are.
    void SyncRowCount() {
        syncing_ = true;
        ::SendMessageW(Handle(), LVM_SETITEMCOUNT, static_cast<WPARAM>(model_.RowCount()),
                       LVSICF_NOSCROLL);
        syncing_ = false;
    }
    void RedrawRow(int row) {
        ::SendMessageW(Handle(), LVM_REDRAWITEMS, static_cast<WPARAM>(row),
                       static_cast<LPARAM>(row));
    }
    void SetCellText(int row, int column) {
        std::wstring text = Widen(model_.Row(row)[static_cast<std::size_t>(column)]);
        LVITEMW item{};
        item.iSubItem = column;
        item.pszText = text.data();
        ::SendMessageW(Handle(), LVM_SETITEMTEXTW, static_cast<WPARAM>(row),
                       reinterpret_cast<LPARAM>(&item));
    }
    // Brings the native image list up to the model's: rebuilt after a clear,
    // else only the pictures added since the last look are copied in. Keys
    // that share one picture share one native image.
    // The system's small-icon size at the list's scale; each picture is made
    // at that size rather than stretched to it.
    int IconSizePx() const { return SystemMetricAt(SM_CXSMICON, LayoutDpi(Handle())); }
    void SyncImages(const ImageList& images) {
        if (!native_images_) {
            native_icon_px_ = IconSizePx();
            native_images_.Reset(UseCommonControls().image_list_create(
                native_icon_px_, native_icon_px_, ILC_COLOR32 | ILC_MASK, 16, 16));
        }
        if (images.Generation() != synced_generation_ ||
            images.Entries().size() < native_index_.size()) {
            UseCommonControls().image_list_remove(native_images_.Get(), -1);
            synced_generation_ = images.Generation();
            native_index_.clear();
            native_of_picture_.clear();
        }
        for (std::size_t i = native_index_.size(); i < images.Entries().size(); ++i) {
            const IconPicture* picture = images.Entries()[i].picture.get();
            auto [it, added] = native_of_picture_.try_emplace(picture, -1);
            if (added) {
                it->second = UseCommonControls().image_list_replace_icon(
                    native_images_.Get(), -1,
                    reinterpret_cast<HICON>(picture->IconHandleAt(native_icon_px_)));
            }
            native_index_.push_back(it->second);
        }
    }
    void SetRowImage(int row, int image) {
        LVITEMW item{};
        item.mask = LVIF_IMAGE;
        item.iItem = row;
        item.iImage = image;
        ::SendMessageW(Handle(), LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item));
    }
    void SyncSelection() {
        syncing_ = true;
        LVITEMW item{};
        item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
        const int row = model_.SelectedRow();
        item.state = row >= 0 ? LVIS_SELECTED | LVIS_FOCUSED : 0;
        ::SendMessageW(Handle(), LVM_SETITEMSTATE, static_cast<WPARAM>(row),
                       reinterpret_cast<LPARAM>(&item));
        syncing_ = false;
    }
    // Rows of a list view that holds its own texts and images.
    void MirrorRow(ControlChange change, int row) {
        if (change == ControlChange::RowAdded) {
            std::wstring text = Widen(model_.Row(row)[0]);
            LVITEMW item{};
            item.mask = LVIF_TEXT | LVIF_IMAGE;
            item.iItem = row;
            item.iImage = I_IMAGENONE;
            item.pszText = text.data();
            ::SendMessageW(Handle(), LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
        } else if (change == ControlChange::CellChanged) {
            SetCellText(row, model_.ChangedColumn());
        } else {
            SetRowImage(row, NativeImageOf(row));
        }
    }
    void OnControlChanged(ControlChange change) override {
        const int row = model_.ChangedRow();
        switch (change) {
            case ControlChange::RowAdded:
            case ControlChange::CellChanged:
            case ControlChange::RowIcon:
                if (!on_demand_) {
                    MirrorRow(change, row);
                } else if (!rebuilding_) {
                    // A rebuilt list is counted once, when the rebuild ends.
                    if (change == ControlChange::RowAdded)
                        SyncRowCount();
                    else
                        RedrawRow(row);
                }
                break;
            case ControlChange::ScrollToRow:
                if (rebuilding_) {
                    scroll_to_row_ = row;
                } else {
                    ::SendMessageW(Handle(), LVM_ENSUREVISIBLE, static_cast<WPARAM>(row), FALSE);
                }
                break;
            case ControlChange::RowsCleared:
                syncing_ = true;
                ::SendMessageW(Handle(), LVM_DELETEALLITEMS, 0, 0);
                syncing_ = false;
                BeginRebuild();
                break;
            case ControlChange::RowRemoved:
                // The list view moves its later rows and the selection up
                // as the control does.
                if (!on_demand_) {
                    syncing_ = true;
                    ::SendMessageW(Handle(), LVM_DELETEITEM, static_cast<WPARAM>(row), 0);
                    syncing_ = false;
                } else if (!rebuilding_) {
                    SyncRowCount();
                    SyncSelection();
                    ::InvalidateRect(Handle(), nullptr, TRUE);
                }
                break;
            case ControlChange::SmallIcons: {
                if (const ImageList* images = model_.SmallIcons())
                    SyncImages(*images);
                const HIMAGELIST bound = model_.SmallIcons() ? native_images_.Get() : nullptr;
                if (bound != bound_images_) {
                    bound_images_ = bound;
                    ::SendMessageW(Handle(), LVM_SETIMAGELIST, LVSIL_SMALL,
                                   reinterpret_cast<LPARAM>(bound));
                }
                break;
            }
            case ControlChange::Selection:
                // An on-demand list has no rows to select until it is counted.
                if (!(on_demand_ && rebuilding_))
                    SyncSelection();
                break;
            default:
                if (change != ControlChange::Text)
                    MirrorCommonChange(Handle(), model_, change);
                break;
        }
    }

    // A list made after its control was filled (a page created when first
    // shown) starts with the rows, icons and selection the control has,
    // scrolled to its last row as the lists are after each addition.
    void MirrorExistingRows() {
        if (model_.SmallIcons())
            OnControlChanged(ControlChange::SmallIcons);
        const int rows = model_.RowCount();
        if (rows == 0)
            return;
        if (on_demand_) {
            SyncRowCount();
        } else {
            for (int row = 0; row < rows; ++row) {
                MirrorRow(ControlChange::RowAdded, row);
                for (std::size_t column = 1; column < model_.Row(row).size(); ++column)
                    SetCellText(row, static_cast<int>(column));
                if (!model_.RowIcon(row).empty())
                    SetRowImage(row, NativeImageOf(row));
            }
        }
        if (model_.SelectedRow() >= 0)
            SyncSelection();
        ::SendMessageW(Handle(), LVM_ENSUREVISIBLE, static_cast<WPARAM>(rows - 1), FALSE);
    }

    // A list rebuilt from nothing (a refresh) is drawn and scrolled once,
    // when the work that rebuilds it has ended and the message loop runs.
    void BeginRebuild() {
        if (rebuilding_)
            return;
        rebuilding_ = true;
        ::SendMessageW(Handle(), WM_SETREDRAW, FALSE, 0);
        ::PostMessageW(Handle(), kEndRebuild, 0, 0);
    }
    void EndRebuild() {
        rebuilding_ = false;
        if (on_demand_) {
            SyncRowCount();
            SyncSelection();
        }
        ::SendMessageW(Handle(), WM_SETREDRAW, TRUE, 0);
        if (scroll_to_row_ >= 0 && scroll_to_row_ < model_.RowCount()) {
            ::SendMessageW(Handle(), LVM_ENSUREVISIBLE, static_cast<WPARAM>(scroll_to_row_), FALSE);
        }
        scroll_to_row_ = -1;
        ::InvalidateRect(Handle(), nullptr, TRUE);
    }
    LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) override {
        if (message == kEndRebuild) {
            EndRebuild();
            return 0;
        }
        return SystemControlWindow::HandleMessage(message, wparam, lparam);
    }

    static constexpr UINT kEndRebuild = WM_APP + 0x51;
    UniqueImageList native_images_;
    int native_icon_px_ = 0;
    HIMAGELIST bound_images_ = nullptr;
    std::uint64_t synced_generation_ = 0;
    // The native image of each picture of the model's list, in its order.
    std::vector<int> native_index_;
    std::map<const IconPicture*, int> native_of_picture_;
    const bool on_demand_;
    bool syncing_ = false;
    bool rebuilding_ = false;
    int scroll_to_row_ = -1;
};

// --------------------------------------------------------------- Slider

class SliderWindow : public SystemControlWindow<Slider>, public ScrollTarget {
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

    void OnScroll() override {
        model_.UserSetValue(static_cast<int>(::SendMessageW(Handle(), TBM_GETPOS, 0, 0)));
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
    void OnControlChanged(ControlChange change) override {
        if (change == ControlChange::Value)
            SyncPosition();
        else if (change != ControlChange::Text)
            MirrorCommonChange(Handle(), model_, change);
    }

    int system_thumb_px_ = 0;
    bool fixed_thumb_ = false;
};

// ------------------------------------------------------------ IconView

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
    void OnControlChanged(ControlChange change) override {
        if (change == ControlChange::Picture)
            SyncIcon();
        else if (change != ControlChange::Text)
            MirrorCommonChange(Handle(), model_, change);
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

    void OnControlChanged(ControlChange change) override {
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
                RouteCommand(wparam, lparam);
                return 0;
            case WM_NOTIFY:
                return RouteNotify(lparam);
            case WM_HSCROLL:
                RouteScroll(lparam);
                return 0;
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
    if (auto* slider = dynamic_cast<Slider*>(&control)) {
        return std::make_unique<SliderWindow>(*slider, parent, id);
    }
    if (auto* icon = dynamic_cast<IconView*>(&control)) {
        return std::make_unique<IconViewWindow>(*icon, parent, id);
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

LRESULT RouteNotify(LPARAM lparam) {
    const auto* header = reinterpret_cast<const NMHDR*>(lparam);
    if (!header || !header->hwndFrom)
        return 0;
    if (auto* target = dynamic_cast<NotifyTarget*>(SubclassedControl::FromHandle(header->hwndFrom)))
        return target->OnNotify(*header);
    return 0;
}

void RouteScroll(LPARAM lparam) {
    const auto child = reinterpret_cast<HWND>(lparam);
    if (!child)
        return;
    if (auto* target = dynamic_cast<ScrollTarget*>(SubclassedControl::FromHandle(child)))
        target->OnScroll();
}

}  // namespace vellumar::win32
