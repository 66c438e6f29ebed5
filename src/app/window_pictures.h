#pragma once
// The main window's pictures by role (PictureId in app/main_window.h), drawn
// for a display scale: what the Win32 frame turns into its bitmaps when it
// is created and whenever it moves to a monitor of another scale.

#include "controls/pixel_buffer.h"

namespace vellumar {

// The picture `id` at `dpi`, the size of the place the window shows it at;
// an empty buffer for an unknown id.
PixelBuffer WindowPicture(int id, int dpi);

}  // namespace vellumar
