#include "monitor/fixed_decimal.h"

#include <cmath>
#include <limits>

namespace vellumar {

std::optional<FixedDecimal> FixedDecimal::FromInteger(std::int64_t value) {
    std::int64_t raw = 0;
    if (__builtin_mul_overflow(value, kScale, &raw))
        return std::nullopt;
    return FromRaw(raw);
}

std::optional<FixedDecimal> FixedDecimal::FromUnsigned(std::uint64_t value) {
    if (value > static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max()))
        return std::nullopt;
    return FromInteger(static_cast<std::int64_t>(value));
}

std::optional<FixedDecimal> FixedDecimal::FromDouble(double value) {
    // value * 10 000 is rounded once by the multiplication; fma recovers what
    // that rounding lost, so ties and near-ties are decided on the exact value.
    const double scaled = value * static_cast<double>(kScale);
    if (!(std::fabs(scaled) < 9.2233720368547748e18))
        return std::nullopt;
    const double lost = std::fma(value, static_cast<double>(kScale), -scaled);
    double nearest = std::nearbyint(scaled);  // halves to even on `scaled`
    const double fraction = scaled - nearest;
    if (fraction == 0.5 && lost > 0) {
        nearest += 1;
    } else if (fraction == -0.5 && lost < 0) {
        nearest -= 1;
    }
    return FromRaw(static_cast<std::int64_t>(nearest));
}

std::int64_t FixedDecimal::RoundToInteger() const {
    std::int64_t whole = raw_ / kScale;
    const std::int64_t rest = raw_ % kScale;  // same sign as raw_
    const std::int64_t twice = 2 * (rest < 0 ? -rest : rest);
    if (twice > kScale || (twice == kScale && whole % 2 != 0))
        whole += raw_ < 0 ? -1 : 1;
    return whole;
}

std::optional<FixedDecimal> FixedDecimal::Plus(FixedDecimal other) const {
    std::int64_t raw = 0;
    if (__builtin_add_overflow(raw_, other.raw_, &raw))
        return std::nullopt;
    return FromRaw(raw);
}

std::optional<FixedDecimal> FixedDecimal::Minus(FixedDecimal other) const {
    std::int64_t raw = 0;
    if (__builtin_sub_overflow(raw_, other.raw_, &raw))
        return std::nullopt;
    return FromRaw(raw);
}

std::optional<FixedDecimal> FixedDecimal::Times(std::int64_t factor) const {
    std::int64_t raw = 0;
    if (__builtin_mul_overflow(raw_, factor, &raw))
        return std::nullopt;
    return FromRaw(raw);
}

}  // namespace vellumar
