#pragma once

#include <string>

#include "model/captions.h"
#include "platform/message_boxes.h"

namespace tapster::ui {

// Tells the user something in Tapster's own message box: the application's title and a
// single OK button.
inline void tell_user(platform::MessageBoxes& message_boxes, const std::string& text) {
    message_boxes.show(text, std::string(kMessageTitle), platform::MessageBoxStyle::ok);
}

}  // namespace tapster::ui
