// The text form of a target, as written into the list and the store and read back by every
// reader.
#include <gtest/gtest.h>

#include "model/target_string.h"

namespace tapster {
namespace {

using Pieces = std::vector<std::string>;

TEST(TargetString, JoinsTheSixFieldsUntouched) {
    const TargetItem item{" Nag ", "#32770", "OK ", "1", "2", true};

    EXPECT_EQ(to_target_string(item), " Nag  **** #32770 **** OK  **** 1 **** 2 **** True");
    EXPECT_EQ(to_target_string(TargetItem{}), " ****  ****  ****  ****  **** False");
}

struct SplitCase {
    const char* name;
    const char* text;
    Pieces pieces;
};

class SplitTargetString : public ::testing::TestWithParam<SplitCase> {};

TEST_P(SplitTargetString, SplitsAtEveryMarkAndTrimsSpaces) {
    EXPECT_EQ(split_target_string(GetParam().text), GetParam().pieces);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, SplitTargetString,
    ::testing::Values(SplitCase{"written",
                                "Nag **** #32770 **** OK **** 1 **** 2 **** False",
                                {"Nag", "#32770", "OK", "1", "2", "False"}},
                      // Blanks a field began or ended with are lost to every reader.
                      SplitCase{"blanks",
                                "  Nag   ****#32770**** OK  **** 1 **** 2 **** True ",
                                {"Nag", "#32770", "OK", "1", "2", "True"}},
                      // Only spaces are trimmed, not tabs.
                      SplitCase{"tabs", "\tNag\t **** x", {"\tNag\t", "x"}},
                      // A field holding the mark moves every later field up.
                      SplitCase{"mark inside",
                                "A****B **** #32770 **** OK **** 1 **** 2 **** False",
                                {"A", "B", "#32770", "OK", "1", "2", "False"}},
                      SplitCase{"five stars", "A ***** B", {"A", "* B"}},
                      SplitCase{"no mark", "just text", {"just text"}},
                      SplitCase{"empty", "", {""}},
                      SplitCase{"empty fields", " ****  **** ", {"", "", ""}}),
    [](const auto& info) {
        std::string name = info.param.name;
        std::replace(name.begin(), name.end(), ' ', '_');
        return name;
    });

TEST(TargetString, OnlyAnExactTrueForces) {
    EXPECT_TRUE(is_force_flag("True"));
    EXPECT_TRUE(is_force_flag("  True "));
    for (const char* not_forced : {"true", "TRUE", "False", "", "True.", "1", "\tTrue"}) {
        EXPECT_FALSE(is_force_flag(not_forced)) << not_forced;
    }
}

TEST(TargetString, WhatIsWrittenReadsBackAsTheSameFields) {
    const TargetItem item{"Überprüfung — 確認", "#32770", "Да", "0", "-1", false};

    EXPECT_EQ(split_target_string(to_target_string(item)),
              (Pieces{"Überprüfung — 確認", "#32770", "Да", "0", "-1", "False"}));
}

}  // namespace
}  // namespace tapster
