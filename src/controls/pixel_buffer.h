#pragma once
// A plain 32-bit image in memory, top row first. Each pixel is 0xAARRGGBB, the
// layout of a top-down 32-bit DIB section, so the Win32 layer can hand the
// pixels to GDI unchanged. Portable drawing code (artwork, software raster)
// draws into it; tests read pixels back.

#include <cstdint>
#include <vector>

namespace vellumar {

// A pixel 0xAARRGGBB. Its own type, so that it cannot be mixed up with a
// ColorRef (red in the low byte): the two convert only explicitly.
enum class Argb : std::uint32_t {};

constexpr std::uint32_t BitsOf(Argb c) {
    return static_cast<std::uint32_t>(c);
}
constexpr Argb ArgbFromBits(std::uint32_t bits) {
    return static_cast<Argb>(bits);
}

constexpr Argb MakeArgb(std::uint8_t a, std::uint8_t r, std::uint8_t g, std::uint8_t b) {
    return ArgbFromBits((std::uint32_t{a} << 24) | (std::uint32_t{r} << 16) |
                        (std::uint32_t{g} << 8) | std::uint32_t{b});
}
constexpr Argb OpaqueRgb(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
    return MakeArgb(0xFF, r, g, b);
}
constexpr std::uint8_t AlphaOf(Argb c) {
    return static_cast<std::uint8_t>(BitsOf(c) >> 24);
}
constexpr std::uint8_t RedOf(Argb c) {
    return static_cast<std::uint8_t>(BitsOf(c) >> 16);
}
constexpr std::uint8_t GreenOf(Argb c) {
    return static_cast<std::uint8_t>(BitsOf(c) >> 8);
}
constexpr std::uint8_t BlueOf(Argb c) {
    return static_cast<std::uint8_t>(BitsOf(c));
}

// Colours of the platform's COLORREF form (0x00BBGGRR, red in the low byte).
using ColorRef = std::uint32_t;
constexpr ColorRef Rgb(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
    return ColorRef{r} | (ColorRef{g} << 8) | (ColorRef{b} << 16);
}
constexpr Argb ArgbFromColorRef(ColorRef c) {
    return OpaqueRgb(static_cast<std::uint8_t>(c), static_cast<std::uint8_t>(c >> 8),
                     static_cast<std::uint8_t>(c >> 16));
}
constexpr ColorRef ColorRefFromArgb(Argb c) {
    return Rgb(RedOf(c), GreenOf(c), BlueOf(c));
}

struct PixelBuffer {
    int width = 0;
    int height = 0;
    std::vector<Argb> pixels;  // width * height, row after row

    PixelBuffer() = default;
    PixelBuffer(int w, int h, Argb fill = Argb{})
        : width(w),
          height(h),
          pixels(static_cast<std::size_t>(w) * static_cast<std::size_t>(h), fill) {}

    bool Contains(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height; }
    Argb At(int x, int y) const { return pixels[Index(x, y)]; }
    Argb& At(int x, int y) { return pixels[Index(x, y)]; }
    // Writes a pixel when it lies inside; drawing code may pass any coordinate.
    void Set(int x, int y, Argb c) {
        if (Contains(x, y))
            pixels[Index(x, y)] = c;
    }

  private:
    std::size_t Index(int x, int y) const {
        return static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
               static_cast<std::size_t>(x);
    }
};

}  // namespace vellumar
