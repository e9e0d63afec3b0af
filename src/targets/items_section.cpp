#include "targets/items_section.h"

#include <string>

#include "app/app_texts.h"

namespace tapster {

SettingsStore::Entries items_entries(const ui::CheckListBox& list) {
    SettingsStore::Entries entries;
    entries.reserve(list.entries().size());
    int position = 0;
    for (const ui::CheckListBox::Entry& entry : list.entries()) {
        entries.emplace_back((entry.checked ? "c-" : "u-") + std::to_string(position++),
                             entry.text);
    }
    return entries;
}

int load_items(SettingsStore& store, ui::CheckListBox& list, platform::EventLoop& event_loop) {
    const auto stored = store.read_section(settings_keys::kItemsSection);
    if (!stored) {
        return 0;
    }
    int loaded = 0;
    for (const auto& [key, value] : *stored) {
        event_loop.yield();
        list.add(value);
        // Only the first character of the key counts; its digits are not read.
        if (!key.empty() && key.front() == 'c') {
            list.set_checked(list.count() - 1, true);
        }
        ++loaded;
    }
    return loaded;
}

}  // namespace tapster
