#pragma once

#include <array>

#include "model/captured_title.h"
#include "ui/text_box.h"

namespace tapster {

// The text boxes a capture fills and "Add It" reads: the recorded window's title and class,
// the button's text, and the two identifiers.
struct CaptureFields {
    ui::TextBox& title;
    ui::TextBox& window_class;
    ui::TextBox& button_text;
    ui::TextBox& found_id;
    ui::TextBox& control_id;
    // What the last capture put into the title field; "Add It" refuses a title that lost
    // spaces while the field still holds it.
    CapturedTitle& captured_title;

    // The four whose being filled completes a capture, and which are locked meanwhile.
    std::array<ui::TextBox*, 4> completing() const {
        return {&title, &window_class, &button_text, &found_id};
    }
};

}  // namespace tapster
