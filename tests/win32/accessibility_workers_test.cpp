// The worker threads that make calls into other programs' accessible trees: nobody waits for
// a call, its end is posted back to the caller's thread; a call stuck in a hung program keeps
// its key busy until it returns, and never holds up the end.
#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <stdexcept>

#include "win32/accessibility_workers.h"
#include "win32/scoped_handles.h"
#include "win32/win32_dispatcher.h"

namespace tapster::win32 {
namespace {

using Outcome = AccessibilityWorkers::Outcome;

// A call that stays inside until the test lets it go, as one into a hung program does.
struct Gate {
    ScopedHandle open{CreateEventW(nullptr, TRUE, FALSE, nullptr)};
    std::atomic<int> passed{0};
};

std::function<void()> blocked_by(const std::shared_ptr<Gate>& gate) {
    return [gate] {
        WaitForSingleObject(gate->open.get(), INFINITE);
        ++gate->passed;
    };
}

// Runs this thread's messages, as the main loop would, until the condition holds (at most
// 5 s) or, with `for_ms`, for that long.
bool run_messages_until(const std::function<bool()>& condition, DWORD for_ms = 5000) {
    const ULONGLONG until = GetTickCount64() + for_ms;
    while (GetTickCount64() < until) {
        MSG message{};
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE) != FALSE) {
            DispatchMessageW(&message);
        }
        if (condition()) {
            return true;
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
    return condition();
}

TEST(AccessibilityWorkers, AStuckCallKeepsOnlyItsOwnKeyBusyUntilItReturns) {
    Win32Dispatcher dispatcher;
    AccessibilityWorkers workers(dispatcher);
    const auto gate = std::make_shared<Gate>();
    int hung_ended = 0;
    int ran = 0;
    int ended = 0;

    EXPECT_EQ(workers.run("hung", blocked_by(gate), [&] { ++hung_ended; }), Outcome::started);
    EXPECT_EQ(workers.run(
                  "hung", [&] { ++ran; }, [&] { ++ended; }),
              Outcome::skipped);
    EXPECT_EQ(workers.run(
                  "other", [&] { ++ran; }, [&] { ++ended; }),
              Outcome::started);
    ASSERT_TRUE(run_messages_until([&] { return ended == 1; }));
    EXPECT_EQ(ran, 1) << "the skipped call ran after all";
    EXPECT_EQ(hung_ended, 0);

    SetEvent(gate->open.get());
    ASSERT_TRUE(run_messages_until([&] { return hung_ended == 1; }));
    EXPECT_EQ(workers.run(
                  "hung", [&] { ++ran; }, [&] { ++ended; }),
              Outcome::started);
    ASSERT_TRUE(run_messages_until([&] { return ended == 2; }));
    EXPECT_EQ(ran, 2);
}

TEST(AccessibilityWorkers, TheEndOfACallIsToldOnTheCallersThreadEvenWhenTheCallThrows) {
    Win32Dispatcher dispatcher;
    AccessibilityWorkers workers(dispatcher);
    const DWORD caller = GetCurrentThreadId();
    std::atomic<DWORD> call_thread{0};
    DWORD told_on = 0;

    ASSERT_EQ(workers.run(
                  "thread", [&] { call_thread = GetCurrentThreadId(); },
                  [&] { told_on = GetCurrentThreadId(); }),
              Outcome::started);
    ASSERT_TRUE(run_messages_until([&] { return told_on != 0; }));
    EXPECT_EQ(told_on, caller);
    EXPECT_NE(call_thread.load(), caller);

    bool told = false;
    ASSERT_EQ(workers.run(
                  "throws", [] { throw std::runtime_error("no answer"); }, [&] { told = true; }),
              Outcome::started);
    EXPECT_TRUE(run_messages_until([&] { return told; }));
}

TEST(AccessibilityWorkers, CallsStuckAtOnceAreBoundedAndDoNotHoldUpTheEnd) {
    Win32Dispatcher dispatcher;
    const auto gate = std::make_shared<Gate>();
    int ended = 0;
    const auto started = std::chrono::steady_clock::now();
    {
        AccessibilityWorkers workers(dispatcher);
        for (std::size_t key = 0; key < AccessibilityWorkers::kMostRunningCalls; ++key) {
            EXPECT_EQ(workers.run(std::to_string(key), blocked_by(gate), [&] { ++ended; }),
                      Outcome::started);
        }
        EXPECT_EQ(workers.run(
                      "one more", [] {}, [&] { ++ended; }),
                  Outcome::skipped);
    }
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(5))
        << "the end waited for a stuck call";

    // The threads left behind end once their calls return, and tell no one.
    SetEvent(gate->open.get());
    EXPECT_TRUE(run_messages_until(
        [&] { return gate->passed == static_cast<int>(AccessibilityWorkers::kMostRunningCalls); }));
    run_messages_until([] { return false; }, 200);
    EXPECT_EQ(ended, 0);
}

}  // namespace
}  // namespace tapster::win32
