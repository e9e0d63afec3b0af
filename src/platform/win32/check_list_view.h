#pragma once

#include "app/controls/check_list_box.h"
#include "platform/win32/control_view.h"
#include "platform/win32/window_procedure.h"

namespace tapster::win32 {

// The check-box list as a one-column list view with check boxes: the check box is the
// entry's check mark, the list view's selection is the highlighted entry.
class CheckListView : public ControlView, private SubclassProcedure {
  public:
    CheckListView(ui::CheckListBox& list, HWND parent, int id);
    void apply_style(const ViewStyle& style) override;
    LRESULT on_notify(const NMHDR& header) override;

  private:
    LRESULT on_subclassed_message(HWND window, UINT message, WPARAM wparam, LPARAM lparam) override;
    void mirror(ui::Change change) override;
    void set_check(int index, bool checked);
    void fit_column();

    ui::CheckListBox& list_;
    bool mirroring_ = false;  // our own changes raise LVN_ITEMCHANGED too
};

}  // namespace tapster::win32
