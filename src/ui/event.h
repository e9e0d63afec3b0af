#pragma once

#include <functional>
#include <utility>

namespace tapster::ui {

// One event slot of a control: the form connects its handler, the control raises it.
template <typename... Args>
class Event {
  public:
    void connect(std::function<void(Args...)> handler) { handler_ = std::move(handler); }
    void raise(Args... args) const {
        if (handler_) {
            handler_(args...);
        }
    }

  private:
    std::function<void(Args...)> handler_;
};

}  // namespace tapster::ui
