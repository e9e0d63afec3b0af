// The push cycle's pace: the calibration panel, and the interval setting restored at start.
#include <string>

#include "app/app_texts.h"
#include "app/form1.h"
#include "app/settings_store.h"
#include "options/numbers.h"

namespace tapster {

namespace {

constexpr unsigned kLongestInterval = 65535;  // what the timer can take, in milliseconds

}  // namespace

void Form1::Calibration_Click() {
    Frame2.set_visible(true);
}

void Form1::Command10_Click() {
    Frame2.set_visible(false);
}

void Form1::Command8_Click() {
    const std::optional<double> value =
        parse_number(Text15.text(), services_.locale.number_format());
    if (!value) {
        services_.message_boxes.show("Only numbers can be entered", std::string(kApplicationTitle),
                                     platform::MessageBoxStyle::ok);
        Text15.set_text("1000");
    } else {
        const std::optional<std::int64_t> interval = round_half_even(*value);
        if (!interval || *interval < 0 || *interval > kLongestInterval) {
            // The timer cannot take it: the interval in force stays, and the box shows it
            // again so what is stored and what is shown agree.
            services_.message_boxes.show(
                "The calibration value must be a number of milliseconds from 0 to " +
                    std::to_string(kLongestInterval) + ".",
                std::string(kApplicationTitle), platform::MessageBoxStyle::ok);
            Text15.set_text(std::to_string(Timer2.interval()));
            return;
        }
        Timer2.set_interval(static_cast<unsigned>(*interval));
        Frame2.set_visible(false);
    }
    report_store_failure(services_.settings.write(settings_keys::kRunSection,
                                                  settings_keys::kCalibration, Text15.text()));
}

void Form1::Text10_Change() {
    const std::optional<double> value =
        parse_number(Text10.text(), services_.locale.number_format());
    if (!value || *value < 1.0 || *value >= 10000.0) {
        window.set_caption("Calibartion Must be a numeric vale between  1 and 10000");
        return;
    }
    window.set_caption(main_caption());
    Timer2.set_interval(static_cast<unsigned>(round_half_even(*value).value_or(1000)));
    report_store_failure(services_.settings.write(settings_keys::kIntervalSection,
                                                  settings_keys::kInterval, Text10.text()));
}

}  // namespace tapster
