#include "targets/items_section.h"

#include <string>

namespace tapster {

SettingsStore::Entries items_entries(const TargetList& targets) {
    SettingsStore::Entries entries;
    entries.reserve(targets.entries().size());
    int position = 0;
    for (const TargetList::Entry& entry : targets.entries()) {
        if (entry.managed) {
            continue;  // the administrator's: never the user's to store
        }
        entries.emplace_back((entry.checked ? "c-" : "u-") + std::to_string(position++),
                             entry.text);
    }
    return entries;
}

bool is_checked_key(std::string_view key) {
    return !key.empty() && key.front() == 'c';
}

}  // namespace tapster
