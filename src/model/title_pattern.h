#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace tapster {

// A target's window title as a pattern: every `*` stands for any run of characters, none
// included; every other character stands for itself. Both the pattern and the titles it is
// matched against come with their letter case already folded, so matching compares bytes.
// UTF-8 keeps that sound: a run of whole characters can only ever match whole characters.
class TitlePattern {
  public:
    // Matches the empty title alone.
    TitlePattern() = default;
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

}  // namespace tapster
