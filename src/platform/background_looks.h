#pragma once

#include <chrono>
#include <functional>

namespace tapster::platform {

// A look taken about every period on a thread of the platform's own, so that looking often
// wakes neither the event loop nor the window's timers; the event loop hears only of a look
// that found something.
class BackgroundLooks {
  public:
    virtual ~BackgroundLooks() = default;

    // Called once, before the first start. `look` runs on the other thread and returns true
    // when it found something; `found` then runs once on the event loop's thread (looks that
    // find something before it ran are heard with it).
    virtual void connect(std::chrono::milliseconds period, std::function<bool()> look,
                         std::function<void()> found) = 0;
    // Looks run from now on, the first about one period from now.
    virtual void start() = 0;
    // No look runs once this returns, and none until the next start; a look under way is
    // waited for. A `found` already on its way may still arrive.
    virtual void stop() = 0;
};

}  // namespace tapster::platform
