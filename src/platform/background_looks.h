#pragma once

#include <chrono>
#include <functional>

namespace tapster::platform {

// What one look saw.
struct LookOutcome {
    bool found = false;  // something to act on now
    // Something that is about to be worth acting on, such as a window made but not yet
    // shown: the next look comes after the short period instead of the usual one.
    bool expecting = false;
};

struct LookPeriods {
    std::chrono::milliseconds usual;
    std::chrono::milliseconds expecting;
};

// A look taken about every period on a thread of the platform's own, so that looking often
// wakes neither the event loop nor the window's timers; the event loop hears only of a look
// that found something.
class BackgroundLooks {
  public:
    virtual ~BackgroundLooks() = default;

    // Called once, before the first start. `look` runs on the other thread; when it found
    // something, `found` then runs once on the event loop's thread (looks that find something
    // before it ran are heard with it).
    virtual void connect(LookPeriods periods, std::function<LookOutcome()> look,
                         std::function<void()> found) = 0;
    // Looks run from now on, the first about one usual period from now.
    virtual void start() = 0;
    // No look runs once this returns, and none until the next start; a look under way is
    // waited for. A `found` already on its way may still arrive.
    virtual void stop() = 0;
};

}  // namespace tapster::platform
