// The window watch's Win32 half under Wine: what it lists and reads of real windows, and
// looks that run on a thread of their own and report to the event loop's thread.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <chrono>

#include "win32/win32_background_looks.h"
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
    EXPECT_FALSE(windows.visible(handle));
    ShowWindow(box, SW_SHOWNOACTIVATE);
    EXPECT_TRUE(windows.visible(handle));

    DestroyWindow(box);
    EXPECT_FALSE(listed(windows, box));
    EXPECT_EQ(windows.folded_class(handle), "");
}

TEST(BackgroundLooks, LookOnTheirOwnThreadSoonerWhenExpectingReportToTheEventLoopAndStop) {
    Win32BackgroundLooks looks;
    std::atomic<int> looked{0};
    std::atomic<DWORD> look_thread{0};
    int found = 0;
    DWORD found_thread = 0;
    looks.connect(
        {.usual = 300ms, .expecting = 5ms},
        [&] {
            look_thread = GetCurrentThreadId();
            // Every look expects something; every third finds it.
            return platform::LookOutcome{.found = ++looked % 3 == 0, .expecting = true};
        },
        [&] {
            ++found;
            found_thread = GetCurrentThreadId();
        });

    const auto start = std::chrono::steady_clock::now();
    looks.start();
    MSG message{};
    while (found < 2 && std::chrono::steady_clock::now() < start + 5s) {
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE) != FALSE) {
            DispatchMessageW(&message);
        }
        Sleep(5);
    }
    const auto took = std::chrono::steady_clock::now() - start;
    looks.stop();
    const int looked_when_stopped = looked;
    Sleep(100);

    EXPECT_GE(found, 2);
    // One usual wait, then five short ones; at the usual period alone six looks take 1.8 s.
    EXPECT_LT(took, 1200ms);
    EXPECT_EQ(found_thread, GetCurrentThreadId());
    EXPECT_NE(look_thread.load(), GetCurrentThreadId());
    EXPECT_EQ(looked.load(), looked_when_stopped) << "a look ran after stop()";
}

}  // namespace
}  // namespace tapster::win32
