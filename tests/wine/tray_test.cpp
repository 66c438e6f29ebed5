// The notification icon's Win32 layer against the real (Wine) API: the frame
// icons, the shell's notification area and the window hook.

#include <gtest/gtest.h>
#include <windows.h>

#include <vector>

#include "platform/win32/handles.h"
#include "shell/tray_frames.h"
#include "shell/win32/tray_icon_win32.h"
#include "shell/win32/window_hook_win32.h"

namespace vellumar::win32 {
namespace {

// The pixels of an icon drawn on black and on white: one that shows the
// background is transparent ('.'), one that stays white is chevron ('#'),
// one that stays the rim colour is rim ('o').
std::vector<char> DrawnPixels(HICON icon) {
    std::vector<char> result;
    std::vector<COLORREF> on_black;
    for (COLORREF background : {RGB(0, 0, 0), RGB(255, 255, 255)}) {
        WindowDc screen(nullptr);
        UniqueMemoryDc dc(::CreateCompatibleDC(screen.Get()));
        UniqueBitmap bitmap(::CreateCompatibleBitmap(screen.Get(), 16, 16));
        ScopedSelect select(dc.Get(), bitmap.Get());
        UniqueBrush brush(::CreateSolidBrush(background));
        RECT all{0, 0, 16, 16};
        ::FillRect(dc.Get(), &all, brush.Get());
        ::DrawIconEx(dc.Get(), 0, 0, icon, 16, 16, 0, nullptr, DI_NORMAL);
        for (int y = 0; y < 16; ++y) {
            for (int x = 0; x < 16; ++x) {
                const COLORREF c = ::GetPixel(dc.Get(), x, y);
                if (background == RGB(0, 0, 0)) {
                    on_black.push_back(c);
                } else {
                    const COLORREF b = on_black[static_cast<std::size_t>(y * 16 + x)];
                    const COLORREF rim = ColorRefFromArgb(kTrayRimColor);
                    char kind = '?';
                    if (b == RGB(255, 255, 255) && c == RGB(255, 255, 255))
                        kind = '#';
                    else if (b == rim && c == rim)
                        kind = 'o';
                    else if (b == RGB(0, 0, 0) && c == RGB(255, 255, 255))
                        kind = '.';
                    result.push_back(kind);
                }
            }
        }
    }
    return result;
}

TEST(TrayFrameIconsOnWindows, EveryFrameIsASixteenPixelIconThatDrawsItsChevrons) {
    TrayFrameIconSet icons;
    for (int frame = 1; frame <= kTrayFrameCount; ++frame) {
        const auto icon = reinterpret_cast<HICON>(icons.FrameIcon(frame));
        ASSERT_TRUE(icon) << frame;
        ICONINFO info{};
        ASSERT_TRUE(::GetIconInfo(icon, &info));
        UniqueBitmap colour(info.hbmColor);
        UniqueBitmap mask(info.hbmMask);
        BITMAP bm{};
        ::GetObjectW(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof(bm), &bm);
        EXPECT_EQ(bm.bmWidth, 16);

        const PixelBuffer expected = TrayFrame(frame);
        const auto drawn = DrawnPixels(icon);
        for (int y = 0; y < 16; ++y) {
            for (int x = 0; x < 16; ++x) {
                const Argb pixel = expected.At(x, y);
                const char want = pixel == kTrayChevronColor ? '#'
                                  : pixel == kTrayRimColor   ? 'o'
                                                             : '.';
                EXPECT_EQ(drawn[static_cast<std::size_t>(y * 16 + x)], want)
                    << "frame " << frame << " at " << x << "," << y;
            }
        }
    }
    EXPECT_EQ(icons.FrameIcon(0), 0U);
    EXPECT_EQ(icons.FrameIcon(7), 0U);
}

}  // namespace
}  // namespace vellumar::win32
