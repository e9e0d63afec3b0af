#pragma once

#include <optional>
#include <string>

#include "model/captured_title.h"
#include "platform/desktop.h"

namespace tapster {

// Reads other programs' windows for a capture: the window under the pointer, whether it is
// a button, what it says, and the window that holds it.
class WindowInspector {
  public:
    // Every text and class name is read into a buffer of 100 characters.
    static constexpr std::size_t kReadBuffer = 100;

    struct Control {
        platform::WindowHandle window = 0;
        std::string text;
        int control_id = 0;
        bool is_button = false;
    };
    struct Holder {
        CapturedTitle title;
        std::string window_class;
    };

    explicit WindowInspector(platform::Desktop& desktop) : desktop_(desktop) {}

    // The window under the pointer when it is not the one read last; the last one is kept
    // from one capture to the next.
    std::optional<Control> read_new_window_under_pointer();
    // The identifier under which the control's own window holds it, or 0.
    int found_control_id(platform::WindowHandle control);
    // The window that holds the control, its title recorded as record_title does and its
    // class trimmed of surrounding spaces; none at top level.
    std::optional<Holder> read_holder(platform::WindowHandle control);

  private:
    platform::Desktop& desktop_;
    platform::WindowHandle last_read_ = 0;
};

}  // namespace tapster
