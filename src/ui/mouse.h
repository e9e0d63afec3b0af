#pragma once

namespace tapster::ui {

// Mouse buttons and shift keys as the form's mouse handlers receive them.
inline constexpr int kLeftButton = 1;
inline constexpr int kRightButton = 2;
inline constexpr int kMiddleButton = 4;

struct MouseArgs {
    int button = 0;  // kLeftButton, kRightButton, or 0 for a plain move
    int shift = 0;   // 1 shift, 2 ctrl, 4 alt
    float x = 0.0F;  // twips, relative to the control
    float y = 0.0F;
};

}  // namespace tapster::ui
