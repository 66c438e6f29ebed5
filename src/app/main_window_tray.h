#pragma once
// The main window as the desktop integration sees it (shell/tray_main_window.h):
// the program wires one of these between its MainWindow and its tray.

#include "app/main_window.h"
#include "shell/tray_main_window.h"

namespace vellumar {

// The main window's page that a tray page names.
Page PageOfTrayPage(TrayPage page);

class MainWindowTray : public TrayMainWindow {
  public:
    explicit MainWindowTray(MainWindow& form) : form_(form) {}

    void SelectPage(TrayPage page) override;
    std::string HomePageUrl() const override;
    Timer& TrayIconTimer() override { return form_.TimerTrayIcon; }
    int& TrayIconFrame() override { return form_.TrayIconFrame; }
    TrayArtwork TrayIconArtwork() const override;

  private:
    MainWindow& form_;
};

}  // namespace vellumar
