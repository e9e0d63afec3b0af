#include "options/calibration_panel.h"

#include "model/captions.h"
#include "model/numbers.h"
#include "settings/settings_keys.h"
#include "ui/tell_user.h"

namespace tapster {

namespace {

constexpr unsigned kLongestInterval = 65535;  // what the timer can take, in milliseconds
constexpr const char* kUnitHint = "Each 1000 is one second";
constexpr const char* kManagedHint = "Set by your administrator. Each 1000 is one second";

}  // namespace

void CalibrationPanel::on_ok_clicked() {
    if (managed_interval_) {
        controls_.panel.set_visible(false);  // nothing to apply or store
        return;
    }
    ui::TextBox& field = controls_.calibration_field;
    const std::optional<double> value =
        parse_number(field.text(), services_.locale.number_format());
    if (!value) {
        ui::tell_user(services_.message_boxes, "Only numbers can be entered");
        field.set_text("1000");
    } else {
        const std::optional<std::int64_t> interval = round_half_even(*value);
        if (!interval || *interval < 0 || *interval > kLongestInterval) {
            // The timer cannot take it: the interval in force stays, and the box shows it
            // again so what is stored and what is shown agree.
            ui::tell_user(services_.message_boxes,
                          "The calibration value must be a number of milliseconds from 0 to " +
                              std::to_string(kLongestInterval) + ".");
            field.set_text(std::to_string(controls_.push_timer.interval()));
            return;
        }
        controls_.push_timer.set_interval(static_cast<unsigned>(*interval));
        controls_.panel.set_visible(false);
    }
    services_.save_failures.report(services_.settings.write(
        settings_keys::kRunSection, settings_keys::kCalibration, field.text()));
}

void CalibrationPanel::apply_interval_setting(const std::string& text) {
    controls_.interval_field.set_text(text);
    const std::optional<double> value = parse_number(text, services_.locale.number_format());
    if (!value || *value < 1.0 || *value >= 10000.0) {
        controls_.window.set_caption("Calibartion Must be a numeric vale between  1 and 10000");
        return;
    }
    controls_.window.set_caption(main_caption());
    controls_.push_timer.set_interval(
        static_cast<unsigned>(round_half_even(*value).value_or(1000)));
    services_.save_failures.report(
        services_.settings.write(settings_keys::kIntervalSection, settings_keys::kInterval, text));
}

void CalibrationPanel::restore_interval_setting() {
    apply_interval_setting(services_.settings.read(settings_keys::kIntervalSection,
                                                   settings_keys::kInterval, number_text(1000)));
}

void CalibrationPanel::restore_calibration() {
    controls_.calibration_field.set_text(
        services_.settings.read(settings_keys::kRunSection, settings_keys::kCalibration,
                                controls_.calibration_field.text()));
}

void CalibrationPanel::set_managed_interval(std::optional<unsigned> interval) {
    if (interval == managed_interval_) {
        return;
    }
    const bool was_managed = managed();
    managed_interval_ = interval;
    if (interval) {
        if (!was_managed) {
            user_text_ = controls_.calibration_field.text();
        }
        controls_.calibration_field.set_text(std::to_string(*interval));
        controls_.calibration_field.set_enabled(false);
        controls_.hint.set_caption(kManagedHint);
        controls_.push_timer.set_interval(*interval);
    } else if (was_managed) {
        controls_.calibration_field.set_enabled(true);
        controls_.hint.set_caption(kUnitHint);
        controls_.calibration_field.set_text(user_text_);
        // The user's value as stored, applied as the panel's OK applies it.
        restore_calibration();
        on_ok_clicked();
    }
}

}  // namespace tapster
