#include "engine/window_finder.h"

namespace tapster {

platform::WindowHandle WindowFinder::find(std::string_view window_class, std::string_view title) {
    if (!fresh_) {
        take_snapshot();
    }
    const auto found = classes_.find(desktop_.fold_case(window_class));
    if (found == classes_.end()) {
        return 0;
    }
    SameClass& same_class = found->second;
    const TitlePattern pattern(desktop_.fold_case(title));
    if (!same_class.titles_read) {
        read_titles(same_class);
    }
    platform::WindowHandle window = first_match(same_class, pattern);
    // A window that is being made may not show its final title yet; the titles of its
    // class are read again, once a tick, only when a target of the class is missing.
    if (window == 0 && !same_class.titles_settled) {
        settle_titles(same_class);
        window = first_match(same_class, pattern);
    }
    return window;
}

void WindowFinder::take_snapshot() {
    desktop_.top_level_windows(handles_);
    seen_.clear();
    classes_.clear();
    for (const platform::WindowHandle handle : handles_) {
        // A window closed since the enumeration has no class name any more.
        const std::string class_name = desktop_.class_name(handle, kClassNameChars);
        if (class_name.empty()) {
            continue;
        }
        classes_[desktop_.fold_case(class_name)].windows.push_back(seen_.size());
        seen_.push_back({handle, {}});
    }
    fresh_ = true;
}

void WindowFinder::read_titles(SameClass& same_class) {
    for (const std::size_t index : same_class.windows) {
        seen_[index].folded_title = folded_title(seen_[index].handle);
    }
    same_class.titles_read = true;
    index_titles(same_class);
}

void WindowFinder::settle_titles(SameClass& same_class) {
    for (const std::size_t index : same_class.windows) {
        Seen& seen = seen_[index];
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
    for (const std::size_t index : same_class.windows) {
        same_class.first_by_title.emplace(seen_[index].folded_title, index);  // keeps the topmost
    }
}

platform::WindowHandle WindowFinder::first_match(const SameClass& same_class,
                                                 const TitlePattern& pattern) const {
    if (!pattern.has_wildcard()) {
        const auto found = same_class.first_by_title.find(pattern.text());
        return found == same_class.first_by_title.end() ? 0 : seen_[found->second].handle;
    }
    for (const std::size_t index : same_class.windows) {
        if (pattern.matches(seen_[index].folded_title)) {
            return seen_[index].handle;
        }
    }
    return 0;
}

std::string WindowFinder::folded_title(platform::WindowHandle window) {
    // A title that fills the buffer may go on; UTF-8 takes at least as many bytes as the
    // platform counts characters, so a shorter one is whole.
    std::size_t chars = 512;
    std::string title = desktop_.window_text(window, chars);
    while (title.size() + 1 >= chars && chars < kLongestTitleChars) {
        chars *= 8;
        title = desktop_.window_text(window, chars);
    }
    return desktop_.fold_case(title);
}

}  // namespace tapster
