#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/desktop.h"

namespace tapster {

// Rounds to the nearest 32-bit integer, halves to the even neighbour (10.5 to 10, 11.5 to
// 12); nothing when the value does not fit.
std::optional<std::int32_t> round_to_int32(double value);

// The synthesised mouse: reads and moves the real cursor and names the window under a
// point. Coordinates are screen pixels; it keeps no state of its own.
class CMouse {
  public:
    explicit CMouse(platform::Desktop& desktop) : desktop_(desktop) {}

    float X() const;
    // Moves the cursor along one axis; the other coordinate is read just before. Returns
    // false for a value that does not fit a 32-bit integer, leaving the cursor alone.
    bool X(float value);
    float Y() const;
    bool Y(float value);
    // The text of the window at the point, at most 254 characters.
    std::string WindowOver(float x, float y) const;

  private:
    platform::Desktop& desktop_;
};

// The module's mouse procedures. Each ignores a failing step and goes on with the next.
class Module1 {
  public:
    explicit Module1(platform::Desktop& desktop) : desktop_(desktop), mouse_(desktop) {}

    void LeftDown();
    void LeftUp();
    // A press followed at once by a release where the cursor stands.
    void LeftClick();
    // Two placements: x first (keeping y), then y (keeping the x the cursor then has).
    void MoveCursor(int x, int y);

    CMouse& mouse() { return mouse_; }

  private:
    platform::Desktop& desktop_;
    CMouse mouse_;
};

}  // namespace tapster
