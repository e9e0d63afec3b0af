#include "win32/win32_desktop_events.h"

#include <utility>

namespace tapster::win32 {

namespace {

constexpr wchar_t kDesktopEventsClass[] = L"TapsterDesktopEvents";
constexpr UINT kFoundMessage = WM_APP + 1;
constexpr UINT_PTR kLookTimer = 1;

platform::WindowHandle handle_of(HWND window) {
    return reinterpret_cast<platform::WindowHandle>(window);
}

}  // namespace

Win32DesktopEvents::Win32DesktopEvents() {
    window_ = create_message_only_window(kDesktopEventsClass, "the window that hears of windows");
}

Win32DesktopEvents::~Win32DesktopEvents() {
    unhook();
    DestroyWindow(window_);
}

void Win32DesktopEvents::connect(std::function<bool(const platform::WindowEvent&)> heard,
                                 std::function<bool()> looked, std::function<void()> found) {
    heard_ = std::move(heard);
    looked_ = std::move(looked);
    found_ = std::move(found);
}

bool Win32DesktopEvents::listen() {
    if (made_hook_) {
        return true;
    }
    if (listening_ != nullptr) {
        return false;
    }
    // Made and shown, without destroyed, which lies between them: on a busy desktop each
    // event heard costs a wake-up, and a window made again under an old handle is heard as
    // made, which is all the watch needs of it.
    constexpr DWORD kFlags = WINEVENT_OUTOFCONTEXT | WINEVENT_SKIPOWNPROCESS;
    made_hook_.reset(SetWinEventHook(EVENT_OBJECT_CREATE, EVENT_OBJECT_CREATE, nullptr, &on_event,
                                     0, 0, kFlags));
    if (!made_hook_) {
        return false;
    }
    // Without it a hidden window is followed by looks, as under Wine, which never tells it.
    shown_hook_.reset(
        SetWinEventHook(EVENT_OBJECT_SHOW, EVENT_OBJECT_SHOW, nullptr, &on_event, 0, 0, kFlags));
    listening_ = this;
    return true;
}

void Win32DesktopEvents::stop_listening() {
    unhook();
}

void Win32DesktopEvents::unhook() {
    if (made_hook_) {
        made_hook_.reset();
        shown_hook_.reset();
        listening_ = nullptr;
    }
}

void Win32DesktopEvents::set_look_period(std::optional<std::chrono::milliseconds> period) {
    if (period) {
        SetTimer(window_, kLookTimer, static_cast<UINT>(period->count()), nullptr);
    } else {
        KillTimer(window_, kLookTimer);
    }
}

void CALLBACK Win32DesktopEvents::on_event(HWINEVENTHOOK hook, DWORD event, HWND window,
                                           LONG object, LONG child, DWORD /*thread*/,
                                           DWORD /*time*/) {
    // Most events are of other objects than a window itself: menus' items, carets, scroll bars.
    if (object != OBJID_WINDOW || child != CHILDID_SELF || window == nullptr ||
        listening_ == nullptr ||
        (listening_->made_hook_.get() != hook && listening_->shown_hook_.get() != hook)) {
        return;
    }
    try {
        listening_->hear(event, window);
    } catch (...) {
        // The system's frames cannot be unwound through.
        report_escaped_exception(std::current_exception());
    }
}

void Win32DesktopEvents::hear(DWORD event, HWND window) {
    // Every control of every window is made and shown too. Whether a window is top-level is
    // left to the watch, which asks it only of a window of a wanted class: under Wine each
    // question is a round trip to the server, and most windows made are of no wanted class.
    const platform::WindowEvent heard{.kind = event == EVENT_OBJECT_SHOW
                                                  ? platform::WindowEvent::Kind::shown
                                                  : platform::WindowEvent::Kind::made,
                                      .window = handle_of(window)};
    if (heard_) {
        report(heard_(heard));
    }
}

void Win32DesktopEvents::report(bool found) {
    if (found && !posted_) {
        posted_ = PostMessageW(window_, kFoundMessage, 0, 0) != FALSE;
    }
}

LRESULT Win32DesktopEvents::on_message(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == kFoundMessage) {
        posted_ = false;
        if (found_) {
            found_();
        }
        return 0;
    }
    if (message == WM_TIMER && wparam == kLookTimer) {
        if (looked_) {
            report(looked_());
        }
        return 0;
    }
    return DefWindowProcW(window, message, wparam, lparam);
}

}  // namespace tapster::win32
