#include "pressing/push_cycle.h"

#include "model/window_message.h"

namespace tapster {

void PushCycle::tick() {
    run_tick(std::nullopt);
}

void PushCycle::tick_at_once(std::chrono::milliseconds interval) {
    run_tick(interval);
}

void PushCycle::run_tick(std::optional<std::chrono::milliseconds> spared_within) {
    // A tick started inside this one, from a message box's loop, would press the same boxes
    // again, one level deeper on every tick while the box stays open.
    if (ticking_ || paused_) {
        return;
    }
    ticking_ = true;
    struct EndOfTick {
        bool& ticking;
        ~EndOfTick() { ticking = false; }
    } end_of_tick{ticking_};
    windows_.start_tick();
    messages_.clear();
    programs_.clear();
    if (spared_within) {
        const TimePoint since = clock_() - *spared_within;
        std::erase_if(last_presses_, [&](const auto& press) { return press.second <= since; });
    }
    // The count is read before every entry: entries may come and go, and a pause may be
    // chosen, while a message box is open or a message sent to Tapster runs as it waits for
    // another program's answer.
    for (int index = 0; index < targets_.count() && !paused_; ++index) {
        const TargetList::Entry& entry = targets_.at(index);
        if (entry.checked && entry.target.pressable() &&
            !(spared_within && last_presses_.contains(entry.text))) {
            // Looking for the window asks no window anything, so nothing runs meanwhile and
            // the entry is read in place; most entries end there, with no window. A found
            // one is pressed from a copy, for the same reason as the count.
            const platform::WindowHandle window =
                windows_.find(entry.target.window_class, entry.target.title_pattern);
            if (window != 0) {
                push(TargetList::Entry(entry), window);
            }
        }
    }
}

void PushCycle::push(const TargetList::Entry& entry, platform::WindowHandle window) {
    const Target& target = entry.target;
    for (; window != 0;
         window = target.has_conditions()
                      ? windows_.find_below(target.window_class, target.title_pattern, window)
                      : 0) {
        if (!target.program.empty() &&
            !desktop_.equal_ignoring_case(program_of(window), target.program)) {
            continue;
        }
        if (target.accessible) {
            // The message is checked where the tree is read, after the tick.
            ask_accessible(entry, window);
            return;
        }
        const Outcome outcome = push_classic(target, window);
        if (outcome == Outcome::pressed) {
            pressed(entry.text, target);
        }
        if (outcome != Outcome::passed_over) {
            return;
        }
    }
}

const std::string& PushCycle::program_of(platform::WindowHandle window) {
    auto found = programs_.find(window);
    if (found == programs_.end()) {
        found = programs_.emplace(window, desktop_.program_of(window)).first;
    }
    return found->second;
}

const std::optional<std::string>& PushCycle::folded_message(platform::WindowHandle window) {
    auto found = messages_.find(window);
    if (found == messages_.end()) {
        std::optional<std::string> folded;
        if (const auto texts = desktop_.static_texts(window, kMessageBufferChars)) {
            folded = desktop_.fold_case(joined_message(*texts));
        }
        found = messages_.emplace(window, std::move(folded)).first;
    }
    return found->second;
}

void PushCycle::pressed(const std::string& entry_text, const Target& target) {
    last_presses_[entry_text] = clock_();
    if (target.forced) {
        forced_click();
    }
}

PushCycle::Outcome PushCycle::push_classic(const Target& target, platform::WindowHandle window) {
    // The identifier the capture found comes first; the button's own identifier is the
    // fallback when that control is missing or has no text.
    std::int32_t pressed_id = *target.found_control_id;
    std::string text = control_text(window, pressed_id);
    if (refused_by(target)) {
        return Outcome::refused;
    }
    if (text.empty()) {
        if (!target.control_id) {
            return Outcome::passed_over;
        }
        pressed_id = *target.control_id;
        text = control_text(window, pressed_id);
        if (refused_by(target)) {
            return Outcome::refused;
        }
    }
    // The message last: it costs a message to each of the window's texts.
    if (!desktop_.equal_ignoring_case(text, target.button_text)) {
        return Outcome::passed_over;
    }
    if (!target.message.empty()) {
        const std::optional<std::string>& message = folded_message(window);
        if (!message || !target.message_pattern.matches(*message)) {
            return Outcome::passed_over;
        }
    }
    desktop_.send_command(window, pressed_id);
    return refused_by(target) ? Outcome::refused : Outcome::pressed;
}

void PushCycle::ask_accessible(const TargetList::Entry& entry, platform::WindowHandle window) {
    platform::AccessibleButtons::MessageCheck message_check;
    if (!entry.target.message.empty()) {
        // Runs on the worker that reads the tree, with its own copy of the pattern; the
        // desktop folds case on any thread, and lives as long as the program.
        message_check = [pattern = entry.target.message_pattern,
                         &desktop = desktop_](const std::vector<std::string>& static_texts) {
            return pattern.matches(desktop.fold_case(joined_message(static_texts)));
        };
    }
    accessible_buttons_.press(
        window, entry.target.button_text, std::move(message_check),
        [this, text = entry.text,
         target = entry.target](platform::AccessibleButtons::Press answer) {
            if (answer == platform::AccessibleButtons::Press::pressed) {
                pressed(text, target);
            } else if (answer == platform::AccessibleButtons::Press::refused) {
                refused.raise(target);
            }
        });
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
    mouse_.click_at(screen.width - 1, screen.height - 1);
}

}  // namespace tapster
