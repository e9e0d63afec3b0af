// Targets an administrator sets by policy: where they stand in the list, what the user may do
// with them, what is pressed and what is stored.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fakes/form_fixture.h"
#include "targets/list_editing.h"
#include "targets/policy_targets.h"

namespace tapster {
namespace {

using Entries = SettingsStore::Entries;
using Scope = platform::Policy::Scope;

constexpr const char* kOwn = "Own **** #32770 **** OK **** 1 **** 1 **** False";
constexpr const char* kBackup = "Backup done **** #32770 **** OK **** 2 **** 2 **** False";
constexpr const char* kNag = "Nag **** #32770 **** Close **** 3 **** 3 **** True";
constexpr const char* kRefusal =
    "Your administrator set this target, so Tapster keeps it in the list and presses it. You "
    "can not remove it or clear its check mark.";

std::string managed(const std::string& text) {
    return std::string(tapster::ListEditing::kManagedMark) + text;
}

class PolicyTargetsInTheForm : public fakes::FormFixture {
  protected:
    // Each entry of the list on screen, " [x]" at its end when checked.
    std::vector<std::string> shown() {
        std::vector<std::string> texts;
        for (const ui::CheckListBox::Entry& entry : controls().target_list.entries()) {
            texts.push_back(entry.text + (entry.checked ? " [x]" : ""));
        }
        return texts;
    }
    Entries stored_items() { return store.read_section("Items").value_or(Entries{}); }
};

TEST_F(PolicyTargetsInTheForm, ComeAfterTheUsersOwnMarkedCheckedPressedAndNeverStored) {
    stored("Items", "c-0", kOwn);
    // Spaced as the administrator typed it; the same target from both keys counts once.
    policy.set_targets(Scope::machine, {"Backup done****#32770****OK****2****2****False"});
    policy.set_targets(Scope::user, {kNag, kBackup});
    form().start();

    EXPECT_EQ(shown(),
              (std::vector<std::string>{std::string(kOwn) + " [x]", managed(kBackup) + " [x]",
                                        managed(kNag) + " [x]"}));
    EXPECT_TRUE(boxes.shown.empty());

    const auto box = desktop.open({"#32770", "Backup done", {{2, "OK"}}});
    form().timer_ticked(WindowTimer::push);
    EXPECT_EQ(desktop.commands(), std::vector<std::string>{fakes::FakeDesktop::command(box, 2)});

    // The user's new entry goes before the administrator's, and only the user's are stored.
    controls().title_field.user_edit("Added");
    controls().class_field.user_edit("#32770");
    controls().button_text_field.user_edit("OK");
    controls().found_id_field.user_edit("1");
    controls().control_id_field.user_edit("1");
    controls().add_button.user_click();
    controls().target_list.user_set_checked(0, false);

    const std::string added = "Added **** #32770 **** OK **** 1 **** 1 **** False";
    EXPECT_EQ(shown(), (std::vector<std::string>{kOwn, added, managed(kBackup) + " [x]",
                                                 managed(kNag) + " [x]"}));
    EXPECT_EQ(stored_items(), (Entries{{"u-0", kOwn}, {"u-1", added}}));
}

TEST_F(PolicyTargetsInTheForm, TheUserCanNeitherRemoveNorUncheckThem) {
    policy.set_targets(Scope::machine, {kBackup});
    form().start();
    ui::CheckListBox& list = controls().target_list;

    list.user_highlight(0);
    controls().remove_entry.user_click();
    list.user_set_checked(0, false);

    ASSERT_EQ(boxes.shown.size(), 2U);
    EXPECT_EQ(boxes.shown[0].text, kRefusal);
    EXPECT_EQ(boxes.shown[1].text, kRefusal);
    EXPECT_EQ(shown(), std::vector<std::string>{managed(kBackup) + " [x]"});
    EXPECT_TRUE(targets().at(0).checked);
    EXPECT_FALSE(store.read_section("Items").has_value()) << "nothing of the user's changed";
}

TEST_F(PolicyTargetsInTheForm, APolicyChangeAddsAndRemovesThemAndAnUnreadableKeyChangesNothing) {
    stored("Items", "c-0", kOwn);
    policy.set_targets(Scope::machine, {kBackup});
    form().start();
    controls().target_list.user_highlight(0);

    policy.set_targets(Scope::user, {kNag});
    form().policy_changed();
    EXPECT_EQ(shown(),
              (std::vector<std::string>{std::string(kOwn) + " [x]", managed(kBackup) + " [x]",
                                        managed(kNag) + " [x]"}));

    // The machine's key can not be read: its target stays. The user's value was removed.
    policy.set_state(Scope::machine, platform::policy_keys::kTargets,
                     platform::PolicyKey::State::unreadable);
    policy.set_targets(Scope::user, {});
    form().policy_changed();
    EXPECT_EQ(shown(),
              (std::vector<std::string>{std::string(kOwn) + " [x]", managed(kBackup) + " [x]"}));

    policy.keys.clear();  // the policy was turned off: both keys are gone
    form().policy_changed();
    EXPECT_EQ(shown(), std::vector<std::string>{std::string(kOwn) + " [x]"});
    EXPECT_EQ(controls().target_list.highlighted(), 0);
    EXPECT_EQ(stored_items(), (Entries{{"c-0", kOwn}}));
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(PolicyTargetsInTheForm, StayOutOfTheFileAndLastInTheListWhenTheListFollowsTheFile) {
    stored("Items", "c-0", kOwn);
    file.fail_reads = true;
    policy.set_targets(Scope::machine, {kBackup});
    form().start();
    targets().append("new");
    file.fail_reads = false;
    stored_targets().save();  // reads the stored list first, and puts the new entry after

    EXPECT_EQ(stored_items(), (Entries{{"c-0", kOwn}, {"u-1", "new"}}));
    EXPECT_EQ(shown(), (std::vector<std::string>{std::string(kOwn) + " [x]", "new",
                                                 managed(kBackup) + " [x]"}));

    // Another copy's entry shows among the user's own; the administrator's stays last.
    stored("Items", "u-2", "other");
    form().timer_ticked(WindowTimer::inspect);
    EXPECT_EQ(shown(), (std::vector<std::string>{std::string(kOwn) + " [x]", "new", "other",
                                                 managed(kBackup) + " [x]"}));
    EXPECT_EQ(stored_items().size(), 3U);
}

TEST(PolicyTargetLine, IsReadStrictlyAndSpacedAsTapsterWritesIt) {
    EXPECT_EQ(read_policy_target_line("  A  b****C****OK  ****0****-5****True ").text,
              "A  b **** C **** OK **** 0 **** -5 **** True");
    EXPECT_EQ(read_policy_target_line("A****C****OK****message=Save *?****program= t.exe****1****"
                                      "2****False")
                  .text,
              "A **** C **** OK **** program=t.exe **** message=Save *? **** 1 **** 2 **** False");
    const std::pair<const char*, const char*> refused[] = {
        {"A **** C **** OK **** 1 **** 2",
         "it has 5 parts instead of six: title, class, button text, found id, id and True or "
         "False, separated by ****"},
        {"A **** C **** O****K **** 1 **** 2 **** False", "it has 7 parts instead of six: "},
        {" **** **** **** 1 **** 2 **** False", "it names neither a window nor a button"},
        {"A **** C **** OK **** one **** 2 **** False",
         "its found id \"one\" is not a whole number"},
        {"A **** C **** OK **** 1 **** 2.0 **** False", "its id \"2.0\" is not a whole number"},
        {"A **** C **** OK **** 1 **** 2 **** true",
         "it ends in \"true\" instead of True or False"},
        {"", "it has 1 parts instead of six: "},
        {"A **** C **** OK **** program=a.exe **** program=b.exe **** 1 **** 2 **** False",
         "it names a program or a message twice"},
        {"A **** C **** OK **** 1 **** 2 **** False **** message=x", "it has 7 parts"},
    };
    for (const auto& [line, problem] : refused) {
        const PolicyTargetLine read = read_policy_target_line(line);
        EXPECT_TRUE(read.text.empty()) << line;
        EXPECT_EQ(read.problem.rfind(problem, 0), 0U) << line << ": " << read.problem;
    }
}

TEST(PolicyTargets, WhatFindsNoRoomInTheFullListIsNamed) {
    fakes::FakePolicy policy;
    TargetList targets;
    for (int index = 1; index < TargetList::kMostEntries; ++index) {
        targets.append(kOwn);
    }
    policy.set_targets(Scope::machine, {kBackup, kNag});
    PolicyTargets from_policy(policy, targets);

    EXPECT_EQ(from_policy.refresh(),
              std::vector<std::string>{"1 of the targets your administrator set: the list is "
                                       "full, it holds at most 32767 targets"});
    EXPECT_EQ(targets.at(targets.count() - 1).text, kBackup);
    EXPECT_EQ(targets.own_count(), TargetList::kMostEntries - 1);
}

}  // namespace
}  // namespace tapster
