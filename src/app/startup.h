#pragma once

#include <functional>
#include <string>

#include "options/calibration_panel.h"
#include "platform/message_boxes.h"
#include "settings/settings_store.h"
#include "targets/stored_targets.h"
#include "tray/tray_icon.h"
#include "ui/form_window.h"
#include "ui/menu_entry.h"

namespace tapster {

// Start-up, once, before the window is first shown. The order of its effects is part of
// its behaviour: the icon first, then the stored interval, the "run minimized" option and
// the targets; the calibration value is applied even when one of those failed. Such a
// failure skips the rest of those three and is told to the user once, naming what failed,
// before the window shows (the targets' load tells of its own).
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
        platform::MessageBoxes& message_boxes;
    };

    explicit Startup(Steps steps) : steps_(std::move(steps)) {}

    void run();

  private:
    void restore_run_minimized();

    Steps steps_;
};

}  // namespace tapster
