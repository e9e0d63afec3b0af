#include "targets/stored_targets.h"

#include "app/app_texts.h"
#include "targets/items_section.h"

namespace tapster {

void StoredTargets::load() {
    loading_ = true;
    try {
        if (const auto stored = settings_.read_section(settings_keys::kItemsSection)) {
            for (const auto& [key, value] : *stored) {
                event_loop_.yield();
                targets_.append(value, is_checked_key(key));
            }
        }
    } catch (...) {
        // Saves must not stay held back by a load that ended early.
        loading_ = false;
        throw;
    }
    loading_ = false;
    if (save_waiting_) {
        save_waiting_ = false;
        save();
    }
}

void StoredTargets::save() {
    if (loading_) {
        save_waiting_ = true;
        return;
    }
    save_failures_.report(
        settings_.replace_section(settings_keys::kItemsSection, items_entries(targets_)));
}

}  // namespace tapster
