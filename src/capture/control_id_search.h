#pragma once

#include "platform/desktop.h"

namespace tapster {

// The range a recorded "found control id" can come from: identifiers below 50 of windows
// whose handle value is below 67000.
inline constexpr int kSearchedIdentifiers = 50;
inline constexpr platform::WindowHandle kSearchedHandles = 67000;

// The identifier i below 50 for which a window with a handle value from 1 to 66,999 has the
// inspected window as its child with identifier i (as GetDlgItem finds it); 0 when there is
// none. Only the inspected window's own parent can hold it as a child, and only under its
// own identifier, so this asks the parent directly instead of trying every handle.
int find_control_id(platform::Desktop& desktop, platform::WindowHandle inspected);

}  // namespace tapster
