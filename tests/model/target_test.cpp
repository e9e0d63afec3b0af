// A target read once from its text, and the list that keeps the targets and tells its mirrors.
#include <gtest/gtest.h>

#include <string>
#include <utility>
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
    EXPECT_EQ(heard,
              (std::vector<std::pair<Kind, int>>{
                  {Kind::added, 0}, {Kind::added, 1}, {Kind::checked, 0}, {Kind::removed, 0}}));
    ASSERT_EQ(targets.count(), 1);
    EXPECT_EQ(targets.at(0).text, "second");
    EXPECT_TRUE(targets.at(0).checked);
    EXPECT_THROW(targets.at(1), std::out_of_range);
}

TEST(TargetList, ManagedEntriesFollowTheUsersOwnStayCheckedAndShareTheLimit) {
    TargetList targets;
    std::vector<std::pair<int, bool>> added;  // index, managed
    targets.observe([&](const TargetList::Change& change) {
        if (change.kind == TargetList::Change::Kind::added) {
            added.emplace_back(change.index, change.managed);
        }
    });
    targets.append("own 1");
    EXPECT_EQ(targets.set_managed({"policy 1", "policy 2", "policy 1"}), 0U);
    targets.append("own 2");  // before the administrator's entries
    targets.set_checked(2, false);

    const auto texts = [&] {
        std::vector<std::string> all;
        for (const TargetList::Entry& entry : targets.entries()) {
            all.push_back(entry.text + (entry.managed ? " M" : "") + (entry.checked ? " C" : ""));
        }
        return all;
    };
    EXPECT_EQ(texts(),
              (std::vector<std::string>{"own 1", "own 2", "policy 1 M C", "policy 2 M C"}));
    EXPECT_EQ(targets.own_count(), 2);
    EXPECT_EQ(added,
              (std::vector<std::pair<int, bool>>{{0, false}, {1, true}, {2, true}, {1, false}}));

    // Entries that stay keep their place; gone ones go; new ones come last.
    targets.set_managed({"policy 3", "policy 2"});
    EXPECT_EQ(texts(),
              (std::vector<std::string>{"own 1", "own 2", "policy 2 M C", "policy 3 M C"}));
    targets.remove(0);
    EXPECT_EQ(targets.own_count(), 1);

    // The limit counts both; what finds no room is counted, and the user's entries stay.
    while (!targets.full()) {
        targets.append("own");
    }
    EXPECT_EQ(targets.set_managed({"policy 2", "policy 4", "policy 5"}), 1U);
    EXPECT_EQ(targets.count(), TargetList::kMostEntries);
    EXPECT_EQ(targets.at(targets.count() - 2).text, "policy 2");
    EXPECT_EQ(targets.at(targets.count() - 1).text, "policy 4");
}

}  // namespace
}  // namespace tapster
