#pragma once

#include <string>
#include <string_view>

namespace tapster::win32 {

// The core speaks UTF-8; Win32 speaks UTF-16. These two are the only conversions, used at
// the boundary. Invalid sequences become U+FFFD rather than failing.
std::wstring to_wide(std::string_view utf8);
std::string to_utf8(std::wstring_view utf16);

}  // namespace tapster::win32
