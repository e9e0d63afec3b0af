#include "engine/window_finder.h"

#include <utility>

namespace tapster {

platform::WindowHandle WindowFinder::find(std::string_view window_class, std::string_view title) {
    SameClass& same_class = windows_of(window_class);
    if (same_class.windows.empty()) {
        return 0;
    }
    const TitlePattern pattern(desktop_.fold_case(title));
    platform::WindowHandle window = first_match(same_class, pattern);
    // A window that is being made may not show its final title yet; the titles of its
    // class are read again, once a tick, only when a target of the class is missing.
    if (window == 0 && !same_class.titles_settled) {
        settle_titles(same_class);
        window = first_match(same_class, pattern);
    }
    return window;
}

WindowFinder::SameClass& WindowFinder::windows_of(std::string_view window_class) {
    // Keyed by the name as given: another spelling of a class costs one more look, and the
    // platform alone decides which windows have the class.
    const auto found = classes_.find(window_class);
    if (found != classes_.end()) {
        return found->second;
    }
    SameClass& same_class = classes_[std::string(window_class)];
    desktop_.top_level_windows(window_class, handles_);
    for (const platform::WindowHandle handle : handles_) {
        same_class.windows.push_back({handle, folded_title(handle)});
    }
    index_titles(same_class);
    return same_class;
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
