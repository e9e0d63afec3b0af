// A target read once from its text, and the list that keeps the targets and tells its mirrors.
#include <gtest/gtest.h>

#include <vector>

#include "fakes/param_name.h"
#include "model/target.h"
#include "model/target_list.h"

namespace tapster {
namespace {

struct ParseCase {
    const char* text;
    bool pressable;
    std::optional<std::int32_t> found_id;
    std::optional<std::int32_t> own_id;
    bool forced;
};

class ParseTarget : public ::testing::TestWithParam<ParseCase> {};

TEST_P(ParseTarget, ReadsWhatThePushCycleNeedsOnce) {
    const ParseCase& expected = GetParam();
    const Target target = parse_target(expected.text);

    EXPECT_EQ(target.pressable(), expected.pressable);
    EXPECT_EQ(target.found_control_id, expected.found_id);
    EXPECT_EQ(target.control_id, expected.own_id);
    EXPECT_EQ(target.forced, expected.forced);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ParseTarget,
    ::testing::Values(
        ParseCase{"Nag **** #32770 **** OK **** 1 **** 2 **** True", true, 1, 2, true},
        ParseCase{"Nag **** #32770 **** OK **** 1 **** 2 **** true", true, 1, 2, false},
        ParseCase{"Nag **** #32770 **** OK **** 1", true, 1, std::nullopt, false},
        ParseCase{"Nag **** #32770 **** OK **** one **** 2", false, std::nullopt, 2, false},
        ParseCase{"Nag **** #32770 **** OK", false, std::nullopt, std::nullopt, false},
        // A field holding the mark moves the later ones up.
        ParseCase{"A****B **** #32770 **** OK **** 1 **** 2", false, std::nullopt, 1, false}),
    [](const auto& info) { return fakes::param_name(info.index, info.param.text); });

TEST(ParseTarget, TheAccessibleMarkerStandsInForTheIdentifiersAndIsNoNumber) {
    const Target drawn =
        parse_target("Save file? **** Drawn **** Save **** accessible **** accessible **** True");
    EXPECT_TRUE(drawn.accessible);
    EXPECT_TRUE(drawn.pressable());
    EXPECT_TRUE(drawn.forced);
    // What a Tapster that knows only identifiers reads: nothing to press, so it skips it.
    EXPECT_FALSE(drawn.found_control_id.has_value());
    EXPECT_FALSE(drawn.control_id.has_value());

    for (const char* other : {"Save file? **** Drawn **** Save **** Accessible **** 1",
                              "Save file? **** Drawn **** Save **** 1 **** accessible",
                              "Save file? **** Drawn **** accessible"}) {
        EXPECT_FALSE(parse_target(other).accessible) << other;
    }
}

TEST(ParseControlId, ReadsDecimal32BitIntegersOnly) {
    EXPECT_EQ(parse_control_id("1"), 1);
    EXPECT_EQ(parse_control_id("  -12 "), -12);
    EXPECT_EQ(parse_control_id("+7"), 7);
    EXPECT_EQ(parse_control_id("2147483647"), 2147483647);
    for (const char* bad : {"", " ", "x", "1x", "2147483648", "1.5", "0x10", "+-1"}) {
        EXPECT_FALSE(parse_control_id(bad).has_value()) << bad;
    }
}

TEST(TargetList, ObserversHearEveryChangeButNotARepeatedCheckMark) {
    TargetList targets;
    std::vector<std::pair<TargetList::Change::Kind, int>> heard;
    targets.observe(
        [&](const TargetList::Change& change) { heard.emplace_back(change.kind, change.index); });

    targets.append("first");
    targets.append("second", true);
    targets.set_checked(1, true);
    targets.set_checked(0, true);
    targets.remove(0);

    using Kind = TargetList::Change::Kind;
    EXPECT_EQ(
        heard,
        (std::vector<std::pair<Kind, int>>{
            {Kind::appended, 0}, {Kind::appended, 1}, {Kind::checked, 0}, {Kind::removed, 0}}));
    ASSERT_EQ(targets.count(), 1);
    EXPECT_EQ(targets.at(0).text, "second");
    EXPECT_TRUE(targets.at(0).checked);
    EXPECT_THROW(targets.at(1), std::out_of_range);
}

}  // namespace
}  // namespace tapster
