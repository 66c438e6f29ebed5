#pragma once
// The plain controls of the program's windows as portable objects: labels,
// images, check boxes, drop-down lists and panels. Each holds the state that
// the screen shows (text, value, visibility, place) and the handlers of its
// events. Behaviour code reads and writes only these objects; the Win32
// layer creates one real child window per control, mirrors every change
// reported through ControlObserver, and feeds user input back through the
// User* methods. So a control behaves the same in tests and on screen.
//
// Places and sizes are in twips (15 twips per pixel at 96 dpi), relative to
// the control's container.

#include <functional>
#include <string>
#include <vector>

#include "controls/pixel_buffer.h"
#include "platform/display_scale.h"

namespace vellumar {

class ImageList;

struct TwipsRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    friend bool operator==(const TwipsRect&, const TwipsRect&) = default;
};

constexpr int kTwipsPerPixel = 15;
// Pixels for a twips figure at 96 dpi, to the nearest pixel.
constexpr int TwipsToPixels(int twips) {
    return (twips >= 0 ? twips + kTwipsPerPixel / 2 : twips - kTwipsPerPixel / 2) / kTwipsPerPixel;
}

// Pixel coordinate of a place in twips at `dpi`, to the nearest pixel (half
// away from zero). Convert both edges of an item and take the difference for
// its size: items that touch in twips then touch in pixels at every scale.
constexpr int TwipsToPixelsAt(int twips, int dpi) {
    const long long scaled = static_cast<long long>(twips) * dpi;
    return static_cast<int>(
        (scaled >= 0 ? scaled + kTwipsPerInch / 2 : scaled - kTwipsPerInch / 2) / kTwipsPerInch);
}
// A length given in pixels at 96 dpi, at `dpi`.
constexpr int ScalePixels(int pixels96, int dpi) {
    return TwipsToPixelsAt(pixels96 * kTwipsPerPixel, dpi);
}
// Twips of a place `pixels` from the origin at `dpi`.
constexpr double PixelsToTwipsAt(double pixels, int dpi) {
    return pixels * kTwipsPerInch / dpi;
}

// A rectangle in pixels, right and bottom exclusive.
struct PixelEdges {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    friend bool operator==(const PixelEdges&, const PixelEdges&) = default;
};
// The pixel edges of `twips` at `dpi`.
constexpr PixelEdges TwipsToPixelEdges(const TwipsRect& twips, int dpi) {
    return {TwipsToPixelsAt(twips.left, dpi), TwipsToPixelsAt(twips.top, dpi),
            TwipsToPixelsAt(twips.left + twips.width, dpi),
            TwipsToPixelsAt(twips.top + twips.height, dpi)};
}

struct TextStyle {
    std::string face = "Verdana";
    double points = 7.5;
    bool bold = false;
    bool underline = false;
    ColorRef color = Rgb(0, 0, 0);
    friend bool operator==(const TextStyle&, const TextStyle&) = default;
};

enum class ControlChange {
    Visible,
    Bounds,
    Text,
    Value,
    Items,
    Style,
    Picture,
    ToolTip,
    RowAdded,
    CellChanged,
    ScrollToRow,
    RowsCleared,
    RowRemoved,
    RowIcon,
    SmallIcons,
    Selection,
};

// What a change was about where its kind names a part of the control: the
// row of a list (RowAdded, RowRemoved, CellChanged, RowIcon, ScrollToRow) and its column
// (CellChanged).
struct ChangeDetail {
    int row = -1;
    int column = -1;
};

class ControlObserver {
  public:
    virtual ~ControlObserver() = default;
    virtual void OnControlChanged(ControlChange change, ChangeDetail detail) = 0;
};

class Control {
  public:
    Control(std::string name, TwipsRect bounds, bool visible = true)
        : name_(std::move(name)), bounds_(bounds), visible_(visible) {}
    virtual ~Control() = default;
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    const std::string& Name() const { return name_; }
    const TwipsRect& Bounds() const { return bounds_; }
    bool Visible() const { return visible_; }
    // The text the control shows, or for a picture its accessible name.
    const std::string& Text() const { return text_; }

