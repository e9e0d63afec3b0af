#include "targets/target_checks.h"

#include <string_view>
#include <utility>

#include "model/window_message.h"

namespace tapster {

namespace {

std::string field_mark_refusal(std::string_view name, TargetForm form) {
    return "The " + std::string(name) +
           " contains \"****\", which separates the parts of a stored target, so this target "
           "would never be pressed. Remove it from the field and press " +
           (form == TargetForm::dialog ? "OK" : "Add It") + " again.";
}

}  // namespace

std::optional<std::string> why_target_refused(const TargetItem& item, TargetForm form) {
    if (item.parent_title.empty() && item.parent_class.empty() && item.button_text.empty()) {
        return "You can not add a blank item, first drag the check mark to a button u want pushed "
               "or clicked";
    }
    const std::pair<const std::string*, const char*> named[] = {
        {&item.parent_title, "title"},
        {&item.parent_class, "class"},
        {&item.button_text, "button text"},
        {&item.found_control_id, "found id"},
        {&item.control_id, "id"}};
    for (const auto& [field, name] : named) {
        if (field->find(kFieldMark) != std::string::npos) {
            return field_mark_refusal(name, form);
        }
    }
    for (const auto& [condition, name] :
         {std::pair{&item.program, "program"}, std::pair{&item.message, "message"}}) {
        if (form == TargetForm::capture_fields) {
            if (auto reason = why_condition_unusable(*condition, name); reason) {
                return reason;
            }
        } else if (condition->find(kFieldMark) != std::string::npos) {
            return field_mark_refusal(name, form);
        } else if (*condition != trim_spaces(*condition)) {
            return "The " + std::string(name) +
                   " begins or ends with spaces, which a stored target can not keep, so this "
                   "target would never be pressed. Put * where the spaces are and press OK "
                   "again.";
        }
    }
    return std::nullopt;
}

}  // namespace tapster
