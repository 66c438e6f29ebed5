#include "platform/text.h"

namespace vellumar {

std::string CutAtNul(std::string_view text) {
    const auto nul = text.find('\0');
    if (nul != std::string_view::npos)
        text = text.substr(0, nul);
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return {};
    const auto last = text.find_last_not_of(' ');
    return std::string(text.substr(first, last - first + 1));
}

bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (AsciiLower(a[i]) != AsciiLower(b[i]))
            return false;
    }
    return true;
}

bool StartsWithIgnoringAsciiCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() &&
           EqualsIgnoringAsciiCase(text.substr(0, prefix.size()), prefix);
}

namespace {

// Blocks where capital and small letter alternate, the capital first on
// an even (or, where `capital_odd`, an odd) code point.
struct AlternatingBlock {
    char32_t first;
    char32_t last;
    bool capital_odd;
};
constexpr AlternatingBlock kAlternating[] = {
    {0x0100, 0x012F, false}, {0x0132, 0x0137, false}, {0x0139, 0x0148, true},
    {0x014A, 0x0177, false}, {0x0179, 0x017E, true},  {0x0460, 0x0481, false},
    {0x048A, 0x04BF, false}, {0x04C1, 0x04CE, true},  {0x04D0, 0x052F, false},
};

// Blocks of capitals whose small letters lie a fixed distance above them.
struct ShiftedBlock {
    char32_t first;
    char32_t last;
    char32_t offset;
};
constexpr ShiftedBlock kShifted[] = {
    {U'A', U'Z', 0x20},     {0x00C0, 0x00D6, 0x20}, {0x00D8, 0x00DE, 0x20}, {0x0388, 0x038A, 0x25},
    {0x038E, 0x038F, 0x3F}, {0x0391, 0x03A1, 0x20}, {0x03A3, 0x03AB, 0x20}, {0x0400, 0x040F, 0x50},
    {0x0410, 0x042F, 0x20}, {0x0531, 0x0556, 0x30}, {0xFF21, 0xFF3A, 0x20},
};

}  // namespace

char32_t LowerCase(char32_t c) {
    for (const ShiftedBlock& block : kShifted) {
        if (c >= block.first && c <= block.last)
            return c + block.offset;
    }
    for (const AlternatingBlock& block : kAlternating) {
        if (c >= block.first && c <= block.last)
            return ((c % 2 == 1) == block.capital_odd) ? c + 1 : c;
    }
    switch (c) {
        case 0x0130:  // capital I with dot above
            return U'i';
        case 0x0178:  // capital Y with diaeresis
            return 0x00FF;
        case 0x0386:  // capital alpha with tonos
            return 0x03AC;
        case 0x038C:  // capital omicron with tonos
            return 0x03CC;
        case 0x04C0:  // palochka
            return 0x04CF;
        default:
            return c;
    }
}

}  // namespace vellumar
