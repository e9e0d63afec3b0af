#pragma once

#include <windows.h>

namespace tapster::win32 {

// The buttons held during a mouse message, as the form's handlers number them: left 1,
// right 2, middle 4.
inline int mouse_buttons(WPARAM wparam) {
    return ((wparam & MK_LBUTTON) != 0 ? 1 : 0) | ((wparam & MK_RBUTTON) != 0 ? 2 : 0) |
           ((wparam & MK_MBUTTON) != 0 ? 4 : 0);
}

// The keys held: Shift 1, Ctrl 2, Alt 4.
inline int shift_keys(WPARAM wparam) {
    return ((wparam & MK_SHIFT) != 0 ? 1 : 0) | ((wparam & MK_CONTROL) != 0 ? 2 : 0) |
           (GetKeyState(VK_MENU) < 0 ? 4 : 0);
}

}  // namespace tapster::win32
