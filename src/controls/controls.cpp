#include "controls/controls.h"

#include <algorithm>
#include <utility>

#include "controls/image_list.h"
#include "platform/text.h"

namespace vellumar {

void Control::SetVisible(bool visible) {
    if (visible_ == visible)
        return;
    visible_ = visible;
    Changed(ControlChange::Visible);
}

void Control::Move(int left, int top) {
    if (bounds_.left == left && bounds_.top == top)
        return;
    bounds_.left = left;
    bounds_.top = top;
    Changed(ControlChange::Bounds);
}

void Control::SetText(std::string text) {
    if (text_ == text)
        return;
    text_ = std::move(text);
    Changed(ControlChange::Text);
}

Label::Label(std::string name, TwipsRect bounds, std::string text, TextStyle style)
    : Control(std::move(name), bounds), style_(std::move(style)) {
    SetText(std::move(text));
}

void Label::SetUnderline(bool underline) {
    if (style_.underline == underline)
        return;
    style_.underline = underline;
    Changed(ControlChange::Style);
}

void Label::SetToolTip(std::string text) {
    if (tool_tip_ == text)
        return;
    tool_tip_ = std::move(text);
    Changed(ControlChange::ToolTip);
}

int ListView::AddRow(std::string first) {
    std::vector<std::string> row(columns_.size());
    if (!row.empty())
        row[0] = std::move(first);
    rows_.push_back(std::move(row));
    row_icons_.emplace_back();
    const int added = RowCount() - 1;
    Changed(ControlChange::RowAdded, {added, 0});
    return added;
}

void ListView::SetCell(int row, int column, std::string text) {
    if (row < 0 || row >= RowCount() || column < 0 || column >= static_cast<int>(columns_.size())) {
        return;
    }
    rows_[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)] = std::move(text);
    Changed(ControlChange::CellChanged, {row, column});
}

void ListView::EnsureVisible(int row) {
    if (row < 0 || row >= RowCount())
        return;
    Changed(ControlChange::ScrollToRow, {row});
}

void ListView::Clear() {
    rows_.clear();
    row_icons_.clear();
    selected_row_ = -1;
    Changed(ControlChange::RowsCleared);
}

void ListView::RemoveRow(int row) {
    if (row < 0 || row >= RowCount())
        return;
    rows_.erase(rows_.begin() + row);
    row_icons_.erase(row_icons_.begin() + row);
    if (selected_row_ == row)
        selected_row_ = -1;
    else if (selected_row_ > row)
        --selected_row_;
    Changed(ControlChange::RowRemoved, {row});
}

void ListView::SetSmallIcons(const ImageList* icons) {
    small_icons_ = icons;
    Changed(ControlChange::SmallIcons);
}

bool ListView::SetRowIcon(int row, const std::string& key) {
    if (row < 0 || row >= RowCount() || !small_icons_ || small_icons_->IndexOf(key) < 0)
        return false;
    row_icons_[static_cast<std::size_t>(row)] = key;
    Changed(ControlChange::RowIcon, {row});
    return true;
}

void ListView::SelectRow(int row) {
    if (row < -1 || row >= RowCount() || row == selected_row_)
        return;
    selected_row_ = row;
    Changed(ControlChange::Selection);
}

Image::Image(std::string name, TwipsRect bounds, int picture, std::string accessible_name,
             bool visible)
    : Control(std::move(name), bounds, visible), picture_(picture) {
    SetText(std::move(accessible_name));
}

CheckBox::CheckBox(std::string name, TwipsRect bounds, std::string caption, TextStyle style)
    : Control(std::move(name), bounds), style_(std::move(style)) {
    SetText(std::move(caption));
}

void CheckBox::SetValue(int value) {
    if (value_ == value)
        return;
    value_ = value;
    Changed(ControlChange::Value);
    if (onClick)
        onClick();
}

ComboList::ComboList(std::string name, TwipsRect bounds, TextStyle style)
    : Control(std::move(name), bounds), style_(std::move(style)) {}

void ComboList::AddItem(std::string item) {
    items_.push_back(std::move(item));
    Changed(ControlChange::Items);
}

bool ComboList::SelectText(const std::string& text) {
    auto it = std::find(items_.begin(), items_.end(), text);
    if (it == items_.end()) {
        it = std::find_if(items_.begin(), items_.end(), [&](const std::string& item) {
            return EqualsIgnoringAsciiCase(item, text);
        });
    }
    if (it == items_.end())
        return false;
    SelectIndex(static_cast<int>(it - items_.begin()));
    return true;
}

void ComboList::SelectIndex(int index) {
    if (index < -1 || index >= static_cast<int>(items_.size()))
        return;
    if (index_ == index)
        return;
    index_ = index;
    SetText(index >= 0 ? items_[static_cast<std::size_t>(index)] : std::string());
    Changed(ControlChange::Value);
}

void ComboList::UserPick(int index) {
    if (index < 0 || index >= static_cast<int>(items_.size()))
        return;
    SelectIndex(index);
    if (onClick)
        onClick();
}

}  // namespace vellumar
