#include "pressing/window_finder.h"

#include <utility>

namespace tapster {

namespace {

// For every prefix of the text, the length of its longest proper prefix that is also its
// suffix: where a search resumes after a mismatch.
std::vector<std::size_t> failure_table(std::string_view text) {
    std::vector<std::size_t> fallback(text.size(), 0);
    std::size_t matched = 0;
    for (std::size_t index = 1; index < text.size(); ++index) {
        while (matched > 0 && text[index] != text[matched]) {
            matched = fallback[matched - 1];
        }
        if (text[index] == text[matched]) {
            ++matched;
        }
        fallback[index] = matched;
    }
    return fallback;
}

}  // namespace

TitlePattern::TitlePattern(std::string folded_pattern) : text_(std::move(folded_pattern)) {
    const std::string_view text = text_;
    const std::size_t first_star = text.find('*');
    if (first_star == std::string_view::npos) {
        return;
    }
    wildcard_ = true;
    const std::size_t last_star = text.rfind('*');
    head_length_ = first_star;
    tail_length_ = text.size() - last_star - 1;
    std::size_t start = first_star + 1;
    while (start < last_star) {
        const std::size_t star = text.find('*', start);
        if (star > start) {
            pieces_.push_back(
                {start, star - start, failure_table(text.substr(start, star - start))});
        }
        start = star + 1;
    }
}

bool TitlePattern::matches(std::string_view folded_title) const {
    const std::string_view text = text_;
    if (!wildcard_) {
        return folded_title == text;
    }
    if (folded_title.size() < head_length_ + tail_length_ ||
        !folded_title.starts_with(text.substr(0, head_length_)) ||
        !folded_title.ends_with(text.substr(text.size() - tail_length_))) {
        return false;
    }
    // Taking each piece at its first occurrence leaves the most room for those after it, so
    // a greedy scan decides the match without ever going back.
    std::string_view rest =
        folded_title.substr(head_length_, folded_title.size() - head_length_ - tail_length_);
    for (const Piece& piece : pieces_) {
        const std::size_t end = end_of_first(piece, rest);
        if (end == std::string_view::npos) {
            return false;
        }
        rest.remove_prefix(end);
    }
    return true;
}

std::size_t TitlePattern::end_of_first(const Piece& piece, std::string_view title) const {
    const std::string_view wanted = std::string_view(text_).substr(piece.start, piece.length);
    std::size_t matched = 0;
    for (std::size_t index = 0; index < title.size(); ++index) {
        while (matched > 0 && title[index] != wanted[matched]) {
            matched = piece.fallback[matched - 1];
        }
        if (title[index] == wanted[matched]) {
            ++matched;
        }
        if (matched == wanted.size()) {
            return index + 1;
        }
    }
    return std::string_view::npos;
}

platform::WindowHandle WindowFinder::find(std::string_view window_class, std::string_view title) {
    auto found = classes_.find(window_class);
    if (found == classes_.end()) {
        found = classes_.emplace(std::string(window_class), SameClass{}).first;
    }
    SameClass& same_class = found->second;
    if (same_class.walked && same_class.windows.empty()) {
        return 0;
    }
    const TitlePattern pattern(desktop_.fold_case(title));
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
