#pragma once

#include <string>
#include <utility>

#include "ui/control.h"
#include "ui/event.h"

namespace tapster::ui {

// An interval timer. It ticks while enabled and its interval is above zero; an interval of
// zero stops it until another interval is set.
class Timer : public Control {
  public:
    Timer(std::string name, unsigned interval_ms)
        : Control(std::move(name), TwipsRect{}, false, nullptr), interval_ms_(interval_ms) {}

    Event<> ticked;

    unsigned interval() const { return interval_ms_; }
    void set_interval(unsigned interval_ms) { change(interval_ms_, interval_ms, Change::interval); }

    bool running() const { return enabled() && interval_ms_ > 0; }
    void tick() { ticked.raise(); }

  private:
    unsigned interval_ms_;
};

}  // namespace tapster::ui
