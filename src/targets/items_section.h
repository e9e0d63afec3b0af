#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "model/target_list.h"
#include "settings/settings_store.h"

namespace tapster {

// One entry of the target list as the Items section stores it.
struct StoredEntry {
    std::string text;
    bool checked = false;
    friend bool operator==(const StoredEntry&, const StoredEntry&) = default;
};
using StoredList = std::vector<StoredEntry>;

// The user's own entries: the ones an administrator set are never stored.
StoredList stored_list(const TargetList& targets);
// The section's entries in its order, each checked as its key says.
StoredList stored_list(const SettingsStore::Entries& items);

// The stored form of the target list: one key per entry, "c-" or "u-" (checked or not)
// followed by the entry's position, whose value is the entry's target string.
SettingsStore::Entries items_entries(const StoredList& list);
SettingsStore::Entries items_entries(StoredList&& list);

// Whether a stored key marks its entry as checked: only its first character counts, and
// its digits are not read.
bool is_checked_key(std::string_view key);

// The file's list after this copy's own changes: what turned `agreed` (the list as this copy
// last agreed with the file) into `mine` (its list now) is applied to `file` (the list the
// file holds now). Entries are known by their text, a repeated text by its place among its
// repeats. The file's other entries stay where they are; an entry this copy removed is
// removed; this copy's check marks win; its additions follow, in its order.
StoredList merged(const StoredList& agreed, const StoredList& mine, const StoredList& file);
// The same, with the file's list as its Items section holds it.
StoredList merged(const StoredList& agreed, const StoredList& mine,
                  const SettingsStore::Entries& file);

// This copy's change of one entry's text in place: the `repeat`-th entry (from 0) whose text
// is `from` now reads `to`.
struct Replacement {
    std::string from;
    std::size_t repeat = 0;
    std::string to;
};
// Replaces that entry of `list`; false when the list holds no such entry.
bool replace_entry(StoredList& list, const Replacement& replacement);

// merged, with this copy's replacements since it last agreed with the file, in their order:
// a replaced entry keeps the place it has in the file. One that the file no longer holds
// (another copy removed it, or changed it) is one of this copy's additions.
StoredList merged(StoredList agreed, const StoredList& mine, StoredList file,
                  const std::vector<Replacement>& replacements);

}  // namespace tapster
