#pragma once

#include "app/controls/captioned.h"
#include "platform/win32/control_view.h"
#include "platform/win32/scoped_handles.h"

namespace tapster::win32 {

// A frame is a real container window: its children are placed relative to it and hidden
// with it. It passes its children's notifications on to the main window, and paints its own
// background, over which its transparent labels are drawn.
class FrameView : public ControlView {
  public:
    FrameView(ui::Frame& frame, HWND parent, int id);
    void apply_style(const ViewStyle& style) override;

  private:
    static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
    void mirror(ui::Change change) override;

    ui::Frame& frame_;
    HWND group_box_ = nullptr;
    ScopedBrush background_;
};

}  // namespace tapster::win32
