#pragma once

#include <optional>
#include <string>
#include <utility>

#include "platform/target_dialog.h"

namespace tapster::fakes {

// Keeps the dialog shown last, for a test to read and answer as the user would.
class FakeTargetDialog : public platform::TargetDialog {
  public:
    int shown = 0;
    platform::TargetDialogContent content;
    Describe describe;
    Accept accept;

    void show(const platform::TargetDialogContent& shown_content, Describe describe_fields,
              Accept accept_fields) override {
        ++shown;
        content = shown_content;
        describe = std::move(describe_fields);
        accept = std::move(accept_fields);
    }
    // OK with the fields as given; the refusal, if any.
    std::optional<std::string> ok(const platform::TargetFields& fields) { return accept(fields); }
};

}  // namespace tapster::fakes
