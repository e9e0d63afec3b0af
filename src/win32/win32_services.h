#pragma once

#include <windows.h>

#include "platform/locale.h"
#include "platform/message_boxes.h"
#include "platform/shell.h"

namespace tapster::win32 {

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

// The user's regional settings for numbers.
class Win32Locale : public platform::Locale {
  public:
    platform::NumberFormat number_format() override;
};

}  // namespace tapster::win32
