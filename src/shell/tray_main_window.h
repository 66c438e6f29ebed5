#pragma once
// What the desktop integration asks of the main window, and nothing more: to
// select one of its pages, the address of the product's home page, the
// animation's timer and frame counter, and the colours the frames are drawn
// with. The application implements it over its main window and hands it to
// the tray in its composition root, so the shell never depends on the app.

#include <string>

#include "platform/timer.h"
#include "shell/tray_frames.h"

namespace vellumar {

// The pages a page item of the tray menu selects, in the menu's order.
enum class TrayPage { State, Process, CPU, Memory, Setting, About };

class TrayMainWindow {
  public:
    virtual ~TrayMainWindow() = default;
    // Selects the page as a click on its label does; showing the window is
    // the caller's business.
    virtual void SelectPage(TrayPage page) = 0;
    virtual std::string HomePageUrl() const = 0;
    // TimerTrayIcon and TrayIconFrame, both owned by the main window.
    virtual Timer& TrayIconTimer() = 0;
    virtual int& TrayIconFrame() = 0;
    // The colours of the program icon that the frames share.
    virtual TrayArtwork TrayIconArtwork() const = 0;
};

}  // namespace vellumar
