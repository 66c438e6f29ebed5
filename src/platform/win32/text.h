#pragma once
// UTF-8 (the portable code's text) to UTF-16 (the wide Win32 API) and back.

#include <string>
#include <string_view>

namespace vellumar::win32 {

std::wstring Widen(std::string_view utf8);
std::string Narrow(std::wstring_view utf16);

}  // namespace vellumar::win32
