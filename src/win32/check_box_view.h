#pragma once

#include "ui/check_box.h"
#include "win32/control_view.h"

namespace tapster::win32 {

class CheckBoxView : public ControlView {
  public:
    CheckBoxView(ui::CheckBox& check_box, HWND parent, int id);
    void on_command(int notification) override;

  private:
    void mirror(ui::Change change) override;
    ui::CheckBox& check_box_;
};

}  // namespace tapster::win32
