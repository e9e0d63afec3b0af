#pragma once

#include <windows.h>

#include <map>
#include <memory>
#include <vector>

#include "ui/control.h"
#include "win32/control_view.h"

namespace tapster::win32 {

// The real child windows of the main window's controls: one view per control, made at its
// designed place inside its container, found again by identifier or window, and walked in
// the keyboard's order.
class ControlViews {
  public:
    // Makes a view for every control that has a window; frames become the parents of the
    // controls they contain.
    void create(const std::vector<ui::Control*>& controls, HWND main_window);
    void clear();

    void apply_style(const ViewStyle& style);
    ControlView* by_id(int id) const;
    ControlView* by_window(HWND window) const;
    // Moves the focus to the next (or previous) visible, enabled control in this order.
    void move_focus(const std::vector<ui::Control*>& order, bool backwards) const;

  private:
    std::vector<std::unique_ptr<ControlView>> views_;
    std::map<int, ControlView*> by_id_;
};

}  // namespace tapster::win32
