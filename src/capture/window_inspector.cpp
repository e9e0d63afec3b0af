#include "capture/window_inspector.h"

#include <algorithm>
#include <cctype>
#include <utility>

#include "capture/control_id_search.h"
#include "model/target_string.h"

namespace tapster {

namespace {

bool names_a_button(std::string class_name) {
    std::transform(class_name.begin(), class_name.end(), class_name.begin(),
                   [](unsigned char character) { return std::tolower(character); });
    return class_name.find("button") != std::string::npos;
}

}  // namespace

std::optional<WindowInspector::Control> WindowInspector::read_new_window_under_pointer() {
    const platform::WindowHandle window = desktop_.window_at(desktop_.cursor_position());
    if (window == last_read_) {
        return std::nullopt;
    }
    last_read_ = window;
    Control control = read_control(window);
    last_read_is_button_ = control.is_button;
    return control;
}

WindowInspector::Control WindowInspector::read_control(platform::WindowHandle window) {
    Control control;
    control.window = window;
    control.text = desktop_.window_text(window, kReadBuffer);
    control.control_id = desktop_.control_id(window);
    control.is_button =
        names_a_button(std::string(trim_spaces(desktop_.class_name(window, kReadBuffer))));
    return control;
}

int WindowInspector::found_control_id(platform::WindowHandle control) {
    return find_control_id(desktop_, control);
}

std::optional<WindowInspector::Holder> WindowInspector::read_holder(
    platform::WindowHandle control) {
    const platform::WindowHandle holder = desktop_.parent(control);
    if (holder == 0) {
        return std::nullopt;
    }
    return read_holder_window(holder);
}

void WindowInspector::ask_drawn_button_under_pointer(
    std::function<void(std::optional<DrawnButton>)> answered) {
    accessible_buttons_.ask_button_at(
        desktop_.cursor_position(), [this, answered = std::move(answered)](
                                        std::optional<platform::AccessibleButtons::Found> found) {
            if (!found || found->window == 0) {
                answered(std::nullopt);
            } else {
                answered(read_drawn_button(found->window, found->name, found->static_texts));
            }
        });
}

WindowInspector::DrawnButton WindowInspector::read_drawn_button(
    platform::WindowHandle window, std::string name, const std::vector<std::string>& static_texts) {
    DrawnButton button{std::move(name), read_window(window)};
    button.holder.conditions.message = joined_message(static_texts);
    return button;
}

WindowInspector::Holder WindowInspector::read_holder_window(platform::WindowHandle window) {
    Holder read = read_window(window);
    // A message that could not be read whole is none.
    read.conditions.message = joined_message(
        desktop_.static_texts(window, kMessageBuffer).value_or(std::vector<std::string>{}));
    return read;
}

WindowInspector::Holder WindowInspector::read_window(platform::WindowHandle window) {
    Holder read;
    read.conditions.program = desktop_.program_of(window);
    read.title = record_title(desktop_.window_text(window, kReadBuffer), kReadBuffer);
    read.window_class = trim_spaces(desktop_.class_name(window, kReadBuffer));
    return read;
}

}  // namespace tapster
