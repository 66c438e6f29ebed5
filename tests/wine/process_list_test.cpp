// The process list, its icons and the CPU-limit dialog against the real
// (Wine) API: the real snapshot finds this test's own process, its icons are
// real and freed again, and the dialog works from the keyboard.

#include <gtest/gtest.h>
#include <windows.h>
// After windows.h, which it builds on.
#include <commctrl.h>
#include <shellapi.h>

#include "app/autorun.h"
#include "app/main_window.h"
#include "app/settings.h"
#include "app/win32/cpu_limit_dialog_window.h"
#include "app/win32/main_frame.h"
#include "engine/process_limits.h"
#include "fakes/fake_platform.h"
#include "main_frame_fixture.h"
#include "platform/win32/dpi.h"
#include "platform/win32/handles.h"
#include "platform/win32/platform_win32.h"
#include "platform/win32/process_snapshot_win32.h"
#include "platform/win32/system_win32.h"
#include "platform/win32/text.h"
#include "wine_support.h"

namespace vellumar::win32 {
namespace {

class ProcessListOnWindows : public ::testing::Test, protected RealMainWindow {
  protected:
    Win32ProcessSnapshots snapshots;
    ProcessLimits& limits = app.Limits();
    FormSetProcessCpuPercent& dialog = app.LimitDialog();
    CpuLimitDialogWindow& dialog_window = app.LimitDialogWindow();

    void SetUp() override {
        form.InitialLayout();
        form.SelectPage(Page::CPU);
        frame.ShowAfterLoad();
        Refresh();
    }
    // A refresh, then the message loop, where the list is drawn and scrolled.
    void Refresh() {
        form.CpuPage.CommandRefreshProcess->UserClick();
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
        for (int row = 0; row < form.CpuPage.ListViewProcesses->RowCount(); ++row) {
            if (form.CpuPage.ListViewProcesses->Row(row)[kColumnPid] == own)
                return row;
        }
        return -1;
    }
};

// An icon drawn on white, pixel by pixel.
std::vector<COLORREF> DrawnIcon(HICON icon, int size) {
    WindowDc screen(nullptr);
    UniqueMemoryDc dc(::CreateCompatibleDC(screen.Get()));
    UniqueBitmap bitmap(::CreateCompatibleBitmap(screen.Get(), size, size));
    ScopedSelect select(dc.Get(), bitmap.Get());
    ::PatBlt(dc.Get(), 0, 0, size, size, WHITENESS);
    ::DrawIconEx(dc.Get(), 0, 0, icon, size, size, 0, nullptr, DI_NORMAL);
    std::vector<COLORREF> pixels;
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) pixels.push_back(::GetPixel(dc.Get(), x, y));
    return pixels;
}

TEST(FileIconsOnWindows, AProgramShowsItsOwnIconElseTheDefaultProgramIcon) {
    wchar_t system[MAX_PATH] = {};
    ::GetSystemDirectoryW(system, MAX_PATH);
    const std::wstring notepad = std::wstring(system) + L"\\notepad.exe";
    HICON own = nullptr;
    ASSERT_EQ(::ExtractIconExW(notepad.c_str(), 0, nullptr, &own, 1), 1u);
    const UniqueIcon own_icon(own);
    const auto icon = GetFileIcon(notepad, true);
    ASSERT_TRUE(icon);
    const int size = ::GetSystemMetrics(SM_CXSMICON);
    EXPECT_EQ(DrawnIcon(reinterpret_cast<HICON>(icon->IconHandle()), size), DrawnIcon(own, size));
    // This test program has no icon of its own.
    wchar_t exe[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, exe, MAX_PATH);
    EXPECT_TRUE(GetFileIcon(exe, true));
}

TEST_F(ProcessListOnWindows, TheRealSnapshotListsThisProcessWithItsPathAndARealIcon) {
    wchar_t exe[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, exe, MAX_PATH);
    const int row = OwnRow();
    ASSERT_GE(row, 0);
    const std::string name = form.CpuPage.ListViewProcesses->Row(row)[kColumnProcess];
    EXPECT_EQ(name, "integration_tests.exe");
    EXPECT_EQ(GetProcessPath(snapshots, ::GetCurrentProcessId(), name), LowerCaseText(Narrow(exe)));

    HWND list = ListWindow();
    ASSERT_TRUE(list);
    EXPECT_EQ(::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0),
              form.CpuPage.ListViewProcesses->RowCount());
    const auto native =
        reinterpret_cast<HIMAGELIST>(::SendMessageW(list, LVM_GETIMAGELIST, LVSIL_SMALL, 0));
    ASSERT_TRUE(native);
    // Rows of one executable share its native image.
    const int images = ::ImageList_GetImageCount(native);
    EXPECT_GT(images, 0);
    EXPECT_LE(images, static_cast<int>(form.CpuPage.ImageListProcesses.Entries().size()));
    ICONINFO info{};
    ASSERT_TRUE(::GetIconInfo(
        reinterpret_cast<HICON>(form.CpuPage.ImageListProcesses.Entries()[0].picture->IconHandle()),
        &info));
    ::DeleteObject(info.hbmColor);
    ::DeleteObject(info.hbmMask);
    LVITEMW item{};
    item.mask = LVIF_IMAGE;
    item.iItem = row;
    ::SendMessageW(list, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
    EXPECT_GE(item.iImage, 0);
    EXPECT_LT(item.iImage, images);
    // Scrolled to the last row, which is the one selected.
    EXPECT_EQ(::SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED),
              form.CpuPage.ListViewProcesses->RowCount() - 1);
    RECT last{LVIR_BOUNDS, 0, 0, 0};
    ::SendMessageW(list, LVM_GETITEMRECT, form.CpuPage.ListViewProcesses->RowCount() - 1,
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
    form.CpuPage.ListViewProcesses->UserSelect(row);
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
        form.CpuPage.CommandLimitProcessCPU->UserClick();
        EXPECT_FALSE(dialog.Shown());
        EXPECT_EQ(form.CpuPage.ListViewProcesses->Row(row)[kColumnLimit], c.row_text);
    }
    EXPECT_FALSE(limits.Slot(0).InUse);
    EXPECT_EQ(limits.Slot(0).LimitPercent, 97);
}

