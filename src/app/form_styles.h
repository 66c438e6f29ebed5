#pragma once
// Fonts and colours shared by the main window's pages.

#include <string>
#include <utility>

#include "controls/controls.h"

namespace vellumar::form_styles {

inline constexpr ColorRef kDarkGrey = Rgb(64, 64, 64);
inline constexpr ColorRef kOrange = Rgb(255, 128, 0);
inline constexpr ColorRef kGrey = Rgb(128, 128, 128);
inline constexpr ColorRef kWhite = Rgb(255, 255, 255);
inline constexpr ColorRef kRed = Rgb(255, 0, 0);
inline constexpr ColorRef kGreen = Rgb(0, 128, 0);
inline constexpr ColorRef kFrameGrey = Rgb(224, 224, 224);

inline TextStyle Font(std::string face, double points, bool bold = false,
                      ColorRef color = Rgb(0, 0, 0)) {
    TextStyle style;
    style.face = std::move(face);
    style.points = points;
    style.bold = bold;
    style.color = color;
    return style;
}

inline TextStyle WithColor(TextStyle style, ColorRef color) {
    style.color = color;
    return style;
}

// The window's default font.
inline const TextStyle kWindowFont = Font("Verdana", 7.5);
// The Setting and About pages.
inline const TextStyle kPageFont = Font("Verdana", 9);
// The State, Process, CPU and Memory pages.
inline const TextStyle kSimSunFont = Font("SimSun", 9);
// Page headings ("The first way", "Log:", ...).
inline const TextStyle kHeadingFont = Font("Verdana", 9, true, kOrange);

}  // namespace vellumar::form_styles
