#pragma once

#include "ui/captioned.h"
#include "win32/control_view.h"
#include "win32/scoped_handles.h"
#include "win32/window_procedure.h"

namespace tapster::win32 {

// A frame is a real container window: its children are placed relative to it and hidden
// with it. It passes its children's notifications on to the main window, and paints its own
// background, over which its transparent labels are drawn.
class FrameView : public ControlView, private WindowProcedure {
  public:
    FrameView(ui::Frame& frame, HWND parent, int id);
    void apply_style(const ViewStyle& style) override;

  private:
    LRESULT on_message(HWND window, UINT message, WPARAM wparam, LPARAM lparam) override;
    void mirror(ui::Change change) override;

    ui::Frame& frame_;
    HWND group_box_ = nullptr;
    ScopedBrush background_;
};

}  // namespace tapster::win32
