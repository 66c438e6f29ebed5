#pragma once
// A picture object of the platform: a shell icon that the object owns. The
// icon is destroyed with the last reference to it, so a list that drops its
// pictures frees their icons, however many times it is rebuilt.

#include <cstdint>
#include <memory>

namespace vellumar {

class IconPicture {
  public:
    virtual ~IconPicture() = default;
    // The platform's icon handle, for the window layer to draw; never 0.
    virtual std::uintptr_t IconHandle() const = 0;
    // The same picture made at `size_px` square (a display scale's icon
    // size), kept by the object like the first; the first where the picture
    // cannot be made at another size.
    virtual std::uintptr_t IconHandleAt(int /*size_px*/) const { return IconHandle(); }
};

using SharedIcon = std::shared_ptr<const IconPicture>;

}  // namespace vellumar
