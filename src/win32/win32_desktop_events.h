#pragma once

#include <windows.h>

#include <memory>
#include <type_traits>

#include "platform/desktop_events.h"
#include "win32/window_procedure.h"

namespace tapster::win32 {

// The system's window events through an out-of-context win-event hook, which the system
// delivers to the thread that set it through its message loop, and the look timer as a timer
// of a message-only window of that thread. Events are sifted here at the cheapest point, the
// object; the watch asks the class, then whether the window is top-level. A find posts one
// message to the window, which runs `found` from the message loop, so a find heard while a
// tick waits on another program comes after that tick.
//
// Two hooks: windows made, and windows shown. Under Wine 8 only the first is ever heard;
// destroyed windows are not listened for (see listen).
// One object at a time may listen: the hook's procedure has no pointer of its own.
class Win32DesktopEvents : public platform::DesktopEvents, private WindowProcedure {
  public:
    // Made on the event loop's thread.
    Win32DesktopEvents();
    ~Win32DesktopEvents() override;
    Win32DesktopEvents(const Win32DesktopEvents&) = delete;
    Win32DesktopEvents& operator=(const Win32DesktopEvents&) = delete;

    void connect(std::function<bool(const platform::WindowEvent&)> heard,
                 std::function<bool()> looked, std::function<void()> found) override;
    bool listen() override;
    void stop_listening() override;
    void set_look_period(std::optional<std::chrono::milliseconds> period) override;

  private:
    struct Unhook {
        void operator()(HWINEVENTHOOK hook) const { UnhookWinEvent(hook); }
    };
    using Hook = std::unique_ptr<std::remove_pointer_t<HWINEVENTHOOK>, Unhook>;

    static void CALLBACK on_event(HWINEVENTHOOK hook, DWORD event, HWND window, LONG object,
                                  LONG child, DWORD thread, DWORD time);
    void hear(DWORD event, HWND window);
    void unhook();
    void report(bool found);
    LRESULT on_message(HWND window, UINT message, WPARAM wparam, LPARAM lparam) override;

    static inline Win32DesktopEvents* listening_ = nullptr;  // the object whose hook is set

    HWND window_ = nullptr;
    std::function<bool(const platform::WindowEvent&)> heard_;
    std::function<bool()> looked_;
    std::function<void()> found_;
    Hook made_hook_;
    Hook shown_hook_;
    bool posted_ = false;  // a find is on its way to the message loop
};

}  // namespace tapster::win32
