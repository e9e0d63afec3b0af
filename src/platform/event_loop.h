#pragma once

namespace tapster::platform {

// Long loops hand control back to the event loop instead of running on another thread.
class EventLoop {
  public:
    virtual ~EventLoop() = default;
    // Runs every message that is pending now (timer ticks, input, painting), then returns.
    // Handlers may therefore run inside the caller; callers re-read shared state afterwards.
    virtual void yield() = 0;
};

}  // namespace tapster::platform
