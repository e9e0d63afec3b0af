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
    Opened opened{entry.text, 0, content.fields};
    for (int before = 0; before < index; ++before) {
        opened.repeat += targets_.at(before).text == entry.text ? 1 : 0;
    }
    dialog_.show(
        content,
        [](const platform::TargetFields& fields) {
            return describe_target(parse_target(to_target_string(item_of(fields))));
        },
        [this, opened](platform::TargetFields now) {
            // The identifiers come from the recording, never from the dialog.
            now.found_id = opened.fields.found_id;
            now.control_id = opened.fields.control_id;
            return accept(opened, now);
        });
}

int TargetEditing::position_of(const Opened& opened) const {
    int repeat = 0;
    for (int index = 0; index < targets_.count(); ++index) {
        if (targets_.at(index).text == opened.text && repeat++ == opened.repeat) {
            return index;
        }
    }
    return TargetList::kNone;
}

std::optional<std::string> TargetEditing::accept(const Opened& opened,
                                                 const platform::TargetFields& now) {
    const int index = position_of(opened);
    if (index == TargetList::kNone) {
        return "This target was changed or removed while this window was open (by another copy "
               "of Tapster, or in the settings file). Nothing was changed: press Cancel and open "
               "the target again.";
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
    if (!same_target(opened.fields, now)) {
        stored_.replace(index, to_target_string(item_of(now)));
    } else {
        stored_.save();
    }
    return std::nullopt;
}

}  // namespace tapster
