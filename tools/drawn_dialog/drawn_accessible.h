#pragma once

// What the drawn dialog shows screen readers: its client area as one IAccessible object whose
// buttons are simple elements (child ids from 1), or, nested, a grouping object between them;
// its text, when it has one to show, a static text element after them.

#include <windows.h>

#include <oleacc.h>

#include <string>
#include <vector>

namespace drawn {

struct Button {
    std::wstring name;
    RECT rect{};  // client coordinates
    bool disabled = false;
};

// The dialog as its accessible objects see it. They live on the dialog's thread.
struct Dialog {
    HWND window = nullptr;
    std::vector<Button> buttons;
    bool nested = false;
    std::wstring text;  // shown to screen readers when not empty
    RECT text_rect{};
    RECT group_rect{};
    DWORD hang_in_call_ms = 0;  // once, in the first call that asks for children
    bool hung_in_call = false;
};

// A message the window gets when a button's default action is done: wParam is its number.
constexpr UINT kPressMessage = WM_APP + 1;

// Makes the client-area object; the caller owns the one reference it returns.
IAccessible* make_client_object(Dialog& dialog);

}  // namespace drawn
