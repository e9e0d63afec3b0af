#pragma once

#include "ui/captioned.h"
#include "ui/timer.h"

namespace tapster {

// The yellow notice that asks the user to keep holding the mouse button during a capture,
// its text animated by its own timer.
class WaitNotice {
  public:
    WaitNotice(ui::Frame& frame, ui::Label& text, ui::Timer& timer)
        : frame_(frame), text_(text), timer_(timer) {}

    void start() { timer_.set_enabled(true); }
    // Each tick of the notice's timer: the next frame while a capture is armed; otherwise
    // the notice hides and its timer stops.
    void on_tick(bool capture_armed);

  private:
    ui::Frame& frame_;
    ui::Label& text_;
    ui::Timer& timer_;
};

}  // namespace tapster
