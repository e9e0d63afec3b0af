#pragma once

#include "model/target_list.h"
#include "settings/settings_store.h"

namespace tapster {

// The stored form of the target list: one key per entry of the user's own, "c-" or "u-"
// (checked or not) followed by the entry's position, whose value is the entry's target string.
// The entries an administrator set are not the user's and are left out.
SettingsStore::Entries items_entries(const TargetList& targets);

// Whether a stored key marks its entry as checked: only its first character counts, and
// its digits are not read.
bool is_checked_key(std::string_view key);

}  // namespace tapster
