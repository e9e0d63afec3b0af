#include "history/history_option.h"

#include "settings/settings_keys.h"

namespace tapster {

HistoryOption::HistoryOption(ui::MenuEntry& entry, SettingsStore& settings,
                             ui::SaveFailureNotice& save_failures, PressHistory& history)
    : entry_(entry), settings_(settings), save_failures_(save_failures), history_(history) {
    apply();
}

void HistoryOption::restore() {
    using namespace settings_keys;
    chosen_ =
        parse_boolean(settings_.read(kRunSection, kKeepHistory, boolean_text(true))).value_or(true);
    apply();
}

void HistoryOption::on_chosen() {
    // The entry is disabled while the policy decides; a click that comes anyway changes
    // nothing the user could not see.
    if (managed_) {
        return;
    }
    chosen_ = !chosen_;
    apply();
    save_failures_.report(settings_.write(settings_keys::kRunSection, settings_keys::kKeepHistory,
                                          boolean_text(chosen_)));
}

std::vector<std::string> HistoryOption::refresh_policy(platform::Policy& policy) {
    platform::PolicyNumber number = platform::read_policy_number(
        policy, platform::policy_keys::kHistory, 0, 1, "0 (keep no history) or 1 (keep one)");
    if (number.known) {
        managed_.reset();
        if (number.number) {
            managed_ = *number.number == 1;
        }
        apply();
    }
    return std::move(number.problems);
}

void HistoryOption::apply() {
    const bool keeping = managed_.value_or(chosen_);
    entry_.set_checked(keeping);
    entry_.set_enabled(!managed_.has_value());
    history_.set_keeping(keeping);
}

}  // namespace tapster
