#pragma once

#include <windows.h>

#include <commctrl.h>

#include "ui/check_list_box.h"
#include "win32/control_view.h"
#include "win32/window_procedure.h"

namespace tapster::win32 {

// The check-box list as a one-column virtual list view with check boxes: the list view
// holds only the number of entries and asks for each shown entry's text and check mark, so
// a list of tens of thousands appears at once. The list view's selection is the highlighted
// entry; a check mark changes only through this class, on a click on its box or the space
// bar.
class CheckListView : public ControlView, private SubclassProcedure {
  public:
    CheckListView(ui::CheckListBox& list, HWND parent, int id);
    void apply_style(const ViewStyle& style) override;
    LRESULT on_notify(const NMHDR& header) override;

  private:
    LRESULT on_subclassed_message(HWND window, UINT message, WPARAM wparam, LPARAM lparam) override;
    void mirror(ui::Change change) override;
    // Tells the list view how many entries there are, when it holds another number.
    void sync_count();
    void show_entry(NMLVDISPINFOW& request) const;
    int find_entry(const NMLVFINDITEMW& request) const;
    bool toggle_at(LPARAM point);
    void toggle(int index);
    void fit_column();

    ui::CheckListBox& list_;
    bool mirroring_ = false;  // our own changes raise LVN_ITEMCHANGED too
    bool count_posted_ = false;
};

}  // namespace tapster::win32
