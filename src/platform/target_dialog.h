#pragma once

#include <functional>
#include <optional>
#include <string>

namespace tapster::platform {

// One target as its dialog shows it: every field of the entry, and its check mark.
struct TargetFields {
    std::string title;
    std::string window_class;
    std::string button_text;
    std::string program;
    std::string message;
    std::string found_id;  // the two identifiers come from a recording and are not typed
    std::string control_id;
    bool forced = false;
    bool enabled = false;
    friend bool operator==(const TargetFields&, const TargetFields&) = default;
};

struct TargetDialogContent {
    TargetFields fields;
    // Set: the entry can not be changed, and this says why; the dialog only shows it.
    std::optional<std::string> read_only_reason;
};

// The dialog that shows one target of the list and lets the user change it, modal over the
// main window. Only one is open at a time.
class TargetDialog {
  public:
    // What the fields as the user left them describe, for the line under them.
    using Describe = std::function<std::string(const TargetFields&)>;
    // OK: the reason the change is refused, which the dialog shows and stays open for, or
    // nothing when it was taken and the dialog closes.
    using Accept = std::function<std::optional<std::string>(const TargetFields&)>;

    virtual ~TargetDialog() = default;
    // Cancel, Esc and the close box close it with nothing called.
    virtual void show(const TargetDialogContent& content, Describe describe, Accept accept) = 0;
};

}  // namespace tapster::platform
