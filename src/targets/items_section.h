#pragma once

#include "app/controls/check_list_box.h"
#include "app/settings_store.h"
#include "platform/event_loop.h"

namespace tapster {

// The stored form of the target list: one key per entry, "c-" or "u-" (checked or not)
// followed by the entry's position, whose value is the entry's target string.
SettingsStore::Entries items_entries(const ui::CheckListBox& list);

// Appends the stored entries to the list in the store's order, each checked when its key
// begins with "c", yielding to the event loop before each one so the window stays alive
// and the push cycle already works on what is loaded. Returns how many were loaded; a
// missing or empty section loads nothing.
int load_items(SettingsStore& store, ui::CheckListBox& list, platform::EventLoop& event_loop);

}  // namespace tapster
