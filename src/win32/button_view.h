#pragma once

#include "ui/captioned.h"
#include "win32/control_view.h"

namespace tapster::win32 {

class ButtonView : public ControlView {
  public:
    ButtonView(ui::Button& button, HWND parent, int id);
    void on_command(int notification) override;

  private:
    void mirror(ui::Change change) override;
    ui::Button& button_;
};

}  // namespace tapster::win32
