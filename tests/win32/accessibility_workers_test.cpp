// The worker threads that make calls into other programs' accessible trees: a caller waits at
// most the deadline and runs its messages meanwhile; a call stuck past it keeps its key busy
// until it returns, and never holds up the end.
#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <stdexcept>

#include "win32/accessibility_workers.h"
#include "win32/scoped_handles.h"

namespace tapster::win32 {
namespace {

using namespace std::chrono_literals;
using Outcome = AccessibilityWorkers::Outcome;

class CountingLoop : public platform::EventLoop {
  public:
    int yields = 0;
    void yield() override {
        ++yields;
        MSG message{};
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE) != FALSE) {
            DispatchMessageW(&message);
        }
    }
};

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

// Asks until the condition holds, at most 5 s; asks nothing after it held.
bool wait_until(const std::function<bool()>& condition) {
    for (int attempt = 0; attempt < 500; ++attempt) {
        if (condition()) {
            return true;
        }
        Sleep(10);
    }
    return false;
}

TEST(AccessibilityWorkers, AStuckCallKeepsOnlyItsOwnKeyBusyUntilItReturns) {
    CountingLoop loop;
    AccessibilityWorkers workers(loop, 200ms);
    const auto gate = std::make_shared<Gate>();

    EXPECT_EQ(workers.run("hung", blocked_by(gate)), Outcome::late);
    int ran = 0;
    EXPECT_EQ(workers.run("hung", [&] { ++ran; }), Outcome::skipped);
    EXPECT_EQ(ran, 0) << "a second call was queued behind the stuck one";
    EXPECT_EQ(workers.run("other", [&] { ++ran; }), Outcome::done);
    EXPECT_EQ(ran, 1);

    SetEvent(gate->open.get());
    ASSERT_TRUE(wait_until([&] { return gate->passed == 1; }));
    ASSERT_TRUE(wait_until([&] { return workers.run("hung", [&] { ++ran; }) == Outcome::done; }));
    EXPECT_EQ(ran, 2);
}

TEST(AccessibilityWorkers, TheCallerRunsItsMessagesWhileItWaitsAndAThrowingCallEndsQuietly) {
    CountingLoop loop;
    AccessibilityWorkers workers(loop, 2000ms);
    const DWORD caller = GetCurrentThreadId();

    const Outcome outcome = workers.run("post", [caller] {
        PostThreadMessageW(caller, WM_NULL, 0, 0);
        Sleep(100);
    });

    EXPECT_EQ(outcome, Outcome::done);
    EXPECT_GE(loop.yields, 1);
    EXPECT_EQ(workers.run("throws", [] { throw std::runtime_error("no answer"); }), Outcome::done);
}

TEST(AccessibilityWorkers, CallsStuckAtOnceAreBoundedAndDoNotHoldUpTheEnd) {
    CountingLoop loop;
    const auto gate = std::make_shared<Gate>();
    const auto started = std::chrono::steady_clock::now();
    {
        AccessibilityWorkers workers(loop, 50ms);
        for (std::size_t key = 0; key < AccessibilityWorkers::kMostRunningCalls; ++key) {
            EXPECT_EQ(workers.run(std::to_string(key), blocked_by(gate)), Outcome::late);
        }
        EXPECT_EQ(workers.run("one more", [] {}), Outcome::skipped);
    }
    EXPECT_LT(std::chrono::steady_clock::now() - started, 5s) << "the end waited for a stuck call";

    // The threads left behind end once their calls return.
    SetEvent(gate->open.get());
    EXPECT_TRUE(wait_until(
        [&] { return gate->passed == static_cast<int>(AccessibilityWorkers::kMostRunningCalls); }));
}

}  // namespace
}  // namespace tapster::win32
