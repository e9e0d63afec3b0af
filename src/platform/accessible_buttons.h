#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/desktop.h"

namespace tapster::platform {

// Buttons that programs draw themselves, reached through what they show screen readers. Every
// call into another program is bounded in time: a program that does not answer costs at most
// a deadline, and while it hangs every further call about the same button is skipped.
class AccessibleButtons {
  public:
    struct Found {
        WindowHandle window = 0;  // the top-level window that holds the button
        std::string name;         // its accessible name, UTF-8
    };
    enum class Press {
        pressed,    // the button's default action was done
        not_found,  // no enabled push button of that name, or it refused the action
        refused,    // the program runs with higher rights and takes no request of ours
        no_answer,  // the program did not answer in time, or is still stuck in an earlier call
    };

    virtual ~AccessibleButtons() = default;

    // The push button at a point of the screen; nothing when the element there is none or the
    // program does not answer in time.
    virtual std::optional<Found> button_at(Point screen_point) = 0;
    // Does the default action of the first push button, depth first through the window's
    // accessible tree, whose name is `name` (surrounding spaces aside) and that is not
    // unavailable.
    virtual Press press(WindowHandle window, std::string_view name) = 0;
};

}  // namespace tapster::platform
