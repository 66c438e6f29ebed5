#pragma once
// Display scale: twips per pixel is 1440 / dpi (15 at the standard 96 dpi).

namespace vellumar {

constexpr int kTwipsPerInch = 1440;
constexpr int kStandardDpi = 96;

}  // namespace vellumar
