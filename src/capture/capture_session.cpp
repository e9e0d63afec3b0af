#include "capture/capture_session.h"

#include <string>

#include "model/target.h"

namespace tapster {

CaptureSession::CaptureSession(Controls controls, WaitNotice& wait_notice,
                               platform::Desktop& desktop,
                               platform::AccessibleButtons& accessible_buttons)
    : controls_(controls), wait_notice_(wait_notice), inspector_(desktop, accessible_buttons) {
    for (ui::TextBox* field : controls_.fields.completing()) {
        field->changed.connect([this] { check_completion(); });
    }
}

void CaptureSession::on_check_mark_pressed(const ui::MouseArgs& /*args*/) {
    state_ = State::armed;
    ++questions_;
    controls_.window.set_mouse_pointer(ui::MousePointer::move);
    forget_fields();
    set_fields_enabled(false);
}

void CaptureSession::forget_fields() {
    for (ui::TextBox* field : controls_.fields.completing()) {
        field->set_text("");
    }
    controls_.fields.captured_title = {};
    controls_.fields.conditions = {};
}

void CaptureSession::on_check_mark_released(const ui::MouseArgs& /*args*/) {
    end();
}

void CaptureSession::end() {
    state_ = State::idle;
    ++questions_;
    controls_.window.set_mouse_pointer(ui::MousePointer::arrow);
    set_fields_enabled(true);
}

void CaptureSession::set_fields_enabled(bool enabled) {
    for (ui::TextBox* field : controls_.fields.completing()) {
        field->set_enabled(enabled);
    }
}

void CaptureSession::check_completion() {
    for (const ui::TextBox* field : controls_.fields.completing()) {
        if (field->text().empty()) {
            return;
        }
    }
    end();
}

void CaptureSession::on_inspect_tick() {
    if (!armed()) {
        return;
    }
    wait_notice_.start();
    controls_.lower_list.set_visible(false);
    controls_.lower_short_list.set_visible(false);

    const auto control = inspector_.read_new_window_under_pointer();
    // A classic button is read from its window first: the standard controls do not all show
    // themselves to screen readers as push buttons.
    if (!inspector_.over_button()) {
        ask_for_drawn_button();
        return;
    }
    if (!control) {
        return;
    }
    if (control->is_button) {
        ++questions_;  // a drawn button's late answer must not overwrite this one
        write_button(*control, inspector_.found_control_id(control->window));
        check_completion();
    }
    // Filling the fields above may have completed the capture, which then ends.
    const auto holder = inspector_.read_holder(control->window);
    if (holder && control->is_button && armed()) {
        write_holder(*holder);
    }
}

void CaptureSession::write_button(const WindowInspector::Control& control, int found_id) {
    ui::CaptureFields& fields = controls_.fields;
    fields.control_id.set_text(std::to_string(control.control_id));
    fields.found_id.set_text(std::to_string(found_id));
    fields.button_text.set_text(control.text);
}

void CaptureSession::write_holder(const WindowInspector::Holder& holder) {
    ui::CaptureFields& fields = controls_.fields;
    fields.captured_title = holder.title;
    fields.conditions = holder.conditions;
    fields.title.set_text(holder.title.recorded);
    fields.window_class.set_text(holder.window_class);
}

void CaptureSession::record_chosen(const WindowInspector::ClassicButton& button) {
    ++questions_;
    forget_fields();
    write_button(button.control, button.found_id);
    write_holder(button.holder);
}

void CaptureSession::record_chosen(const WindowInspector::DrawnButton& button) {
    ++questions_;
    forget_fields();
    record_drawn_button(button);
}

void CaptureSession::ask_for_drawn_button() {
    const unsigned question = ++questions_;
    inspector_.ask_drawn_button_under_pointer(
        [this, question](const std::optional<WindowInspector::DrawnButton>& button) {
            // The release, a new capture or a later question may have come meanwhile.
            if (button && armed() && question == questions_) {
                record_drawn_button(*button);
            }
        });
}

void CaptureSession::record_drawn_button(const WindowInspector::DrawnButton& button) {
    ui::CaptureFields& fields = controls_.fields;
    fields.control_id.set_text(std::string(kAccessibleMarker));
    fields.found_id.set_text(std::string(kAccessibleMarker));
    fields.button_text.set_text(button.name);
    write_holder(button.holder);
}

}  // namespace tapster
