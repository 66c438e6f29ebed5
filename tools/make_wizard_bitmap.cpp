// make_wizard_bitmap OUT.bmp: writes the 164 x 314 picture at the left of the
// installer's first and last pages: the title band's slate-navy gradient, the
// program icon near the top and an orange accent line under it, as a 24-bit
// bottom-up BMP (the format the installer's pages load).
//
// Builds on its own:
//   g++ -std=c++20 -O2 -Isrc tools/make_wizard_bitmap.cpp src/app/artwork*.cpp -o
//   make_wizard_bitmap

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <vector>

#include "app/artwork.h"

namespace {

using vellumar::Argb;
namespace artwork = vellumar::artwork;

constexpr int kWidth = 164;
constexpr int kHeight = 314;
constexpr int kIconSize = 96;
constexpr int kIconTop = 40;
constexpr int kAccentTop = kIconTop + kIconSize + 18;
constexpr int kAccentHeight = 3;
constexpr int kAccentWidth = 72;

std::uint8_t Mix(std::uint8_t a, std::uint8_t b, int num, int den) {
    return static_cast<std::uint8_t>((a * (den - num) + b * num) / den);
}

Argb Blend(Argb under, Argb over) {
    const int alpha = vellumar::AlphaOf(over);
    return vellumar::OpaqueRgb(Mix(vellumar::RedOf(under), vellumar::RedOf(over), alpha, 255),
                               Mix(vellumar::GreenOf(under), vellumar::GreenOf(over), alpha, 255),
                               Mix(vellumar::BlueOf(under), vellumar::BlueOf(over), alpha, 255));
}

vellumar::PixelBuffer Picture() {
    vellumar::PixelBuffer picture(kWidth, kHeight);
    for (int y = 0; y < kHeight; ++y) {
        const Argb top = artwork::kTitleBandTop;
        const Argb bottom = artwork::kTitleBandBottom;
        const Argb row =
            vellumar::OpaqueRgb(Mix(vellumar::RedOf(top), vellumar::RedOf(bottom), y, kHeight),
                                Mix(vellumar::GreenOf(top), vellumar::GreenOf(bottom), y, kHeight),
                                Mix(vellumar::BlueOf(top), vellumar::BlueOf(bottom), y, kHeight));
        for (int x = 0; x < kWidth; ++x) picture.At(x, y) = row;
    }
    const vellumar::PixelBuffer icon = artwork::ProgramIcon(kIconSize);
    const int left = (kWidth - kIconSize) / 2;
    for (int y = 0; y < icon.height; ++y) {
        for (int x = 0; x < icon.width; ++x) {
            Argb& under = picture.At(left + x, kIconTop + y);
            under = Blend(under, icon.At(x, y));
        }
    }
    for (int y = kAccentTop; y < kAccentTop + kAccentHeight; ++y) {
        for (int x = (kWidth - kAccentWidth) / 2; x < (kWidth + kAccentWidth) / 2; ++x) {
            picture.At(x, y) = artwork::kAccent;
        }
    }
    return picture;
}

void Put16(std::vector<std::uint8_t>& out, std::uint32_t v) {
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}

void Put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    Put16(out, v & 0xFFFFU);
    Put16(out, v >> 16);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_wizard_bitmap OUT.bmp\n");
        return 2;
    }
    const vellumar::PixelBuffer picture = Picture();
    const std::uint32_t stride = ((kWidth * 3 + 3) / 4) * 4;
    const std::uint32_t pixel_bytes = stride * kHeight;
    constexpr std::uint32_t kHeadersSize = 14 + 40;

    std::vector<std::uint8_t> file;
    file.push_back('B');
    file.push_back('M');
    Put32(file, kHeadersSize + pixel_bytes);
    Put32(file, 0);
    Put32(file, kHeadersSize);
    Put32(file, 40);  // BITMAPINFOHEADER
    Put32(file, kWidth);
    Put32(file, kHeight);  // positive: bottom row first
    Put16(file, 1);
    Put16(file, 24);
    Put32(file, 0);  // BI_RGB
    Put32(file, pixel_bytes);
    Put32(file, 2835);  // 72 dots per inch
    Put32(file, 2835);
    Put32(file, 0);
    Put32(file, 0);
    for (int y = kHeight - 1; y >= 0; --y) {
        std::uint32_t written = 0;
        for (int x = 0; x < kWidth; ++x, written += 3) {
            const Argb c = picture.At(x, y);
            file.push_back(vellumar::BlueOf(c));
            file.push_back(vellumar::GreenOf(c));
            file.push_back(vellumar::RedOf(c));
        }
        for (; written < stride; ++written) file.push_back(0);
    }

    std::ofstream out(argv[1], std::ios::binary);
    out.write(reinterpret_cast<const char*>(file.data()),
              static_cast<std::streamsize>(file.size()));
    if (!out) {
        std::fprintf(stderr, "make_wizard_bitmap: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
