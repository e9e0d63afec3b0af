#include "targets/list_editing.h"

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "model/captions.h"
#include "model/target_string.h"
#include "targets/target_checks.h"
#include "ui/tell_user.h"

namespace tapster {

ListEditing::ListEditing(Controls controls, TargetList& targets, StoredTargets& stored,
                         platform::MessageBoxes& message_boxes)
    : controls_(controls), targets_(targets), stored_(stored), message_boxes_(message_boxes) {
    targets_.observe([this](const TargetList::Change& change) { mirror(change); });
    controls_.target_list.user_checked.connect(
        [this](int index, bool checked) { on_user_checked(index, checked); });
}

void ListEditing::mirror(const TargetList::Change& change) {
    ui::CheckListBox& list = controls_.target_list;
    switch (change.kind) {
        case TargetList::Change::Kind::added: {
            const TargetList::Entry& entry = targets_.at(change.index);
            const std::string shown = shown_target_text(entry.text);
            list.insert(change.index, entry.managed ? std::string(kManagedMark) + shown : shown);
            list.set_checked(change.index, entry.checked);
            break;
        }
        case TargetList::Change::Kind::removed:
            list.remove(change.index);
            break;
        case TargetList::Change::Kind::checked:
            list.set_checked(change.index, targets_.at(change.index).checked);
            break;
        case TargetList::Change::Kind::replaced:
            list.set_text(change.index, shown_target_text(targets_.at(change.index).text));
            break;
    }
}

void ListEditing::on_user_checked(int index, bool checked) {
    if (targets_.at(index).managed && !checked) {
        // The list shows the mark cleared already: it is put back before the user is told.
        controls_.target_list.set_checked(index, true);
        refuse_managed_change();
        return;
    }
    targets_.set_checked(index, checked);
}

void ListEditing::refuse_managed_change() {
    ui::tell_user(message_boxes_,
                  "Your administrator set this target, so Tapster keeps it in the list and presses "
                  "it. You can not remove it or clear its check mark.");
}

void ListEditing::on_add_clicked() {
    const ui::CaptureFields& fields = controls_.fields;
    const TargetItem item{fields.title.text(),       fields.window_class.text(),
                          fields.button_text.text(), fields.found_id.text(),
                          fields.control_id.text(),  controls_.force_click_box.checked(),
                          fields.conditions.program, fields.conditions.message};
    std::optional<std::string> reason = why_target_refused(item, TargetForm::capture_fields);
    if (!reason && fields.captured_title.lost_spaces &&
        fields.title.text() == fields.captured_title.recorded) {
        reason =
            "The window's title begins or ends with spaces, which a stored target can not "
            "keep, so this target would never be pressed. Put * where the spaces are in the "
            "title field and press Add It again.";
    }
    if (reason) {
        ui::tell_user(message_boxes_, *reason);
        return;
    }
    if (targets_.full()) {
        ui::tell_user(message_boxes_, "The list is full: it holds at most " +
                                          std::to_string(TargetList::kMostEntries) +
                                          " targets. Remove one before adding another.");
        return;
    }
    targets_.append(to_target_string(item));
    stored_.save();
}

void ListEditing::on_remove_clicked() {
    message_boxes_.show("Please right click on items you would like to delete", remove_hint_title(),
                        platform::MessageBoxStyle::ok);
    stored_.save();
}

void ListEditing::on_list_mouse_down(const ui::MouseArgs& args) {
    if (args.button == ui::kRightButton) {
        controls_.list_menu.show_popup();
    }
}

void ListEditing::on_remove_chosen() {
    const int highlighted = controls_.target_list.highlighted();
    if (highlighted == ui::CheckListBox::kNone) {
        ui::tell_user(message_boxes_,
                      "Please highlight and then right click on the item you would like to delete");
        return;
    }
    if (targets_.at(highlighted).managed) {
        refuse_managed_change();
        return;
    }
    targets_.remove(highlighted);
    stored_.save();
}

void ListEditing::on_list_clicked() {
    const int highlighted = controls_.target_list.highlighted();
    if (highlighted != ui::CheckListBox::kNone) {
        // The title shown comes from the list now, not from a window's title.
        controls_.fields.captured_title = {};
        // Only the pieces that exist are shown; an entry edited outside the program may
        // have fewer than six. Its conditions stay with the fields, so that adding it again
        // keeps them.
        std::vector<std::string_view> pieces;
        const std::string text = targets_.at(highlighted).text;
        split_target_string(text, pieces);
        const TargetConditions conditions = take_conditions(pieces);
        controls_.fields.conditions = {std::string(conditions.program),
                                       std::string(conditions.message)};
        const ui::CaptureFields& fields = controls_.fields;
        ui::TextBox* const shown[] = {&fields.title, &fields.window_class, &fields.button_text,
                                      &fields.found_id, &fields.control_id};
        for (std::size_t field = 0; field < std::size(shown) && field < pieces.size(); ++field) {
            shown[field]->set_text(std::string(pieces[field]));
        }
        if (pieces.size() > kForceFlag) {
            controls_.force_click_box.set_checked(is_force_flag(pieces[kForceFlag]));
        }
    }
    stored_.save();
}

}  // namespace tapster
