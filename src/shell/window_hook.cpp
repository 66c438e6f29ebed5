#include "shell/window_hook.h"

#include <utility>

#include "shell/tray_icon.h"

namespace vellumar {

HookDecision DecideHook(unsigned message, std::intptr_t lparam, unsigned taskbar_created,
                        const std::function<bool()>& any_form_shown) {
    if (message == kTrayCallbackMessage &&
        (lparam == kTrayLeftDoubleClick || lparam == kTrayRightButtonDown)) {
        if (any_form_shown && any_form_shown())
            return HookDecision::Swallow;
        return lparam == kTrayLeftDoubleClick ? HookDecision::Restore : HookDecision::OpenMenu;
    }
    // A failed registration gives 0, which is WM_NULL: without this test the
    // hook would swallow every WM_NULL and add the icon again for each.
    if (taskbar_created != 0 && message == taskbar_created)
        return HookDecision::AddTrayIcon;
    return HookDecision::PassOn;
}

ModuleSubClass::ModuleSubClass(HookActions actions) : actions_(std::move(actions)) {}

void ModuleSubClass::AddGateForm(std::function<bool()> shown) {
    gate_forms_.push_back(std::move(shown));
}

bool ModuleSubClass::AnyGateFormShown() const {
    for (const auto& shown : gate_forms_) {
        if (shown && shown())
            return true;
    }
    return false;
}

std::optional<std::intptr_t> ModuleSubClass::WindowProc(unsigned message, std::uintptr_t,
                                                        std::intptr_t lparam) {
    const auto decision =
        DecideHook(message, lparam, msg_taskbar_created_, [this] { return AnyGateFormShown(); });
    const std::function<void()>* action = nullptr;
    switch (decision) {
        case HookDecision::PassOn:
            return std::nullopt;
        case HookDecision::Restore:
            action = &actions_.restore;
            break;
        case HookDecision::OpenMenu:
            action = &actions_.open_menu;
            break;
        case HookDecision::AddTrayIcon:
            action = &actions_.add_tray_icon;
            break;
        case HookDecision::Swallow:
            break;
    }
    if (action && *action)
        (*action)();
    return 0;
}

}  // namespace vellumar
