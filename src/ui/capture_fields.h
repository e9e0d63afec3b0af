#pragma once

#include <array>

#include "model/captured_title.h"
#include "model/window_message.h"
#include "ui/text_box.h"

namespace tapster::ui {

// The text boxes a capture fills and "Add It" reads: the recorded window's title and class,
// the button's text, and the two identifiers.
struct CaptureFields {
    TextBox& title;
    TextBox& window_class;
    TextBox& button_text;
    TextBox& found_id;
    TextBox& control_id;
    // What the last capture put into the title field; "Add It" refuses a title that lost
    // spaces while the field still holds it.
    CapturedTitle& captured_title;
    // The program and message of the window the fields came from, which "Add It" stores.
    CapturedConditions& conditions;

    // The four whose being filled completes a capture, and which are locked meanwhile.
    std::array<TextBox*, 4> completing() const {
        return {&title, &window_class, &button_text, &found_id};
    }
};

}  // namespace tapster::ui
