#pragma once

#include <chrono>
#include <functional>
#include <optional>

#include "platform/desktop.h"

namespace tapster::platform {

// What the system tells of a window of another program: any window, controls inside others
// included, since asking whether a window is top-level costs as much as asking its class.
struct WindowEvent {
    enum class Kind { made, shown, destroyed };
    Kind kind = Kind::made;
    WindowHandle window = 0;
};

// The system's news of other programs' windows as they are made, shown and destroyed, and a
// timer for looks in between; both are heard on the event loop's thread, and nothing else
// wakes it for them.
class DesktopEvents {
  public:
    virtual ~DesktopEvents() = default;

    // Called once, before anything else. `heard` runs for each event while listening, and
    // `looked` at each tick of the look timer; each returns true when it found a window to act
    // on now. `found` then runs once, from the event loop itself and never inside another of
    // its handlers (finds made before it ran are heard with it).
    virtual void connect(std::function<bool(const WindowEvent&)> heard,
                         std::function<bool()> looked, std::function<void()> found) = 0;
    // Events are heard from now on; false when the system will not tell of windows at all.
    virtual bool listen() = 0;
    virtual void stop_listening() = 0;
    // The look timer: `looked` about every `period` from now on; none: no looks.
    virtual void set_look_period(std::optional<std::chrono::milliseconds> period) = 0;
};

}  // namespace tapster::platform
