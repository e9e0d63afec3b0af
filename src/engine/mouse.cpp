#include "engine/mouse.h"

#include <cstdint>

#include "options/numbers.h"

namespace tapster {

std::optional<std::int32_t> round_to_int32(double value) {
    const std::optional<std::int64_t> rounded = round_half_even(value);
    if (!rounded || *rounded < INT32_MIN || *rounded > INT32_MAX) {
        return std::nullopt;
    }
    return static_cast<std::int32_t>(*rounded);
}

float CMouse::X() const {
    return static_cast<float>(desktop_.cursor_position().x);
}

float CMouse::Y() const {
    return static_cast<float>(desktop_.cursor_position().y);
}

bool CMouse::X(float value) {
    const auto x = round_to_int32(value);
    if (!x) {
        return false;
    }
    desktop_.set_cursor_position({*x, desktop_.cursor_position().y});
    return true;
}

bool CMouse::Y(float value) {
    const auto y = round_to_int32(value);
    if (!y) {
        return false;
    }
    desktop_.set_cursor_position({desktop_.cursor_position().x, *y});
    return true;
}

std::string CMouse::WindowOver(float x, float y) const {
    constexpr std::size_t kBufferChars = 255;
    const auto point_x = round_to_int32(x);
    const auto point_y = round_to_int32(y);
    if (!point_x || !point_y) {
        return {};
    }
    const platform::WindowHandle window = desktop_.window_at({*point_x, *point_y});
    return window == 0 ? std::string() : desktop_.window_text(window, kBufferChars);
}

void Module1::LeftDown() {
    desktop_.left_button_down();
}

void Module1::LeftUp() {
    desktop_.left_button_up();
}

void Module1::LeftClick() {
    LeftDown();
    LeftUp();
}

void Module1::MoveCursor(int x, int y) {
    mouse_.X(static_cast<float>(x));
    mouse_.Y(static_cast<float>(y));
}

}  // namespace tapster
