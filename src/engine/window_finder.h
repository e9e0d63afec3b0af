#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "engine/title_pattern.h"
#include "platform/desktop.h"

namespace tapster {

// Finds the targets' windows as find_window would find them one by one, with one look at
// the desktop per tick and window class: the class name compared as find_window compares it,
// the title too unless it holds a `*` (then a pattern, see TitlePattern, with the same letter
// case rule), and of several matches the topmost. Titles are read only of windows of a class
// some target names, each once a tick; a target whose class no window has costs one call
// for all targets of that class.
class WindowFinder {
  public:
    // How often a window's title is read in one tick, at most, while it is still empty or
    // changing (the window is being made).
    static constexpr int kTitleReads = 10;
    // Titles are read in full up to this length.
    static constexpr std::size_t kLongestTitleChars = 32768;

    explicit WindowFinder(platform::Desktop& desktop) : desktop_(desktop) {}

    // Forgets the windows seen: the next find looks at the desktop afresh.
    void start_tick() { classes_.clear(); }

    // The topmost top-level window of the class whose title matches, or 0.
    platform::WindowHandle find(std::string_view window_class, std::string_view title);

  private:
    struct Seen {
        platform::WindowHandle handle = 0;
        std::string folded_title;
    };
    // The windows of one class, topmost first.
    struct SameClass {
        std::vector<Seen> windows;
        std::unordered_map<std::string, std::size_t> first_by_title;
        bool titles_settled = false;
    };

    // Looks up names without copying them.
    struct TextHash {
        using is_transparent = void;
        std::size_t operator()(std::string_view text) const {
            return std::hash<std::string_view>{}(text);
        }
    };

    SameClass& windows_of(std::string_view window_class);
    // Reads every title again until it is neither empty nor changing, or kTitleReads.
    void settle_titles(SameClass& same_class);
    static void index_titles(SameClass& same_class);
    static platform::WindowHandle first_match(const SameClass& same_class,
                                              const TitlePattern& pattern);
    std::string folded_title(platform::WindowHandle window);

    platform::Desktop& desktop_;
    std::unordered_map<std::string, SameClass, TextHash, std::equal_to<>> classes_;
    std::vector<platform::WindowHandle> handles_;  // scratch
};

}  // namespace tapster
