#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/desktop.h"

namespace tapster::platform {

// Buttons that programs draw themselves, reached through what they show screen readers. A
// question to another program returns at once; its answer comes later, on the GUI thread,
// after the handler that asked has returned. A program that hangs never answers, and while it
// hangs every further question about the same button is skipped: it gets no answer either.
class AccessibleButtons {
  public:
    struct Found {
        WindowHandle window = 0;  // the top-level window that holds the button
        std::string name;         // its accessible name, UTF-8
        // The names of the static texts of that window's tree, in the order of the search.
        std::vector<std::string> static_texts = {};
    };
    // What a window shows screen readers: the names of its push buttons, each name once, and
    // the names of its static texts, both in the order of the search.
    struct WindowButtons {
        std::vector<std::string> names;
        std::vector<std::string> static_texts;
    };
    // Whether a window says what a target waits for, given the names of the static texts of
    // its tree in the order of the search. It runs where the tree is read, on any thread.
    using MessageCheck = std::function<bool(const std::vector<std::string>& static_texts)>;
    enum class Press {
        pressed,    // the button's default action was done
        not_found,  // no enabled push button of that name, or it refused the action
        refused,    // the program runs with higher rights and takes no request of ours
        no_answer,  // the window did not hand out its accessible object in time
    };

    virtual ~AccessibleButtons() = default;

    // The push button at a point of the screen; nothing when the element there is none.
    virtual void ask_button_at(Point screen_point,
                               std::function<void(std::optional<Found>)> answered) = 0;
    // The push buttons of a top-level window; nothing when it does not hand out its accessible
    // object in time.
    virtual void ask_buttons_of(WindowHandle window,
                                std::function<void(std::optional<WindowButtons>)> answered) = 0;
    // Does the default action of the first push button, depth first through the window's
    // accessible tree, whose name is `name` (surrounding spaces aside) and that is not
    // unavailable. With a message check, only when the window's static texts pass it.
    virtual void press(WindowHandle window, std::string_view name, MessageCheck message_check,
                       std::function<void(Press)> answered) = 0;
};

}  // namespace tapster::platform
