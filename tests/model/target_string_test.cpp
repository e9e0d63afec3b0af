// The text form of a target, as written into the list and the store and read back by every
// reader.
#include <gtest/gtest.h>

#include "model/target.h"
#include "model/target_string.h"
#include "model/window_message.h"

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

TEST(TargetString, ConditionsGoBeforeTheFoundIdSoThatOlderReadersFindNoNumberThere) {
    const TargetItem item{"HO Same", "#32770", "OK", "2", "2", false, "Tool.EXE", "Save it?"};
    const std::string text = to_target_string(item);
    EXPECT_EQ(text,
              "HO Same **** #32770 **** OK **** program=Tool.EXE **** message=Save it? **** 2 "
              "**** 2 **** False");
    // A reader without conditions takes the fourth piece for the found id: no number.
    EXPECT_FALSE(parse_control_id(split_target_string(text)[kFoundControlId]));
    EXPECT_EQ(shown_target_text(text),
              "HO Same **** #32770 **** OK **** 2 **** 2 **** False **** program=Tool.EXE **** "
              "message=Save it?");

    const Target target = parse_target(text);
    EXPECT_TRUE(target.pressable());
    EXPECT_EQ(target.found_control_id, 2);
    EXPECT_EQ(target.program, "Tool.EXE");
    EXPECT_EQ(target.message, "Save it?");
    // Only the message, in either order, with spaces around the mark's value.
    const Target message_only =
        parse_target("A **** B **** OK **** message=  *report? **** 1 **** 1 **** True");
    EXPECT_TRUE(message_only.pressable());
    EXPECT_TRUE(message_only.program.empty());
    EXPECT_EQ(message_only.message, "*report?");
    EXPECT_TRUE(message_only.forced);

    // Without conditions the text is what it always was, and shown as it is.
    const std::string plain = to_target_string({"Nag", "#32770", "OK", "1", "2", true});
    EXPECT_EQ(plain, "Nag **** #32770 **** OK **** 1 **** 2 **** True");
    EXPECT_EQ(shown_target_text(plain), plain);
    EXPECT_FALSE(parse_target(plain).has_conditions());

    // A condition twice, or one without a value, is never pressed without it.
    for (const char* malformed :
         {"A **** B **** OK **** message=x **** message=y **** 1 **** 1 **** False",
          "A **** B **** OK **** program= **** 1 **** 1 **** False",
          "A **** B **** OK **** message= **** 1 **** 1 **** False"}) {
        EXPECT_FALSE(parse_target(malformed).pressable()) << malformed;
        EXPECT_EQ(shown_target_text(malformed), malformed);
    }
}

TEST(WindowMessage, PartsJoinWithOneSpaceAndBlankRunsCollapse) {
    EXPECT_EQ(joined_message({"  Save the\r\nreport?\t", "", "Yes   or no "}),
              "Save the report? Yes or no");
    EXPECT_EQ(joined_message({" ", "\n"}), "");
    EXPECT_EQ(joined_message({}), "");
    EXPECT_FALSE(why_condition_unusable("a *** b", "message"));
    EXPECT_TRUE(why_condition_unusable("a **** b", "message"));
    EXPECT_TRUE(why_condition_unusable(" tool.exe", "program"));
}

}  // namespace
}  // namespace tapster
