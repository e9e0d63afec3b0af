#pragma once

#include "ui/picture_box.h"
#include "win32/control_view.h"
#include "win32/scoped_handles.h"
#include "win32/window_procedure.h"

namespace tapster::win32 {

// A sunken box that draws the check-mark icon at the display's icon size and reports the
// mouse pressed and released over it.
class PictureView : public ControlView, private WindowProcedure {
  public:
    PictureView(ui::PictureBox& picture, HWND parent, int id);
    void apply_style(const ViewStyle& style) override;

  private:
    LRESULT on_message(HWND window, UINT message, WPARAM wparam, LPARAM lparam) override;
    ui::MouseArgs mouse_args(WPARAM wparam, LPARAM lparam, int button) const;

    ui::PictureBox& picture_;
    ScopedIcon icon_;
    int icon_size_ = 32;
    bool held_ = false;  // a mouse button went down here and has not come up
};

}  // namespace tapster::win32
