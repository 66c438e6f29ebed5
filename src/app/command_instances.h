#pragma once
// The program's Command buttons: which form holds each, its caption and its
// size at 96 dpi.

#include <span>
#include <string_view>

#include "controls/command_button.h"

namespace vellumar {

[[nodiscard]] std::span<const CommandInstance> ProgramCommandInstances();
// nullptr for a name that is not one of the program's buttons.
[[nodiscard]] const CommandInstance* FindCommandInstance(std::string_view name);

}  // namespace vellumar
