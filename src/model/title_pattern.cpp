#include "model/title_pattern.h"

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

}  // namespace tapster
