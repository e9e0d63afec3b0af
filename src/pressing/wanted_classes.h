#pragma once

#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "model/target_list.h"
#include "platform/top_level_windows.h"
#include "pressing/window_watch.h"

namespace tapster {

// Keeps the window watch's wanted classes those of the enabled targets that can be pressed,
// as the target list changes: an entry at a time, each class name folded once however many
// targets name it, so a list of thousands loads without a pass over the whole list per entry.
class WantedClasses {
  public:
    WantedClasses(TargetList& targets, WindowWatch& watch, platform::TopLevelWindows& windows);

  private:
    void on_changed(const TargetList::Change& change);
    // The class the entry counts for: its own while it is enabled and can be pressed.
    std::optional<std::string> counted_class(int index) const;
    void count(const std::optional<std::string>& window_class);
    void uncount(const std::optional<std::string>& window_class);

    struct Named {
        int targets = 0;
        std::string folded;
    };

    const TargetList& targets_;
    WindowWatch& watch_;
    platform::TopLevelWindows& windows_;
    std::vector<std::optional<std::string>> counted_;  // one per entry of the list
    std::unordered_map<std::string, Named> by_name_;   // keyed by the name as written
};

}  // namespace tapster
