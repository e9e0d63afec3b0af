#pragma once

#include <windows.h>

#include "app/window_events.h"
#include "platform/notification_area.h"
#include "win32/scoped_handles.h"

namespace tapster::win32 {

// The shell knows the icon by its window and this number. It is fixed, so that the add and
// the delete always name the same icon and other programs can name it too.
inline constexpr UINT kTrayIconId = 1;
// The message the shell sends the main window about the icon. Only the shell sends it, so
// any message of the window's own range would do.
inline constexpr UINT kTrayCallbackMessage = WM_APP + 1;

// The main window's icon in the notification area, with a wide tip so that any text shows
// as written. The icon speaks the shell's version 4: the callback's lParam holds what the
// user did in its low word and the icon's number in its high word. Its picture is the icon
// resource drawn at the small-icon size of a display scale: the window's at first, and a new
// one after each change of scale (set_dpi).
class Win32NotificationArea : public platform::NotificationArea {
  public:
    Win32NotificationArea(HWND window, HINSTANCE module, const wchar_t* icon_name);
    bool add(const Icon& icon) override;
    bool remove(const Icon& icon) override;
    bool modify(const Icon& icon) override;
    bool show_balloon(const std::string& title, const std::string& text) override;

    // Draws the icon anew for this display scale; an icon already shown changes at once.
    void set_dpi(UINT dpi);
    HICON icon() const { return icon_.get(); }

  private:
    bool notify(DWORD action, const Icon& icon);
    HWND window_;
    HINSTANCE module_;
    const wchar_t* icon_name_;
    ScopedIcon icon_;
    Icon last_;  // what the shell was last told, for the picture's own changes
};

// What the user did with the icon, as far as Tapster answers it.
enum class TrayEvent { none, selected, menu_requested };
// Decodes the lParam of a kTrayCallbackMessage.
TrayEvent tray_event(LPARAM lparam);

// The notification area's messages to the main window: the icon's callback, and the
// shell's TaskbarCreated after Explorer restarted, when every icon must be added again.
class TrayMessages {
  public:
    explicit TrayMessages(HWND window);
    // True when the message was one of them; the form hears of it as a named event.
    bool handle(UINT message, WPARAM wparam, LPARAM lparam, WindowEvents& events) const;

  private:
    UINT taskbar_created_ = 0;
};

}  // namespace tapster::win32
