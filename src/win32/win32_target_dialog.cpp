#include "win32/win32_target_dialog.h"

#include <utility>

#include "win32/target_dialog_layout.h"

namespace tapster::win32 {

namespace {

struct TextField {
    int id;
    std::string platform::TargetFields::*field;
};
constexpr TextField kTargetTextFields[] = {
    {kTargetTitle, &platform::TargetFields::title},
    {kTargetClass, &platform::TargetFields::window_class},
    {kTargetButton, &platform::TargetFields::button_text},
    {kTargetProgram, &platform::TargetFields::program},
    {kTargetMessage, &platform::TargetFields::message},
    {kTargetFoundId, &platform::TargetFields::found_id},
    {kTargetControlId, &platform::TargetFields::control_id},
};

}  // namespace

void Win32TargetDialog::show(const platform::TargetDialogContent& content, Describe describe,
                             Accept accept) {
    // One at a time: a dialog still open shows the new entry instead.
    close();
    content_ = content;
    describe_ = std::move(describe);
    accept_ = std::move(accept);
    open(owner_, target_dialog_layout(content_.read_only_reason.has_value()),
         "the target's dialog");
}

void Win32TargetDialog::on_init() {
    filling_ = true;
    for (const TextField& text : kTargetTextFields) {
        set_item_text(text.id, content_.fields.*text.field);
    }
    set_item_checked(kTargetForced, content_.fields.forced);
    set_item_checked(kTargetEnabled, content_.fields.enabled);
    if (content_.read_only_reason) {
        set_item_text(kTargetReadOnlyNote, *content_.read_only_reason);
    }
    filling_ = false;
    describe_shown();
}

platform::TargetFields Win32TargetDialog::shown_fields() const {
    platform::TargetFields fields;
    for (const TextField& text : kTargetTextFields) {
        fields.*text.field = item_text(text.id);
    }
    fields.forced = item_checked(kTargetForced);
    fields.enabled = item_checked(kTargetEnabled);
    return fields;
}

void Win32TargetDialog::describe_shown() {
    if (describe_) {
        set_item_text(kTargetDescription, describe_(shown_fields()));
    }
}

void Win32TargetDialog::on_command(int id, int notification) {
    if (id == IDOK) {
        on_ok();
        return;
    }
    const bool edited =
        notification == EN_CHANGE ||
        (notification == BN_CLICKED && (id == kTargetForced || id == kTargetEnabled));
    if (edited && !filling_) {
        describe_shown();
        return;
    }
    ModelessDialog::on_command(id, notification);
}

void Win32TargetDialog::on_ok() {
    if (content_.read_only_reason || !accept_) {
        close();
        return;
    }
    if (const std::optional<std::string> refused = accept_(shown_fields())) {
        tell(*refused);
        return;
    }
    close();
}

}  // namespace tapster::win32
