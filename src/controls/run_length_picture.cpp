#include "controls/run_length_picture.h"

namespace vellumar {

RunLengthPicture::RunLengthPicture(const PixelBuffer& pixels)
    : width_(pixels.width > 0 && pixels.height > 0 ? pixels.width : 0),
      height_(width_ > 0 ? pixels.height : 0) {
    row_first_run_.reserve(static_cast<std::size_t>(height_) + 1);
    for (int y = 0; y < height_; ++y) {
        row_first_run_.push_back(static_cast<std::uint32_t>(runs_.size()));
        for (int x = 0; x < width_;) {
            const Argb colour = pixels.At(x, y);
            int end = x + 1;
            while (end < width_ && pixels.At(end, y) == colour) ++end;
            runs_.push_back(Run{end, colour});
            x = end;
        }
    }
    row_first_run_.push_back(static_cast<std::uint32_t>(runs_.size()));
    runs_.shrink_to_fit();
}

bool RunLengthPicture::DecodeRow(int y, int x0, int count, Argb* out) const {
    return ForEachRun(y, x0, count,
                      [&out](Argb colour, int length) { out = std::fill_n(out, length, colour); });
}

}  // namespace vellumar
