#pragma once

#include "platform/message_boxes.h"
#include "platform/shell.h"

namespace tapster {

// The menu entries that only inform: About, Help, Suggestions and the sponsor's offer.
class InformationMenus {
  public:
    InformationMenus(platform::MessageBoxes& message_boxes, platform::Shell& shell)
        : message_boxes_(message_boxes), shell_(shell) {}

    void show_about();
    void open_help();
    void show_suggestions();
    void offer_sponsor();

  private:
    platform::MessageBoxes& message_boxes_;
    platform::Shell& shell_;
};

}  // namespace tapster
