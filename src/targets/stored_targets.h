#pragma once

#include <chrono>
#include <functional>

#include "model/target_list.h"
#include "platform/event_loop.h"
#include "platform/message_boxes.h"
#include "settings/save_failure_notice.h"
#include "settings/settings_store.h"

namespace tapster {

// Keeps the Items section equal to the target list: loads it once at start-up and stores
// the whole list again after a change. The stored list is never overwritten from a list
// that holds less than the file: after a load that could not read everything, each save
// first tries the load again and keeps what is stored, the user's edits after it.
class StoredTargets {
  public:
    using Clock = std::function<std::chrono::steady_clock::time_point()>;
    // The load lets the window breathe this often, not before every entry: a yield costs
    // as much as loading dozens of entries.
    static constexpr std::chrono::milliseconds kYieldEvery{10};

    StoredTargets(SettingsStore& settings, TargetList& targets, platform::EventLoop& event_loop,
                  platform::MessageBoxes& message_boxes, SaveFailureNotice& save_failures);

    // Appends the stored entries in the file's order (at most the list's limit), yielding
    // now and then so the window stays alive and the push cycle already works on what is
    // loaded. An exception from a yield ends the load early and is passed on.
    void load();
    // Replaces the section with the whole list in one store operation, so the file always
    // holds the list as of this moment and ending the program leaves no half-written list.
    // Writes nothing when the list has not changed since it was last loaded or saved.
    void save();

    bool complete() const { return complete_; }
    void set_clock(Clock clock) { clock_ = std::move(clock); }

  private:
    void append_stored(const SettingsStore::Entries& stored, std::size_t from);
    bool finish_incomplete_load();
    SettingsStore::Entries entries_to_store() const;
    void tell_once(bool& told, const std::string& message);
    void on_change(const TargetList::Change& change);

    SettingsStore& settings_;
    TargetList& targets_;
    platform::EventLoop& event_loop_;
    platform::MessageBoxes& message_boxes_;
    SaveFailureNotice& save_failures_;
    Clock clock_;

    // While the stored list is being loaded a save would store only part of it; it waits
    // for the load to end instead.
    bool loading_ = false;
    bool save_waiting_ = false;
    bool changed_ = false;
    // Set while this class changes the list itself, which is no edit of the user's.
    bool own_change_ = false;
    // False until every stored entry has been read.
    bool complete_ = true;
    // How many stored entries the load has consumed, and how many of the list's first
    // entries came from the file (the user's later entries follow them).
    std::size_t consumed_ = 0;
    int from_file_ = 0;
    // Stored entries beyond the list's limit: kept in the file, never dropped by a save.
    SettingsStore::Entries beyond_limit_;
    bool told_incomplete_ = false;
    bool told_limit_ = false;
};

}  // namespace tapster
