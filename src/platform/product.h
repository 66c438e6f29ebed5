#pragma once
// Who the program is: its name (window title, tray tip, settings folder,
// message boxes) and its version, each defined once.

#include <string_view>

#include "platform/version.h"

namespace vellumar {

inline constexpr std::string_view kProgramName = VELLUMAR_PROGRAM_NAME;
inline constexpr std::string_view kVersionText = "v" VELLUMAR_VERSION_TEXT;

}  // namespace vellumar
