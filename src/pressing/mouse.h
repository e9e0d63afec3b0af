#pragma once

#include <cstdint>
#include <optional>

#include "platform/desktop.h"

namespace tapster {

// Rounds to the nearest 32-bit integer, halves to the even neighbour (10.5 to 10, 11.5 to
// 12); nothing when the value does not fit.
std::optional<std::int32_t> round_to_int32(double value);

// The synthesised mouse: reads and moves the real cursor and presses its left button.
// Coordinates are screen pixels; it keeps no state of its own, and each step that fails is
// let go while the next one still runs.
class Mouse {
  public:
    explicit Mouse(platform::Desktop& desktop) : desktop_(desktop) {}

    float x() const;
    float y() const;
    // Moves the cursor along one axis; the other coordinate is read just before. Returns
    // false for a value that does not fit a 32-bit integer, leaving the cursor alone.
    bool set_x(float value);
    bool set_y(float value);

    // Moves the cursor there and presses and releases the left button, so that nothing can
    // move the cursor between the move and the click.
    void click_at(int x, int y);

  private:
    platform::Desktop& desktop_;
};

}  // namespace tapster
