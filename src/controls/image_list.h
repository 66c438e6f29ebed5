#pragma once
// Icon pictures on a form: ImageList, a keyed store of icons that a list
// view shows beside its rows, and IconView, a control that shows one icon.
// Both hold shared references to the platform's owning icon pictures, so an
// icon lives exactly as long as something shows it.

#include <cstdint>
#include <string>
#include <vector>

#include "controls/controls.h"
#include "platform/picture.h"

namespace vellumar {

class ImageList {
  public:
    struct Entry {
        std::string key;
        SharedIcon picture;
    };
    explicit ImageList(std::string name) : name_(std::move(name)) {}
    ImageList(const ImageList&) = delete;
    ImageList& operator=(const ImageList&) = delete;

    const std::string& Name() const { return name_; }
    // Adds a picture under a key. False, and nothing changes, for a missing
    // picture or a key that is empty or taken.
    bool Add(std::string key, SharedIcon picture);
    void Clear();
    const std::vector<Entry>& Entries() const { return entries_; }
    // The position of the picture with this key; -1 when there is none.
    int IndexOf(const std::string& key) const;
    // Counts the clears, so a view can tell a rebuilt list from a grown one.
    std::uint64_t Generation() const { return generation_; }

  private:
    std::string name_;
    std::vector<Entry> entries_;
    std::uint64_t generation_ = 0;
};

class IconView : public Control {
  public:
    IconView(std::string name, TwipsRect bounds, std::string accessible_name)
        : Control(std::move(name), bounds) {
        SetText(std::move(accessible_name));
    }
    const SharedIcon& Picture() const { return picture_; }
    void SetPicture(SharedIcon picture);

  private:
    SharedIcon picture_;
};

}  // namespace vellumar
