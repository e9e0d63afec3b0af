// The window watch's Win32 half under Wine: what it lists and reads of real windows, the hook
// it listens with, and the look timer, whose finds reach the event loop.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <chrono>

#include "win32/win32_desktop_events.h"
#include "win32/win32_top_level_windows.h"

namespace tapster::win32 {
namespace {

using namespace std::chrono_literals;

constexpr wchar_t kClass[] = L"TapsterWatchedBox";

HWND make_window() {
    static const bool registered = [] {
        WNDCLASSW window_class{};
        window_class.lpfnWndProc = DefWindowProcW;
        window_class.hInstance = GetModuleHandleW(nullptr);
        window_class.lpszClassName = kClass;
        return RegisterClassW(&window_class) != 0;
    }();
    EXPECT_TRUE(registered);
    return CreateWindowExW(0, kClass, L"Box", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                           GetModuleHandleW(nullptr), nullptr);
}

bool listed(Win32TopLevelWindows& windows, HWND window) {
    std::vector<platform::WindowHandle> all;
    windows.list(all);
    return std::find(all.begin(), all.end(), reinterpret_cast<platform::WindowHandle>(window)) !=
           all.end();
}

TEST(TopLevelWindows, ListReadAndFoldAsTheFinderDoes) {
    Win32TopLevelWindows windows;
    const HWND box = make_window();
    const auto handle = reinterpret_cast<platform::WindowHandle>(box);

    EXPECT_TRUE(listed(windows, box));
    EXPECT_EQ(windows.folded_class(handle), "TAPSTERWATCHEDBOX");
    EXPECT_EQ(windows.fold_class_name("tapsterWatchedBox"), "TAPSTERWATCHEDBOX");
    EXPECT_TRUE(windows.ours(handle));
    EXPECT_FALSE(windows.ours(reinterpret_cast<platform::WindowHandle>(GetShellWindow())));
    const HWND control = CreateWindowExW(0, L"BUTTON", L"OK", WS_CHILD, 0, 0, 10, 10, box, nullptr,
                                         nullptr, nullptr);
    EXPECT_TRUE(windows.top_level(handle));
    EXPECT_FALSE(windows.top_level(reinterpret_cast<platform::WindowHandle>(control)));
    EXPECT_FALSE(windows.visible(handle));
    ShowWindow(box, SW_SHOWNOACTIVATE);
    EXPECT_TRUE(windows.visible(handle));

    DestroyWindow(box);
    EXPECT_FALSE(listed(windows, box));
    EXPECT_EQ(windows.folded_class(handle), "");
}

// Runs the thread's messages waiting now.
void pump() {
    MSG message{};
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE) != FALSE) {
        DispatchMessageW(&message);
    }
}

// Runs the thread's messages until `done` holds or 5 s have passed.
template <typename Done>
void pump_until(Done done) {
    const auto until = std::chrono::steady_clock::now() + 5s;
    while (!done() && std::chrono::steady_clock::now() < until) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
        pump();
    }
}

TEST(DesktopEvents, ListenOneAtATimeAndLookOnTheEventLoopsThreadUntilTheTimerStops) {
    Win32DesktopEvents events;
    int looked = 0;
    int found = 0;
    DWORD found_thread = 0;
    events.connect([](const platform::WindowEvent&) { return false; },
                   // Every third look finds something.
                   [&] { return ++looked % 3 == 0; },
                   [&] {
                       ++found;
                       found_thread = GetCurrentThreadId();
                   });
    ASSERT_TRUE(events.listen()) << "Wine 8 and Windows both set the hook";
    EXPECT_TRUE(events.listen());
    Win32DesktopEvents other;
    EXPECT_FALSE(other.listen()) << "one object at a time";
    events.stop_listening();
    EXPECT_TRUE(other.listen());
    other.stop_listening();

    events.set_look_period(5ms);
    pump_until([&] { return found >= 2; });
    events.set_look_period(std::nullopt);
    EXPECT_GE(found, 2);
    EXPECT_EQ(found_thread, GetCurrentThreadId());
    pump();
    const int looked_when_stopped = looked;
    Sleep(100);
    pump();
    EXPECT_EQ(looked, looked_when_stopped) << "a look after the timer stopped";
}

}  // namespace
}  // namespace tapster::win32
