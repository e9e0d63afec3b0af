#pragma once

#include <optional>

#include "history/press_history.h"
#include "platform/policy.h"
#include "settings/settings_store.h"
#include "ui/menu_entry.h"
#include "ui/save_failure_notice.h"

namespace tapster {

// Options -> "Keep a history", on unless the user turned it off. An administrator's DWORD
// `History` (0 or 1) decides for everyone instead: the entry then shows that and is disabled,
// and the user's own choice stays stored for when the policy goes.
class HistoryOption {
  public:
    HistoryOption(ui::MenuEntry& entry, SettingsStore& settings,
                  ui::SaveFailureNotice& save_failures, PressHistory& history);

    // Start-up: anything but a stored "off" keeps a history.
    void restore();
    void on_chosen();
    // Reads the policy again; returns the values it cannot use, each named with the reason.
    std::vector<std::string> refresh_policy(platform::Policy& policy);

  private:
    void apply();

    ui::MenuEntry& entry_;
    SettingsStore& settings_;
    ui::SaveFailureNotice& save_failures_;
    PressHistory& history_;
    bool chosen_ = true;
    std::optional<bool> managed_;
};

}  // namespace tapster
