// The program at 150 % and 200 % display scale: the user's LogPixels set for
// the copies started meanwhile, then put back so later tests run at 96.
#include <gtest/gtest.h>
#include <windows.h>

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
