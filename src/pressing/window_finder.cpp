#include "pressing/window_finder.h"

#include <algorithm>
#include <utility>

namespace tapster {

platform::WindowHandle WindowFinder::find(std::string_view window_class,
                                          const TitlePattern& pattern) {
    auto found = classes_.find(window_class);
    if (found == classes_.end()) {
        found = classes_.emplace(std::string(window_class), SameClass{}).first;
    }
    SameClass& same_class = found->second;
    if (same_class.walked && same_class.windows.empty()) {
        return 0;
    }
    platform::WindowHandle window = first_match(same_class, pattern);
    if (window == 0 && !same_class.walked) {
        window = walk_on(window_class, same_class, pattern);
    }
    // A window that is being made may not show its final title yet; the titles of its
    // class are read again, once a tick, only when a target of the class is missing.
    if (window == 0 && !same_class.titles_settled) {
        settle_titles(same_class);
        window = first_match(same_class, pattern);
    }
    return window;
}

platform::WindowHandle WindowFinder::find_below(std::string_view window_class,
                                                const TitlePattern& pattern,
                                                platform::WindowHandle after) {
    const auto found = classes_.find(window_class);
    if (found == classes_.end()) {
        return 0;
    }
    SameClass& same_class = found->second;
    const auto place = std::find_if(same_class.windows.begin(), same_class.windows.end(),
                                    [after](const Seen& seen) { return seen.handle == after; });
    if (place == same_class.windows.end()) {
        return 0;
    }
    // The walk goes on below the last window seen when the ones seen are used up.
    for (auto index = static_cast<std::size_t>(place - same_class.windows.begin()) + 1;; ++index) {
        if (index == same_class.windows.size() &&
            (same_class.walked || walk_on(window_class, same_class, pattern) == 0)) {
            return 0;
        }
        if (pattern.matches(same_class.windows[index].folded_title)) {
            return same_class.windows[index].handle;
        }
    }
}

platform::WindowHandle WindowFinder::walk_on(std::string_view window_class, SameClass& same_class,
                                             const TitlePattern& pattern) {
    while (same_class.windows.size() < kMostWindowsOfAClass) {
        const platform::WindowHandle after =
            same_class.windows.empty() ? 0 : same_class.windows.back().handle;
        const platform::WindowHandle next = desktop_.next_top_level_window(window_class, after);
        if (next == 0) {
            break;
        }
        same_class.windows.push_back({next, folded_title(next)});
        const std::string& next_title = same_class.windows.back().folded_title;
        same_class.first_by_title.emplace(next_title, same_class.windows.size() - 1);
        if (pattern.matches(next_title)) {
            return next;
        }
    }
    same_class.walked = true;
    return 0;
}

void WindowFinder::settle_titles(SameClass& same_class) {
    for (Seen& seen : same_class.windows) {
        for (int reads = 1; reads < kTitleReads; ++reads) {
            std::string again = folded_title(seen.handle);
            const bool settled = !again.empty() && again == seen.folded_title;
            seen.folded_title = std::move(again);
            if (settled) {
                break;
            }
        }
    }
    same_class.titles_settled = true;
    index_titles(same_class);
}

void WindowFinder::index_titles(SameClass& same_class) {
    same_class.first_by_title.clear();
    for (std::size_t index = 0; index < same_class.windows.size(); ++index) {
        // The first entry for a title stays: the topmost window.
        same_class.first_by_title.emplace(same_class.windows[index].folded_title, index);
    }
}

platform::WindowHandle WindowFinder::first_match(const SameClass& same_class,
                                                 const TitlePattern& pattern) {
    if (!pattern.has_wildcard()) {
        const auto found = same_class.first_by_title.find(pattern.text());
        return found == same_class.first_by_title.end() ? 0
                                                        : same_class.windows[found->second].handle;
    }
    for (const Seen& seen : same_class.windows) {
        if (pattern.matches(seen.folded_title)) {
            return seen.handle;
        }
    }
    return 0;
}

std::string WindowFinder::folded_title(platform::WindowHandle window) {
    // A title that fills the buffer may go on; UTF-8 takes at least as many bytes as the
    // platform counts characters, so a shorter one is whole.
    std::size_t chars = 512;
    std::string title = desktop_.window_title(window, chars);
    while (title.size() + 1 >= chars && chars < kLongestTitleChars) {
        chars *= 8;
        title = desktop_.window_title(window, chars);
    }
    return desktop_.fold_case(title);
}

}  // namespace tapster
