#include "win32/text_box_view.h"

namespace tapster::win32 {

TextBoxView::TextBoxView(ui::TextBox& text_box, HWND parent, int id)
    : ControlView(text_box), text_box_(text_box) {
    create(L"EDIT", text_box.text(), WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE, parent, id);
}

void TextBoxView::on_command(int notification) {
    if (notification == EN_CHANGE && !writing_) {
        text_box_.user_edit(window_text(hwnd()));
    }
}

void TextBoxView::mirror(ui::Change change) {
    if (change == ui::Change::text) {
        writing_ = true;
        set_window_text(hwnd(), text_box_.text());
        writing_ = false;
    }
}

}  // namespace tapster::win32
