#pragma once

#include <string>
#include <utility>

#include "ui/control.h"

namespace tapster::ui {

inline constexpr int kStandardDpi = 96;
inline constexpr int kTwipsPerInch = 1440;

// Twips are the form's unit: 15 to a pixel at the standard 96 DPI. Both directions round
// the same way everywhere, so a pixel value converted twice compares equal.
inline float pixels_to_twips(int pixels, int dpi) {
    return static_cast<float>(pixels) *
           (static_cast<float>(kTwipsPerInch) / static_cast<float>(dpi));
}
inline int twips_to_pixels(int twips, int dpi) {
    const long long scaled = static_cast<long long>(twips) * dpi;
    const long long half = kTwipsPerInch / 2;
    return static_cast<int>(scaled >= 0 ? (scaled + half) / kTwipsPerInch
                                        : -((-scaled + half) / kTwipsPerInch));
}

// The mouse pointer shown over the form; the move pointer also marks an armed capture.
enum class MousePointer { default_pointer, arrow, move };

// The main window itself: its caption, whether it is shown, and its pointer.
class FormWindow : public Control {
  public:
    FormWindow(std::string name, std::string caption, TwipsRect client)
        : Control(std::move(name), client, false, nullptr), caption_(std::move(caption)) {}

    const std::string& caption() const { return caption_; }
    void set_caption(std::string caption) { change(caption_, std::move(caption), Change::text); }

    MousePointer mouse_pointer() const { return pointer_; }
    void set_mouse_pointer(MousePointer pointer) {
        change(pointer_, pointer, Change::mouse_pointer);
    }

  private:
    std::string caption_;
    MousePointer pointer_ = MousePointer::default_pointer;
};

}  // namespace tapster::ui
