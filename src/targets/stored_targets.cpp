#include "targets/stored_targets.h"

#include <string>
#include <utility>
#include <vector>

#include "model/app_texts.h"
#include "model/tell_user.h"
#include "targets/items_section.h"

namespace tapster {

StoredTargets::StoredTargets(SettingsStore& settings, TargetList& targets,
                             platform::EventLoop& event_loop, platform::MessageBoxes& message_boxes,
                             SaveFailureNotice& save_failures)
    : settings_(settings),
      targets_(targets),
      event_loop_(event_loop),
      message_boxes_(message_boxes),
      save_failures_(save_failures),
      clock_([] { return std::chrono::steady_clock::now(); }) {
    targets_.observe([this](const TargetList::Change& change) { on_change(change); });
}

void StoredTargets::on_change(const TargetList::Change& change) {
    // The administrator's entries are not stored: their changes change nothing here.
    if (own_change_ || change.managed) {
        return;
    }
    changed_ = true;
    if (change.kind == TargetList::Change::Kind::removed && change.index < from_file_) {
        --from_file_;
    }
}

void StoredTargets::load() {
    SettingsStore::Entries stored;
    const Status read = settings_.try_read_section(settings_keys::kItemsSection, stored);
    if (read.failed()) {
        complete_ = false;
        tell_once(told_incomplete_,
                  "Tapster could not load its list of targets, so it starts without them. They "
                  "stay in the settings file: Tapster reads them again before it saves the "
                  "list.\r\n\r\n" +
                      read.message());
        return;
    }
    complete_ = false;
    loading_ = true;
    try {
        append_stored(stored, 0);
    } catch (...) {
        loading_ = false;
        save_waiting_ = false;
        tell_once(told_incomplete_,
                  "Tapster could not load its whole list of targets. The rest stay in the "
                  "settings file: Tapster reads them again before it saves the list.");
        throw;
    }
    loading_ = false;
    complete_ = true;
    if (save_waiting_) {
        save_waiting_ = false;
        save();
    }
}

void StoredTargets::append_stored(const SettingsStore::Entries& stored, std::size_t from) {
    auto last_yield = clock_();
    bool yielded = false;
    for (std::size_t index = from; index < stored.size(); ++index) {
        if (!yielded || clock_() - last_yield >= kYieldEvery) {
            event_loop_.yield();
            last_yield = clock_();
            yielded = true;
        }
        const auto& [key, value] = stored[index];
        if (targets_.full()) {
            beyond_limit_.assign(stored.begin() + static_cast<std::ptrdiff_t>(index), stored.end());
            consumed_ = stored.size();
            tell_once(told_limit_, "The list holds at most " +
                                       std::to_string(TargetList::kMostEntries) +
                                       " targets. Tapster uses the first ones; the other " +
                                       std::to_string(beyond_limit_.size()) +
                                       " stay in the settings file unchanged.");
            return;
        }
        own_change_ = true;
        targets_.append(value, is_checked_key(key));
        own_change_ = false;
        consumed_ = index + 1;
        ++from_file_;
    }
}

bool StoredTargets::finish_incomplete_load() {
    SettingsStore::Entries stored;
    if (settings_.try_read_section(settings_keys::kItemsSection, stored).failed()) {
        return false;
    }
    // The user's own entries move behind the ones still to come from the file.
    std::vector<std::pair<std::string, bool>> added;
    for (int index = from_file_; index < targets_.own_count(); ++index) {
        added.emplace_back(targets_.at(index).text, targets_.at(index).checked);
    }
    const auto put_back_added = [&] {
        own_change_ = true;
        for (auto& [text, checked] : added) {
            targets_.append(std::move(text), checked);
        }
        own_change_ = false;
    };
    loading_ = true;
    own_change_ = true;
    while (targets_.own_count() > from_file_) {
        targets_.remove(targets_.own_count() - 1);
    }
    own_change_ = false;
    try {
        append_stored(stored, consumed_);
    } catch (...) {
        // The user's entries are never lost from the list; the load is tried again later.
        own_change_ = false;
        put_back_added();
        loading_ = false;
        return false;
    }
    put_back_added();
    loading_ = false;
    save_waiting_ = false;
    complete_ = true;
    return true;
}

SettingsStore::Entries StoredTargets::entries_to_store() const {
    SettingsStore::Entries entries = items_entries(targets_);
    int position = targets_.own_count();
    for (const auto& [key, value] : beyond_limit_) {
        entries.emplace_back((is_checked_key(key) ? "c-" : "u-") + std::to_string(position++),
                             value);
    }
    return entries;
}

void StoredTargets::save() {
    if (loading_) {
        save_waiting_ = true;
        return;
    }
    if (!complete_ && !finish_incomplete_load()) {
        return;  // nothing is written over a list that could not be read
    }
    if (!changed_) {
        return;
    }
    const Status saved =
        settings_.replace_section(settings_keys::kItemsSection, entries_to_store());
    save_failures_.report(saved);
    if (!saved.failed()) {
        changed_ = false;
    }
}

void StoredTargets::tell_once(bool& told, const std::string& message) {
    if (told) {
        return;
    }
    told = true;
    tell_user(message_boxes_, message);
}

}  // namespace tapster
