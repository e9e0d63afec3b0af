#include "app/tray_icon.h"

#include "app/app_texts.h"

namespace tapster {

namespace {

// The icon reports its mouse activity as this message, the window's own mouse move.
constexpr unsigned kTrayCallbackMessage = 512;
constexpr int kLeftButtonDown = 513;

}  // namespace

platform::NotificationArea::Icon TrayIcon::icon() const {
    platform::NotificationArea::Icon icon;
    icon.tip = tray_tip();
    icon.callback_message = kTrayCallbackMessage;
    return icon;
}

void TrayIcon::add() {
    notification_area_.add(icon());
}

void TrayIcon::remove() {
    notification_area_.remove(icon());
}

void TrayIcon::on_mouse_move(float x) {
    // The view converts pixels to twips with the same function at the current display
    // scale, so exactly the icon's left-button press compares equal.
    if (x == ui::pixels_to_twips(kLeftButtonDown, window_.dpi())) {
        window_.set_visible(true);
    }
}

}  // namespace tapster
