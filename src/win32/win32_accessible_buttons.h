#pragma once

#include "platform/accessible_buttons.h"
#include "platform/dispatcher.h"
#include "win32/accessibility_workers.h"

namespace tapster::win32 {

// Drawn buttons through Microsoft Active Accessibility, the interface screen readers use,
// which reaches every program that shows its buttons to them. Every call into another
// program runs on a worker thread (AccessibilityWorkers), and its answer is posted back to the
// GUI thread through `dispatcher`.
class Win32AccessibleButtons : public platform::AccessibleButtons {
  public:
    explicit Win32AccessibleButtons(platform::Dispatcher& dispatcher) : workers_(dispatcher) {}

    void ask_button_at(platform::Point screen_point,
                       std::function<void(std::optional<Found>)> answered) override;
    void ask_buttons_of(platform::WindowHandle window,
                        std::function<void(std::optional<WindowButtons>)> answered) override;
    void press(platform::WindowHandle window, std::string_view name, MessageCheck message_check,
               std::function<void(Press)> answered) override;

  private:
    AccessibilityWorkers workers_;
};

}  // namespace tapster::win32
