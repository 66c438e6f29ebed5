#include "app/startup.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "fakes/form_fixture.h"

namespace vellumar {
namespace {

class Startup : public testing::FormFixture {
  protected:
    testing::FakeSession session{log};
    StartupHooks RecordingHooks() {
        StartupHooks hooks;
        hooks.reset_process_limits = [this] { log.Add("limits.reset"); };
        hooks.refresh_process_list = [this] { log.Add("process_list.refresh"); };
        hooks.register_taskbar_created = [this] { log.Add("taskbar_created.register"); };
        hooks.install_window_hook = [this] { log.Add("window_hook.install"); };
        hooks.add_tray_icon = [this] { log.Add("tray.add"); };
        return hooks;
    }
};

TEST_F(Startup, ASecondInstanceShowsTheMessageAndCreatesNothing) {
    session.other_instance = true;
    EXPECT_FALSE(ClaimSingleInstance(session, session));
    EXPECT_EQ(log.calls, (std::vector<std::string>{
                             "instance.acquire",
                             "message Vellumar: Vellumar\xE5\xB7\xB2\xE7\xBB\x8F\xE8\xBF\x90\xE8"
                             "\xA1\x8C\xEF\xBC\x8C\xE8\xAF\xB7\xE5\x8B\xBF\xE9\x87\x8D\xE5\xA4"
                             "\x8D\xE5\x8A\xA0\xE8\xBD\xBD\xE3\x80\x82"}));
}

TEST_F(Startup, RunsEveryStepInOrder) {
    Store(settings::kAutorun, "1");
    Store(settings::kAutomin, "1");
    Store(settings::kOntop, "1");
    form.TimerProcess.SetHandler([this] { log.Add("TimerProcess.tick"); });
    form.LabelAd->SetVisible(true);

    ASSERT_TRUE(ClaimSingleInstance(session, session));
    LoadMainWindow(form, session, RecordingHooks());

    const std::vector<std::string> expected = {
        "instance.acquire",
        "window.move",
        "privilege.debug",
        "ini.read Process.EnableImproveProcess",
        "ini.read Process.ImproveSpeed",
        "ini.read Memory.EnableFreeMemory",
        "ini.read Memory.AutoFreeMemoryInterval",
        "ini.read Setting.Autorun",
        // The box's own handler runs when the value changes...
        "run.set HKLM VLM",
        "run.delete HKCU VLM",
        "ini.write Setting.Autorun=1",
        // ...then startup sets the value once more.
        "run.set HKLM VLM",
        "run.delete HKCU VLM",
        "ini.read Setting.Automin",
        "ini.write Setting.Automin=1",
        "window.hide",
        "ini.read Setting.Ontop",
        "window.topmost",
        "ini.write Setting.Ontop=1",
        "window.topmost",
        "TimerProcess.tick",
        "limits.reset",
        "process_list.refresh",
        "taskbar_created.register",
        "window_hook.install",
        "tray.add",
    };
    EXPECT_EQ(log.calls, expected);
    EXPECT_FALSE(form.LabelAd->Visible());
    EXPECT_EQ(form.TrayIconFrame, 1);
    EXPECT_EQ(form.SelectedPage(), Page::State);
    EXPECT_EQ(form.ComboSpeed->Items(), (std::vector<std::string>{"Above Normal", "High"}));
    EXPECT_EQ(form.ComboInterval->Items(),
              (std::vector<std::string>{"1 minute", "3 minute", "5 minute", "10 minute"}));
}

TEST_F(Startup, SettingsOffMakeNoTopmostOrHideCallAndClearAutorun) {
    Store(settings::kAutorun, "0");
    Store(settings::kAutomin, "0");
    Store(settings::kOntop, "0");
    LoadMainWindow(form, session, {});
    auto has = [&](const char* call) {
        return std::find(log.calls.begin(), log.calls.end(), call) != log.calls.end();
    };
    EXPECT_FALSE(has("window.topmost"));
    EXPECT_FALSE(has("window.notopmost"));
    EXPECT_FALSE(has("window.hide"));
    EXPECT_TRUE(has("run.delete HKLM VLM"));
    EXPECT_TRUE(host.shown);
}

TEST_F(Startup, AllMainWindowTimersRunFromTheStart) {
    for (Timer* t : {&form.TimerProcess, &form.TimerCPU, &form.TimerMemory, &form.TimerOnTimeState,
                     &form.TimerState, &form.TimerTrayIcon, &form.TimerAd}) {
        EXPECT_TRUE(timers.IsRunning(*t));
    }
    EXPECT_EQ(form.TimerProcess.IntervalMs(), 900);
    EXPECT_EQ(form.TimerOnTimeState.IntervalMs(), 20);
    EXPECT_EQ(form.TimerAd.IntervalMs(), 3000);
}

}  // namespace
}  // namespace vellumar
