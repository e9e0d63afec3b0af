#pragma once

#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "fakes/fake_platform.h"
#include "model/target_string.h"
#include "platform/accessible_buttons.h"

namespace tapster::fakes {

// Programs that draw their buttons themselves: the push buttons each window shows screen
// readers, the one under the cursor, and a journal of the presses. A press happens when it is
// asked for; its answer waits in `replies` until the test lets it come.
class FakeAccessibleButtons : public platform::AccessibleButtons {
  public:
    struct Button {
        std::string name;
        bool enabled = true;
    };
    // What each window's static texts say.
    std::map<platform::WindowHandle, std::vector<std::string>> static_texts;

    // Each window's push buttons, in the order a search meets them.
    std::map<platform::WindowHandle, std::vector<Button>> windows;
    std::optional<Found> under_cursor;
    // Every press of a window answered so, instead of by its buttons.
    std::optional<Press> answer;
    FakeDispatcher replies;

    std::vector<std::string> presses;  // "press <window> <name>"
    int point_queries = 0;

    void ask_button_at(platform::Point /*screen_point*/,
                       std::function<void(std::optional<Found>)> answered) override {
        ++point_queries;
        replies.post([answered = std::move(answered), found = under_cursor] { answered(found); });
    }
    // Windows that hang: asked for their buttons, they never answer.
    std::set<platform::WindowHandle> hung;
    std::vector<platform::WindowHandle> asked_for_buttons;
    void ask_buttons_of(platform::WindowHandle window,
                        std::function<void(std::optional<WindowButtons>)> answered) override {
        asked_for_buttons.push_back(window);
        if (hung.contains(window)) {
            return;
        }
        WindowButtons buttons{{}, static_texts[window]};
        for (const Button& button : windows[window]) {
            buttons.names.push_back(button.name);
        }
        replies.post([answered = std::move(answered), buttons] { answered(buttons); });
    }
    void press(platform::WindowHandle window, std::string_view name, MessageCheck message_check,
               std::function<void(Press)> answered) override {
        const Press result = message_check && !message_check(static_texts[window])
                                 ? Press::not_found
                                 : pressed(window, name);
        replies.post([answered = std::move(answered), result] { answered(result); });
    }

  private:
    Press pressed(platform::WindowHandle window, std::string_view name) {
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
};

}  // namespace tapster::fakes
