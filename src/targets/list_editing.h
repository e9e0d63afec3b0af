#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "model/target_list.h"
#include "platform/message_boxes.h"
#include "targets/stored_targets.h"
#include "ui/capture_fields.h"
#include "ui/check_box.h"
#include "ui/check_list_box.h"
#include "ui/menu_entry.h"
#include "ui/mouse.h"

namespace tapster {

// What the user does with the target list: add a capture, look at an entry, check it,
// remove it. The check-box list on screen mirrors the target list; every action that changes
// it ends with a save, which stores only this copy's own changes, merged into what the file
// holds (see StoredTargets). An entry an administrator set shows it in its text and can be
// neither removed nor unchecked.
class ListEditing {
  public:
    // Leads the text of an administrator's entry on screen, where the list never cuts it off
    // as it does the end of a long entry; the entry's own text stays as set.
    static constexpr std::string_view kManagedMark = "Set by your administrator: ";
    struct Controls {
        ui::CaptureFields fields;
        ui::CheckBox& force_click_box;
        ui::CheckListBox& target_list;
        ui::MenuEntry& list_menu;
    };

    ListEditing(Controls controls, TargetList& targets, StoredTargets& stored,
                platform::MessageBoxes& message_boxes);

    void on_add_clicked();
    void on_remove_clicked();
    void on_list_mouse_down(const ui::MouseArgs& args);
    void on_remove_chosen();
    void on_list_clicked();

  private:
    void mirror(const TargetList::Change& change);
    void on_user_checked(int index, bool checked);
    void refuse_managed_change();

    Controls controls_;
    TargetList& targets_;
    StoredTargets& stored_;
    platform::MessageBoxes& message_boxes_;
};

}  // namespace tapster
