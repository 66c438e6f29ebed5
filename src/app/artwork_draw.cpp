#include "app/artwork_draw.h"

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

namespace vellumar::artwork {

namespace {

float Clamp01(float v) {
    return std::clamp(v, 0.0F, 1.0F);
}

std::uint8_t ToByte(float v) {
    return static_cast<std::uint8_t>(std::lround(std::clamp(v, 0.0F, 255.0F)));
}

float Channel(Argb c, int shift) {
    return static_cast<float>((BitsOf(c) >> shift) & 0xFFU);
}

float Linear(float srgb) {
    float v = srgb / 255.0F;
    return v <= 0.04045F ? v / 12.92F : std::pow((v + 0.055F) / 1.055F, 2.4F);
}

}  // namespace

Argb Mix(Argb a, Argb b, float t) {
    t = Clamp01(t);
    auto mix = [&](int shift) {
        return ToByte(Channel(a, shift) + (Channel(b, shift) - Channel(a, shift)) * t);
    };
    return MakeArgb(mix(24), mix(16), mix(8), mix(0));
}

Argb Fade(Argb c, float opacity) {
    return ArgbFromBits((BitsOf(c) & 0x00FFFFFFU) |
                        (std::uint32_t{ToByte(Channel(c, 24) * Clamp01(opacity))} << 24));
}

Argb Over(Argb dst, Argb src, float coverage) {
    float sa = Channel(src, 24) / 255.0F * Clamp01(coverage);
    if (sa <= 0.0F) {
        return dst;
    }
    if (sa >= 1.0F) {
        return src;  // what the blend below gives exactly, at a fraction of the cost
    }
    float da = Channel(dst, 24) / 255.0F;
    float oa = sa + da * (1.0F - sa);
    auto blend = [&](int shift) {
        return ToByte((Channel(src, shift) * sa + Channel(dst, shift) * da * (1.0F - sa)) / oa);
    };
    return MakeArgb(ToByte(oa * 255.0F), blend(16), blend(8), blend(0));
}

float Luminance(Argb c) {
    return 0.2126F * Linear(Channel(c, 16)) + 0.7152F * Linear(Channel(c, 8)) +
           0.0722F * Linear(Channel(c, 0));
}

float ContrastRatio(Argb a, Argb b) {
    float la = Luminance(a);
    float lb = Luminance(b);
    return (std::max(la, lb) + 0.05F) / (std::min(la, lb) + 0.05F);
}

Paint::Paint(Point from, Argb c0, Point to, Argb c1)
    : c0_(c0),
      c1_(c1),
      gradient_(true),
      from_(from),
      dx_(to.x - from.x),
      dy_(to.y - from.y),
      len2_(std::max(dx_ * dx_ + dy_ * dy_, 1e-6F)) {}

Paint Solid(Argb c) {
    return Paint(c);
}

Paint LinearGradient(Point from, Argb c0, Point to, Argb c1) {
    return {from, c0, to, c1};
}

Paint VerticalGradient(float top, Argb c0, float bottom, Argb c1) {
    return LinearGradient({0, top}, c0, {0, bottom}, c1);
}

void FillRect(PixelBuffer& buffer, Box box, Argb c) {
    const int left = std::max(box.left, 0);
    const int right = std::min(box.right, buffer.width);
    if (left >= right) {
        return;
    }
    detail::BlendMemo memo;
    for (int y = std::max(box.top, 0); y < std::min(box.bottom, buffer.height); ++y) {
        Argb* row = buffer.pixels.data() + static_cast<std::size_t>(y) * buffer.width;
        if (AlphaOf(c) == 0xFF) {
            std::fill(row + left, row + right, c);
        } else {
            for (int x = left; x < right; ++x) row[x] = memo.Over(row[x], c, 1.0F);
        }
    }
}

PixelBuffer Crop(const PixelBuffer& src, int x, int y, int w, int h) {
    PixelBuffer out(w, h);
    // Only the part that lies inside src is copied; the rest stays clear.
    const int from = std::max(x, 0);
    const int to = std::min(x + w, src.width);
    if (from >= to) {
        return out;
    }
    for (int row = std::max(y, 0); row < std::min(y + h, src.height); ++row) {
        const Argb* line = src.pixels.data() + static_cast<std::size_t>(row) * src.width;
        std::copy(line + from, line + to,
                  out.pixels.begin() + static_cast<std::ptrdiff_t>(row - y) * w + (from - x));
    }
    return out;
}

void Draw(PixelBuffer& dst, const PixelBuffer& src, int x, int y) {
    for (int row = 0; row < src.height; ++row) {
        for (int col = 0; col < src.width; ++col) {
            if (dst.Contains(x + col, y + row)) {
                dst.At(x + col, y + row) = Over(dst.At(x + col, y + row), src.At(col, row));
            }
        }
    }
}

namespace {

// For each target index along one axis, the source indices it covers and
// the share of the target each contributes (the shares add up to 1).
std::vector<std::vector<std::pair<int, float>>> Spans(int from, int to) {
    std::vector<std::vector<std::pair<int, float>>> spans(static_cast<std::size_t>(to));
    const double scale = static_cast<double>(from) / to;
    for (int i = 0; i < to; ++i) {
        const double begin = i * scale;
        const double end = (i + 1) * scale;
        for (int s = static_cast<int>(std::floor(begin)); s < from && s < end; ++s) {
            const double cover = std::min<double>(end, s + 1) - std::max<double>(begin, s);
            if (cover > 0)
                spans[static_cast<std::size_t>(i)].emplace_back(s,
                                                                static_cast<float>(cover / scale));
        }
    }
    return spans;
}

}  // namespace

PixelBuffer Resample(const PixelBuffer& src, int width, int height) {
    if (width == src.width && height == src.height)
        return src;
    PixelBuffer out(std::max(width, 0), std::max(height, 0));
    if (src.width <= 0 || src.height <= 0 || out.width == 0 || out.height == 0)
        return out;
    const auto columns = Spans(src.width, out.width);
    const auto rows = Spans(src.height, out.height);
    for (int y = 0; y < out.height; ++y) {
        for (int x = 0; x < out.width; ++x) {
            float a = 0, r = 0, g = 0, b = 0;
            for (const auto& [sy, wy] : rows[static_cast<std::size_t>(y)]) {
                for (const auto& [sx, wx] : columns[static_cast<std::size_t>(x)]) {
                    const Argb c = src.At(sx, sy);
                    const float w = wx * wy * Channel(c, 24);
                    a += w;
                    r += w * Channel(c, 16);
                    g += w * Channel(c, 8);
                    b += w * Channel(c, 0);
                }
            }
            out.At(x, y) = a <= 0.0F
                               ? Argb{}
                               : MakeArgb(ToByte(a), ToByte(r / a), ToByte(g / a), ToByte(b / a));
        }
    }
    return out;
}

}  // namespace vellumar::artwork
