#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/dispatcher.h"

namespace tapster::win32 {

// Runs calls into other programs' accessible trees on threads of their own, each thread in
// the process's multithreaded COM apartment: such a call is a synchronous request to the other
// program with no time limit, and a hung program must not freeze the window. Nobody waits for
// a call: once it has ended, what comes next is posted to the GUI thread. While a call runs,
// every further call with the same key is skipped; so a hung program holds at most one thread
// per key.
class AccessibilityWorkers {
  public:
    enum class Outcome {
        started,
        skipped,  // a call with the same key is still running, or no thread was to be had
    };
    // Calls running at one time, at most; beyond them every call is skipped.
    static constexpr std::size_t kMostRunningCalls = 8;

    // Made on the GUI thread, which `dispatcher` runs work on.
    explicit AccessibilityWorkers(platform::Dispatcher& dispatcher);
    // Ends the idle threads; a thread still stuck in a call is left behind and ends after it,
    // so a hung program cannot hold up the end of Tapster. Its `then` never runs.
    ~AccessibilityWorkers();
    AccessibilityWorkers(const AccessibilityWorkers&) = delete;
    AccessibilityWorkers& operator=(const AccessibilityWorkers&) = delete;

    // Starts the call on a worker thread and returns. The call must own whatever it touches,
    // and hand results back through something it shares with `then`, which runs on the GUI
    // thread once the call has ended. Whatever the call throws ends with it.
    Outcome run(const std::string& key, std::function<void()> call, std::function<void()> then);

  private:
    struct Worker;

    Outcome start(const std::string& key, std::function<void()> call, std::function<void()> then);
    // On the GUI thread, after the call of that key has ended.
    void finished(const std::string& key, const std::function<void()>& then);

    platform::Dispatcher& dispatcher_;
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
    std::vector<std::unique_ptr<Worker>> idle_;
    std::map<std::string, std::unique_ptr<Worker>> running_;
};

}  // namespace tapster::win32
