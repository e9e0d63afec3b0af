#pragma once

#include <functional>

#include "app/controls/form_window.h"
#include "app/controls/menu_entry.h"
#include "app/settings_store.h"
#include "app/tray_icon.h"
#include "options/calibration_panel.h"
#include "targets/stored_targets.h"

namespace tapster {

// Start-up, once, before the window is first shown. The order of its effects is part of
// its behaviour: the icon first, then the stored interval, the "run minimized" option and
// the targets; the calibration value is applied even when one of those failed.
class Startup {
  public:
    struct Steps {
        TrayIcon& tray;
        CalibrationPanel& calibration;
        StoredTargets& targets;
        SettingsStore& settings;
        ui::FormWindow& window;
        ui::MenuEntry& run_minimized_entry;
        std::function<void()> minimize;
    };

    explicit Startup(Steps steps) : steps_(std::move(steps)) {}

    void run();

  private:
    void restore_run_minimized();

    Steps steps_;
};

}  // namespace tapster
