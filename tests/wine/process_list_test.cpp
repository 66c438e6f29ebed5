// The process list, its icons and the CPU-limit dialog against the real
// (Wine) API: the real snapshot finds this test's own process, its icons are
// real and freed again, and the dialog works from the keyboard.

#include <gtest/gtest.h>
#include <windows.h>
// After windows.h, which it builds on.
#include <commctrl.h>

#include "app/autorun.h"
#include "app/main_window.h"
#include "app/settings.h"
#include "app/win32/cpu_limit_dialog_window.h"
#include "app/win32/main_frame.h"
#include "command_test_support.h"
#include "engine/process_limits.h"
#include "fakes/fake_platform.h"
#include "main_frame_fixture.h"
#include "platform/win32/platform_win32.h"
#include "platform/win32/process_snapshot_win32.h"
#include "platform/win32/system_win32.h"
#include "platform/win32/text.h"

namespace vellumar::win32 {
namespace {

class ProcessListOnWindows : public ::testing::Test, protected RealMainWindow {
  protected:
    Win32ProcessSnapshots snapshots;
    Win32FileIcons icons;
    ProcessLimits limits;
    FormSetProcessCpuPercent dialog{limits, *form.ListViewProcesses};
    CpuLimitDialogWindow dialog_window{dialog, [this] { return frame.Handle(); }, timers};
    ProcessLimiter limiter{
        {snapshots, icons, pump, boxes},
        {*form.ListViewProcesses, form.ImageListProcesses, *form.LabelCPULimitedCount,
         *form.LabelStateProcessLimited, *form.CommandRefreshProcess, *form.CommandLimitProcessCPU,
         form.TimerCPU},
        limits,
        dialog,
        "Vellumar"};

    void SetUp() override {
        form.InitialLayout();
        form.SelectPage(Page::CPU);
        frame.ShowAfterLoad();
        Refresh();
    }
    // A refresh, then the message loop, where the list is drawn and scrolled.
    void Refresh() {
        form.CommandRefreshProcess->UserClick();
        pump.ProcessPendingEvents();
    }
    HWND ListWindow() const {
        return ::FindWindowExW(PanelWindow(), nullptr, WC_LISTVIEWW, nullptr);
    }
    HWND PanelWindow() const {
        return ::FindWindowExW(frame.Handle(), nullptr, L"VellumarPanel", L"PictureCPU");
    }
    int OwnRow() const {
        const std::string own = std::to_string(::GetCurrentProcessId());
        for (int row = 0; row < form.ListViewProcesses->RowCount(); ++row) {
            if (form.ListViewProcesses->Row(row)[kColumnPid] == own)
                return row;
        }
        return -1;
    }
};

TEST_F(ProcessListOnWindows, TheRealSnapshotListsThisProcessWithItsPathAndARealIcon) {
    wchar_t exe[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, exe, MAX_PATH);
    const int row = OwnRow();
    ASSERT_GE(row, 0);
    const std::string name = form.ListViewProcesses->Row(row)[kColumnProcess];
    EXPECT_EQ(name, "integration_tests.exe");
    EXPECT_EQ(GetProcessPath(snapshots, ::GetCurrentProcessId(), name), LowerCaseText(Narrow(exe)));

    HWND list = ListWindow();
    ASSERT_TRUE(list);
    EXPECT_EQ(::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0), form.ListViewProcesses->RowCount());
    const auto native =
        reinterpret_cast<HIMAGELIST>(::SendMessageW(list, LVM_GETIMAGELIST, LVSIL_SMALL, 0));
    ASSERT_TRUE(native);
    // Rows of one executable share its native image.
    const int images = ::ImageList_GetImageCount(native);
    EXPECT_GT(images, 0);
    EXPECT_LE(images, static_cast<int>(form.ImageListProcesses.Entries().size()));
    ICONINFO info{};
    ASSERT_TRUE(::GetIconInfo(
        reinterpret_cast<HICON>(form.ImageListProcesses.Entries()[0].picture->IconHandle()),
        &info));
    ::DeleteObject(info.hbmColor);
    ::DeleteObject(info.hbmMask);
    LVITEMW item{};
    item.mask = LVIF_IMAGE;
    item.iItem = row;
    ::SendMessageW(list, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
    EXPECT_GE(item.iImage, 0);
    EXPECT_LT(item.iImage, images);
    // Scrolled to the last row; the first one selected.
    EXPECT_EQ(::SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED), 0);
    RECT last{LVIR_BOUNDS, 0, 0, 0};
    ::SendMessageW(list, LVM_GETITEMRECT, form.ListViewProcesses->RowCount() - 1,
                   reinterpret_cast<LPARAM>(&last));
    RECT client{};
    ::GetClientRect(list, &client);
    EXPECT_LE(last.bottom, client.bottom);
}

TEST_F(ProcessListOnWindows, AThousandRefreshesLeaveTheObjectCountsFlat) {
    for (int i = 0; i < 20; ++i) Refresh();
    const int gdi_before = testing::GdiObjectCount();
    const int user_before = testing::UserObjectCount();
    for (int i = 0; i < 1000; ++i) Refresh();
    EXPECT_EQ(testing::GdiObjectCount(), gdi_before);
    EXPECT_EQ(testing::UserObjectCount(), user_before);
}

TEST_F(ProcessListOnWindows, TheDialogWorksFromTheKeyboard) {
    struct Case {
        std::vector<WPARAM> keys;
        std::string row_text;
    };
    // Arrows move the slider, Enter presses the default button of the mode
    // or the focused one, Esc cancels a new limit.
    const Case cases[] = {{{VK_LEFT, VK_LEFT, VK_RETURN}, "97%"},
                          {{VK_RETURN}, "97%"},  // "Adjustment" with the slider at the limit
                          {{VK_TAB, VK_TAB, VK_RETURN}, ""},  // "Release"
                          {{VK_ESCAPE}, ""},
                          {{VK_TAB, VK_TAB, VK_RETURN}, ""}};  // "Cancel"
    const int row = OwnRow();
    ASSERT_GE(row, 0);
    form.ListViewProcesses->UserSelect(row);
    for (const Case& c : cases) {
        dialog_window.onShown = [&](HWND dialog_hwnd) {
            HWND slider = ::FindWindowExW(dialog_hwnd, nullptr, TRACKBAR_CLASSW, nullptr);
            ASSERT_TRUE(slider);
            EXPECT_EQ(::SendMessageW(slider, TBM_GETRANGEMAX, 0, 0), 99);
            EXPECT_EQ(::GetWindow(dialog_hwnd, GW_OWNER), frame.Handle());
            for (WPARAM key : c.keys) {
                ::PostMessageW(slider, WM_KEYDOWN, key, 0);
                ::PostMessageW(slider, WM_KEYUP, key, 0xC0000000);
            }
        };
        form.CommandLimitProcessCPU->UserClick();
        EXPECT_FALSE(dialog.Shown());
        EXPECT_EQ(form.ListViewProcesses->Row(row)[kColumnLimit], c.row_text);
    }
    EXPECT_FALSE(limits.Slot(0).InUse);
    EXPECT_EQ(limits.Slot(0).LimitPercent, 97);
}

}  // namespace
}  // namespace vellumar::win32
