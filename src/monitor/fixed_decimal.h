#pragma once
// A signed 64-bit fixed-point decimal with four places: the value times
// 10 000 in an integer, so sums and differences of byte counts are exact up
// to 922 337 203 685 477.5807. Every operation that could leave that range
// returns no value instead, and the caller skips the step. Conversions from
// floating point round to the nearest ten-thousandth, halves to even, on the
// exact binary value of the double.

#include <cstdint>
#include <optional>

namespace vellumar {

class FixedDecimal {
  public:
    static constexpr std::int64_t kScale = 10000;

    constexpr FixedDecimal() = default;
    static constexpr FixedDecimal FromRaw(std::int64_t raw) {
        FixedDecimal d;
        d.raw_ = raw;
        return d;
    }
    [[nodiscard]] static std::optional<FixedDecimal> FromInteger(std::int64_t value);
    [[nodiscard]] static std::optional<FixedDecimal> FromUnsigned(std::uint64_t value);
    // Nothing for NaN, infinities and values out of range.
    [[nodiscard]] static std::optional<FixedDecimal> FromDouble(double value);

    [[nodiscard]] constexpr std::int64_t Raw() const { return raw_; }
    [[nodiscard]] double ToDouble() const { return static_cast<double>(raw_) / kScale; }
    // The nearest whole number, halves to even.
    [[nodiscard]] std::int64_t RoundToInteger() const;

    [[nodiscard]] std::optional<FixedDecimal> Plus(FixedDecimal other) const;
    [[nodiscard]] std::optional<FixedDecimal> Minus(FixedDecimal other) const;
    [[nodiscard]] std::optional<FixedDecimal> Times(std::int64_t factor) const;

    friend constexpr bool operator==(FixedDecimal, FixedDecimal) = default;

  private:
    std::int64_t raw_ = 0;
};

}  // namespace vellumar
