#include "shell/tray_menu.h"

#include <utility>

namespace vellumar {

std::optional<TrayPage> PageOfItem(TrayMenuItem item) {
    switch (item) {
        case TrayMenuItem::State:
            return TrayPage::State;
        case TrayMenuItem::Process:
            return TrayPage::Process;
        case TrayMenuItem::CPU:
            return TrayPage::CPU;
        case TrayMenuItem::Memory:
            return TrayPage::Memory;
        case TrayMenuItem::Setting:
            return TrayPage::Setting;
        case TrayMenuItem::About:
            return TrayPage::About;
        default:
            return std::nullopt;
    }
}

ProgramShutdown::ProgramShutdown(Steps steps) : steps_(std::move(steps)) {}

void ProgramShutdown::Run() {
    if (has_run_)
        return;
    has_run_ = true;
    // The icon goes while the hook still stands, so no notification of it
    // can reach a window that has lost its hook; the hook goes before any
    // window, so the main window dies with its own procedure in place.
    for (const auto* step :
         {&steps_.end_modal_loops, &steps_.delete_tray_icon, &steps_.remove_window_hook,
          &steps_.unload_form_menu, &steps_.unload_cpu_limit_dialog, &steps_.unload_main_window}) {
        if (*step)
            (*step)();
    }
}

FormMenu::FormMenu(TrayMainWindow& form, std::function<void()> show_main_window,
                   TrayMenuWindow& window, WebPages& web, ProgramShutdown& shutdown)
    : form_(form),
      show_main_window_(std::move(show_main_window)),
      window_(window),
      web_(web),
      shutdown_(shutdown) {}

void FormMenu::ShowPopup() {
    window_.Load();
    window_.SetForeground();
    window_.PopupAtCursor();
}

void FormMenu::m_Click(TrayMenuItem item) {
    if (const auto page = PageOfItem(item)) {
        if (show_main_window_)
            show_main_window_();
        form_.SelectPage(*page);
        return;
    }
    switch (item) {
        case TrayMenuItem::HomePage:
            web_.Open(form_.HomePageUrl());
            break;
        case TrayMenuItem::Exit:
            shutdown_.Run();
            break;
        default:
            break;
    }
}

}  // namespace vellumar
