#include "app/startup.h"

#include <string>

namespace vellumar {

bool ClaimSingleInstance(InstanceLock& lock, MessageBoxes& boxes) {
    if (lock.Acquire())
        return true;
    boxes.ShowMessage(std::string(kProgramTitle), std::string(kAlreadyRunningMessage));
    return false;
}

void LoadMainWindow(MainWindow& form, Privileges& privileges) {
    form.CentreOnScreen();
    privileges.EnableDebugPrivilege();
    form.Chrome.LabelAd->SetVisible(false);
    form.TrayIconFrame = 1;
    form.InitialLayout();
    form.FillLists();
    form.ReadSettings();
    form.TimerProcess.Tick();
}

}  // namespace vellumar
