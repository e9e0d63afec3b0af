#pragma once

#include <chrono>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/event_loop.h"

namespace tapster::win32 {

// Runs calls into other programs' accessible trees on threads of their own, each thread in
// the process's multithreaded COM apartment: such a call is a synchronous request to the other
// program with no time limit, and a hung program must not freeze the window. The caller waits
// at most a deadline, running its thread's messages meanwhile. A call still running then is
// left to finish on its thread, and every further call with the same key is skipped until
// it has; so a hung program holds at most one thread per key.
class AccessibilityWorkers {
  public:
    enum class Outcome {
        done,     // the call ran to its end
        late,     // the deadline passed first; the call goes on by itself
        skipped,  // a call with the same key is still running, or no thread was to be had
    };
    // Calls stuck at one time, at most; beyond them every call is skipped.
    static constexpr std::size_t kMostRunningCalls = 8;

    AccessibilityWorkers(platform::EventLoop& event_loop, std::chrono::milliseconds deadline);
    // Ends the idle threads; a thread still stuck in a call is left behind and ends after it,
    // so a hung program cannot hold up the end of Tapster.
    ~AccessibilityWorkers();
    AccessibilityWorkers(const AccessibilityWorkers&) = delete;
    AccessibilityWorkers& operator=(const AccessibilityWorkers&) = delete;

    // Runs the call on a worker thread and waits for it. The call may outlive this wait: it
    // must own whatever it touches, and hand results back through something it shares
    // with the caller. Whatever it throws ends with it. Calls that other events make during
    // the wait run on threads of their own.
    Outcome run(const std::string& key, std::function<void()> call);

  private:
    struct Worker;
    struct Running {
        std::unique_ptr<Worker> worker;
        bool awaited = true;  // a caller waits for it; it is not to be reused meanwhile
    };

    Outcome start_and_wait(const std::string& key, std::function<void()> call);
    // Waits until the worker's call ends or the deadline passes, running messages meanwhile;
    // true when the call ended.
    bool wait_for(const Worker& worker);
    // Workers whose late call has ended are idle again.
    void reclaim_finished();

    platform::EventLoop& event_loop_;
    std::chrono::milliseconds deadline_;
    std::vector<std::unique_ptr<Worker>> idle_;
    std::map<std::string, Running> running_;
};

}  // namespace tapster::win32
