#pragma once

#include <windows.h>

#include "platform/event_loop.h"
#include "platform/locale.h"
#include "platform/message_boxes.h"
#include "platform/notification_area.h"
#include "platform/shell.h"

namespace tapster::win32 {

class MainWindow;

// Boxes are owned by the main window while it is shown, and stand on their own, in front,
// while it is hidden.
class Win32MessageBoxes : public platform::MessageBoxes {
  public:
    void set_owner(HWND owner) { owner_ = owner; }
    int show(const std::string& text, const std::string& title,
             platform::MessageBoxStyle style) override;

  private:
    HWND owner_ = nullptr;
};

class Win32Shell : public platform::Shell {
  public:
    void open_url(const std::string& url) override;
    bool start_command_line(const std::string& command_line) override;
    [[noreturn]] void end_process() override;
};

// Runs pending messages the way the main loop does, keyboard navigation included.
class Win32EventLoop : public platform::EventLoop {
  public:
    explicit Win32EventLoop(MainWindow& window) : window_(window) {}
    void yield() override;

  private:
    MainWindow& window_;
};

// The user's regional settings for numbers.
class Win32Locale : public platform::Locale {
  public:
    platform::NumberFormat number_format() override;
};

// The shell knows the icon by its window and this number. It is fixed, so that the add and
// the delete always name the same icon and other programs can name it too.
inline constexpr UINT kTrayIconId = 1;

// The main window's icon in the notification area, with a wide tip so that any text shows
// as written. The icon speaks the shell's version 3: besides the mouse messages as before,
// its callback brings WM_CONTEXTMENU for the menu key, Shift+F10 and a right click, and
// NIN_SELECT / NIN_KEYSELECT / NIN_BALLOON... for selection and balloons.
class Win32NotificationArea : public platform::NotificationArea {
  public:
    Win32NotificationArea(HWND window, HICON icon) : window_(window), icon_(icon) {}
    bool add(const Icon& icon) override;
    bool remove(const Icon& icon) override;
    bool modify(const Icon& icon) override;
    bool show_balloon(const std::string& title, const std::string& text) override;

  private:
    bool notify(DWORD action, const Icon& icon);
    HWND window_;
    HICON icon_;
};

}  // namespace tapster::win32
