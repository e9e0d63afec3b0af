#pragma once

#include <string>
#include <utility>

#include "ui/captioned.h"
#include "ui/control_visitor.h"

namespace tapster::ui {

class CheckBox : public Captioned {
  public:
    using Captioned::Captioned;
    void accept(ControlVisitor& visitor) override { visitor.visit(*this); }

    // 1 when checked, 0 when not, as the form's logic tests it.
    int value() const { return checked_ ? 1 : 0; }
    bool checked() const { return checked_; }
    void set_checked(bool checked) { change(checked_, checked, Change::checked); }
    void user_toggle() {
        checked_ = !checked_;
        notify(Change::checked);
    }

  private:
    bool checked_ = false;
};

}  // namespace tapster::ui
