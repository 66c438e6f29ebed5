#pragma once
// Small text helpers shared by every subsystem.

#include <string>
#include <string_view>

namespace vellumar {

// The text before its first NUL with surrounding spaces removed, or the whole
// text trimmed when it holds no NUL. Turns the fixed-length buffers that
// platform calls fill into plain text.
std::string CutAtNul(std::string_view text);

}  // namespace vellumar
