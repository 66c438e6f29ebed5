#pragma once
// Floating-point figures become integers one way throughout the program:
// to the nearest integer, halves to the even one (2.5 gives 2, 3.5 gives 4).

#include <cstdint>
#include <limits>

namespace vellumar {

// The nearest integer to `value`, halves to even; values beyond the range of
// int32 give its nearest end, and NaN gives 0.
constexpr std::int32_t RoundHalfEven(double value) {
    if (value != value)
        return 0;
    constexpr double kLowest = std::numeric_limits<std::int32_t>::min();
    constexpr double kHighest = std::numeric_limits<std::int32_t>::max();
    if (value <= kLowest)
        return std::numeric_limits<std::int32_t>::min();
    if (value >= kHighest)
        return std::numeric_limits<std::int32_t>::max();
    // Truncation toward zero, then the fraction decides; exact in double for
    // every value inside the int32 range.
    auto whole = static_cast<std::int64_t>(value);
    const double fraction = value - static_cast<double>(whole);
    if (fraction > 0.5 || (fraction == 0.5 && whole % 2 != 0))
        ++whole;
    else if (fraction < -0.5 || (fraction == -0.5 && whole % 2 != 0))
        --whole;
    return static_cast<std::int32_t>(whole);
}

}  // namespace vellumar
