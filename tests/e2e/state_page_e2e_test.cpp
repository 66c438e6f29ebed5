// The live graph of the State page, read from the screen. This test takes
// the State page's screenshot, once the graph holds some seconds of history.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <utility>
#include <vector>

#include "e2e/driver.h"

namespace {

// The pixels of a window's client area as the screen shows them, 0x00RRGGBB.
std::vector<std::uint32_t> ScreenPixels(HWND window) {
    RECT client{};
    ::GetClientRect(window, &client);
    POINT origin{0, 0};
    ::ClientToScreen(window, &origin);
    const int width = client.right;
    const int height = client.bottom;
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width) * height);
    HDC screen = ::GetDC(nullptr);
    HDC memory = ::CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP bitmap = ::CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = ::SelectObject(memory, bitmap);
    ::BitBlt(memory, 0, 0, width, height, screen, origin.x, origin.y, SRCCOPY);
    ::GdiFlush();
    for (std::size_t i = 0; i < pixels.size(); ++i)
        pixels[i] = static_cast<const std::uint32_t*>(bits)[i] & 0xFFFFFFu;
    ::SelectObject(memory, old);
    ::DeleteObject(bitmap);
    ::DeleteDC(memory);
    ::ReleaseDC(nullptr, screen);
    return pixels;
}

int CountOf(const std::vector<std::uint32_t>& pixels, std::uint32_t rgb) {
    int count = 0;
    for (std::uint32_t p : pixels) count += p == rgb;
    return count;
}

TEST(StatePageEndToEnd, TheGraphMovesFromOneSecondToTheNext) {
    e2e::StartedProgram started(L"graph");
    HWND main = started.main;
    ASSERT_TRUE(main);
    HWND graph = e2e::FindChild(main, L"CpuMonitorState");
    ASSERT_TRUE(graph);
    RECT r{};
    ::GetWindowRect(graph, &r);
    EXPECT_EQ(r.right - r.left, 417);
    EXPECT_EQ(r.bottom - r.top, 57);

    // Dark grey ground with light orange grid lines.
    const std::vector<std::uint32_t> first = ScreenPixels(graph);
    EXPECT_GT(CountOf(first, 0x404040), 10000);
    EXPECT_GT(CountOf(first, 0xFFC080), 300);
    // Each second the grid scrolls one pixel and a sample is added.
    EXPECT_TRUE(e2e::WaitUntil([&] { return ScreenPixels(graph) != first; }, 5000));

    // Within a few seconds the disk series (its free share, a level line,
    // drawn last) shows in its colour, and so do the other series. On an
    // idle machine with little memory in use those lie near the bottom row
    // and cover one another there, so any of their colours counts.
    EXPECT_TRUE(e2e::WaitUntil(
        [&] {
            const std::vector<std::uint32_t> now = ScreenPixels(graph);
            const int others = CountOf(now, 0x00FF00) + CountOf(now, 0xFFFF00) +
                               CountOf(now, 0xFF0000) + CountOf(now, 0x0000FF);
            return CountOf(now, 0xFF80FF) >= 5 && others >= 5;
        },
        15000));
    // Some more seconds of history for the picture.
    int changes = 0;
    std::vector<std::uint32_t> last = ScreenPixels(graph);
    EXPECT_TRUE(e2e::WaitUntil(
        [&] {
            std::vector<std::uint32_t> now = ScreenPixels(graph);
            if (now != last) {
                ++changes;
                last = std::move(now);
            }
            return changes >= 20;
        },
        40000));
    e2e::SaveScreenshot(main, "state-page");
}

}  // namespace
