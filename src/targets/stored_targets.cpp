#include "targets/stored_targets.h"

#include <algorithm>
#include <string>
#include <utility>

#include "settings/settings_keys.h"
#include "targets/items_section.h"
#include "ui/tell_user.h"

namespace tapster {

namespace {

// Turns the user's own entries into `wanted` with the few changes a list that only appends
// allows: the entries `wanted` begins with stay where they are, with the highlight on screen,
// and only change their check marks; the others are removed, and the rest of `wanted`
// appended. The administrator's entries after them are not the file's and stay.
void show(TargetList& targets, const StoredList& wanted) {
    std::size_t next = 0;
    std::vector<int> unwanted;
    for (int position = 0; position < targets.own_count(); ++position) {
        const TargetList::Entry& entry = targets.at(position);
        if (next < wanted.size() && entry.text == wanted[next].text) {
            targets.set_checked(position, wanted[next++].checked);
        } else {
            unwanted.push_back(position);
        }
    }
    for (auto position = unwanted.rbegin(); position != unwanted.rend(); ++position) {
        targets.remove(*position);
    }
    for (; next < wanted.size(); ++next) {
        targets.append(wanted[next].text, wanted[next].checked);
    }
}

// Whether the list is still as it was agreed with the file: no change of the user's to store.
bool unchanged(const TargetList& targets, const StoredList& agreed) {
    const std::vector<TargetList::Entry>& entries = targets.entries();
    return std::equal(entries.begin(), entries.begin() + targets.own_count(), agreed.begin(),
                      agreed.end(), [](const TargetList::Entry& entry, const StoredEntry& stored) {
                          return entry.checked == stored.checked && entry.text == stored.text;
                      });
}

constexpr auto kMostEntries = static_cast<std::size_t>(TargetList::kMostEntries);

// How many of the user's own entries the list has room for beside the administrator's.
std::size_t own_room(const TargetList& targets) {
    return kMostEntries - static_cast<std::size_t>(targets.count() - targets.own_count());
}

}  // namespace

StoredTargets::StoredTargets(SettingsStore& settings, TargetList& targets,
                             platform::Dispatcher& dispatcher,
                             platform::MessageBoxes& message_boxes,
                             ui::SaveFailureNotice& save_failures)
    : settings_(settings),
      targets_(targets),
      dispatcher_(dispatcher),
      message_boxes_(message_boxes),
      save_failures_(save_failures),
      clock_([] { return std::chrono::steady_clock::now(); }) {}

void StoredTargets::load() {
    if (loading_) {
        return;
    }
    SettingsStore::SectionCopy copy;
    const platform::Status read =
        settings_.read_section_copy(settings_keys::kItemsSection, copy, true);
    if (read.failed()) {
        tell_once(told_incomplete_,
                  "Tapster could not load its list of targets, so it starts without them. They "
                  "stay in the settings file: Tapster shows them once it can read the file, and "
                  "keeps them when it saves the list.\r\n\r\n" +
                      read.message());
        finish();
        return;
    }
    to_load_ = stored_list(copy.entries);
    to_load_stamp_ = copy.stamp;
    loading_ = true;
    load_step(0);
}

// Each entry the list takes from the file is one the list agrees on, so that a load ended
// early, or a user's addition among the loaded entries, is no change of the user's.
void StoredTargets::load_step(std::size_t next) {
    try {
        next = append_step(next);
        if (next < to_load_.size()) {
            dispatcher_.post([this, next] { load_step(next); });
            return;
        }
    } catch (const std::exception&) {
        end_load(false);
        return;
    }
    end_load(true);
}

std::size_t StoredTargets::append_step(std::size_t next) {
    const auto started = clock_();
    // The room is asked at every step: the administrator's targets may have come meanwhile.
    const std::size_t end = std::min(to_load_.size(), own_room(targets_));
    while (next < end) {
        targets_.append(to_load_[next].text, to_load_[next].checked);
        agreed_.push_back(to_load_[next]);
        ++next;
        if (clock_() - started >= kLoadStep) {
            return next;
        }
    }
    return to_load_.size();
}

void StoredTargets::end_load(bool whole) {
    loading_ = false;
    const std::size_t stored = to_load_.size();
    to_load_.clear();
    if (whole) {
        stamp_ = to_load_stamp_;
        stamp_known_ = true;
        tell_about_limit(stored);
    } else {
        save_waiting_ = false;
        tell_once(told_incomplete_,
                  "Tapster could not load its whole list of targets. The rest stay in the "
                  "settings file: Tapster shows them once it reads the file again.");
    }
    finish();
}

void StoredTargets::save() {
    if (loading_ || busy_) {
        save_waiting_ = true;
        return;
    }
    if (unchanged(targets_, agreed_)) {
        follow_file();
        return;
    }
    store_changes(false);
}

bool StoredTargets::replace(int index, std::string text) {
    const TargetList::Entry& entry = targets_.at(index);
    if (entry.managed) {
        return false;
    }
    if (entry.text == text) {
        return true;
    }
    // Known to a save as the same repeat of its text in the list agreed on; an entry this
    // copy added and has not stored yet is an addition either way.
    Replacement replacement{entry.text, 0, text};
    for (int before = 0; before < index; ++before) {
        replacement.repeat += targets_.at(before).text == entry.text ? 1 : 0;
    }
    StoredList agreed = agreed_;
    for (const Replacement& earlier : replacements_) {
        replace_entry(agreed, earlier);
    }
    if (replace_entry(agreed, replacement)) {
        replacements_.push_back(std::move(replacement));
    }
    targets_.replace(index, std::move(text));
    save();
    return true;
}

void StoredTargets::store_changes(bool file_set_aside) {
    busy_ = true;
    const StoredList mine = stored_list(targets_);
    SettingsStore::SectionCopy stored;
    const platform::Status saved = settings_.merge_section(
        settings_keys::kItemsSection,
        [&](const SettingsStore::Entries& now, bool damaged) {
            // A file that had to be set aside holds nothing to go by but what this copy last
            // agreed with.
            const bool from_agreed = damaged || file_set_aside;
            if (!replacements_.empty()) {
                return items_entries(
                    merged(agreed_, mine, from_agreed ? agreed_ : stored_list(now), replacements_));
            }
            return items_entries(from_agreed ? merged(agreed_, mine, agreed_)
                                             : merged(agreed_, mine, now));
        },
        stored);
    save_failures_.report(saved);
    if (!saved.failed()) {
        adopt(stored_list(stored.entries), stored.stamp);
    }
    busy_ = false;
    finish();
}

void StoredTargets::follow_file() {
    if (loading_ || busy_) {
        return;
    }
    const platform::SettingsFile::Stamp now = settings_.stamp();
    if (stamp_known_ && now == stamp_) {
        return;
    }
    // A change of this copy's that could not be stored before (the lock was busy, the load
    // ended early) is stored now, with what the file holds.
    if (!unchanged(targets_, agreed_)) {
        store_changes(false);
        return;
    }
    // A file that looked damaged at the last tick and has not changed since is not being
    // written: it is set aside, and this copy's list stored in its place.
    const bool settled_damage = damaged_ && *damaged_ == now;
    damaged_.reset();
    SettingsStore::SectionCopy copy;
    busy_ = true;
    const platform::Status read =
        settings_.read_section_copy(settings_keys::kItemsSection, copy, settled_damage);
    busy_ = false;
    if (read.failed()) {
        stamp_known_ = false;
    } else if (copy.damaged && !settled_damage) {
        damaged_ = now;
    } else if (copy.damaged) {
        store_changes(true);
        return;
    } else {
        adopt(stored_list(copy.entries), copy.stamp);
    }
    finish();
}

void StoredTargets::adopt(StoredList file, const platform::SettingsFile::Stamp& stamp) {
    const std::size_t stored = file.size();
    file.resize(std::min(stored, own_room(targets_)));
    agreed_ = std::move(file);
    replacements_.clear();
    show(targets_, agreed_);
    stamp_ = stamp;
    stamp_known_ = true;
    tell_about_limit(stored);
}

void StoredTargets::tell_about_limit(std::size_t stored) {
    const std::size_t room = own_room(targets_);
    if (stored > room) {
        tell_once(told_limit_,
                  "The list holds at most " + std::to_string(TargetList::kMostEntries) +
                      " targets. Tapster shows the first ones; the other " +
                      std::to_string(stored - room) + " stay in the settings file unchanged.");
    }
}

void StoredTargets::tell_once(bool& told, std::string message) {
    if (!told) {
        told = true;
        messages_.push_back(std::move(message));
    }
}

void StoredTargets::finish() {
    // Shown once the list is whole again: a message box lets timer ticks in.
    for (std::string& message : std::exchange(messages_, {})) {
        ui::tell_user(message_boxes_, message);
    }
    if (save_waiting_ && !loading_ && !busy_) {
        save_waiting_ = false;
        save();
    }
}

}  // namespace tapster