// The owner and place of the last message box the timer closed.
HWND box_owner = nullptr;
RECT box_rect{};

// Closes the message box once it is there, noting where it was.
void CALLBACK CloseBoxWhenShown(HWND, UINT, UINT_PTR timer, DWORD) {
    HWND box = testing::FindWindowHere(L"#32770", L"Vellumar");
    if (!box || !::IsWindowVisible(box))
        return;
    ::KillTimer(nullptr, timer);
    box_owner = ::GetWindow(box, GW_OWNER);
    ::GetWindowRect(box, &box_rect);
    ::PostMessageW(box, WM_COMMAND, IDOK, 0);
}

void ShowBox(Win32MessageBoxes& boxes) {
    box_owner = nullptr;
    ::SetTimer(nullptr, 0, 20, &CloseBoxWhenShown);
    boxes.ShowWarning("Vellumar", "Can not limit more");
}

// A message box opens centred over the window it belongs to: the main
// window, or the dialog open over it.
TEST_F(ProcessListOnWindows, MessageBoxesOpenOverTheWindowTheyBelongTo) {
    Win32MessageBoxes boxes_on_screen;
    boxes_on_screen.SetOwner(frame.Handle());
    ::SetWindowPos(frame.Handle(), nullptr, 150, 120, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    RECT main{};
    ::GetWindowRect(frame.Handle(), &main);
    ShowBox(boxes_on_screen);
    EXPECT_EQ(box_owner, frame.Handle());
    EXPECT_NEAR((box_rect.left + box_rect.right) / 2, (main.left + main.right) / 2, 1);
    EXPECT_NEAR((box_rect.top + box_rect.bottom) / 2, (main.top + main.bottom) / 2, 1);

    const int row = OwnRow();
    ASSERT_GE(row, 0);
    form.CpuPage.ListViewProcesses->UserSelect(row);
    HWND shown_dialog = nullptr;
    dialog_window.onShown = [&](HWND dialog_hwnd) {
        shown_dialog = dialog_hwnd;
        ::ShowWindow(dialog_hwnd, SW_SHOW);
        ::SetActiveWindow(dialog_hwnd);
        ShowBox(boxes_on_screen);
        ::PostMessageW(dialog_hwnd, WM_COMMAND, IDCANCEL, 0);
    };
    form.CpuPage.CommandLimitProcessCPU->UserClick();
    EXPECT_EQ(box_owner, shown_dialog);
}

// After a move to a monitor at 150 %, the list has the same rows and
// selection with icons of the system's small size there, and the dialog
// opens at that scale with its large icon made at the system's size; a move
// of the dialog to 200 % lays it out again.
TEST_F(ProcessListOnWindows, AnotherScaleKeepsTheRowsAndLaysOutTheDialogForIt) {
    const int row = OwnRow();
    ASSERT_GE(row, 0);
    form.CpuPage.ListViewProcesses->UserSelect(row);
    const LRESULT rows = ::SendMessageW(ListWindow(), LVM_GETITEMCOUNT, 0, 0);
    RECT suggested{0, 0, 1179, 836};
    ::SendMessageW(frame.Handle(), WM_DPICHANGED, MAKEWPARAM(144, 144),
                   reinterpret_cast<LPARAM>(&suggested));
    EXPECT_EQ(::SendMessageW(ListWindow(), LVM_GETITEMCOUNT, 0, 0), rows);
    EXPECT_EQ(::SendMessageW(ListWindow(), LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED),
              row);
    int icon_width = 0;
    int icon_height = 0;
    ::ImageList_GetIconSize(reinterpret_cast<HIMAGELIST>(
                                ::SendMessageW(ListWindow(), LVM_GETIMAGELIST, LVSIL_SMALL, 0)),
                            &icon_width, &icon_height);
    EXPECT_EQ(icon_width, SystemMetricAt(SM_CXSMICON, 144));

    dialog_window.onShown = [&](HWND dialog_hwnd) {
        RECT client{};
        ::GetClientRect(dialog_hwnd, &client);
        EXPECT_EQ(client.right, TwipsToPixelsAt(kCpuLimitDialogWidthTwips, 144));
        EXPECT_EQ(client.bottom, TwipsToPixelsAt(kCpuLimitDialogHeightTwips, 144));
        HWND icon = ::FindWindowExW(dialog_hwnd, nullptr, L"Static", nullptr);
        EXPECT_EQ(IconWidth(reinterpret_cast<HICON>(::SendMessageW(icon, STM_GETICON, 0, 0))),
                  SystemMetricAt(SM_CXICON, 144));

        HWND slider = ::FindWindowExW(dialog_hwnd, nullptr, TRACKBAR_CLASSW, nullptr);
        const auto thumb144 = ::SendMessageW(slider, TBM_GETTHUMBLENGTH, 0, 0);
        RECT moved{10, 20, 10, 20};
        ::SendMessageW(dialog_hwnd, WM_DPICHANGED, MAKEWPARAM(192, 192),
                       reinterpret_cast<LPARAM>(&moved));
        ::GetClientRect(dialog_hwnd, &client);
        EXPECT_EQ(client.right, TwipsToPixelsAt(kCpuLimitDialogWidthTwips, 192));
        EXPECT_EQ(client.bottom, TwipsToPixelsAt(kCpuLimitDialogHeightTwips, 192));
        RECT ok{};
        ::GetWindowRect(::GetDlgItem(dialog_hwnd, IDOK), &ok);
        ::MapWindowPoints(nullptr, dialog_hwnd, reinterpret_cast<POINT*>(&ok), 2);
        EXPECT_EQ(ok.left, TwipsToPixelsAt(2040, 192));
        EXPECT_EQ(ok.right - ok.left, ScalePixels(89, 192));
        EXPECT_NEAR(::SendMessageW(slider, TBM_GETTHUMBLENGTH, 0, 0) * 144, thumb144 * 192, 192);
        ::PostMessageW(dialog_hwnd, WM_COMMAND, IDCANCEL, 0);
    };
    form.CpuPage.CommandLimitProcessCPU->UserClick();
    EXPECT_FALSE(dialog.Shown());
    ::SendMessageW(frame.Handle(), WM_DPICHANGED, MAKEWPARAM(96, 96),
                   reinterpret_cast<LPARAM>(&suggested));
}

}  // namespace
}  // namespace vellumar::win32
