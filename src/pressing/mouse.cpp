#include "pressing/mouse.h"

#include <cstdint>

#include "model/numbers.h"

namespace tapster {

std::optional<std::int32_t> round_to_int32(double value) {
    const std::optional<std::int64_t> rounded = round_half_even(value);
    if (!rounded || *rounded < INT32_MIN || *rounded > INT32_MAX) {
        return std::nullopt;
    }
    return static_cast<std::int32_t>(*rounded);
}

float Mouse::x() const {
    return static_cast<float>(desktop_.cursor_position().x);
}

float Mouse::y() const {
    return static_cast<float>(desktop_.cursor_position().y);
}

bool Mouse::set_x(float value) {
    const auto x = round_to_int32(value);
    if (!x) {
        return false;
    }
    desktop_.set_cursor_position({*x, desktop_.cursor_position().y});
    return true;
}

bool Mouse::set_y(float value) {
    const auto y = round_to_int32(value);
    if (!y) {
        return false;
    }
    desktop_.set_cursor_position({desktop_.cursor_position().x, *y});
    return true;
}

void Mouse::click_at(int x, int y) {
    desktop_.click_at({x, y});
}

}  // namespace tapster
