// make_icon OUT.ico: writes the program icon as a Windows icon file holding
// the sizes 16, 24, 32, 48 and 256 pixels. The small entries are 32-bit BGRA
// DIBs with their alpha channel plus the 1-bit AND mask that older renderers
// use; the 256-pixel one is a PNG, as Windows allows at that size, which
// keeps about 260 KB of pixels out of the executable.
//
// Builds on its own (zlib compresses the PNG):
//   g++ -std=c++20 -O2 -Isrc tools/make_icon.cpp src/app/artwork*.cpp -lz -o make_icon

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <vector>

#include <zlib.h>

#include "app/artwork.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr int kSizes[] = {16, 24, 32, 48, 256};
// Entries this large are stored as PNG.
constexpr int kPngFromSize = 256;
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

void PutBigEndian32(Bytes& out, std::uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<std::uint8_t>(v >> shift));
}

void PutChunk(Bytes& out, const char (&type)[5], const Bytes& data) {
    PutBigEndian32(out, static_cast<std::uint32_t>(data.size()));
    const std::size_t start = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    PutBigEndian32(out, static_cast<std::uint32_t>(
                            crc32(0, out.data() + start, static_cast<uInt>(out.size() - start))));
}

// One row of RGBA bytes with the PNG filter that leaves the smallest sum of
// absolute differences, the usual heuristic for photographic and smooth
// pictures like the icon's.
Bytes FilteredRow(const Bytes& row, const Bytes& above) {
    const std::size_t n = row.size();
    Bytes best;
    unsigned long best_cost = ~0UL;
    for (std::uint8_t filter = 0; filter <= 4; ++filter) {
        Bytes out{filter};
        unsigned long cost = 0;
        for (std::size_t i = 0; i < n; ++i) {
            const int a = i >= 4 ? row[i - 4] : 0;
            const int b = above[i];
            const int c = i >= 4 ? above[i - 4] : 0;
            int predictor = 0;
            switch (filter) {
                case 1:
                    predictor = a;
                    break;
                case 2:
                    predictor = b;
                    break;
                case 3:
                    predictor = (a + b) / 2;
                    break;
                case 4: {
                    const int p = a + b - c;
                    const int pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
                    predictor = pa <= pb && pa <= pc ? a : (pb <= pc ? b : c);
                    break;
                }
                default:
                    break;
            }
            const auto value = static_cast<std::uint8_t>(row[i] - predictor);
            out.push_back(value);
            cost += value < 128 ? value : 256U - value;
        }
        if (cost < best_cost) {
            best_cost = cost;
            best = std::move(out);
        }
    }
    return best;
}

// The icon as a PNG file: 8-bit RGBA, not interlaced.
Bytes PngImage(const vellumar::PixelBuffer& icon) {
    const auto w = static_cast<std::uint32_t>(icon.width);
    const auto h = static_cast<std::uint32_t>(icon.height);
    Bytes raw;
    Bytes above(w * 4, 0);
    for (int y = 0; y < icon.height; ++y) {
        Bytes row;
        for (int x = 0; x < icon.width; ++x) {
            vellumar::Argb c = icon.At(x, y);
            row.insert(row.end(), {vellumar::RedOf(c), vellumar::GreenOf(c), vellumar::BlueOf(c),
                                   vellumar::AlphaOf(c)});
        }
        const Bytes filtered = FilteredRow(row, above);
        raw.insert(raw.end(), filtered.begin(), filtered.end());
        above = row;
    }
    uLongf packed_size = compressBound(static_cast<uLong>(raw.size()));
    Bytes packed(packed_size);
    if (compress2(packed.data(), &packed_size, raw.data(), static_cast<uLong>(raw.size()),
                  Z_BEST_COMPRESSION) != Z_OK) {
        std::fprintf(stderr, "make_icon: cannot compress the PNG\n");
        std::exit(1);
    }
    packed.resize(packed_size);

    Bytes header;
    PutBigEndian32(header, w);
    PutBigEndian32(header, h);
    header.insert(header.end(), {8, 6, 0, 0, 0});  // 8 bits, RGBA, deflate, adaptive, none
    Bytes out{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    PutChunk(out, "IHDR", header);
    PutChunk(out, "IDAT", packed);
    PutChunk(out, "IEND", {});
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
        const vellumar::PixelBuffer icon = vellumar::artwork::ProgramIcon(size);
        images.push_back(size >= kPngFromSize ? PngImage(icon) : IconImage(icon));
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
