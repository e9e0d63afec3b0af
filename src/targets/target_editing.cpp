#include "targets/target_editing.h"

#include <string_view>
#include <utility>
#include <vector>

#include "model/target_description.h"
#include "model/target_string.h"
#include "targets/target_checks.h"
#include "ui/tell_user.h"

namespace tapster {

namespace {

TargetItem item_of(const platform::TargetFields& fields) {
    return {fields.title,      fields.window_class, fields.button_text, fields.found_id,
            fields.control_id, fields.forced,       fields.program,     fields.message};
}

// Whether two sets of fields make the same target, the check mark aside.
bool same_target(platform::TargetFields first, const platform::TargetFields& second) {
    first.enabled = second.enabled;
    return first == second;
}

}  // namespace

platform::TargetFields target_fields(const TargetList::Entry& entry) {
    std::vector<std::string_view> pieces;
    split_target_string(entry.text, pieces);
    const TargetConditions conditions = take_conditions(pieces);
    const auto piece = [&pieces](std::size_t field) {
        return field < pieces.size() ? std::string(pieces[field]) : std::string();
    };
    platform::TargetFields fields{piece(kParentTitle),
                                  piece(kParentClass),
                                  piece(kButtonText),
                                  std::string(conditions.program),
                                  std::string(conditions.message),
                                  piece(kFoundControlId),
                                  piece(kControlId)};
    fields.forced = pieces.size() > kForceFlag && is_force_flag(pieces[kForceFlag]);
    fields.enabled = entry.checked;
    return fields;
}

TargetEditing::TargetEditing(ui::CheckListBox& target_list, TargetList& targets,
                             StoredTargets& stored, platform::TargetDialog& dialog,
                             platform::MessageBoxes& message_boxes)
    : target_list_(target_list),
      targets_(targets),
      stored_(stored),
      dialog_(dialog),
      message_boxes_(message_boxes) {}

void TargetEditing::on_properties_chosen() {
    const int highlighted = target_list_.highlighted();
    if (highlighted == ui::CheckListBox::kNone) {
        ui::tell_user(message_boxes_,
                      "Please highlight and then right click on the item you would like to see or "
                      "change");
        return;
    }
    open(highlighted);
}

void TargetEditing::open(int index) {
    const TargetList::Entry& entry = targets_.at(index);
    platform::TargetDialogContent content{target_fields(entry), std::nullopt};
    if (entry.managed) {
        content.read_only_reason =
            "Your administrator set this target, so you can see it here but not change it.";
    }
    const std::string text_then = entry.text;
    const platform::TargetFields then = content.fields;
    dialog_.show(
        content,
        [](const platform::TargetFields& fields) {
            return describe_target(parse_target(to_target_string(item_of(fields))));
        },
        [this, index, text_then, then](platform::TargetFields now) {
            // The identifiers come from the recording, never from the dialog.
            now.found_id = then.found_id;
            now.control_id = then.control_id;
            return accept(index, text_then, then, now);
        });
}

std::optional<std::string> TargetEditing::accept(int index, const std::string& text_then,
                                                 const platform::TargetFields& then,
                                                 const platform::TargetFields& now) {
    // Another copy of Tapster, the settings file or a policy may have changed the list while
    // the dialog was open.
    if (index >= targets_.count() || targets_.at(index).text != text_then) {
        return "The list changed while this window was open, and this target is no longer "
               "where it was. Nothing was changed: press Cancel and open the target again.";
    }
    if (targets_.at(index).managed) {
        return "Your administrator set this target, so it can not be changed.";
    }
    if (auto reason = why_target_refused(item_of(now), TargetForm::dialog); reason) {
        return reason;
    }
    targets_.set_checked(index, now.enabled);
    // An entry whose fields stay as they were keeps its text to the letter, however it was
    // written (by hand, say, with fewer pieces).
    if (!same_target(then, now)) {
        stored_.replace(index, to_target_string(item_of(now)));
    } else {
        stored_.save();
    }
    return std::nullopt;
}

}  // namespace tapster
