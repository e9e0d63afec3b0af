#pragma once

#include "platform/accessible_buttons.h"
#include "platform/event_loop.h"
#include "win32/accessibility_workers.h"

namespace tapster::win32 {

// Drawn buttons through Microsoft Active Accessibility, the interface screen readers use,
// which reaches every program that shows its buttons to them. Every call into another
// program runs on a worker thread (AccessibilityWorkers); the caller's thread runs its
// messages while it waits.
class Win32AccessibleButtons : public platform::AccessibleButtons {
  public:
    // How long a press or a look at the point may take before the program counts as hung.
    static constexpr std::chrono::milliseconds kDeadline{2000};

    explicit Win32AccessibleButtons(platform::EventLoop& event_loop)
        : workers_(event_loop, kDeadline) {}

    std::optional<Found> button_at(platform::Point screen_point) override;
    Press press(platform::WindowHandle window, std::string_view name) override;

  private:
    AccessibilityWorkers workers_;
};

}  // namespace tapster::win32
