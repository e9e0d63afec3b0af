#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/desktop.h"

namespace tapster {

// A target's window title as a pattern: every `*` stands for any run of characters, none
// included; every other character stands for itself. Both the pattern and the titles it is
// matched against come with their letter case already folded, so matching compares bytes.
// UTF-8 keeps that sound: a run of whole characters can only ever match whole characters.
class TitlePattern {
  public:
    explicit TitlePattern(std::string folded_pattern);

    bool has_wildcard() const { return wildcard_; }
    // The pattern as given; for a pattern without `*`, the one title it matches.
    const std::string& text() const { return text_; }

    // Takes time linear in the lengths of the title and the pattern, however many `*`.
    bool matches(std::string_view folded_title) const;

  private:
    // A literal run between two `*`, as a place in the pattern (so that a copied pattern
    // stays whole), with the failure table of its Knuth-Morris-Pratt search.
    struct Piece {
        std::size_t start = 0;
        std::size_t length = 0;
        std::vector<std::size_t> fallback;
    };

    // Where the piece ends at its first occurrence in the title, or npos.
    std::size_t end_of_first(const Piece& piece, std::string_view title) const;

    std::string text_;
    bool wildcard_ = false;
    // The literal text before the first and after the last `*`; the pieces lie between.
    std::size_t head_length_ = 0;
    std::size_t tail_length_ = 0;
    std::vector<Piece> pieces_;
};

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

    // The topmost top-level window of the class whose title matches, or 0.
    platform::WindowHandle find(std::string_view window_class, std::string_view title);

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
