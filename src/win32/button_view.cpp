#include "win32/button_view.h"

namespace tapster::win32 {

ButtonView::ButtonView(ui::Button& button, HWND parent, int id)
    : ControlView(button), button_(button) {
    create(L"BUTTON", button.caption(), WS_TABSTOP | BS_PUSHBUTTON, 0, parent, id);
}

void ButtonView::on_command(int notification) {
    if (notification == BN_CLICKED) {
        button_.user_click();
    }
}

void ButtonView::mirror(ui::Change change) {
    if (change == ui::Change::text) {
        set_window_text(hwnd(), button_.caption());
    }
}

}  // namespace tapster::win32
