#include "engine/push_cycle.h"

#include <charconv>
#include <vector>

#include "targets/target_string.h"

namespace tapster {

std::optional<std::int32_t> parse_control_id(std::string_view text) {
    text = trim_spaces(text);
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
        if (text.empty() || text.front() == '-') {
            return std::nullopt;
        }
    }
    std::int32_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc{} || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

void PushCycle::tick() {
    windows_.start_tick();
    // The count is read before every entry: entries may come and go while the forced click
    // lets other events run.
    for (int index = 0; index < list_.count(); ++index) {
        if (list_.checked(index)) {
            // A copy: while waiting for another program's answer, Windows may run a message
            // sent to Tapster that changes the list.
            entry_.assign(list_.text(index));
            push(entry_);
        }
    }
}

void PushCycle::push(std::string_view target) {
    // The fields are views into the copied entry; nothing reads them after the forced
    // click's yield, in which another tick may reuse the copy.
    split_target_string(target, fields_);
    const std::vector<std::string_view>& fields = fields_;
    if (fields.size() <= kParentClass) {
        return;
    }
    const platform::WindowHandle window = windows_.find(fields[kParentClass], fields[kParentTitle]);
    if (window == 0 || fields.size() <= kFoundControlId) {
        return;
    }
    const std::optional<std::int32_t> found_id = parse_control_id(fields[kFoundControlId]);
    if (!found_id) {
        return;
    }

    // The identifier the capture found comes first; the button's own identifier is the
    // fallback when that control is missing or has no text.
    std::int32_t pressed_id = *found_id;
    std::string text = control_text(window, *found_id);
    if (text.empty()) {
        const std::optional<std::int32_t> own_id =
            fields.size() > kControlId ? parse_control_id(fields[kControlId]) : std::nullopt;
        if (!own_id) {
            return;
        }
        pressed_id = *own_id;
        text = control_text(window, *own_id);
    }

    if (!desktop_.equal_ignoring_case(text, fields[kButtonText])) {
        return;
    }
    desktop_.send_command(window, pressed_id);
    if (fields.size() > kForceFlag && is_force_flag(fields[kForceFlag])) {
        forced_click();
    }
}

std::string PushCycle::control_text(platform::WindowHandle window, std::int32_t control_id) {
    return std::string(trim_spaces(desktop_.control_text(window, control_id, kTextBufferChars)));
}

void PushCycle::forced_click() {
    // The bottom-right corner of the primary screen, whatever its size.
    const platform::Size screen = desktop_.primary_screen_size();
    mouse_.MoveCursor(screen.width - 1, screen.height - 1);
    event_loop_.yield();
    mouse_.LeftClick();
}

}  // namespace tapster
