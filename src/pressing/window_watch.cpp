#include "pressing/window_watch.h"

#include <algorithm>

namespace tapster {

void WindowWatch::want(const std::string& folded_class) {
    const std::lock_guard lock(wanted_mutex_);
    ++wanted_[folded_class];
}

void WindowWatch::unwant(const std::string& folded_class) {
    const std::lock_guard lock(wanted_mutex_);
    const auto found = wanted_.find(folded_class);
    if (found != wanted_.end() && --found->second <= 0) {
        wanted_.erase(found);
    }
}

bool WindowWatch::wants_any() const {
    const std::lock_guard lock(wanted_mutex_);
    return !wanted_.empty();
}

bool WindowWatch::wanted(const std::string& folded_class) const {
    const std::lock_guard lock(wanted_mutex_);
    return wanted_.contains(folded_class);
}

void WindowWatch::restart() {
    started_ = false;
    previous_.clear();
    hidden_.clear();
}

platform::LookOutcome WindowWatch::look() {
    windows_.list(current_);
    std::sort(current_.begin(), current_.end());
    bool found = false;
    if (started_) {
        found = examine_hidden();
        // Both lists are sorted: one pass finds the handles the previous look did not have.
        auto before = previous_.begin();
        for (const platform::WindowHandle window : current_) {
            while (before != previous_.end() && *before < window) {
                ++before;
            }
            if (before == previous_.end() || *before != window) {
                found = examine_new(window) || found;
            }
        }
    }
    started_ = true;
    previous_.swap(current_);
    const bool expecting = std::ranges::any_of(
        hidden_, [](const Hidden& hidden) { return hidden.looks < kQuickLooks; });
    return {.found = found, .expecting = expecting};
}

bool WindowWatch::examine_new(platform::WindowHandle window) {
    const std::string folded_class = windows_.folded_class(window);
    if (folded_class.empty() || !wanted(folded_class) || windows_.ours(window)) {
        return false;
    }
    if (windows_.visible(window)) {
        return true;
    }
    hidden_.push_back({window, 0});
    return false;
}

bool WindowWatch::examine_hidden() {
    bool shown = false;
    std::erase_if(hidden_, [&](Hidden& hidden) {
        if (!std::binary_search(current_.begin(), current_.end(), hidden.window)) {
            return true;  // closed before it showed
        }
        if (windows_.visible(hidden.window)) {
            shown = true;
            return true;
        }
        return ++hidden.looks >= kLooksWhileHidden;
    });
    return shown;
}

}  // namespace tapster
