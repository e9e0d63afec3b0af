#pragma once

#include <string>
#include <utility>

#include "ui/control.h"

namespace tapster::ui {

// An interval timer: what the window's system timer should be. It runs while enabled and its
// interval is above zero; an interval of zero stops it until another interval is set. Its
// ticks go from the window to the form (WindowEvents::timer_ticked), which knows each
// timer's work.
class Timer : public Control {
  public:
    Timer(std::string name, unsigned interval_ms)
        : Control(std::move(name), TwipsRect{}, false, nullptr), interval_ms_(interval_ms) {}

    unsigned interval() const { return interval_ms_; }
    void set_interval(unsigned interval_ms) { change(interval_ms_, interval_ms, Change::interval); }

    bool running() const { return enabled() && interval_ms_ > 0; }

  private:
    unsigned interval_ms_;
};

}  // namespace tapster::ui
