#include <gtest/gtest.h>

#include "app/main_window.h"
#include "fakes/form_fixture.h"

namespace vellumar {
namespace {

using MainWindowPagesContent = testing::FormFixture;

std::string TextOf(const MainWindow& form, std::string_view name) {
    const Control* control = form.FindControl(name);
    return control ? control->Text() : "<missing " + std::string(name) + ">";
}

TEST_F(MainWindowPagesContent, PagesStartWithTheirTextsAndInitialFigures) {
    EXPECT_EQ(TextOf(form, "Label12"), "The first way");
    EXPECT_EQ(TextOf(form, "Label19"), "The third way");
    EXPECT_EQ(TextOf(form, "Label13"), "Log:");
    EXPECT_EQ(TextOf(form, "Label25"), "Log");
    EXPECT_EQ(TextOf(form, "Label17"), "Virual memory");
    EXPECT_EQ(TextOf(form, "Label5"), "Process limited count:");
    EXPECT_EQ(TextOf(form, "CommandFreeMemory"), "release memory now");
    EXPECT_EQ(TextOf(form, "Label22"), "The second way");
    EXPECT_EQ(TextOf(form, "Label24"), "Limited count:");
    EXPECT_EQ(TextOf(form, "CommandRefreshProcess"), "Refresh");
    EXPECT_EQ(TextOf(form, "CommandLimitProcessCPU"), "Limit");
    EXPECT_EQ(form.CpuPage.LabelCPULimitedCount->Text(), "0");
    EXPECT_TRUE(form.CpuPage.LabelCPULimitedCount->AutoSize());
    EXPECT_EQ(form.CpuPage.ListViewProcesses->Columns()[3].header, "CPU Usage limited");
    EXPECT_EQ(form.CpuPage.ListViewProcesses->Columns()[2].width_twips, 2600);
    EXPECT_EQ(form.ProcessPage.LabelNowImproveProcess->Text(), "None");
    EXPECT_EQ(form.ProcessPage.LabelImprovedCount->Text(), "None");
    EXPECT_EQ(form.StatePage.LabelStateNowImproving->Text(), "None");
    EXPECT_EQ(form.StatePage.LabelSpeed->Text(), "0%");
    EXPECT_EQ(form.StatePage.LabelTime->Text(), "time");
    EXPECT_EQ(form.StatePage.LabelStateProcessLimited->Text(), "0");
    EXPECT_EQ(form.StatePage.LabelStateMemoryState->Text(), "0");
    EXPECT_EQ(form.MemoryPage.LabelMemoryUsedPercent->Text(), "30%");
    EXPECT_EQ(form.ProcessPage.ListViewHistory->Columns().size(), 4u);
    EXPECT_EQ(form.ProcessPage.ListViewHistory->Columns()[2].header, "Target");
    EXPECT_EQ(form.MemoryPage.ListViewMemoryLog->Columns()[2].width_twips, 3600);
    // The long title field is fixed; the other figures fit their text.
    EXPECT_FALSE(form.StatePage.LabelStateNowImproving->AutoSize());
    EXPECT_TRUE(form.MemoryPage.LabelMemoryAll->AutoSize());
}

TEST_F(MainWindowPagesContent, TheTimersDriveTheFiguresOfBothPages) {
    memory.SetMb(1023, 611);
    clock.now = "9:41:00 AM";
    timers.Fire(form.TimerOnTimeState);
    timers.Fire(form.TimerState);
    EXPECT_EQ(form.MemoryPage.LabelMemoryAll->Text(), "1023 MB");
    EXPECT_EQ(form.MemoryPage.LabelMemoryUsedPercent->Text(), "40%");
    EXPECT_EQ(form.StatePage.LabelStateMemoryState->Text(), "40%");
    EXPECT_EQ(form.StatePage.LabelTime->Text(), "9:41:00 AM");
}

TEST_F(MainWindowPagesContent, TheProcessTimerRaisesAndTheButtonReleases) {
    LoadLayoutAndSettings();
    form.ProcessPage.CheckNowImproveProcess->UserToggle();
    desktop.windows[7] = {"Editor", 70};
    desktop.Front(7);
    timers.Fire(form.TimerProcess);
    EXPECT_EQ(processes.classes[70], kAboveNormalPriorityClass);
    EXPECT_EQ(form.StatePage.LabelStateNowImproving->Text(), "Editor");
    EXPECT_EQ(form.ProcessPage.ListViewHistory->RowCount(), 1);

    processes.snapshot = {70};
    form.MemoryPage.CommandFreeMemory->UserClick();
    EXPECT_EQ(processes.trimmed, std::vector<ProcessId>{70});
    EXPECT_EQ(form.MemoryPage.ListViewMemoryLog->RowCount(), 1);
    EXPECT_EQ(log.calls.back(), "information Vellumar: Success! 0 MB memory released.");
}

TEST_F(MainWindowPagesContent, AutomaticReleaseFollowsTheMemorySettings) {
    Store(settings::kEnableFreeMemory, "1");
    Store(settings::kAutoFreeMemoryInterval, "3 minute");
    LoadLayoutAndSettings();
    for (int i = 0; i < 179; ++i) timers.Fire(form.TimerMemory);
    EXPECT_EQ(form.MemoryPage.ListViewMemoryLog->RowCount(), 0);
    timers.Fire(form.TimerMemory);
    EXPECT_EQ(form.MemoryPage.ListViewMemoryLog->RowCount(), 1);
}

}  // namespace
}  // namespace vellumar
