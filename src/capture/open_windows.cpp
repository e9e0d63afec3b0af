#include "capture/open_windows.h"

#include <algorithm>
#include <utility>

#include "model/target_string.h"

namespace tapster {

namespace {

// At most `most` characters of UTF-8 text, never cutting one in two.
std::string start_of(const std::string& text, std::size_t most) {
    std::size_t characters = 0;
    for (std::size_t byte = 0; byte < text.size(); ++byte) {
        const auto unit = static_cast<unsigned char>(text[byte]);
        if ((unit & 0xC0U) != 0x80U && characters++ == most) {
            return text.substr(0, byte) + "...";
        }
    }
    return text;
}

std::string count_of_windows(std::size_t count) {
    return std::to_string(count) + (count == 1 ? " window" : " windows");
}

}  // namespace

OpenWindows::OpenWindows(platform::Desktop& desktop, platform::TopLevelWindows& top_level_windows,
                         platform::AccessibleButtons& accessible_buttons, CaptureSession& capture)
    : desktop_(desktop),
      top_level_windows_(top_level_windows),
      accessible_buttons_(accessible_buttons),
      capture_(capture),
      inspector_(desktop, accessible_buttons) {}

void OpenWindows::refresh() {
    windows_.clear();
    waiting_.clear();
    asking_.clear();
    unanswered_ = 0;
    closed_title_.clear();
    std::vector<platform::WindowHandle> handles;
    top_level_windows_.list(handles);
    for (std::size_t place = 0; place < handles.size(); ++place) {
        const platform::WindowHandle handle = handles[place];
        if (!top_level_windows_.visible(handle) || top_level_windows_.ours(handle) ||
            trim_spaces(desktop_.window_text(handle, WindowInspector::kReadBuffer)).empty()) {
            continue;
        }
        std::vector<Button> buttons = classic_buttons(handle);
        if (buttons.empty()) {
            waiting_.push_back({handle, place, 0});
            continue;
        }
        const WindowInspector::Holder holder = inspector_.read_holder_window(handle);
        add({handle,
             holder.title.recorded,
             holder.conditions.program,
             holder.conditions.message,
             std::move(buttons),
             {},
             place});
    }
    ask_more();
    changed();
}

std::vector<OpenWindows::Button> OpenWindows::classic_buttons(platform::WindowHandle window) {
    std::vector<Button> buttons;
    for (const platform::WindowHandle child : desktop_.visible_children(window)) {
        const WindowInspector::Control control = inspector_.read_control(child);
        if (control.is_button) {
            buttons.push_back({control.text, child});
        }
    }
    return buttons;
}

void OpenWindows::ask_more() {
    while (asking_.size() < kAskedAtOnce && !waiting_.empty()) {
        const Question question = waiting_.front();
        waiting_.erase(waiting_.begin());
        asking_.push_back(question);
        accessible_buttons_.ask_buttons_of(
            question.handle,
            [this, handle = question.handle](
                const std::optional<platform::AccessibleButtons::WindowButtons>& answer) {
                answered(handle, answer);
            });
    }
}

void OpenWindows::answered(
    platform::WindowHandle handle,
    const std::optional<platform::AccessibleButtons::WindowButtons>& answer) {
    // The answer to a question of an earlier list answers the window's question now out: while
    // the earlier one runs, the workers skip the new one. Any later answer finds none.
    const auto question = std::ranges::find(asking_, handle, &Question::handle);
    if (question == asking_.end()) {
        return;
    }
    const std::size_t place = question->place;
    asking_.erase(question);
    if (!answer) {
        ++unanswered_;
    } else if (!gone(handle)) {
        std::vector<Button> buttons;
        for (const std::string& name : answer->names) {
            // A button without a name leaves its capture incomplete.
            if (!trim_spaces(name).empty()) {
                buttons.push_back({name, 0});
            }
        }
        if (!buttons.empty()) {
            const WindowInspector::Holder holder =
                inspector_.read_drawn_button(handle, {}, answer->static_texts).holder;
            add({handle, holder.title.recorded, holder.conditions.program,
                 holder.conditions.message, std::move(buttons), answer->static_texts, place});
        }
    }
    ask_more();
    changed();
}

void OpenWindows::add(Window window) {
    const auto after = std::ranges::upper_bound(windows_, window.place, {}, &Window::place);
    windows_.insert(after, std::move(window));
}

void OpenWindows::tick() {
    const std::size_t before = asking_.size();
    for (Question& question : asking_) {
        ++question.ticks;
    }
    std::erase_if(asking_,
                  [](const Question& question) { return question.ticks >= kTicksToAnswer; });
    if (asking_.size() != before) {
        unanswered_ += static_cast<int>(before - asking_.size());
        ask_more();
        changed();
    }
}

std::string OpenWindows::status() const {
    std::vector<std::string> sentences;
    if (const std::size_t asked = asking_.size() + waiting_.size(); asked > 0) {
        sentences.push_back("Asking " + count_of_windows(asked) + " for the buttons they draw...");
    } else if (windows_.empty()) {
        sentences.emplace_back("No open window has a button.");
    }
    if (!closed_title_.empty()) {
        sentences.push_back("\"" + closed_title_ + "\" has closed and is left out.");
    }
    if (unanswered_ > 0) {
        sentences.push_back(count_of_windows(static_cast<std::size_t>(unanswered_)) +
                            (unanswered_ == 1 ? " does" : " do") + " not answer and " +
                            (unanswered_ == 1 ? "is" : "are") + " left out.");
    }
    std::string status;
    for (const std::string& sentence : sentences) {
        status += (status.empty() ? "" : " ") + sentence;
    }
    return status;
}

std::vector<std::string> OpenWindows::window_lines() const {
    std::vector<std::string> lines;
    for (const Window& window : windows_) {
        lines.push_back(describe(window));
    }
    return lines;
}

std::optional<std::vector<std::string>> OpenWindows::buttons_of(std::size_t window) {
    if (!still_open(window)) {
        return std::nullopt;
    }
    std::vector<std::string> texts;
    for (const Button& button : windows_[window].buttons) {
        texts.push_back(button.text);
    }
    return texts;
}

void OpenWindows::changed() const {
    // A copy: what runs may replace it.
    if (const std::function<void()> changed = changed_) {
        changed();
    }
}

std::string OpenWindows::describe(const Window& window) {
    std::string line = window.title;
    for (const std::string& part : {window.program, start_of(window.message, kMessageStart)}) {
        if (!part.empty()) {
            line += " - " + part;
        }
    }
    return line;
}

bool OpenWindows::gone(platform::WindowHandle window) {
    // Every window has a class; a handle that names none is closed.
    return desktop_.class_name(window, WindowInspector::kReadBuffer).empty();
}

void OpenWindows::leave_out(std::size_t window) {
    closed_title_ = windows_[window].title;
    windows_.erase(windows_.begin() + static_cast<std::ptrdiff_t>(window));
    changed();
}

bool OpenWindows::still_open(std::size_t window) {
    if (window >= windows_.size()) {
        return false;
    }
    if (gone(windows_[window].handle)) {
        leave_out(window);
        return false;
    }
    return true;
}

bool OpenWindows::record(std::size_t window, std::size_t button) {
    if (!still_open(window) || button >= windows_[window].buttons.size()) {
        return false;
    }
    const Window& listed = windows_[window];
    const Button& chosen = listed.buttons[button];
    if (chosen.control == 0) {
        capture_.record_chosen(
            inspector_.read_drawn_button(listed.handle, chosen.text, listed.static_texts));
        return true;
    }
    // The button may have closed with its window's contents changing, as a wizard's page does.
    if (desktop_.parent(chosen.control) != listed.handle || gone(chosen.control)) {
        leave_out(window);
        return false;
    }
    WindowInspector::ClassicButton read{inspector_.read_control(chosen.control),
                                        inspector_.found_control_id(chosen.control),
                                        inspector_.read_holder_window(listed.handle)};
    capture_.record_chosen(read);
    return true;
}

}  // namespace tapster
