#pragma once

#include "platform/notification_area.h"
#include "ui/form_window.h"
#include "ui/menu_entry.h"

namespace tapster {

// The program's icon in the notification area. The shell reports the user's mouse activity
// over it as the window's own mouse move, with the mouse message in place of the x
// coordinate and 0 as y; a left press shows the window, a request for the context menu (a
// right click, the menu key, Shift+F10) shows the tray menu.
class TrayIcon {
  public:
    TrayIcon(platform::NotificationArea& notification_area, ui::FormWindow& window,
             ui::MenuEntry& menu)
        : notification_area_(notification_area), window_(window), menu_(menu) {}

    void add();
    void remove();
    // The tip says so while pressing is paused; the icon already shown changes at once.
    void set_paused(bool paused);
    // A mouse move over the main window, or the shell's notification: x and y in twips.
    void on_mouse_move(float x, float y);

  private:
    platform::NotificationArea::Icon icon() const;

    platform::NotificationArea& notification_area_;
    ui::FormWindow& window_;
    ui::MenuEntry& menu_;
    bool paused_ = false;
};

}  // namespace tapster
