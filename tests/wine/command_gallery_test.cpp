// Renders the gallery of Command faces (every style in its up, hover, down,
// disabled and focused looks) through the button window's own GDI painting,
// and writes it as a PNG when VELLUMAR_COMMAND_GALLERY names a file.

#include <gtest/gtest.h>
#include <windows.h>

#include <array>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "app/command_instances.h"
#include "controls/command_button.h"
#include "controls/win32/command_button_window.h"
#include "platform/win32/platform_win32.h"
#include "wine_support.h"

namespace vellumar::win32 {
namespace {

// ---- A minimal PNG writer: 8-bit RGB, deflate in stored blocks ------------

std::uint32_t Crc32(const std::uint8_t* data, std::size_t size, std::uint32_t crc = 0) {
    crc = ~crc;
    for (std::size_t i = 0; i < size; ++i) {
        crc ^= data[i];
        for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

void PutBigEndian(std::vector<std::uint8_t>& out, std::uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<std::uint8_t>(value >> shift));
}

void PutChunk(std::vector<std::uint8_t>& out, const char* type,
              const std::vector<std::uint8_t>& data) {
    PutBigEndian(out, static_cast<std::uint32_t>(data.size()));
    std::vector<std::uint8_t> body(type, type + 4);
    body.insert(body.end(), data.begin(), data.end());
    out.insert(out.end(), body.begin(), body.end());
    PutBigEndian(out, Crc32(body.data(), body.size()));
}

std::vector<std::uint8_t> EncodePng(const std::vector<std::uint32_t>& xrgb, int width, int height) {
    std::vector<std::uint8_t> raw;
    for (int y = 0; y < height; ++y) {
        raw.push_back(0);  // no filter
        for (int x = 0; x < width; ++x) {
            const std::uint32_t p =
                xrgb[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                     static_cast<std::size_t>(x)];
            raw.push_back(static_cast<std::uint8_t>(p >> 16));
            raw.push_back(static_cast<std::uint8_t>(p >> 8));
            raw.push_back(static_cast<std::uint8_t>(p));
        }
    }
    std::vector<std::uint8_t> z = {0x78, 0x01};
    std::uint32_t a = 1;
    std::uint32_t b = 0;
    for (const std::uint8_t byte : raw) {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    for (std::size_t pos = 0; pos < raw.size() || pos == 0; pos += 65535) {
        const std::size_t n = std::min<std::size_t>(65535, raw.size() - pos);
        z.push_back(pos + n >= raw.size() ? 1 : 0);
        z.push_back(static_cast<std::uint8_t>(n));
        z.push_back(static_cast<std::uint8_t>(n >> 8));
        z.push_back(static_cast<std::uint8_t>(~n));
        z.push_back(static_cast<std::uint8_t>(~n >> 8));
        z.insert(z.end(), raw.begin() + static_cast<std::ptrdiff_t>(pos),
                 raw.begin() + static_cast<std::ptrdiff_t>(pos + n));
        if (raw.empty())
            break;
    }
    PutBigEndian(z, (b << 16) | a);

    std::vector<std::uint8_t> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<std::uint8_t> header;
    PutBigEndian(header, static_cast<std::uint32_t>(width));
    PutBigEndian(header, static_cast<std::uint32_t>(height));
    header.insert(header.end(), {8, 2, 0, 0, 0});
    PutChunk(png, "IHDR", header);
    PutChunk(png, "IDAT", z);
    PutChunk(png, "IEND", {});
    return png;
}

// ---- The gallery -------------------------------------------------------------

struct Row {
    const char* title;
    int type;
    int xp;
    int scheme;
    bool grey_set = false;
};

constexpr int kCellWidth = 130;
constexpr int kCellHeight = 33;
constexpr int kGap = 10;
constexpr int kTitleWidth = 170;
constexpr int kHeaderHeight = 24;
constexpr std::array<const char*, 6> kLooks = {"up",       "hover",   "down",
                                               "disabled", "focused", "default"};

TEST(CommandGallery, EveryStyleInEveryLook) {
    const std::vector<Row> rows = {
        {"Style 1, XpType 2 (program)", 1, 2, 1},
        {"Style 1, XpType 1", 1, 1, 1},
        {"Style 1, XpType 3", 1, 3, 1},
        {"Style 1, ColorScheme 3", 1, 1, 3},
        {"Style 2", 2, 1, 1},
        {"Style 3", 3, 1, 1},
        {"Style 3, ColorScheme 2", 3, 1, 2},
        {"Style 4 (blue preset)", 4, 1, 1},
        {"Style 4 (grey set)", 4, 1, 1, true},
        {"Style 5", 5, 1, 1},
        {"Style 5, ColorScheme 3", 5, 1, 3},
    };
    const int width = kTitleWidth + static_cast<int>(kLooks.size()) * (kCellWidth + kGap) + kGap;
    const int height = kHeaderHeight + static_cast<int>(rows.size()) * (kCellHeight + kGap) + kGap;

    testing::TestContainer container(false, 300, 100);
    Win32TimerService timers;
    GdiSurface canvas;
    ASSERT_TRUE(canvas.Resize(width, height));
    const ColorRef background = static_cast<ColorRef>(::GetSysColor(COLOR_BTNFACE));
    canvas.FillRect({0, 0, width, height}, background);
    canvas.SetFont({"Verdana", 8.0, true, false});
    canvas.SetTextColor(0);
    for (std::size_t c = 0; c < kLooks.size(); ++c) {
        const int x = kTitleWidth + static_cast<int>(c) * (kCellWidth + kGap);
        canvas.DrawText(kLooks[c], {x, 4, x + kCellWidth, kHeaderHeight}, 0x25);
    }

    int drawn = 0;
    for (std::size_t r = 0; r < rows.size(); ++r) {
        const int y = kHeaderHeight + static_cast<int>(r) * (kCellHeight + kGap);
        canvas.DrawText(rows[r].title, {8, y, kTitleWidth, y + kCellHeight}, 0x24);
        for (std::size_t c = 0; c < kLooks.size(); ++c) {
            const int x = kTitleWidth + static_cast<int>(c) * (kCellWidth + kGap);
            CommandButtonWindow button(
                container.Handle(), 0, 0, kCellWidth, kCellHeight,
                StoredCommandProperties(*FindCommandInstance("CommandFreeMemory")), timers,
                "CommandFreeMemory");
            CommandButton& m = button.Model();
            // The style last: for style 4 that loads the blue preset, while a
            // palette rebuild afterwards (grey_set) writes the grey, blue and
            // orange set of ColorScheme 1.
            m.SetXpType(rows[r].xp);
            m.SetColorScheme(rows[r].scheme);
            m.SetButtonType(rows[r].type);
            if (rows[r].grey_set)
                m.SetColorScheme(rows[r].scheme);
            const std::string look = kLooks[c];
            if (look == "hover")
                m.OnMouseMove(0, 0, 5, 5);
            if (look == "down")
                m.OnMouseDown(1, 0, 5, 5);
            if (look == "disabled")
                m.SetEnabled(false);
            if (look == "focused")
                m.OnGotFocus();
            if (look == "default")
                m.SetDisplayAsDefault(true);
            // The window region cuts the corners of some styles; leave them
            // in the background colour as the screen would.
            UniqueRegion region(::CreateRectRgn(0, 0, 0, 0));
            const bool has_region = ::GetWindowRgn(button.Handle(), region.Get()) != ERROR;
            const GdiSurface& picture = button.Picture();
            for (int py = 0; py < kCellHeight; ++py) {
                for (int px = 0; px < kCellWidth; ++px) {
                    if (has_region && !::PtInRegion(region.Get(), px, py))
                        continue;
                    const std::uint32_t p = picture.Bits()[py * kCellWidth + px] & 0xFFFFFF;
                    canvas.SetPixel(
                        x + px, y + py,
                        Rgb(static_cast<std::uint8_t>(p >> 16), static_cast<std::uint8_t>(p >> 8),
                            static_cast<std::uint8_t>(p)));
                }
            }
            ++drawn;
        }
    }
    ::GdiFlush();
    EXPECT_EQ(drawn, static_cast<int>(rows.size() * kLooks.size()));

    const char* path = std::getenv("VELLUMAR_COMMAND_GALLERY");
    if (path == nullptr || *path == '\0')
        GTEST_SKIP() << "VELLUMAR_COMMAND_GALLERY not set";
    const std::vector<std::uint32_t> pixels(
        canvas.Bits(), canvas.Bits() + static_cast<std::size_t>(width) * height);
    const std::vector<std::uint8_t> png = EncodePng(pixels, width, height);
    std::FILE* file = std::fopen(path, "wb");
    ASSERT_NE(file, nullptr) << path;
    EXPECT_EQ(std::fwrite(png.data(), 1, png.size(), file), png.size());
    std::fclose(file);
}

}  // namespace
}  // namespace vellumar::win32
