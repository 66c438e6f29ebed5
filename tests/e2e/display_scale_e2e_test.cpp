// The program at 150 % and 200 % display scale: the user's LogPixels set for
// the copies started meanwhile, then put back so later tests run at 96.
#include <gtest/gtest.h>
#include <windows.h>
// After windows.h, which it builds on.
#include <commctrl.h>

#include <algorithm>
#include <string>
#include <vector>

#include "e2e/driver.h"

namespace {

class DisplayScale {
  public:
    explicit DisplayScale(DWORD dpi) {
        ::RegCreateKeyExW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", 0, nullptr, 0,
                          KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr, &key_, nullptr);
        DWORD size = sizeof(old_);
        had_value_ = ::RegQueryValueExW(key_, L"LogPixels", nullptr, nullptr,
                                        reinterpret_cast<BYTE*>(&old_), &size) == ERROR_SUCCESS;
        ::RegSetValueExW(key_, L"LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dpi),
                         sizeof(dpi));
    }
    ~DisplayScale() {
        if (had_value_) {
            ::RegSetValueExW(key_, L"LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&old_),
                             sizeof(old_));
        } else {
            ::RegDeleteValueW(key_, L"LogPixels");
        }
        ::RegCloseKey(key_);
    }

  private:
    HKEY key_ = nullptr;
    DWORD old_ = 0;
    bool had_value_ = false;
};

struct Placed {
    std::wstring what;
    RECT rect;
};

// Every descendant's class and rectangle in the main window's client coordinates.
std::vector<Placed> Layout(HWND main) {
    std::vector<Placed> placed;
    for (HWND child : e2e::Descendants(main)) {
        RECT r{};
        ::GetWindowRect(child, &r);
        ::MapWindowPoints(nullptr, main, reinterpret_cast<POINT*>(&r), 2);
        placed.push_back({e2e::ClassName(child), r});
    }
    return placed;
}

TEST(DisplayScaleEndToEnd, WindowAndControlsScaleWithTheDisplay) {
    std::vector<Placed> standard;
    {
        e2e::StartedProgram started(L"scale 96");
        ASSERT_TRUE(started.main);
        standard = Layout(started.main);
    }
    struct Scale {
        DWORD dpi;
        int width, height;
        const wchar_t* folder;
    };
    for (const Scale& scale :
         {Scale{144, 1179, 836, L"scale 144"}, Scale{192, 1572, 1114, L"scale 192"}}) {
        SCOPED_TRACE(scale.dpi);
        const DisplayScale display(scale.dpi);
        e2e::StartedProgram started(scale.folder);
        ASSERT_TRUE(started.main);
        RECT client{};
        ::GetClientRect(started.main, &client);
        EXPECT_NEAR(client.right, scale.width, 1);
        EXPECT_NEAR(client.bottom, scale.height, 1);

        const std::vector<Placed> scaled = Layout(started.main);
        ASSERT_EQ(scaled.size(), standard.size());
        const double factor = scale.dpi / 96.0;
        for (std::size_t i = 0; i < scaled.size(); ++i) {
            const RECT& s = standard[i].rect;
            const RECT& r = scaled[i].rect;
            SCOPED_TRACE(i);
            ASSERT_EQ(scaled[i].what, standard[i].what);
            EXPECT_NEAR(r.left, s.left * factor, factor);
            EXPECT_NEAR(r.top, s.top * factor, factor);
            // Figures fit their text at the font's size, and a drop-down list
            // and a list's header are as high as their font needs: only
            // their places scale exactly.
            const std::wstring& what = scaled[i].what;
            if (what == L"VellumarLabel" || what == L"ComboBox" || what == L"SysHeader32")
                continue;
            EXPECT_NEAR(r.right, s.right * factor, factor);
            EXPECT_NEAR(r.bottom, s.bottom * factor, factor);
        }
    }
}

}  // namespace

