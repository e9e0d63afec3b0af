#pragma once

#include "app/save_failure_notice.h"
#include "app/settings_store.h"
#include "platform/event_loop.h"
#include "targets/target_list.h"

namespace tapster {

// Keeps the Items section equal to the target list: loads it once at start-up and stores
// the whole list again after every change the user makes.
class StoredTargets {
  public:
    StoredTargets(SettingsStore& settings, TargetList& targets, platform::EventLoop& event_loop,
                  SaveFailureNotice& save_failures)
        : settings_(settings),
          targets_(targets),
          event_loop_(event_loop),
          save_failures_(save_failures) {}

    // Appends the stored entries in the file's order, yielding before each one so the
    // window stays alive and the push cycle already works on what is loaded.
    void load();
    // Replaces the section with the whole list in one store operation, so the file always
    // holds the list as of this moment and ending the program leaves no half-written list.
    void save();

  private:
    SettingsStore& settings_;
    TargetList& targets_;
    platform::EventLoop& event_loop_;
    SaveFailureNotice& save_failures_;
    // While the stored list is being loaded a save would store only part of it; it waits
    // for the load to end instead.
    bool loading_ = false;
    bool save_waiting_ = false;
};

}  // namespace tapster
