#pragma once
// A picture kept as runs of equal colour along each row. Pictures of flat
// colour and gradients in bands (the main window's skin) have a handful of
// runs per row, a small fraction of the memory of their pixels. The picture
// keeps no copy of the pixels: a painter decodes the part of a row it needs
// into its own buffer each time.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "controls/pixel_buffer.h"

namespace vellumar {

class RunLengthPicture {
  public:
    RunLengthPicture() = default;
    explicit RunLengthPicture(const PixelBuffer& pixels);

    int Width() const { return width_; }
    int Height() const { return height_; }
    std::size_t RunCount() const { return runs_.size(); }

    // Whether pixels x0 .. x0 + count - 1 of row y lie inside the picture.
    bool HoldsRange(int y, int x0, int count) const {
        return y >= 0 && y < height_ && x0 >= 0 && count >= 0 && count <= width_ - x0;
    }

    // Calls fill(colour, length) for the runs that cover pixels x0 .. x0 +
    // count - 1 of row y, left to right, cut to that range: the lengths add
    // up to count. Does nothing and returns false for a range outside the
    // picture.
    template <typename Fill>
    bool ForEachRun(int y, int x0, int count, Fill&& fill) const {
        if (!HoldsRange(y, x0, count))
            return false;
        const auto row_end = runs_.begin() + row_first_run_[static_cast<std::size_t>(y) + 1];
        // The first run of the row that ends after x0.
        auto run = std::upper_bound(runs_.begin() + row_first_run_[static_cast<std::size_t>(y)],
                                    row_end, x0, [](int x, const Run& r) { return x < r.end_x; });
        const int stop = x0 + count;
        for (int x = x0; x < stop; ++run) {
            const int end = std::min(run->end_x, stop);
            fill(run->colour, end - x);
            x = end;
        }
        return true;
    }

    // Writes pixels x0 .. x0 + count - 1 of row y to `out`, which has room
    // for count pixels; writes nothing and returns false for a range outside
    // the picture.
    bool DecodeRow(int y, int x0, int count, Argb* out) const;

  private:
    struct Run {
        std::int32_t end_x;  // one past the run's last pixel
        Argb colour;
    };
    int width_ = 0;
    int height_ = 0;
    // Row y's runs are runs_[row_first_run_[y]] up to runs_[row_first_run_[y + 1]].
    std::vector<std::uint32_t> row_first_run_;
    std::vector<Run> runs_;
};

}  // namespace vellumar
