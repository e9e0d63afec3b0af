// Titles with `*` as patterns: what matches, what does not, and how long a match may take.
#include "model/title_pattern.h"

#include <gtest/gtest.h>

#include <string>

namespace tapster {
namespace {

struct PatternCase {
    const char* pattern;
    const char* title;
    bool matches;
};

class TitlePatternMatch : public ::testing::TestWithParam<PatternCase> {};

TEST_P(TitlePatternMatch, StarStandsForAnyRunAndNothingElseIsSpecial) {
    const TitlePattern pattern(GetParam().pattern);
    EXPECT_EQ(pattern.matches(GetParam().title), GetParam().matches)
        << GetParam().pattern << " / " << GetParam().title;
}

INSTANTIATE_TEST_SUITE_P(
    Titles, TitlePatternMatch,
    ::testing::Values(
        // Without `*`: the whole title, nothing less or more.
        PatternCase{"Nag", "Nag", true}, PatternCase{"Nag", "Nag ", false},
        PatternCase{"Nag", "Na", false}, PatternCase{"", "", true}, PatternCase{"", "x", false},
        PatternCase{"?ag", "Nag", false}, PatternCase{"?ag", "?ag", true},
        // A run in the middle, empty included.
        PatternCase{"Error * in job", "Error 4711 in job", true},
        PatternCase{"Error * in job", "Error  in job", true},
        PatternCase{"Error * in job", "Warning 4711 in job", false},
        PatternCase{"Error * in job", "Error 4711 in job 2", false},
        PatternCase{"Error * in job", "Error in job", false},  // the spaces around `*` stay
        // At either end, and alone.
        PatternCase{"*Untitled", "*Untitled", true}, PatternCase{"*Untitled", "Untitled", true},
        PatternCase{"*Untitled", "Untitled*", false}, PatternCase{"Save*", "Save", true},
        PatternCase{"Save*", "Save as...", true}, PatternCase{"Save*", "Unsave", false},
        PatternCase{"*", "", true}, PatternCase{"**", "anything", true},
        // Head and tail must not overlap.
        PatternCase{"ab*ba", "aba", false}, PatternCase{"ab*ba", "abba", true},
        // Several `*`: pieces in order, each after the one before.
        PatternCase{"*a*b*c*", "xaybzc", true}, PatternCase{"*a*b*c*", "cba", false},
        PatternCase{"a*aab*b", "aaaabb", true}, PatternCase{"*abab*", "aabaab abab", true},
        PatternCase{"*aab*aab*", "aabaab", true}, PatternCase{"*aab*aab*", "aabab", false},
        // Characters beyond ASCII, as UTF-8, are matched whole.
        PatternCase{"Fehler * ÄÖÜ", "Fehler 3 ÄÖÜ", true}, PatternCase{"*Σ*", "ΑΣΩ", true},
        PatternCase{"*Σ*", "ΑΩ", false}, PatternCase{"保存*", "保存しますか?", true},
        PatternCase{"*しますか?", "保存しますか", false}));

TEST(TitlePatternTest, ManyStarsOnALongTitleTakeLinearTime) {
    // Backtracking over every way to place 30 stars would never end.
    std::string pattern;
    for (int star = 0; star < 30; ++star) {
        pattern += "*a";
    }
    pattern += "*b";
    const std::string title(200000, 'a');
    const TitlePattern compiled(pattern);

    EXPECT_FALSE(compiled.matches(title));
    EXPECT_TRUE(compiled.matches(title + "b"));
}

}  // namespace
}  // namespace tapster
