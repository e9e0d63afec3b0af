#pragma once

#include <string>
#include <utility>

#include "ui/control.h"
#include "ui/control_visitor.h"
#include "ui/event.h"

namespace tapster::ui {

// A single-line text box. Its change event runs on every change of content, whether the
// user typed it or the program wrote it; writing the text it already holds runs nothing.
class TextBox : public Control {
  public:
    TextBox(std::string name, std::string text, TwipsRect rect, bool visible, Control* container)
        : Control(std::move(name), rect, visible, container), text_(std::move(text)) {}
    void accept(ControlVisitor& visitor) override { visitor.visit(*this); }

    Event<> changed;

    const std::string& text() const { return text_; }
    void set_text(std::string text) {
        if (change(text_, std::move(text), Change::text)) {
            changed.raise();
        }
    }
    // The view reports what the user typed; the window already shows it.
    void user_edit(std::string text) {
        if (text == text_) {
            return;
        }
        text_ = std::move(text);
        changed.raise();
    }

  private:
    std::string text_;
};

}  // namespace tapster::ui
