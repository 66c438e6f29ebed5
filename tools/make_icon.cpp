// make_icon OUT.ico: writes the program icon as a Windows icon file holding
// the sizes 16, 24, 32, 48 and 256 pixels. Every entry is a 32-bit BGRA DIB
// with its alpha channel plus the 1-bit AND mask that older renderers use.
//
// Builds on its own:
//   g++ -std=c++20 -O2 -Isrc tools/make_icon.cpp src/app/artwork*.cpp -o make_icon

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <vector>

#include "app/artwork.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr int kSizes[] = {16, 24, 32, 48, 256};
constexpr std::size_t kDirectoryHeaderSize = 6;
constexpr std::size_t kDirectoryEntrySize = 16;
constexpr std::size_t kInfoHeaderSize = 40;
// Pixels at least this opaque count as inside for the AND mask.
constexpr std::uint8_t kMaskAlphaThreshold = 128;

void Put16(Bytes& out, std::uint32_t v) {
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}

void Put32(Bytes& out, std::uint32_t v) {
    Put16(out, v & 0xFFFFU);
    Put16(out, v >> 16);
}

// One icon image: BITMAPINFOHEADER (height doubled for colour and mask), the
// colour rows and then the mask rows, both bottom row first.
Bytes IconImage(const vellumar::PixelBuffer& icon) {
    const auto w = static_cast<std::uint32_t>(icon.width);
    const auto h = static_cast<std::uint32_t>(icon.height);
    const std::uint32_t maskStride = ((w + 31) / 32) * 4;
    const std::uint32_t colourBytes = w * h * 4;
    const std::uint32_t maskBytes = maskStride * h;

    Bytes out;
    Put32(out, kInfoHeaderSize);
    Put32(out, w);
    Put32(out, h * 2);
    Put16(out, 1);   // planes
    Put16(out, 32);  // bits per pixel
    Put32(out, 0);   // BI_RGB
    Put32(out, colourBytes + maskBytes);
    Put32(out, 0);
    Put32(out, 0);
    Put32(out, 0);
    Put32(out, 0);

    for (int y = icon.height - 1; y >= 0; --y) {
        for (int x = 0; x < icon.width; ++x) {
            vellumar::Argb c = icon.At(x, y);
            out.push_back(vellumar::BlueOf(c));
            out.push_back(vellumar::GreenOf(c));
            out.push_back(vellumar::RedOf(c));
            out.push_back(vellumar::AlphaOf(c));
        }
    }
    for (int y = icon.height - 1; y >= 0; --y) {
        Bytes row(maskStride, 0);
        for (int x = 0; x < icon.width; ++x) {
            if (vellumar::AlphaOf(icon.At(x, y)) < kMaskAlphaThreshold) {
                row[static_cast<std::size_t>(x / 8)] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
            }
        }
        out.insert(out.end(), row.begin(), row.end());
    }
    return out;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_icon OUT.ico\n");
        return 2;
    }
    std::vector<Bytes> images;
    for (int size : kSizes) {
        images.push_back(IconImage(vellumar::artwork::ProgramIcon(size)));
    }

    Bytes file;
    Put16(file, 0);  // reserved
    Put16(file, 1);  // icon resource
    Put16(file, static_cast<std::uint32_t>(images.size()));
    auto offset =
        static_cast<std::uint32_t>(kDirectoryHeaderSize + kDirectoryEntrySize * images.size());
    for (std::size_t i = 0; i < images.size(); ++i) {
        // Width and height are single bytes; 0 stands for 256.
        const auto side = static_cast<std::uint8_t>(kSizes[i] >= 256 ? 0 : kSizes[i]);
        file.push_back(side);
        file.push_back(side);
        file.push_back(0);  // no palette
        file.push_back(0);  // reserved
        Put16(file, 1);     // planes
        Put16(file, 32);    // bits per pixel
        Put32(file, static_cast<std::uint32_t>(images[i].size()));
        Put32(file, offset);
        offset += static_cast<std::uint32_t>(images[i].size());
    }
    for (const Bytes& image : images) {
        file.insert(file.end(), image.begin(), image.end());
    }

    std::ofstream out(argv[1], std::ios::binary);
    out.write(reinterpret_cast<const char*>(file.data()),
              static_cast<std::streamsize>(file.size()));
    if (!out) {
        std::fprintf(stderr, "make_icon: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