namespace {

// A rectangle of a list view row in another process (`part` is LVIR_*).
RECT ListViewItemRect(HWND list, DWORD pid, int row, LONG part) {
    RECT rect{part, 0, 0, 0};
    HANDLE process =
        ::OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
    if (!process)
        return rect;
    void* remote =
        ::VirtualAllocEx(process, nullptr, sizeof(RECT), MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    if (remote) {
        ::WriteProcessMemory(process, remote, &rect, sizeof(rect), nullptr);
        ::SendMessageW(list, LVM_GETITEMRECT, static_cast<WPARAM>(row),
                       reinterpret_cast<LPARAM>(remote));
        ::ReadProcessMemory(process, remote, &rect, sizeof(rect), nullptr);
        ::VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    }
    ::CloseHandle(process);
    return rect;
}

int SystemMetricFor(int index, UINT dpi) {
    using ForDpi = int(WINAPI*)(int, UINT);
    const auto for_dpi = reinterpret_cast<ForDpi>(reinterpret_cast<void*>(
        ::GetProcAddress(::GetModuleHandleW(L"user32.dll"), "GetSystemMetricsForDpi")));
    return for_dpi ? for_dpi(index, dpi) : ::MulDiv(index == SM_CXICON ? 32 : 16, dpi, 96);
}

RECT ClientRectIn(HWND window, HWND parent) {
    RECT r{};
    ::GetWindowRect(window, &r);
    ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

}  // namespace

// At 150 %: the CPU page's list shows icons of the system's small-icon size
// for the scale in rows high enough for them, and the limit dialog's client
// area and controls are their twips at 144 dpi.
TEST(DisplayScaleEndToEnd, CpuPageAndLimitDialogAt150Percent) {
    constexpr DWORD kDpi = 144;
    const DisplayScale display(kDpi);
    e2e::StartedProgram started(L"scale cpu");
    ASSERT_TRUE(started.main);
    const DWORD pid = started.program.Pid();
    e2e::ClickWindow(e2e::FindChild(started.main, L"Process CPU usage limit"));
    HWND list = e2e::FindChild(started.main, L"ListViewProcesses", false);
    ASSERT_TRUE(list);
    ASSERT_TRUE(e2e::WaitUntil([&] { return e2e::ListViewRows(list) > 0; }));
    const RECT icon = ListViewItemRect(list, pid, 0, LVIR_ICON);
    const RECT row = ListViewItemRect(list, pid, 0, LVIR_BOUNDS);
    const int small_icon = SystemMetricFor(SM_CXSMICON, kDpi);
    EXPECT_EQ(icon.right - icon.left, small_icon);
    EXPECT_GE(row.bottom - row.top, small_icon);

    // The window is wider than the screen; moved a little left, the page is
    // all on it.
    HWND page = e2e::FindChild(started.main, L"PictureCPU");
    ASSERT_TRUE(page);
    RECT window{};
    RECT shown{};
    ::GetWindowRect(started.main, &window);
    ::GetWindowRect(page, &shown);
    const int overflow = std::max(0L, shown.right + 8 - ::GetSystemMetrics(SM_CXSCREEN));
    ::SetWindowPos(started.main, nullptr, window.left - overflow, window.top, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    e2e::SaveScreenshot(page, "cpu-page-144dpi");

    e2e::SelectListViewRow(list, pid, 0);
    ::PostMessageW(e2e::FindChild(started.main, L"Limit"), BM_CLICK, 0, 0);
    HWND dialog = nullptr;
    ASSERT_TRUE(e2e::WaitUntil([&] {
        for (HWND w : e2e::TopLevelWindows(pid, L"#32770")) {
            if (e2e::WindowText(w) == L"Process CPU usage limit" && ::IsWindowVisible(w))
                dialog = w;
        }
        return dialog != nullptr;
    }));
    RECT client{};
    ::GetClientRect(dialog, &client);
    EXPECT_NEAR(client.right, 708, 1);
    EXPECT_NEAR(client.bottom, 353, 1);
    struct Item {
        HWND window;
        int left, top, width, height;  // twips
    };
    const Item items[] = {
        {::FindWindowExW(dialog, nullptr, L"Static", nullptr), 120, 120, 615, 615},
        {::FindWindowExW(dialog, nullptr, TRACKBAR_CLASSW, nullptr), 1800, 1200, 4335, 615},
        {e2e::FindChild(dialog, L"OK"), 2040, 2640, 1335, 375},
        {e2e::FindChild(dialog, L"Cancel"), 3600, 2640, 1335, 375},
        {e2e::FindChild(dialog, L"Rate to limit:"), 600, 1200, -1, -1},
        {e2e::FindChild(dialog, L"Process:"), 960, 600, -1, -1},
    };
    const double pixels_per_twip = kDpi / 1440.0;
    for (const Item& item : items) {
        SCOPED_TRACE(item.left * 10000 + item.top);
        ASSERT_TRUE(item.window);
        const RECT r = ClientRectIn(item.window, dialog);
        EXPECT_NEAR(r.left, item.left * pixels_per_twip, 1);
        EXPECT_NEAR(r.top, item.top * pixels_per_twip, 1);
        // Labels fit their text: only their places are given.
        if (item.width < 0)
            continue;
        EXPECT_NEAR(r.right - r.left, item.width * pixels_per_twip, 1);
        EXPECT_NEAR(r.bottom - r.top, item.height * pixels_per_twip, 1);
    }
    e2e::SaveScreenshot(dialog, "cpu-limit-dialog-144dpi");
    ::PostMessageW(e2e::FindChild(dialog, L"Cancel"), BM_CLICK, 0, 0);
    EXPECT_TRUE(e2e::WaitUntil([&] { return !::IsWindow(dialog); }));
}
