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
        const char* state_picture;
    };
    for (const Scale& scale : {Scale{144, 1179, 836, L"scale 144", "state-page-144dpi"},
                               Scale{192, 1572, 1114, L"scale 192", "state-page-192dpi"}}) {
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

        // Pictures for the documentation, once the graph shows some seconds.
        HWND clock = e2e::ValueRightOf(e2e::FindChild(started.main, L"Time:"));
        std::wstring shown;
        int ticks = 0;
        e2e::WaitUntil(
            [&] {
                const std::wstring now = e2e::WindowText(clock);
                ticks += now != shown;
                shown = now;
                return ticks > 25;
            },
            40000);
        e2e::SaveScreenshot(started.main, scale.state_picture);
        if (scale.dpi == 144) {
            e2e::ClickWindow(e2e::FindChild(started.main, L"Intelligent release memory"));
            e2e::SaveScreenshot(started.main, "memory-page-144dpi");
        }
    }
}

}  // namespace

// At 150 % the CPU page and the limit dialog: the dialog's client area and
// controls are their twips at 144 dpi.
TEST(DisplayScaleEndToEnd, CpuPageAndLimitDialogAt150Percent) {
    const DisplayScale display(144);
    e2e::StartedProgram started(L"scale cpu");
    ASSERT_TRUE(started.main);
    const DWORD pid = started.program.Pid();
    e2e::ClickWindow(e2e::FindChild(started.main, L"Process CPU usage limit"));
    HWND list = e2e::FindChild(started.main, L"ListViewProcesses", false);
    HWND page = e2e::FindChild(started.main, L"PictureCPU");
    ASSERT_TRUE(list && page);
    ASSERT_TRUE(e2e::WaitUntil([&] { return e2e::ListViewRows(list) > 0; }));
    // The window is wider than the screen; moved a little left, the page is
    // all on it.
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
        for (HWND w : e2e::TopLevelWindows(pid, L"#32770"))
            dialog = ::IsWindowVisible(w) && e2e::FindChild(w, L"Rate to limit:") ? w : dialog;
        return dialog != nullptr;
    }));
    RECT client{};
    ::GetClientRect(dialog, &client);
    EXPECT_NEAR(client.right, 708, 1);
    EXPECT_NEAR(client.bottom, 353, 1);
    const struct {
        HWND window;
        RECT twips;  // left, top, width, height
    } items[] = {
        {::FindWindowExW(dialog, nullptr, L"Static", nullptr), {120, 120, 615, 615}},
        {::FindWindowExW(dialog, nullptr, TRACKBAR_CLASSW, nullptr), {1800, 1200, 4335, 615}},
        {e2e::FindChild(dialog, L"OK"), {2040, 2640, 1335, 375}},
        {e2e::FindChild(dialog, L"Cancel"), {3600, 2640, 1335, 375}},
    };
    for (const auto& item : items) {
        SCOPED_TRACE(item.twips.left);
        ASSERT_TRUE(item.window);
        RECT r{};
        ::GetWindowRect(item.window, &r);
        ::MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
        const RECT& t = item.twips;
        EXPECT_NEAR(r.left, t.left / 10.0, 1);
        EXPECT_NEAR(r.top, t.top / 10.0, 1);
        EXPECT_NEAR(r.right - r.left, t.right / 10.0, 1);
        EXPECT_NEAR(r.bottom - r.top, t.bottom / 10.0, 1);
    }
    e2e::SaveScreenshot(dialog, "cpu-limit-dialog-144dpi");
    ::PostMessageW(e2e::FindChild(dialog, L"Cancel"), BM_CLICK, 0, 0);
    EXPECT_TRUE(e2e::WaitUntil([&] { return !::IsWindow(dialog); }));
}
