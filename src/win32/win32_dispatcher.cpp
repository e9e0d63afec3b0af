#include "win32/win32_dispatcher.h"

#include <utility>

namespace tapster::win32 {

namespace {

constexpr wchar_t kDispatcherClass[] = L"TapsterDispatcher";
constexpr UINT kRunWorkMessage = WM_APP + 1;
constexpr UINT_PTR kAfterInputTimer = 1;

}  // namespace

Win32Dispatcher::Win32Dispatcher() {
    window_ = create_message_only_window(kDispatcherClass, "the window that runs work in turn");
}

Win32Dispatcher::~Win32Dispatcher() {
    DestroyWindow(window_);
}

void Win32Dispatcher::post(std::function<void()> work) {
    const std::lock_guard lock(mutex_);
    pending_.push_back(std::move(work));
    wake();
}

void Win32Dispatcher::wake() {
    if (!woken_) {
        // A full queue refuses the message; the next post asks again.
        woken_ = PostMessageW(window_, kRunWorkMessage, 0, 0) != FALSE;
    }
}

void Win32Dispatcher::run_next() {
    KillTimer(window_, kAfterInputTimer);
    std::function<void()> work;
    {
        const std::lock_guard lock(mutex_);
        woken_ = false;
        if (pending_.empty()) {
            return;
        }
        work = std::move(pending_.front());
        pending_.pop_front();
    }
    guarded(
        [&] {
            work();
            return LRESULT{0};
        },
        [] { return LRESULT{0}; });
    const std::lock_guard lock(mutex_);
    if (pending_.empty() || woken_) {
        return;
    }
    // A posted message comes before input, painting and timers; a timer comes after them.
    if (HIWORD(GetQueueStatus(QS_INPUT | QS_PAINT | QS_TIMER)) != 0 &&
        SetTimer(window_, kAfterInputTimer, 0, nullptr) != 0) {
        woken_ = true;
    } else {
        wake();
    }
}

LRESULT Win32Dispatcher::on_message(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == kRunWorkMessage || (message == WM_TIMER && wparam == kAfterInputTimer)) {
        run_next();
        return 0;
    }
    return DefWindowProcW(window, message, wparam, lparam);
}

}  // namespace tapster::win32
