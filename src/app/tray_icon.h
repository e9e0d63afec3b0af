#pragma once

#include "app/controls/form_window.h"
#include "platform/notification_area.h"

namespace tapster {

// The program's icon in the notification area. The shell reports the user's mouse activity
// over it as the window's own mouse move, with the mouse message in place of the x
// coordinate; a left press shows the window.
class TrayIcon {
  public:
    TrayIcon(platform::NotificationArea& notification_area, ui::FormWindow& window)
        : notification_area_(notification_area), window_(window) {}

    void add();
    void remove();
    // A mouse move over the main window, or the shell's notification: x in twips.
    void on_mouse_move(float x);

  private:
    platform::NotificationArea::Icon icon() const;

    platform::NotificationArea& notification_area_;
    ui::FormWindow& window_;
};

}  // namespace tapster
