#pragma once

#include "platform/notification_area.h"
#include "ui/form_window.h"
#include "ui/menu_entry.h"
#include "ui/timer.h"

namespace tapster {

// The program's icon in the notification area. The system side names what the user did with
// it: selecting it (a left press, or the keyboard's Space or Enter) shows the window, a
// request for its context menu (a right click, the menu key, Shift+F10) shows the tray menu
// where the system says: at the click, or at the icon when asked from the keyboard.
class TrayIcon {
  public:
    TrayIcon(platform::NotificationArea& notification_area, ui::FormWindow& window,
             ui::MenuEntry& menu, ui::Timer& retry_timer)
        : notification_area_(notification_area),
          window_(window),
          menu_(menu),
          retry_timer_(retry_timer) {
        retry_timer_.set_enabled(false);
    }

    // A shell that is not ready yet (early at sign-in, say) refuses the icon, and may never
    // announce itself with TaskbarCreated: the retry timer asks again until it takes it.
    void add();
    void remove();
    // The tip says so while pressing is paused; the icon already shown changes at once.
    void set_paused(bool paused);
    // The window is shown, and stays as it was when it is shown already.
    void on_selected() { window_.set_visible(true); }
    void on_menu_requested(ui::PopupAnchor anchor) { menu_.show_popup(anchor); }

  private:
    platform::NotificationArea::Icon icon() const;

    platform::NotificationArea& notification_area_;
    ui::FormWindow& window_;
    ui::MenuEntry& menu_;
    ui::Timer& retry_timer_;
    bool paused_ = false;
};

}  // namespace tapster
