#pragma once

#include <windows.h>

#include <deque>
#include <functional>
#include <mutex>

#include "platform/dispatcher.h"
#include "win32/window_procedure.h"

namespace tapster::win32 {

// Runs posted work on the thread that made it, one piece per message of a message-only window.
// A piece that posts the next one does not starve the window: while input, painting or a
// timer waits, the next piece comes on a timer, which the system delivers only after them.
class Win32Dispatcher : public platform::Dispatcher, private WindowProcedure {
  public:
    // Made on the GUI thread.
    Win32Dispatcher();
    ~Win32Dispatcher() override;
    Win32Dispatcher(const Win32Dispatcher&) = delete;
    Win32Dispatcher& operator=(const Win32Dispatcher&) = delete;

    void post(std::function<void()> work) override;

  private:
    LRESULT on_message(HWND window, UINT message, WPARAM wparam, LPARAM lparam) override;
    void run_next();
    // With the mutex held: makes sure a message will come for the work queued.
    void wake();

    HWND window_ = nullptr;
    std::mutex mutex_;
    std::deque<std::function<void()>> pending_;
    bool woken_ = false;  // a message or the timer is on its way
};

}  // namespace tapster::win32
