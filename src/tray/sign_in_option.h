#pragma once

#include <string>

#include "platform/message_boxes.h"
#include "platform/sign_in.h"
#include "ui/menu_entry.h"
#include "ui/tell_user.h"

namespace tapster {

// The "Start when I sign in" check entry. The system's own entry is the only record: the
// check mark is read back from it after every change, so it shows what the system will do
// even when the change failed or the installer changed it meanwhile.
class SignInOption {
  public:
    SignInOption(platform::SignIn& sign_in, ui::MenuEntry& entry,
                 platform::MessageBoxes& message_boxes)
        : sign_in_(sign_in), entry_(entry), message_boxes_(message_boxes) {}

    void refresh() { entry_.set_checked(sign_in_.starts_this_program()); }

    void on_chosen() {
        const platform::Status status = sign_in_.set_starts_this_program(!entry_.checked());
        if (status.failed()) {
            ui::tell_user(message_boxes_,
                          "Tapster could not change whether it starts when you sign in."
                          "\r\n\r\n" +
                              status.message());
        }
        refresh();
    }

  private:
    platform::SignIn& sign_in_;
    ui::MenuEntry& entry_;
    platform::MessageBoxes& message_boxes_;
};

}  // namespace tapster
