#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "model/captured_title.h"
#include "model/window_message.h"
#include "platform/accessible_buttons.h"
#include "platform/desktop.h"

namespace tapster {

// Reads other programs' windows for a capture: the window under the pointer, whether it is
// a button, what it says, and the window that holds it; or, where the window under the
// pointer is no button, the button that its program draws there itself.
class WindowInspector {
  public:
    // Every text and class name is read into a buffer of 100 characters.
    static constexpr std::size_t kReadBuffer = 100;
    // Each static text of a message, into one of this many.
    static constexpr std::size_t kMessageBuffer = 4096;

    struct Control {
        platform::WindowHandle window = 0;
        std::string text;
        int control_id = 0;
        bool is_button = false;
    };
    struct Holder {
        CapturedTitle title;
        std::string window_class;
        CapturedConditions conditions;
    };
    // A button without a window of its own, known by its accessible name.
    struct DrawnButton {
        std::string name;
        Holder holder;  // the top-level window
    };

    // A classic button with everything a capture records of it.
    struct ClassicButton {
        Control control;
        int found_id = 0;
        Holder holder;
    };

    WindowInspector(platform::Desktop& desktop, platform::AccessibleButtons& accessible_buttons)
        : desktop_(desktop), accessible_buttons_(accessible_buttons) {}

    // The window under the pointer when it is not the one read last; the last one is kept
    // from one capture to the next.
    std::optional<Control> read_new_window_under_pointer();
    // The identifier under which the control's own window holds it, or 0.
    int found_control_id(platform::WindowHandle control);
    // The window that holds the control, its title recorded as record_title does and its
    // class trimmed of surrounding spaces; none at top level.
    std::optional<Holder> read_holder(platform::WindowHandle control);

    // The window as a possible button: its text, identifier and whether its class names one.
    Control read_control(platform::WindowHandle window);
    // The title, class and program of a top-level window; a classic box's message as well.
    Holder read_holder_window(platform::WindowHandle window);
    // A drawn button of a top-level window, its message made of the static texts the window
    // shows screen readers.
    DrawnButton read_drawn_button(platform::WindowHandle window, std::string name,
                                  const std::vector<std::string>& static_texts);

    // Whether the window under the pointer, as last read, is a button with a window of its own.
    bool over_button() const { return last_read_is_button_; }
    // The drawn push button under the pointer, asked anew each time; the other program
    // answers later, when it does.
    void ask_drawn_button_under_pointer(std::function<void(std::optional<DrawnButton>)> answered);

  private:
    Holder read_window(platform::WindowHandle window);

    platform::Desktop& desktop_;
    platform::AccessibleButtons& accessible_buttons_;
    platform::WindowHandle last_read_ = 0;
    bool last_read_is_button_ = false;
};

}  // namespace tapster
