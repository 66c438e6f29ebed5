#include "app/program_lifecycle.h"

#include "app/startup.h"

namespace vellumar {

std::vector<ProgramStep> ProgramSteps(const ProgramParts& parts) {
    return {
        {"main_window.load", [parts] { LoadMainWindow(parts.form, parts.privileges); },
         [parts] { (void)parts.settings.Flush(); }},
        // Stopped before the last save: the raised program goes back to
        // normal when the program ends.
        {"process_priority.put_back", {}, [parts] { parts.form.Priority().PutBack(); }},
        {"process_limits.reset", [parts] { parts.limits.ResetUnusedSlots(); }, {}},
        {"taskbar_created.register", [parts] { parts.desktop.RegisterTaskbarCreated(); }, {}},
        {"window_hook.install", [parts] { parts.desktop.InstallWindowHook(); }, {}},
        {"tray.add", [parts] { parts.desktop.AddTrayIcon(); },
         [parts] { parts.desktop.Shutdown(); }},
        {"window.show", [parts] { parts.desktop.ShowMainWindow(); }, {}},
        {"process_list.refresh", [parts] { parts.limiter.CommandRefreshProcess_Click(); }, {}},
    };
}

void ProgramLifecycle::Start() {
    for (; started_ < steps_.size(); ++started_) {
        if (steps_[started_].start)
            steps_[started_].start();
    }
}

void ProgramLifecycle::Stop() {
    if (stopped_)
        return;
    stopped_ = true;
    for (std::size_t i = started_; i-- > 0;) {
        if (steps_[i].stop)
            steps_[i].stop();
    }
}

std::vector<std::string_view> ProgramLifecycle::Names() const {
    std::vector<std::string_view> names;
    for (const ProgramStep& step : steps_) names.push_back(step.name);
    return names;
}

}  // namespace vellumar
