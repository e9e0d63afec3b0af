#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "model/title_pattern.h"
#include "platform/desktop.h"

namespace tapster {

// Finds the targets' windows as find_window would find them one by one, walking the desktop's
// windows of each class at most once a tick: the class name compared as find_window compares
// it, the title too unless it holds a `*` (then a pattern, see TitlePattern, with the same
// letter case rule), and of several matches the topmost. The walk goes only as far down as a
// target needs; a title is read once a tick, and only of a window of a class some target
// names; a class no window has costs one call for all its targets.
class WindowFinder {
  public:
    // How often a window's title is read in one tick, at most, while it is still empty or
    // changing (the window is being made).
    static constexpr int kTitleReads = 10;
    // Titles are read in full up to this length.
    static constexpr std::size_t kLongestTitleChars = 32768;
    // Ends a walk should windows keep changing places while it goes on.
    static constexpr std::size_t kMostWindowsOfAClass = 65536;

    explicit WindowFinder(platform::Desktop& desktop) : desktop_(desktop) {}

    // Forgets the windows seen: the next find looks at the desktop afresh.
    void start_tick() { classes_.clear(); }

    // The topmost top-level window of the class whose title, folded by the desktop's
    // fold_case, the pattern matches, or 0.
    platform::WindowHandle find(std::string_view window_class, const TitlePattern& pattern);
    // The next such window below `after`, a window find or find_below gave this tick, or 0:
    // for a target that the topmost one does not fit.
    platform::WindowHandle find_below(std::string_view window_class, const TitlePattern& pattern,
                                      platform::WindowHandle after);

  private:
    struct Seen {
        platform::WindowHandle handle = 0;
        std::string folded_title;
    };
    // The windows of one class seen so far, topmost first.
    struct SameClass {
        std::vector<Seen> windows;
        std::unordered_map<std::string, std::size_t> first_by_title;
        bool walked = false;  // every window of the class is among them
        bool titles_settled = false;
    };
    // Looks up names without copying them.
    struct TextHash {
        using is_transparent = void;
        std::size_t operator()(std::string_view text) const {
            return std::hash<std::string_view>{}(text);
        }
    };

    // Goes on down the class's windows until one matches or none is left.
    platform::WindowHandle walk_on(std::string_view window_class, SameClass& same_class,
                                   const TitlePattern& pattern);
    // Reads every title again until it is neither empty nor changing, or kTitleReads.
    void settle_titles(SameClass& same_class);
    static void index_titles(SameClass& same_class);
    static platform::WindowHandle first_match(const SameClass& same_class,
                                              const TitlePattern& pattern);
    std::string folded_title(platform::WindowHandle window);

    platform::Desktop& desktop_;
    // Keyed by the name as given: another spelling of a class costs one more walk, and the
    // platform alone decides which windows have the class.
    std::unordered_map<std::string, SameClass, TextHash, std::equal_to<>> classes_;
};

}  // namespace tapster
