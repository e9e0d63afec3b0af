#pragma once

// Where the drawn dialog draws its buttons, in its client coordinates: one row, centred. The
// end-to-end tests aim their drags by it.

#include <windows.h>

namespace drawn {

constexpr int kClientWidth = 440;
constexpr int kClientHeight = 150;

inline RECT button_rect(int index, int count) {
    constexpr int kWidth = 110;
    constexpr int kHeight = 30;
    constexpr int kGap = 20;
    constexpr int kTop = 90;
    const int left = (kClientWidth - (count * kWidth + (count - 1) * kGap)) / 2;
    return RECT{left + index * (kWidth + kGap), kTop, left + index * (kWidth + kGap) + kWidth,
                kTop + kHeight};
}

// The frame of the grouping element around the row, when the buttons are nested.
inline RECT group_rect(int count) {
    const RECT first = button_rect(0, count);
    const RECT last = button_rect(count - 1, count);
    return RECT{first.left - 12, first.top - 26, last.right + 12, last.bottom + 10};
}

}  // namespace drawn
