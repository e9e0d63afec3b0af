#pragma once

#include <mutex>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/background_looks.h"
#include "platform/top_level_windows.h"

namespace tapster {

// Looks for a box to press now rather than at the push timer's next tick: a top-level
// window of a class some enabled target names that was not there at the previous look, once
// it shows. A look whose windows are the same as the previous look's asks the system for the
// list of them and nothing else, however many targets there are; a new window is asked for
// its class once, and about its program and visibility only when the class is wanted.
// Titles are never read: the tick that follows does that, with all its rules.
//
// The wanted classes change on the event loop's thread while looks run on the watch's own.
class WindowWatch {
  public:
    // A message box is made hidden and shown a moment later, once its buttons exist (under
    // Wine 60 to 90 ms later). A new window of a wanted class that is still hidden is looked
    // at again at the short period for its first kQuickLooks looks, so that it is pressed as
    // it shows whatever the usual period, then at the usual one up to kLooksWhileHidden looks
    // in all, about 2 s. A window that stays hidden longer is left to the timer's ticks.
    static constexpr int kQuickLooks = 30;
    static constexpr int kLooksWhileHidden = 50;

    explicit WindowWatch(platform::TopLevelWindows& windows) : windows_(windows) {}

    // One enabled target more, or one fewer, names this class (folded by the platform's
    // fold_class_name).
    void want(const std::string& folded_class);
    void unwant(const std::string& folded_class);
    bool wants_any() const;

    // While no look runs: the next look takes the desktop as it finds it as its starting
    // point and reports nothing.
    void restart();

    // Found: a window of a wanted class, not one of this program's, has shown since the
    // previous look, one that is new or new at an earlier look and shown only now. Expecting:
    // such a window is still in its first kQuickLooks looks hidden.
    platform::LookOutcome look();

  private:
    struct Hidden {
        platform::WindowHandle window = 0;
        int looks = 0;
    };

    bool wanted(const std::string& folded_class) const;
    // A window not there at the previous look: true when it is one to press now.
    bool examine_new(platform::WindowHandle window);
    bool examine_hidden();

    platform::TopLevelWindows& windows_;
    mutable std::mutex wanted_mutex_;
    std::unordered_map<std::string, int> wanted_;  // folded class -> enabled targets

    // The watch's thread alone touches these. Handles are kept sorted.
    bool started_ = false;
    std::vector<platform::WindowHandle> previous_;
    std::vector<platform::WindowHandle> current_;
    std::vector<Hidden> hidden_;
};

}  // namespace tapster
