#pragma once

#include <functional>

namespace tapster::platform {

// Work for the GUI thread, run after the handler that posts it has returned and the messages
// before it have been handled: how a long job goes in steps while the window keeps answering,
// and how an answer from another thread comes back to the thread that owns the state.
class Dispatcher {
  public:
    virtual ~Dispatcher() = default;
    // Safe to call from any thread. Work still queued when the program ends is dropped.
    virtual void post(std::function<void()> work) = 0;
};

}  // namespace tapster::platform
