#pragma once

#include "platform/notification_area.h"
#include "ui/form_window.h"
#include "ui/menu_entry.h"

namespace tapster {

// The program's icon in the notification area. The system side names what the user did with
// it: selecting it (a left press, or the keyboard's Space or Enter) shows the window, a
// request for its context menu (a right click, the menu key, Shift+F10) shows the tray menu.
class TrayIcon {
  public:
    TrayIcon(platform::NotificationArea& notification_area, ui::FormWindow& window,
             ui::MenuEntry& menu)
        : notification_area_(notification_area), window_(window), menu_(menu) {}

    void add();
    void remove();
    // The tip says so while pressing is paused; the icon already shown changes at once.
    void set_paused(bool paused);
    // The window is shown, and stays as it was when it is shown already.
    void on_selected() { window_.set_visible(true); }
    void on_menu_requested() { menu_.show_popup(); }

  private:
    platform::NotificationArea::Icon icon() const;

    platform::NotificationArea& notification_area_;
    ui::FormWindow& window_;
    ui::MenuEntry& menu_;
    bool paused_ = false;
};

}  // namespace tapster
