#pragma once

#include <optional>
#include <string>

#include "platform/locale.h"
#include "platform/message_boxes.h"
#include "settings/settings_store.h"
#include "ui/captioned.h"
#include "ui/form_window.h"
#include "ui/save_failure_notice.h"
#include "ui/text_box.h"
#include "ui/timer.h"

namespace tapster {

// The push cycle's pace: the calibration panel, where the user types a number of
// milliseconds, and the interval setting stored apart from it and applied at start-up. An
// interval an administrator sets overrides both while it is set: the panel shows it, says so
// and changes nothing.
class CalibrationPanel {
  public:
    struct Controls {
        ui::FormWindow& window;  // its caption reports a bad interval setting
        ui::Frame& panel;
        ui::TextBox& calibration_field;
        ui::TextBox& interval_field;  // hidden; shows the interval setting
        ui::Timer& push_timer;
        ui::Label& hint;  // explains the unit, and says when an administrator set the value
    };
    struct Services {
        SettingsStore& settings;
        platform::MessageBoxes& message_boxes;
        platform::Locale& locale;
        ui::SaveFailureNotice& save_failures;
    };

    CalibrationPanel(Controls controls, Services services)
        : controls_(controls), services_(services) {}

    void on_calibration_chosen() { controls_.panel.set_visible(true); }
    void on_cancel_clicked() { controls_.panel.set_visible(false); }
    // Applies the calibration value to the push timer and stores it as typed.
    void on_ok_clicked();

    // Shows the interval setting and applies it: a valid value (1 to 9999 milliseconds)
    // becomes the push timer's interval and is stored again; another one is reported in the
    // window's caption until a valid one comes.
    void apply_interval_setting(const std::string& text);

    // Start-up: the stored values, each in place of what the panel shows.
    void restore_interval_setting();
    void restore_calibration();

    // The interval an administrator set, or none: then the user's calibration value applies
    // again.
    void set_managed_interval(std::optional<unsigned> interval);
    bool managed() const { return managed_interval_.has_value(); }

  private:
    Controls controls_;
    Services services_;
    std::optional<unsigned> managed_interval_;
    std::string user_text_;  // what the field showed before an administrator set the value
};

}  // namespace tapster
