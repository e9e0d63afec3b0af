#include "tray/tray_icon.h"

#include "model/app_texts.h"

namespace tapster {

namespace {

// The icon reports its mouse activity as this message, the window's own mouse move.
constexpr unsigned kTrayCallbackMessage = 512;
constexpr int kLeftButtonDown = 513;
constexpr int kContextMenu = 123;

}  // namespace

platform::NotificationArea::Icon TrayIcon::icon() const {
    platform::NotificationArea::Icon icon;
    icon.tip = paused_ ? paused_tray_tip() : tray_tip();
    icon.callback_message = kTrayCallbackMessage;
    return icon;
}

void TrayIcon::add() {
    notification_area_.add(icon());
}

void TrayIcon::remove() {
    notification_area_.remove(icon());
}

void TrayIcon::set_paused(bool paused) {
    paused_ = paused;
    notification_area_.modify(icon());
}

void TrayIcon::on_mouse_move(float x, float y) {
    // The view converts pixels to twips with the same function at the current display
    // scale, so exactly the icon's messages compare equal.
    if (x == ui::pixels_to_twips(kLeftButtonDown, window_.dpi())) {
        window_.set_visible(true);
    } else if (x == ui::pixels_to_twips(kContextMenu, window_.dpi()) && y == 0) {
        // A real mouse move over the window can have this x too; the shell's notification
        // alone comes with y 0 at that x, where the window's own mouse moves never arrive
        // (the title field covers that point).
        menu_.show_popup();
    }
}

}  // namespace tapster
