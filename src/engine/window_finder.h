#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "engine/title_pattern.h"
#include "platform/desktop.h"

namespace tapster {

// Finds the targets' windows in one look at the desktop per tick, as find_window would find
// them one by one: the class name compared as find_window compares it, the title too unless
// it holds a `*` (then a pattern, see TitlePattern, with the same letter case rule), and of
// several matches the topmost. A class name is read once per window and tick, a title only
// for a window of a class some target asked for; a target whose class no window has costs
// no read at all.
class WindowFinder {
  public:
    // How often a window's title is read in one tick, at most, while it is still empty or
    // changing (the window is being made).
    static constexpr int kTitleReads = 10;
    // Class names are at most 256 characters; titles are read in full up to this length.
    static constexpr std::size_t kClassNameChars = 257;
    static constexpr std::size_t kLongestTitleChars = 32768;

    explicit WindowFinder(platform::Desktop& desktop) : desktop_(desktop) {}

    // Forgets the windows seen: the next find looks at the desktop afresh.
    void start_tick() { fresh_ = false; }

    // The topmost top-level window of the class whose title matches, or 0.
    platform::WindowHandle find(std::string_view window_class, std::string_view title);

  private:
    struct Seen {
        platform::WindowHandle handle = 0;
        std::string folded_title;
    };
    // The windows of one class, topmost first, as indexes into seen_.
    struct SameClass {
        std::vector<std::size_t> windows;
        std::unordered_map<std::string, std::size_t> first_by_title;
        bool titles_read = false;
        bool titles_settled = false;
    };

    void take_snapshot();
    void read_titles(SameClass& same_class);
    // Reads every title again until it is neither empty nor changing, or kTitleReads.
    void settle_titles(SameClass& same_class);
    void index_titles(SameClass& same_class);
    platform::WindowHandle first_match(const SameClass& same_class,
                                       const TitlePattern& pattern) const;
    std::string folded_title(platform::WindowHandle window);

    platform::Desktop& desktop_;
    bool fresh_ = false;
    std::vector<platform::WindowHandle> handles_;
    std::vector<Seen> seen_;
    std::unordered_map<std::string, SameClass> classes_;
};

}  // namespace tapster
