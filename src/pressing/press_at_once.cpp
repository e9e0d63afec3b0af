#include "pressing/press_at_once.h"

#include "settings/settings_keys.h"

namespace tapster {

PressAtOnce::PressAtOnce(Controls controls, Services services, TargetList& targets,
                         PushCycle& push_cycle)
    : controls_(controls),
      services_(services),
      push_cycle_(push_cycle),
      watch_(services.windows, services.events, [this] { on_found(); }),
      wanted_(targets, watch_, services.windows) {
    controls_.entry.set_checked(true);
    // The first enabled target, or the last one disabled, starts or stops the watch.
    targets.observe([this](const TargetList::Change&) { refresh(); });
}

void PressAtOnce::restore() {
    using namespace settings_keys;
    const std::optional<bool> stored =
        parse_boolean(services_.settings.read(kRunSection, kPressAtOnce, boolean_text(true)));
    controls_.entry.set_checked(stored.value_or(true));
    refresh();
}

void PressAtOnce::on_chosen() {
    ui::MenuEntry& entry = controls_.entry;
    entry.set_checked(!entry.checked());
    refresh();
    services_.save_failures.report(services_.settings.write(
        settings_keys::kRunSection, settings_keys::kPressAtOnce, boolean_text(entry.checked())));
}

bool PressAtOnce::should_watch() const {
    return controls_.entry.checked() && !push_cycle_.paused() && controls_.push_timer.running() &&
           watch_.wants_any();
}

void PressAtOnce::refresh() {
    const bool watch = should_watch();
    if (watch == watching_) {
        return;
    }
    watching_ = watch;
    if (watch) {
        // Windows open before now are the timer's, as they were while the watch was off.
        watch_.start();
    } else {
        watch_.stop();
    }
}

void PressAtOnce::on_found() {
    // A find may arrive just after the watch stopped.
    if (!watching_ || !should_watch()) {
        return;
    }
    push_cycle_.tick_at_once(std::chrono::milliseconds(controls_.push_timer.interval()));
}

}  // namespace tapster
