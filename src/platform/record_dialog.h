#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace tapster::platform {

// What the "Record from open windows" dialog shows and hands back: the windows now open that
// hold a button, one line each, the chosen window's buttons, and a line of status. The
// portable side keeps it; the dialog only shows it and passes on the user's choice.
class RecordChoices {
  public:
    virtual ~RecordChoices() = default;

    // Lists the windows anew.
    virtual void refresh() = 0;
    // About every half second while the dialog is open.
    virtual void tick() = 0;
    virtual std::vector<std::string> window_lines() const = 0;
    virtual std::string status() const = 0;
    // The window's buttons; nothing when it has closed meanwhile, and it is then left out.
    virtual std::optional<std::vector<std::string>> buttons_of(std::size_t window) = 0;
    // Fills the capture fields from the button. False when it or its window has gone
    // meanwhile, and the window is then left out.
    virtual bool record(std::size_t window, std::size_t button) = 0;
    // Runs whenever the lines or the status change, until it is replaced; empty for none.
    virtual void on_change(std::function<void()> changed) = 0;
};

// "Record from open windows", over the main window until the user records a button or
// cancels.
class RecordDialog {
  public:
    virtual ~RecordDialog() = default;
    virtual void show(RecordChoices& choices) = 0;
};

}  // namespace tapster::platform
