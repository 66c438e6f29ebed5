#include "app/main_window_tray.h"

#include "app/artwork.h"

namespace vellumar {

Page PageOfTrayPage(TrayPage page) {
    switch (page) {
        case TrayPage::State:
            return Page::State;
        case TrayPage::Process:
            return Page::Process;
        case TrayPage::CPU:
            return Page::CPU;
        case TrayPage::Memory:
            return Page::Memory;
        case TrayPage::Setting:
            return Page::Setting;
        case TrayPage::About:
            return Page::About;
    }
    return Page::State;
}

void MainWindowTray::SelectPage(TrayPage page) {
    form_.SelectPage(PageOfTrayPage(page));
}

std::string MainWindowTray::HomePageUrl() const {
    return vellumar::HomePageUrl();
}

TrayArtwork MainWindowTray::TrayIconArtwork() const {
    // White chevrons edged in the program icon's deep orange, so that they
    // read on light taskbars as well as dark ones.
    return TrayArtwork{OpaqueRgb(0xFF, 0xFF, 0xFF), artwork::kAccentDeep};
}

}  // namespace vellumar
