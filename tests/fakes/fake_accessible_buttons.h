#pragma once

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "model/target_string.h"
#include "platform/accessible_buttons.h"

namespace tapster::fakes {

// Programs that draw their buttons themselves: the push buttons each window shows screen
// readers, the one under the cursor, and a journal of the presses.
class FakeAccessibleButtons : public platform::AccessibleButtons {
  public:
    struct Button {
        std::string name;
        bool enabled = true;
    };

    // Each window's push buttons, in the order a search meets them.
    std::map<platform::WindowHandle, std::vector<Button>> windows;
    std::optional<Found> under_cursor;
    // Every press of a window answered so, instead of by its buttons.
    std::optional<Press> answer;
    // Runs inside every call, as other events run while the other program answers.
    std::function<void()> while_answering;

    std::vector<std::string> presses;  // "press <window> <name>"
    int point_queries = 0;

    std::optional<Found> button_at(platform::Point /*screen_point*/) override {
        ++point_queries;
        run_events();
        return under_cursor;
    }
    Press press(platform::WindowHandle window, std::string_view name) override {
        run_events();
        if (answer) {
            return *answer;
        }
        for (const Button& button : windows[window]) {
            if (button.enabled && trim_spaces(button.name) == trim_spaces(name)) {
                presses.push_back("press " + std::to_string(window) + " " + std::string(name));
                return Press::pressed;
            }
        }
        return Press::not_found;
    }

  private:
    void run_events() {
        if (while_answering) {
            while_answering();
        }
    }
};

}  // namespace tapster::fakes
