#include "win32/win32_background_looks.h"

#include <utility>

namespace tapster::win32 {

namespace {

constexpr wchar_t kWindowClass[] = L"TapsterBackgroundLooks";
constexpr UINT kFoundMessage = WM_APP + 1;

}  // namespace

Win32BackgroundLooks::Win32BackgroundLooks() {
    window_ = create_message_only_window(kWindowClass, "the window that hears of new windows");
    thread_ = std::thread([this] { run(); });
}

Win32BackgroundLooks::~Win32BackgroundLooks() {
    {
        const std::lock_guard lock(mutex_);
        ending_ = true;
    }
    switched_.notify_all();
    thread_.join();
    if (window_ != nullptr) {
        DestroyWindow(window_);
    }
}

void Win32BackgroundLooks::connect(platform::LookPeriods periods,
                                   std::function<platform::LookOutcome()> look,
                                   std::function<void()> found) {
    const std::lock_guard lock(mutex_);
    periods_ = periods;
    look_ = std::move(look);
    found_ = std::move(found);
}

void Win32BackgroundLooks::start() {
    {
        const std::lock_guard lock(mutex_);
        looking_ = true;
    }
    switched_.notify_all();
}

void Win32BackgroundLooks::stop() {
    const std::lock_guard lock(mutex_);
    looking_ = false;
}

void Win32BackgroundLooks::run() {
    std::unique_lock lock(mutex_);
    bool expecting = false;  // the last look expects something: the next comes sooner
    for (;;) {
        switched_.wait(lock, [this] { return looking_ || ending_; });
        if (ending_) {
            return;
        }
        const auto wait = expecting ? periods_.expecting : periods_.usual;
        lock.unlock();
        Sleep(static_cast<DWORD>(wait.count()));
        lock.lock();
        if (ending_) {
            return;
        }
        if (!looking_ || !look_) {
            continue;
        }
        platform::LookOutcome outcome;
        try {
            outcome = look_();
        } catch (...) {
            // Out of memory, most likely: this look finds nothing, the next one tries again.
            OutputDebugStringW(L"Tapster: a look for new windows failed\n");
        }
        expecting = outcome.expecting;
        if (outcome.found && !posted_.exchange(true) && window_ != nullptr) {
            PostMessageW(window_, kFoundMessage, 0, 0);
        }
    }
}

LRESULT Win32BackgroundLooks::on_message(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == kFoundMessage) {
        posted_ = false;
        if (found_) {
            found_();
        }
        return 0;
    }
    return DefWindowProcW(window, message, wparam, lparam);
}

}  // namespace tapster::win32
