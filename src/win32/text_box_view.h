#pragma once

#include "ui/text_box.h"
#include "win32/control_view.h"

namespace tapster::win32 {

class TextBoxView : public ControlView {
  public:
    TextBoxView(ui::TextBox& text_box, HWND parent, int id);
    void on_command(int notification) override;

  private:
    void mirror(ui::Change change) override;
    ui::TextBox& text_box_;
    bool writing_ = false;  // our own SetWindowText also raises EN_CHANGE
};

}  // namespace tapster::win32
