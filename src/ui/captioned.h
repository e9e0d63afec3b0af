#pragma once

#include <optional>
#include <string>
#include <utility>

#include "ui/control.h"
#include "ui/control_visitor.h"
#include "ui/event.h"

namespace tapster::ui {

// A control that shows a fixed caption: labels, frames, push buttons.
class Captioned : public Control {
  public:
    Captioned(std::string name, std::string caption, TwipsRect rect, bool visible,
              Control* container)
        : Control(std::move(name), rect, visible, container), caption_(std::move(caption)) {}

    const std::string& caption() const { return caption_; }
    void set_caption(std::string caption) { change(caption_, std::move(caption), Change::text); }

  private:
    std::string caption_;
};

// The look of a label or frame where it differs from the platform's default.
struct Appearance {
    bool transparent = false;                // label drawn over its container's background
    bool border = true;                      // frame: etched border with caption
    std::optional<unsigned> background_rgb;  // 0xRRGGBB; none means the platform's colour
    const char* font_face = nullptr;
    int font_points = 0;
    bool bold = false;
};

class Label : public Captioned {
  public:
    Label(std::string name, std::string caption, TwipsRect rect, bool visible, Control* container,
          Appearance appearance = {})
        : Captioned(std::move(name), std::move(caption), rect, visible, container),
          appearance_(appearance) {}
    const Appearance& appearance() const { return appearance_; }
    void accept(ControlVisitor& visitor) override { visitor.visit(*this); }

  private:
    Appearance appearance_;
};

// A container: its children's rectangles are relative to it, and hiding it hides them.
class Frame : public Captioned {
  public:
    Frame(std::string name, std::string caption, TwipsRect rect, bool visible,
          Appearance appearance = {})
        : Captioned(std::move(name), std::move(caption), rect, visible, nullptr),
          appearance_(appearance) {}
    const Appearance& appearance() const { return appearance_; }
    void accept(ControlVisitor& visitor) override { visitor.visit(*this); }

  private:
    Appearance appearance_;
};

class Button : public Captioned {
  public:
    using Captioned::Captioned;
    void accept(ControlVisitor& visitor) override { visitor.visit(*this); }
    Event<> clicked;
    void user_click() { clicked.raise(); }
};

}  // namespace tapster::ui
