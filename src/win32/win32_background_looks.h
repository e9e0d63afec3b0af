#pragma once

#include <windows.h>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "platform/background_looks.h"
#include "win32/window_procedure.h"

namespace tapster::win32 {

// Looks on a thread of their own. Between looks the thread sleeps, which under Wine asks
// nothing of the server, where a window timer as frequent would wake the event loop with
// several round trips to it each time. A look that finds something posts one message to a
// message-only window of the thread that made this object, which runs `found` there.
class Win32BackgroundLooks : public platform::BackgroundLooks, private WindowProcedure {
  public:
    // Made on the event loop's thread.
    Win32BackgroundLooks();
    ~Win32BackgroundLooks() override;
    Win32BackgroundLooks(const Win32BackgroundLooks&) = delete;
    Win32BackgroundLooks& operator=(const Win32BackgroundLooks&) = delete;

    void connect(platform::LookPeriods periods, std::function<platform::LookOutcome()> look,
                 std::function<void()> found) override;
    void start() override;
    void stop() override;

  private:
    LRESULT on_message(HWND window, UINT message, WPARAM wparam, LPARAM lparam) override;
    void run();

    HWND window_ = nullptr;
    platform::LookPeriods periods_{};
    std::function<platform::LookOutcome()> look_;
    std::function<void()> found_;
    std::atomic<bool> posted_{false};  // a find is on its way to the event loop
    // Guards the two switches; held while a look runs, so stop() waits for it.
    std::mutex mutex_;
    std::condition_variable switched_;
    bool looking_ = false;
    bool ending_ = false;
    std::thread thread_;  // last: it starts once everything above exists
};

}  // namespace tapster::win32
