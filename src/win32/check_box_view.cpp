#include "win32/check_box_view.h"

namespace tapster::win32 {

CheckBoxView::CheckBoxView(ui::CheckBox& check_box, HWND parent, int id)
    : ControlView(check_box), check_box_(check_box) {
    create(L"BUTTON", check_box.caption(), WS_TABSTOP | BS_AUTOCHECKBOX, 0, parent, id);
}

void CheckBoxView::on_command(int notification) {
    const bool shown = SendMessageW(hwnd(), BM_GETCHECK, 0, 0) == BST_CHECKED;
    if (notification == BN_CLICKED && shown != check_box_.checked()) {
        check_box_.user_toggle();
    }
}

void CheckBoxView::mirror(ui::Change change) {
    if (change == ui::Change::checked) {
        SendMessageW(hwnd(), BM_SETCHECK, check_box_.checked() ? BST_CHECKED : BST_UNCHECKED, 0);
    } else if (change == ui::Change::text) {
        set_window_text(hwnd(), check_box_.caption());
    }
}

}  // namespace tapster::win32