    void SetVisible(bool visible);
    void Move(int left, int top);
    void SetText(std::string text);

    void SetObserver(ControlObserver* observer) { observer_ = observer; }

  protected:
    void Changed(ControlChange change, ChangeDetail detail = {}) {
        if (observer_)
            observer_->OnControlChanged(change, detail);
    }

  private:
    std::string name_;
    TwipsRect bounds_;
    bool visible_;
    std::string text_;
    ControlObserver* observer_ = nullptr;
};

class Label : public Control {
  public:
    Label(std::string name, TwipsRect bounds, std::string text, TextStyle style);
    const TextStyle& Style() const { return style_; }
    void SetUnderline(bool underline);
    // A label that grows to the width of its text (figures); other labels
    // keep their width and cut or wrap what does not fit.
    bool AutoSize() const { return auto_size_; }
    void SetAutoSize(bool value) { auto_size_ = value; }
    const std::string& ToolTip() const { return tool_tip_; }
    void SetToolTip(std::string text);
    // Text set against the right edge (captions in front of figures).
    bool AlignRight() const { return align_right_; }
    void SetAlignRight(bool value) { align_right_ = value; }

    std::function<void()> onClick;
    void UserClick() {
        if (onClick)
            onClick();
    }
    // The pointer moved over the label.
    std::function<void()> onMouseMove;

  private:
    TextStyle style_;
    bool auto_size_ = false;
    bool align_right_ = false;
    std::string tool_tip_;
};

// A frame or filled shape drawn on its container's background.
class Shape : public Control {
  public:
    enum class Kind { Rectangle, RoundedRectangle };
    Shape(std::string name, TwipsRect bounds, Kind kind, ColorRef border)
        : Control(std::move(name), bounds), kind_(kind), border_(border) {}
    Kind ShapeKind() const { return kind_; }
    ColorRef Border() const { return border_; }
    bool Filled() const { return filled_; }
    ColorRef Fill() const { return fill_; }
    void SetFill(ColorRef fill) {
        filled_ = true;
        fill_ = fill;
    }

  private:
    Kind kind_;
    ColorRef border_;
    bool filled_ = false;
    ColorRef fill_ = 0;
};

// The place of one of the program's Command push buttons; the window layer
// creates the button from the instance's stored properties and routes its
// Click here.
class PushButton : public Control {
  public:
    PushButton(std::string name, TwipsRect bounds, std::string caption)
        : Control(std::move(name), bounds) {
        SetText(std::move(caption));
    }
    std::function<void()> onClick;
    void UserClick() {
        if (onClick)
            onClick();
    }
};

// A report-style list: columns with headers and widths, rows of texts.
class ListView : public Control {
  public:
    struct Column {
        std::string header;
        int width_twips;
    };
    ListView(std::string name, TwipsRect bounds, TextStyle style, std::vector<Column> columns)
        : Control(std::move(name), bounds),
          style_(std::move(style)),
          columns_(std::move(columns)) {}
    const TextStyle& Style() const { return style_; }
    const std::vector<Column>& Columns() const { return columns_; }
    int RowCount() const { return static_cast<int>(rows_.size()); }
    const std::vector<std::string>& Row(int row) const {
        return rows_[static_cast<std::size_t>(row)];
    }
    // Appends a row holding `first` in the first column; returns its index.
    int AddRow(std::string first);
    void SetCell(int row, int column, std::string text);
    void EnsureVisible(int row);
    // Removes every row; nothing is selected afterwards.
    void Clear();
    // Removes one row; the rows after it move up, and so does the selection
    // (none when it was the removed row).
    void RemoveRow(int row);
    // Rows handed to the screen only when it draws them, for long lists that
    // are rebuilt often. Read when the list's window is made.
    bool OnDemand() const { return on_demand_; }
    void SetOnDemand(bool value) { on_demand_ = value; }
    // The image list whose pictures the rows show as small icons; nullptr
    // unbinds it.
    void SetSmallIcons(const ImageList* icons);
    const ImageList* SmallIcons() const { return small_icons_; }
    // Gives a row the small icon under `key` of the bound list. False, and
    // nothing changes, without a bound list, a row or a picture of that key.
    bool SetRowIcon(int row, const std::string& key);
    // The key of the row's small icon, empty for none.
    const std::string& RowIcon(int row) const { return row_icons_[static_cast<std::size_t>(row)]; }
    // The selected row, -1 for none (one row at most is selected).
    int SelectedRow() const { return selected_row_; }
    void SelectRow(int row);
    void UserSelect(int row) { SelectRow(row); }

