#pragma once
// The common controls (list view, track bar, tool tips, and the themed look
// of check boxes, combo boxes and message boxes) are loaded when the first
// window that needs them is made, not at start: loading them costs the
// process well over a megabyte, and what the main window shows at start
// (its pictures, labels, Command buttons and graph) it draws itself.
//
// The program's manifest therefore does not name them. A second manifest in
// its resources does; the first use makes that activation context current
// on the thread for the rest of its life, so every later window is made as
// in a program whose manifest named the common controls.

#include <windows.h>

#include <commctrl.h>

namespace vellumar::win32 {

// The common controls' functions the program calls directly; each fails
// harmlessly when the library could not be loaded.
struct CommonControlsApi {
    decltype(&::ImageList_Create) image_list_create = nullptr;
    decltype(&::ImageList_Destroy) image_list_destroy = nullptr;
    decltype(&::ImageList_ReplaceIcon) image_list_replace_icon = nullptr;
    decltype(&::ImageList_Remove) image_list_remove = nullptr;
};

// Call before making a window of a common-control class or a message box;
// cheap once done on the thread.
const CommonControlsApi& UseCommonControls();

}  // namespace vellumar::win32
