#pragma once

#include "ui/list_box.h"
#include "win32/control_view.h"

namespace tapster::win32 {

class ListBoxView : public ControlView {
  public:
    ListBoxView(ui::ListBox& list, HWND parent, int id);

  private:
    void mirror(ui::Change change) override;
    ui::ListBox& list_;
};

}  // namespace tapster::win32
