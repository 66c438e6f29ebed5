#include "engine/process_limits.h"

#include <gtest/gtest.h>

#include "fakes/fake_process_list.h"
#include "fakes/form_fixture.h"

namespace vellumar {
namespace {

using testing::FakeDialogHost;
using testing::FakeSnapshots;

class CpuLimits : public testing::FormFixture {
  protected:
    FakeSnapshots snapshots;
    FakeDialogHost host;
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

    void SetUp() override {
        FormFixture::SetUp();
        dialog.AttachHost(&host);
        for (ProcessId pid : {10, 20, 30, 40, 50}) snapshots.Add(pid, "p" + std::to_string(pid));
        form.CpuPage.CommandRefreshProcess->UserClick();
    }
    ListView& List() { return *form.CpuPage.ListViewProcesses; }
    std::string LimitOf(int row) { return List().Row(row)[kColumnLimit]; }
    // Opens the dialog for a row, moves the slider and presses a button.
    void Limit(int row, int percent, PushButton FormSetProcessCpuPercent::*button) {
        host.on_show = [&, percent, button] {
            dialog.SliderPercent.UserSetValue(percent);
            (dialog.*button).UserClick();
        };
        List().UserSelect(row);
        form.CpuPage.CommandLimitProcessCPU->UserClick();
    }
    std::string Counted() {
        timers.Fire(form.TimerCPU);
        EXPECT_EQ(form.StatePage.LabelStateProcessLimited->Text(),
                  form.CpuPage.LabelCPULimitedCount->Text());
        return form.CpuPage.LabelCPULimitedCount->Text();
    }
};

TEST_F(CpuLimits, ANewLimitOpensAtNinetyNineAndIsRecordedShownAndCounted) {
    host.on_show = [&] {
        EXPECT_TRUE(dialog.Shown());
        EXPECT_EQ(dialog.LabelProcessPID.Text(), "30");
        EXPECT_EQ(dialog.LabelProcessPath.Text(), "c:\\apps\\p30");
        EXPECT_FALSE(
            static_cast<const testing::FakeIcon&>(*dialog.ImageProcessIco.Picture()).small);
        EXPECT_EQ(dialog.SliderPercent.Value(), 99);
        EXPECT_TRUE(dialog.CommandOK.Visible() && dialog.CommandCancel.Visible());
        EXPECT_FALSE(dialog.CommandModify.Visible() || dialog.CommandFree.Visible());
        dialog.SliderPercent.UserSetValue(50);
        EXPECT_EQ(dialog.LabelPercent.Text(), "50");
        dialog.CommandOK.UserClick();
    };
    List().UserSelect(2);
    List().UserDoubleClick();
    EXPECT_EQ(host.shows, 1);
    EXPECT_EQ(host.closes, 1);
    EXPECT_FALSE(dialog.Shown());
    EXPECT_EQ(LimitOf(2), "50%");
    EXPECT_TRUE(limits.Slot(0).InUse);
    EXPECT_EQ(limits.Slot(0).PID, 30u);
    EXPECT_EQ(limits.Slot(0).Path, "c:\\apps\\p30");
    EXPECT_EQ(Counted(), "1");
    // The count yields before and after each slot's test.
    EXPECT_EQ(pump.yields, 3 * 2 /* the Limit command */ + 3 * 2);
    // Unloading put the dialog back to its initial state.
    EXPECT_EQ(dialog.LabelProcessPID.Text(), "0");
    EXPECT_EQ(dialog.LabelProcessPath.Text(), "Unknown");
    EXPECT_EQ(dialog.LabelPercent.Text(), "99");
}

TEST_F(CpuLimits, RefreshPutsLimitsBackFreesEndedProcessesAndPassesAReusedPidOn) {
    Limit(0, 10, &FormSetProcessCpuPercent::CommandOK);
    Limit(1, 20, &FormSetProcessCpuPercent::CommandOK);
    snapshots.Remove(10);
    snapshots.Remove(20);
    snapshots.Add(20, "newcomer.exe");  // the PID went to a new process
    form.CpuPage.CommandRefreshProcess->UserClick();
    EXPECT_EQ(List().Row(3)[kColumnProcess], "newcomer.exe");
    EXPECT_EQ(LimitOf(3), "20%");
    EXPECT_EQ(LimitOf(0), "");
    EXPECT_FALSE(limits.Slot(0).InUse);
    EXPECT_TRUE(limits.Slot(1).InUse);
    EXPECT_EQ(Counted(), "1");
}

TEST_F(CpuLimits, AFourthLimitIsRefusedWhileChangingOneOfThreeStillWorks) {
    for (int row = 0; row < 3; ++row) Limit(row, 40 + row, &FormSetProcessCpuPercent::CommandOK);
    Limit(3, 70, &FormSetProcessCpuPercent::CommandOK);
    EXPECT_EQ(log.calls.back(), "warning Vellumar: " + std::string(kCanNotLimitMoreMessage));
    EXPECT_EQ(host.shows, 3);
    EXPECT_EQ(LimitOf(3), "");

    host.on_show = [&] {
        EXPECT_EQ(dialog.SliderPercent.Value(), 41);
        EXPECT_TRUE(dialog.CommandModify.Visible() && dialog.CommandFree.Visible());
        EXPECT_FALSE(dialog.CommandOK.Visible() || dialog.CommandCancel.Visible());
        EXPECT_EQ(dialog.CancelButton(), nullptr);
        dialog.SliderPercent.UserSetValue(15);
        dialog.DefaultButton()->UserClick();
    };
    List().UserSelect(1);
    form.CpuPage.CommandLimitProcessCPU->UserClick();
    EXPECT_EQ(LimitOf(1), "15%");
    EXPECT_EQ(limits.Slot(1).LimitPercent, 15);
    EXPECT_EQ(Counted(), "3");
}

TEST_F(CpuLimits, ReleaseThenLimitReusesTheLowestFreeSlot) {
    for (int row = 0; row < 3; ++row) Limit(row, 50, &FormSetProcessCpuPercent::CommandOK);
    Limit(1, 50, &FormSetProcessCpuPercent::CommandFree);
    Limit(0, 50, &FormSetProcessCpuPercent::CommandFree);
    EXPECT_EQ(LimitOf(0), "");
    EXPECT_EQ(limits.Slot(0).PID, 10u);  // kept on release
    Limit(4, 33, &FormSetProcessCpuPercent::CommandOK);
    EXPECT_EQ(limits.Slot(0).PID, 50u);
    EXPECT_EQ(limits.Slot(0).LimitPercent, 33);
    EXPECT_FALSE(limits.Slot(1).InUse);
    EXPECT_EQ(Counted(), "2");
}

TEST_F(CpuLimits, WithoutAMatchingSlotAdjustAndReleaseChangeOnlyTheRowAndOkNothing) {
    using Form = FormSetProcessCpuPercent;
    for (int slot = 0; slot < 3; ++slot)
        limits.Slot(slot) = {true, static_cast<ProcessId>(900 + slot), 10, "x"};
    // "OK" with every slot taken is reachable only through a race.
    const std::pair<PushButton Form::*, std::string> cases[] = {
        {&Form::CommandModify, "60%"}, {&Form::CommandFree, ""}, {&Form::CommandOK, "5%"}};
    for (const auto& [button, row_text] : cases) {
        List().UserSelect(4);
        List().SetCell(4, kColumnLimit, "5%");
        dialog.LabelProcessPID.SetText("50");
        dialog.SliderPercent.SetValue(60);
        (dialog.*button).UserClick();
        EXPECT_EQ(LimitOf(4), row_text);
    }
    for (int slot = 0; slot < 3; ++slot) {
        EXPECT_TRUE(limits.Slot(slot).InUse);
        EXPECT_EQ(limits.Slot(slot).PID, 900u + slot);
        EXPECT_EQ(limits.Slot(slot).LimitPercent, 10);
    }
}

TEST_F(CpuLimits, TheCommandDoesNothingWithoutRowsOrWhenARefreshRanDuringItsCount) {
    snapshots.processes.clear();
    form.CpuPage.CommandRefreshProcess->UserClick();
    form.CpuPage.CommandLimitProcessCPU->UserClick();
    EXPECT_EQ(host.shows, 0);

    snapshots.Add(10, "p10");
    snapshots.Add(20, "p20");
    form.CpuPage.CommandRefreshProcess->UserClick();
    List().UserSelect(1);
    pump.on_yield = [&] {
        pump.on_yield = nullptr;
        snapshots.Remove(10);
        form.CpuPage.CommandRefreshProcess->UserClick();
    };
    form.CpuPage.CommandLimitProcessCPU->UserClick();
    EXPECT_EQ(host.shows, 0);
}

}  // namespace
}  // namespace vellumar
