#pragma once

#include <string>

#include "platform/message_boxes.h"
#include "platform/status.h"
#include "ui/tell_user.h"

namespace tapster::ui {

// Tells the user once per run that a setting could not be saved: a store that cannot be
// written stays so, and the user needs to hear it once, not at every click.
class SaveFailureNotice {
  public:
    explicit SaveFailureNotice(platform::MessageBoxes& message_boxes)
        : message_boxes_(message_boxes) {}

    void report(const platform::Status& status) {
        if (!status.failed() || reported_) {
            return;
        }
        reported_ = true;
        tell_user(message_boxes_,
                  "Tapster could not save its settings.\r\n\r\n" + status.message());
    }

  private:
    platform::MessageBoxes& message_boxes_;
    bool reported_ = false;
};

}  // namespace tapster::ui
