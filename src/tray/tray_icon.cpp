#include "tray/tray_icon.h"

#include "model/captions.h"

namespace tapster {

platform::NotificationArea::Icon TrayIcon::icon() const {
    platform::NotificationArea::Icon icon;
    icon.tip = paused_ ? paused_tray_tip() : tray_tip();
    return icon;
}

void TrayIcon::add() {
    retry_timer_.set_enabled(!notification_area_.add(icon()));
}

void TrayIcon::remove() {
    retry_timer_.set_enabled(false);
    notification_area_.remove(icon());
}

void TrayIcon::set_paused(bool paused) {
    paused_ = paused;
    notification_area_.modify(icon());
}

}  // namespace tapster
