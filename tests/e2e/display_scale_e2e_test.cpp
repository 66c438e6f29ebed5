// The program at 150 % display scale: the user's LogPixels set to 144 for
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
    DisplayScale scale(144);
    e2e::StartedProgram started(L"scale 144");
    ASSERT_TRUE(started.main);
    RECT client{};
    ::GetClientRect(started.main, &client);
    EXPECT_NEAR(client.right, 1179, 1);
    EXPECT_NEAR(client.bottom, 836, 1);

    const std::vector<Placed> scaled = Layout(started.main);
    ASSERT_EQ(scaled.size(), standard.size());
    for (std::size_t i = 0; i < scaled.size(); ++i) {
        const RECT& s = standard[i].rect;
        const RECT& r = scaled[i].rect;
        SCOPED_TRACE(i);
        ASSERT_EQ(scaled[i].what, standard[i].what);
        EXPECT_NEAR(r.left, s.left * 1.5, 1.5);
        EXPECT_NEAR(r.top, s.top * 1.5, 1.5);
        // Figures fit their text at the font's size, and a drop-down list
        // is as high as its font needs: only their places scale exactly.
        if (scaled[i].what == L"VellumarLabel" || scaled[i].what == L"ComboBox")
            continue;
        EXPECT_NEAR(r.right, s.right * 1.5, 1.5);
        EXPECT_NEAR(r.bottom, s.bottom * 1.5, 1.5);
    }
}

}  // namespace
