#include "controls/win32/control_window_kit.h"

#include <commctrl.h>

#include <map>

#include "controls/image_list.h"
#include "platform/win32/common_controls.h"
#include "platform/win32/dpi.h"
#include "platform/win32/text.h"

namespace vellumar::win32 {

namespace {

struct ImageListTraits {
    static HIMAGELIST Invalid() { return nullptr; }
    static bool IsValid(HIMAGELIST h) { return h != nullptr; }
    static void Close(HIMAGELIST h) { UseCommonControls().image_list_destroy(h); }
};
using UniqueImageList = UniqueResource<HIMAGELIST, ImageListTraits>;

class ListViewWindow : public SystemControlWindow<ListView> {
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

    LRESULT OnNotification(UINT message, WPARAM /*wparam*/, LPARAM lparam) override {
        if (message != WM_NOTIFY)
            return 0;
        const NMHDR& header = *reinterpret_cast<const NMHDR*>(lparam);
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
    void MirrorRow(ControlChange change, int row, int column) {
        if (change == ControlChange::RowAdded) {
            std::wstring text = Widen(model_.Row(row)[0]);
            LVITEMW item{};
            item.mask = LVIF_TEXT | LVIF_IMAGE;
            item.iItem = row;
            item.iImage = I_IMAGENONE;
            item.pszText = text.data();
            ::SendMessageW(Handle(), LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
        } else if (change == ControlChange::CellChanged) {
            SetCellText(row, column);
        } else {
            SetRowImage(row, NativeImageOf(row));
        }
    }
    void OnControlChanged(ControlChange change, ChangeDetail detail) override {
        const int row = detail.row;
        switch (change) {
            case ControlChange::RowAdded:
            case ControlChange::CellChanged:
            case ControlChange::RowIcon:
                if (!on_demand_) {
                    MirrorRow(change, row, detail.column);
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
                RemoveRow(row);
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

    // The list view moves its later rows and the selection up as the
    // control does.
    void RemoveRow(int row) {
        if (!on_demand_) {
            syncing_ = true;
            ::SendMessageW(Handle(), LVM_DELETEITEM, static_cast<WPARAM>(row), 0);
            syncing_ = false;
        } else if (!rebuilding_) {
            SyncRowCount();
            SyncSelection();
            ::InvalidateRect(Handle(), nullptr, TRUE);
        }
    }

    // A list made after its control was filled (a page created when first
    // shown) starts with the rows, icons and selection the control has,
    // scrolled to its last row as the lists are after each addition.
    void MirrorExistingRows() {
        if (model_.SmallIcons())
            OnControlChanged(ControlChange::SmallIcons, {});
        const int rows = model_.RowCount();
        if (rows == 0)
            return;
        if (on_demand_) {
            SyncRowCount();
        } else {
            for (int row = 0; row < rows; ++row) {
                MirrorRow(ControlChange::RowAdded, row, 0);
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

}  // namespace

std::unique_ptr<ChildWindow> CreateListViewWindow(ListView& model, HWND parent,
                                                  ViewContext& context, int id) {
    return std::make_unique<ListViewWindow>(model, parent, context, id);
}

}  // namespace vellumar::win32
