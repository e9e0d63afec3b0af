#include "app/startup.h"

#include <exception>

#include "settings/settings_keys.h"
#include "ui/tell_user.h"

namespace tapster {

void Startup::run() {
    steps_.tray.add();
    const char* step = "";
    std::string failure;
    try {
        step = "read its interval";
        steps_.calibration.restore_interval_setting();
        // An option that cannot be read keeps its design state and the targets still
        // load: the next save of the list must not wipe what was never loaded.
        step = "read the option \"Run Minimized on Start\"";
        restore_run_minimized();
        step = nullptr;  // the list tells of its own failure, and what stays where
        steps_.targets.load();
    } catch (const std::exception& error) {
        // Whatever failed above, the calibration value is still applied.
        if (step != nullptr) {
            failure = std::string("Tapster could not ") + step + " at start-up (" + error.what() +
                      ") and goes on without it.";
        }
    }
    steps_.calibration.restore_calibration();
    steps_.calibration.on_ok_clicked();
    if (!failure.empty()) {
        ui::tell_user(steps_.message_boxes, failure);
    }
    if (!steps_.run_minimized_entry.checked()) {
        steps_.window.set_visible(true);
    }
}

void Startup::restore_run_minimized() {
    using namespace settings_keys;
    const std::optional<bool> run_minimized =
        parse_boolean(steps_.settings.read(kRunSection, kRunMinimized, boolean_text(false)));
    if (!run_minimized) {
        return;
    }
    steps_.run_minimized_entry.set_checked(*run_minimized);
    if (*run_minimized) {
        steps_.minimize();
    }
}

}  // namespace tapster
