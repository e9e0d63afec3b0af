#pragma once

#include <chrono>

#include "model/target_list.h"
#include "platform/desktop_events.h"
#include "platform/top_level_windows.h"
#include "pressing/push_cycle.h"
#include "pressing/wanted_classes.h"
#include "pressing/window_watch.h"
#include "settings/settings_store.h"
#include "ui/menu_entry.h"
#include "ui/save_failure_notice.h"
#include "ui/timer.h"

namespace tapster {

// Options -> "Press at once", on unless the user turned it off: a box is pressed as soon as
// it shows instead of at the push timer's next tick. While the option is on, pressing is not
// paused, the push timer runs and an enabled target can be pressed, the window watch hears of
// the windows other programs make, and a wanted one that shows starts a push tick at once.
// Off, the push timer alone presses, as it always did.
class PressAtOnce {
  public:
    struct Controls {
        ui::MenuEntry& entry;
        ui::Timer& push_timer;  // its interval is how long a pressed box waits for the timer
    };
    struct Services {
        SettingsStore& settings;
        ui::SaveFailureNotice& save_failures;
        platform::TopLevelWindows& windows;
        platform::DesktopEvents& events;
    };

    PressAtOnce(Controls controls, Services services, TargetList& targets, PushCycle& push_cycle);
    // Nothing may be heard by a watch that is gone.
    ~PressAtOnce() { watch_.stop(); }
    PressAtOnce(const PressAtOnce&) = delete;
    PressAtOnce& operator=(const PressAtOnce&) = delete;

    // Start-up: the stored choice; anything but a stored "off" leaves the option on.
    void restore();
    void on_chosen();
    // Starts or stops the watch after something it depends on changed: the pause, the push
    // timer's interval. Changes of the target list are followed without it.
    void refresh();

  private:
    bool should_watch() const;
    void on_found();

    Controls controls_;
    Services services_;
    PushCycle& push_cycle_;
    WindowWatch watch_;
    WantedClasses wanted_;
    bool watching_ = false;
};

}  // namespace tapster
