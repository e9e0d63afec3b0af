// The window inspector: while a capture is armed, each tick of Timer1 reads the button under
// the pointer into the capture fields.
#include <algorithm>
#include <cctype>
#include <string>

#include "app/form1.h"
#include "capture/control_id_search.h"
#include "targets/target_string.h"

namespace tapster {

namespace {

// Every text and class name is read into a buffer of 100 characters.
constexpr std::size_t kReadBuffer = 100;

bool names_a_button(std::string class_name) {
    std::transform(class_name.begin(), class_name.end(), class_name.begin(),
                   [](unsigned char character) { return std::tolower(character); });
    return class_name.find("button") != std::string::npos;
}

}  // namespace

void Form1::Timer1_Timer() {
    if (!capture_armed()) {
        return;
    }
    Timer4.set_enabled(true);
    List1.set_visible(false);
    List2.set_visible(false);

    platform::Desktop& desktop = services_.desktop;
    const platform::WindowHandle inspected = desktop.window_at(desktop.cursor_position());
    if (inspected == last_inspected_) {
        return;
    }
    last_inspected_ = inspected;

    const std::string button_text = desktop.window_text(inspected, kReadBuffer);
    const int control_id = desktop.control_id(inspected);
    const bool is_button =
        names_a_button(std::string(trim_spaces(desktop.class_name(inspected, kReadBuffer))));

    if (is_button && capture_armed()) {
        // Let the wait notice, the release and painting run, as a long search would.
        services_.event_loop.yield();
        const int found_id = find_control_id(desktop, inspected);
        Text14.set_text(std::to_string(control_id));
        Text5.set_text(std::to_string(found_id));
        Text4.set_text(button_text);
        request_completion_check();
    }

    const platform::WindowHandle parent = desktop.parent(inspected);
    if (parent == 0) {
        return;
    }
    const std::string parent_title(trim_spaces(desktop.window_text(parent, kReadBuffer)));
    if (is_button && capture_armed()) {
        Text1.set_text(parent_title);
        Text2.set_text(std::string(trim_spaces(desktop.class_name(parent, kReadBuffer))));
    }
}

}  // namespace tapster
