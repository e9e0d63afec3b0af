#pragma once

#include "ui/captioned.h"
#include "win32/control_view.h"
#include "win32/scoped_handles.h"

namespace tapster::win32 {

class LabelView : public ControlView {
  public:
    LabelView(ui::Label& label, HWND parent, int id);
    void apply_style(const ViewStyle& style) override;

  private:
    void mirror(ui::Change change) override;
    ui::Label& label_;
    ScopedFont own_font_;  // only for a label with a font of its own
};

}  // namespace tapster::win32
