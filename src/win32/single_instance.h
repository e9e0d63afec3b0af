#pragma once

#include <windows.h>

#include <chrono>

#include "win32/scoped_handles.h"

namespace tapster::win32 {

// The main window's class: a second start finds the running copy's window by it.
inline constexpr wchar_t kMainWindowClass[] = L"TapsterMain";

// What a second start sends the running copy's main window: come forward, shown, in front.
UINT show_window_message();

// Marks this process as the user's running copy in this session for as long as it lives.
// Copies of other users, and of other sessions, do not count.
class SingleInstance {
  public:
    SingleInstance();
    // False when another copy of this user already runs in this session.
    bool first() const { return first_; }

  private:
    ScopedHandle mutex_;
    bool first_ = true;
};

// Asks the running copy to show its window and lets it take the foreground. Its window may
// still be coming up, so this waits for it; false when none appeared in time.
bool show_running_copy(std::chrono::milliseconds timeout);

}  // namespace tapster::win32
