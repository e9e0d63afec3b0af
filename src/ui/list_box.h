#pragma once

#include <string>
#include <utility>
#include <vector>

#include "ui/control.h"
#include "ui/control_visitor.h"

namespace tapster::ui {

// A plain list of texts.
class ListBox : public Control {
  public:
    using Control::Control;
    void accept(ControlVisitor& visitor) override { visitor.visit(*this); }

    int count() const { return static_cast<int>(entries_.size()); }
    const std::string& text(int index) const {
        return entries_.at(static_cast<std::size_t>(index));
    }
    void add(std::string text) {
        entries_.push_back(std::move(text));
        notify(Change::entries);
    }
    void clear() {
        if (entries_.empty()) {
            return;
        }
        entries_.clear();
        notify(Change::entries);
    }

  private:
    std::vector<std::string> entries_;
};

}  // namespace tapster::ui
