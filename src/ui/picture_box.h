#pragma once

#include <string>
#include <utility>

#include "ui/control.h"
#include "ui/control_visitor.h"
#include "ui/event.h"
#include "ui/mouse.h"

namespace tapster::ui {

// A picture box showing one of the program's icons.
class PictureBox : public Control {
  public:
    enum class Image { check_mark };

    PictureBox(std::string name, Image image, TwipsRect rect, bool visible, Control* container)
        : Control(std::move(name), rect, visible, container), image_(image) {}

    Image image() const { return image_; }
    void accept(ControlVisitor& visitor) override { visitor.visit(*this); }

    Event<const MouseArgs&> mouse_down;
    Event<const MouseArgs&> mouse_up;

  private:
    Image image_;
};

}  // namespace tapster::ui