    std::function<void()> onDblClick;
    void UserDoubleClick() {
        if (onDblClick)
            onDblClick();
    }

  private:
    TextStyle style_;
    std::vector<Column> columns_;
    std::vector<std::vector<std::string>> rows_;
    std::vector<std::string> row_icons_;
    const ImageList* small_icons_ = nullptr;
    int selected_row_ = -1;
    bool on_demand_ = false;
};

enum class MouseButton { None = 0, Left = 1, Right = 2, Middle = 4 };

// A picture at a place; which picture is an id that the window layer maps to
// its bitmap. Images of the chrome react to the mouse like buttons do.
class Image : public Control {
  public:
    Image(std::string name, TwipsRect bounds, int picture, std::string accessible_name,
          bool visible = true);
    int Picture() const { return picture_; }
    // Whether a screen reader should treat it as a push button.
    bool ActsAsButton() const { return acts_as_button_; }
    void SetActsAsButton(bool value) { acts_as_button_ = value; }

    std::function<void(MouseButton)> onMouseDown;
    std::function<void(MouseButton)> onMouseUp;
    // The buttons held during the move (None when no button is down).
    std::function<void(MouseButton)> onMouseMove;
    std::function<void()> onClick;

  private:
    int picture_;
    bool acts_as_button_ = false;
};

class CheckBox : public Control {
  public:
    CheckBox(std::string name, TwipsRect bounds, std::string caption, TextStyle style);
    int Value() const { return value_; }
    const TextStyle& Style() const { return style_; }
    // A new value runs the change handler, whether the user or the program
    // changed it; setting the same value does nothing.
    void SetValue(int value);
    void UserToggle() { SetValue(value_ == 0 ? 1 : 0); }

    std::function<void()> onClick;

  private:
    TextStyle style_;
    int value_ = 0;
};

// A drop-down list whose text is always one of its items (or empty before
// the first selection).
class ComboList : public Control {
  public:
    ComboList(std::string name, TwipsRect bounds, TextStyle style);
    const TextStyle& Style() const { return style_; }
    void AddItem(std::string item);
    const std::vector<std::string>& Items() const { return items_; }
    int ListIndex() const { return index_; }
    // Selects the item with this text (exact match first, then one that
    // differs only in letter case). False, and nothing changes, when the list
    // has no such item. Does not run the click handler.
    bool SelectText(const std::string& text);
    void SelectIndex(int index);
    // The user picked an item: select it and run the click handler.
    void UserPick(int index);

    std::function<void()> onClick;

  private:
    TextStyle style_;
    std::vector<std::string> items_;
    int index_ = -1;
};

// A page or area that holds other controls; hiding it hides them all.
class Panel : public Control {
  public:
    Panel(std::string name, TwipsRect bounds, TextStyle font, bool visible = true)
        : Control(std::move(name), bounds, visible), font_(std::move(font)) {}
    const TextStyle& Font() const { return font_; }
    void Add(Control& child) { children_.push_back(&child); }
    const std::vector<Control*>& Children() const { return children_; }

  private:
    TextStyle font_;
    std::vector<Control*> children_;
};

}  // namespace vellumar
