#include "app/startup.h"

#include <string>

namespace vellumar {

bool ClaimSingleInstance(InstanceLock& lock, MessageBoxes& boxes) {
    if (lock.Acquire())
        return true;
    boxes.ShowMessage(std::string(kProgramTitle), std::string(kAlreadyRunningMessage));
    return false;
}

void LoadMainWindow(MainWindow& form, Privileges& privileges, const StartupHooks& hooks) {
    form.CentreOnScreen();
    privileges.EnableDebugPrivilege();
    form.LabelAd->SetVisible(false);
    form.TrayIconFrame = 1;
    form.InitialLayout();
    form.FillLists();
    form.ReadSettings();
    form.TimerProcess.Tick();
    for (const auto* hook :
         {&hooks.reset_process_limits, &hooks.refresh_process_list, &hooks.register_taskbar_created,
          &hooks.install_window_hook, &hooks.add_tray_icon}) {
        if (*hook)
            (*hook)();
    }
}

}  // namespace vellumar
