#pragma once

// Target windows for the benchmarks under Wine: made by a thread of their own, so that every
// call crosses threads as it would cross processes. Each has an "OK" button (identifier 1)
// and a static text, counts the presses it receives and stays open.
#include <windows.h>

#include <atomic>
#include <string>
#include <thread>

#include "push_cycle_bench.h"
#include "win32/wide_string.h"

namespace tapster::bench {

inline constexpr wchar_t kBoxClass[] = L"TapsterBenchBox";

// The presses the target windows received, so that a line shows its targets pressed.
inline std::atomic<long long> presses_received{0};

inline LRESULT CALLBACK box_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_COMMAND) {
        ++presses_received;
        return 0;
    }
    return DefWindowProcW(window, message, wparam, lparam);
}

// Owns the target windows and pumps their messages until it is destroyed.
class TargetWindows {
  public:
    explicit TargetWindows(int count) {
        thread_ = std::thread([this, count] { run(count); });
        while (!ready_) {
            Sleep(10);
        }
    }
    ~TargetWindows() {
        PostThreadMessageW(thread_id_, WM_QUIT, 0, 0);
        thread_.join();
    }
    TargetWindows(const TargetWindows&) = delete;
    TargetWindows& operator=(const TargetWindows&) = delete;

  private:
    void run(int count) {
        thread_id_ = GetCurrentThreadId();
        WNDCLASSW window_class{};
        window_class.lpfnWndProc = box_procedure;  // the press is counted, nothing more
        window_class.hInstance = GetModuleHandleW(nullptr);
        window_class.lpszClassName = kBoxClass;
        RegisterClassW(&window_class);
        for (int index = 0; index < count; ++index) {
            const std::wstring title =
                tapster::win32::to_wide(tapster::bench::window_title(true, index));
            HWND box = CreateWindowExW(0, kBoxClass, title.c_str(), WS_POPUP, 0, 0, 10, 10, nullptr,
                                       nullptr, window_class.hInstance, nullptr);
            CreateWindowExW(0, L"BUTTON", L"OK", WS_CHILD, 0, 0, 5, 5, box,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(1)),
                            window_class.hInstance, nullptr);
            // What the box says, for the targets that carry a message.
            const std::wstring message =
                tapster::win32::to_wide(tapster::bench::window_message(index));
            CreateWindowExW(0, L"STATIC", message.c_str(), WS_CHILD | WS_VISIBLE, 0, 5, 5, 5, box,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(65535)),
                            window_class.hInstance, nullptr);
        }
        MSG message{};
        PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE);  // the queue exists from here
        ready_ = true;
        while (GetMessageW(&message, nullptr, 0, 0) > 0) {
            DispatchMessageW(&message);
        }
    }

    std::thread thread_;
    std::atomic<bool> ready_{false};
    std::atomic<DWORD> thread_id_{0};
};

}  // namespace tapster::bench
