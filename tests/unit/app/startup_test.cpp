#include "app/startup.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "app/program_lifecycle.h"
#include "fakes/fake_process_list.h"
#include "fakes/form_fixture.h"

namespace vellumar {
namespace {

// The desktop's steps, recorded with what the process list holds when the
// window shows.
struct RecordingDesktop : ProgramDesktop {
    testing::CallLog& log;
    const ListView& processes;
    explicit RecordingDesktop(testing::CallLog& l, const ListView& list)
        : log(l), processes(list) {}
    void RegisterTaskbarCreated() override { log.Add("taskbar_created.register"); }
    void InstallWindowHook() override { log.Add("window_hook.install"); }
    void AddTrayIcon() override { log.Add("tray.add"); }
    void ShowMainWindow() override {
        log.Add("window.show with " + std::to_string(processes.RowCount()) + " processes");
    }
    void Shutdown() override { log.Add("desktop.shutdown"); }
};

class Startup : public testing::FormFixture {
  protected:
    testing::FakeSession session{log};
    testing::FakeSnapshots snapshots;
    ProcessLimits limits;
    FormSetProcessCpuPercent dialog{limits, *form.CpuPage.ListViewProcesses};
    ProcessLimiter limiter{
        {snapshots, snapshots, pump, boxes},
        {*form.CpuPage.ListViewProcesses, form.CpuPage.ImageListProcesses,
         *form.CpuPage.LabelCPULimitedCount, *form.StatePage.LabelStateProcessLimited,
         *form.CpuPage.CommandRefreshProcess, *form.CpuPage.CommandLimitProcessCPU, form.TimerCPU},
        limits,
        dialog,
        "Vellumar"};
    RecordingDesktop desktop_steps{log, *form.CpuPage.ListViewProcesses};
    ProgramLifecycle lifecycle{
        ProgramSteps({form, session, settings, limits, limiter, desktop_steps})};
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

TEST_F(Startup, RunsEveryStepInOrderAndStopsInReverseOnce) {
    snapshots.Add(10, "p10");
    Store(settings::kAutorun, "1");
    Store(settings::kAutomin, "1");
    Store(settings::kOntop, "1");
    form.TimerProcess.SetHandler([this] { log.Add("TimerProcess.tick"); });
    form.Chrome.LabelAd->SetVisible(true);

    ASSERT_TRUE(ClaimSingleInstance(session, session));
    lifecycle.Start();

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
        "taskbar_created.register",
        "window_hook.install",
        "tray.add",
        // The list is filled after the window is on screen.
        "window.show with 0 processes",
    };
    EXPECT_EQ(log.calls, expected);
    EXPECT_EQ(lifecycle.Names(),
              (std::vector<std::string_view>{"main_window.load", "process_priority.put_back",
                                             "process_limits.reset", "taskbar_created.register",
                                             "window_hook.install", "tray.add", "window.show",
                                             "process_list.refresh"}));
    EXPECT_EQ(form.CpuPage.ListViewProcesses->RowCount(), 1);
    log.calls.clear();
    lifecycle.Stop();
    lifecycle.Stop();
    EXPECT_EQ(log.calls, std::vector<std::string>{"desktop.shutdown"});
    EXPECT_FALSE(form.Chrome.LabelAd->Visible());
    EXPECT_EQ(form.TrayIconFrame, 1);
    EXPECT_EQ(form.SelectedPage(), Page::State);
    EXPECT_EQ(form.ProcessPage.ComboSpeed->Items(),
              (std::vector<std::string>{"Above Normal", "High"}));
    EXPECT_EQ(form.MemoryPage.ComboInterval->Items(),
              (std::vector<std::string>{"1 minute", "3 minute", "5 minute", "10 minute"}));
}

TEST_F(Startup, SwitchingRaisingOffOrEndingTheProgramPutsTheRaisedProgramBack) {
    desktop.windows = {{1, {"Notepad", 11}}, {2, {"Mail", 22}}};
    lifecycle.Start();
    form.ProcessPage.CheckNowImproveProcess->SetValue(1);
    desktop.Front(1);
    form.Priority().Tick();
    ASSERT_EQ(processes.classes[11], kAboveNormalPriorityClass);
    form.ProcessPage.CheckNowImproveProcess->SetValue(0);
    EXPECT_EQ(processes.classes[11], kNormalPriorityClass);

    form.ProcessPage.CheckNowImproveProcess->SetValue(1);
    desktop.Front(2);
    form.Priority().Tick();
    ASSERT_EQ(processes.classes[22], kAboveNormalPriorityClass);
    lifecycle.Stop();
    EXPECT_EQ(processes.classes[22], kNormalPriorityClass);
}

TEST_F(Startup, SettingsOffMakeNoTopmostOrHideCallAndClearAutorun) {
    Store(settings::kAutorun, "0");
    Store(settings::kAutomin, "0");
    Store(settings::kOntop, "0");
    LoadMainWindow(form, session);
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
