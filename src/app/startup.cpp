#include "app/startup.h"

#include <exception>

#include "model/app_texts.h"

namespace tapster {

void Startup::run() {
    steps_.tray.add();
    try {
        steps_.calibration.restore_interval_setting();
        // An option that cannot be read keeps its design state and the targets still
        // load: the next save of the list must not wipe what was never loaded.
        restore_run_minimized();
        steps_.targets.load();
    } catch (const std::exception&) {
        // Whatever failed above, the calibration value is still applied.
    }
    steps_.calibration.restore_calibration();
    steps_.calibration.on_ok_clicked();
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
