// The push cycle under Wine against the real desktop: target windows with an "OK" button,
// made by a thread of their own so that every call crosses threads as it would cross
// processes, or no windows at all.
#include <windows.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

#include "push_cycle_bench.h"
#include "win32/wide_string.h"
#include "win32/win32_desktop.h"

namespace {

constexpr wchar_t kBoxClass[] = L"TapsterBenchBox";

// The presses the target windows received, so that a line shows its targets pressed.
std::atomic<long long> presses_received{0};

LRESULT CALLBACK box_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
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

// Enough runs for a steady median in a few seconds per line.
int repetitions(int entries) {
    return entries == 1 ? 201 : entries == 100 ? 21 : 9;
}

}  // namespace

int main() {
    using namespace tapster::bench;
    tapster::win32::Win32Desktop desktop;
    print_header("Wine, real desktop");
    for (const int entries : {1, 100, 1000}) {
        run_scenario(desktop, "#32770", entries, Targets::absent, repetitions(entries));
    }
    run_scenario(desktop, "#32770", 100, Targets::absent_patterns, 21);
    for (const int entries : {1, 100, 1000}) {
        TargetWindows windows(entries);
        run_scenario(desktop, "TapsterBenchBox", entries, Targets::present, repetitions(entries));
    }
    // Patterns that match none of 100 open windows of their class: every title is read. The
    // same windows pressed by targets with and without a message.
    TargetWindows windows(100);
    for (const Targets targets : {Targets::present, Targets::present_messages}) {
        const long long before = presses_received;
        run_scenario(desktop, "TapsterBenchBox", 100, targets, 21);
        std::printf("        (%lld presses received)\n", presses_received - before);
    }
    run_scenario(desktop, "TapsterBenchBox", 100, Targets::absent_patterns, 21);
    return EXIT_SUCCESS;
}
