#include "controls/image_list.h"

#include <algorithm>

#include "controls/slider.h"

namespace vellumar {

bool ImageList::Add(std::string key, SharedIcon picture) {
    if (!picture || key.empty() || IndexOf(key) >= 0)
        return false;
    entries_.push_back(Entry{std::move(key), std::move(picture)});
    return true;
}

void ImageList::Clear() {
    entries_.clear();
    ++generation_;
}

int ImageList::IndexOf(const std::string& key) const {
    const auto it = std::find_if(entries_.begin(), entries_.end(),
                                 [&](const Entry& entry) { return entry.key == key; });
    return it == entries_.end() ? -1 : static_cast<int>(it - entries_.begin());
}

void IconView::SetPicture(SharedIcon picture) {
    if (picture_ == picture)
        return;
    picture_ = std::move(picture);
    Changed(ControlChange::Picture);
}

void Slider::SetValue(int value) {
    value = std::clamp(value, min_, max_);
    if (value_ == value)
        return;
    value_ = value;
    Changed(ControlChange::Value);
    if (onChange)
        onChange();
}

}  // namespace vellumar
