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
        if (push_classic(entry, window) != Outcome::passed_over) {
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

void PushCycle::pressed(const TargetList::Entry& entry, const Seen& seen) {
    last_presses_[entry.text] = clock_();
    if (entry.target.forced) {
        forced_click();
    }
    report(entry, seen, false);
}

PushCycle::Seen PushCycle::seen(const TargetList::Entry& entry, platform::WindowHandle window) {
    if (sink_ == nullptr || !sink_->keeping()) {
        return {};
    }
    Seen seen{desktop_.window_title(window, kTitleChars), program_of(window)};
    if (seen.title.empty()) {
        seen.title = entry.target.title;
    }
    return seen;
}

void PushCycle::report(const TargetList::Entry& entry, const Seen& seen, bool refused) {
    if (sink_ == nullptr || !sink_->keeping()) {
        return;
    }
    PressReport press;
    press.entry = entry.text;
    press.title = seen.title.empty() ? entry.target.title : seen.title;
    press.button = entry.target.button_text;
    press.program = seen.program;
    press.drawn = entry.target.accessible;
    press.forced = entry.target.forced;
    press.refused = refused;
    press.managed = entry.managed;
    sink_->report(std::move(press));
}

PushCycle::Outcome PushCycle::push_classic(const TargetList::Entry& entry,
                                           platform::WindowHandle window) {
    const Target& target = entry.target;
    // The identifier the capture found comes first; the button's own identifier is the
    // fallback when that control is missing or has no text.
    std::int32_t pressed_id = *target.found_control_id;
    std::string text = control_text(window, pressed_id);
    if (refused_by(entry, window)) {
        return Outcome::refused;
    }
    if (text.empty()) {
        if (!target.control_id) {
            return Outcome::passed_over;
        }
        pressed_id = *target.control_id;
        text = control_text(window, pressed_id);
        if (refused_by(entry, window)) {
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
    // Read before the command: the box may be gone once it has been pressed.
    const Seen before = seen(entry, window);
    desktop_.send_command(window, pressed_id);
    if (refused_by(entry, window, &before)) {
        return Outcome::refused;
    }
    pressed(entry, before);
    return Outcome::pressed;
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
        [this, entry,
         window_seen = seen(entry, window)](platform::AccessibleButtons::Press answer) {
            if (answer == platform::AccessibleButtons::Press::pressed) {
                pressed(entry, window_seen);
            } else if (answer == platform::AccessibleButtons::Press::refused) {
                refused.raise(entry.target);
                report(entry, window_seen, true);
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

bool PushCycle::refused_by(const TargetList::Entry& entry, platform::WindowHandle window,
                           const Seen* seen_before) {
    if (!desktop_.last_message_refused()) {
        return false;
    }
    report(entry, seen_before != nullptr ? *seen_before : seen(entry, window), true);
    refused.raise(entry.target);
    return true;
}

void PushCycle::forced_click() {
    // The bottom-right corner of the primary screen, whatever its size.
    const platform::Size screen = desktop_.primary_screen_size();
    mouse_.click_at(screen.width - 1, screen.height - 1);
}

}  // namespace tapster
