#include "win32/list_box_view.h"

#include "win32/wide_string.h"

namespace tapster::win32 {

ListBoxView::ListBoxView(ui::ListBox& list, HWND parent, int id) : ControlView(list), list_(list) {
    create(L"LISTBOX", "", WS_TABSTOP | WS_VSCROLL | LBS_NOINTEGRALHEIGHT | LBS_NOTIFY,
           WS_EX_CLIENTEDGE, parent, id);
}

void ListBoxView::mirror(ui::Change change) {
    if (change != ui::Change::entries) {
        return;
    }
    // These lists are short diagnostics: showing them anew is simpler than tracking edits.
    SendMessageW(hwnd(), WM_SETREDRAW, FALSE, 0);
    SendMessageW(hwnd(), LB_RESETCONTENT, 0, 0);
    for (int index = 0; index < list_.count(); ++index) {
        SendMessageW(hwnd(), LB_ADDSTRING, 0,
                     reinterpret_cast<LPARAM>(to_wide(list_.text(index)).c_str()));
    }
    SendMessageW(hwnd(), WM_SETREDRAW, TRUE, 0);
    InvalidateRect(hwnd(), nullptr, TRUE);
}

}  // namespace tapster::win32
