#include "pressing/push_cycle.h"

namespace tapster {

void PushCycle::tick() {
    run_tick(std::nullopt);
}

void PushCycle::tick_at_once(std::chrono::milliseconds interval) {
    run_tick(interval);
}

void PushCycle::run_tick(std::optional<std::chrono::milliseconds> spared_within) {
    // The forced click's yield lets the next timer message in; a tick started there would
    // nest inside this one, one level more on every tick while a forced box stays open.
    if (ticking_ || paused_) {
        return;
    }
    ticking_ = true;
    struct EndOfTick {
        bool& ticking;
        ~EndOfTick() { ticking = false; }
    } end_of_tick{ticking_};
    windows_.start_tick();
    if (spared_within) {
        const TimePoint since = clock_() - *spared_within;
        std::erase_if(last_presses_, [&](const auto& press) { return press.second <= since; });
    }
    // The count is read before every entry: entries may come and go, and a pause may be
    // chosen, while the forced click lets other events run.
    for (int index = 0; index < targets_.count() && !paused_; ++index) {
        const TargetList::Entry& entry = targets_.at(index);
        if (entry.checked && entry.target.pressable() &&
            !(spared_within && last_presses_.contains(entry.text))) {
            // A copy: while waiting for another program's answer, Windows may run a message
            // sent to Tapster that changes the list.
            const TargetList::Entry pushed = entry;
            if (push(pushed.target)) {
                last_presses_[pushed.text] = clock_();
            }
        }
    }
}

bool PushCycle::push(const Target& target) {
    const platform::WindowHandle window = windows_.find(target.window_class, target.title_pattern);
    if (window == 0) {
        return false;
    }
    if (target.accessible) {
        return push_accessible(target, window);
    }
    // The identifier the capture found comes first; the button's own identifier is the
    // fallback when that control is missing or has no text.
    std::int32_t pressed_id = *target.found_control_id;
    std::string text = control_text(window, pressed_id);
    if (refused_by(target)) {
        return false;
    }
    if (text.empty()) {
        if (!target.control_id) {
            return false;
        }
        pressed_id = *target.control_id;
        text = control_text(window, pressed_id);
        if (refused_by(target)) {
            return false;
        }
    }
    if (!desktop_.equal_ignoring_case(text, target.button_text)) {
        return false;
    }
    desktop_.send_command(window, pressed_id);
    if (refused_by(target)) {
        return false;
    }
    if (target.forced) {
        forced_click();
    }
    return true;
}

bool PushCycle::push_accessible(const Target& target, platform::WindowHandle window) {
    // Runs other events while the program answers, as the forced click's yield does.
    switch (accessible_buttons_.press(window, target.button_text)) {
        case platform::AccessibleButtons::Press::pressed:
            if (target.forced) {
                forced_click();
            }
            return true;
        case platform::AccessibleButtons::Press::refused:
            refused.raise(target);
            return false;
        case platform::AccessibleButtons::Press::not_found:
        case platform::AccessibleButtons::Press::no_answer:
            return false;
    }
    return false;
}

std::string PushCycle::control_text(platform::WindowHandle window, std::int32_t control_id) {
    std::string text = desktop_.control_text(window, control_id, kTextBufferChars);
    // Without the spaces around it, as the button's text was recorded; a text of spaces
    // alone is empty (npos + 1 is 0).
    text.erase(text.find_last_not_of(' ') + 1);
    text.erase(0, text.find_first_not_of(' '));
    return text;
}

bool PushCycle::refused_by(const Target& target) {
    if (!desktop_.last_message_refused()) {
        return false;
    }
    refused.raise(target);
    return true;
}

void PushCycle::forced_click() {
    // The bottom-right corner of the primary screen, whatever its size.
    const platform::Size screen = desktop_.primary_screen_size();
    mouse_.move_cursor(screen.width - 1, screen.height - 1);
    event_loop_.yield();
    mouse_.left_click();
}

}  // namespace tapster
