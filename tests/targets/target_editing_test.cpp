// A target's own dialog: what it shows of an entry, what OK stores and where, what it
// refuses, and the administrator's entries it only shows.
#include <gtest/gtest.h>

#include <string>

#include "fakes/form_fixture.h"
#include "model/target_description.h"

namespace tapster {
namespace {

using Entries = SettingsStore::Entries;
using platform::TargetFields;

constexpr const char* kEditedNag = "Nag **** #32770 **** Close **** 3 **** 3 **** False";
constexpr const char* kEditedBackup =
    "Backup finished **** #32770 **** OK **** program=backup.exe **** 2 **** 2 **** False";
constexpr const char* kEditedLast = "Last **** #32770 **** OK **** 4 **** 4 **** True";

class TargetEditing : public fakes::FormFixture {
  protected:
    void SetUp() override {
        stored("Items", "u-0", kEditedNag);
        stored("Items", "c-1", kEditedBackup);
        stored("Items", "u-2", kEditedLast);
        form().start();
        boxes.shown.clear();
    }
    Entries stored_items() { return store.read_section("Items").value_or(Entries{}); }
};

TEST_F(TargetEditing, OkChangesTheEntryInPlaceStoresItAndPressesWhatItNowMatches) {
    controls().target_list.user_highlight(1);
    controls().target_list.user_open(1);
    ASSERT_EQ(target_dialog.shown, 1);
    const TargetFields shown = target_dialog.content.fields;
    EXPECT_EQ(shown, (TargetFields{"Backup finished", "#32770", "OK", "backup.exe", "", "2", "2",
                                   false, true}));
    EXPECT_FALSE(target_dialog.content.read_only_reason);

    // Another copy of Tapster removes the first entry meanwhile and adds one.
    const std::string other = "Other **** #32770 **** OK **** 5 **** 5 **** False";
    ASSERT_FALSE(store
                     .replace_section(
                         "Items", {{"c-0", kEditedBackup}, {"u-1", kEditedLast}, {"u-2", other}})
                     .failed());

    TargetFields changed = shown;
    changed.title = "Backup of *";
    changed.message = "Backup of * done";
    changed.forced = true;
    changed.found_id = "99";  // the identifiers are never the dialog's to change
    EXPECT_EQ(target_dialog.describe(changed),
              "Presses OK in 'Backup of *' (backup.exe) when it says 'Backup of * done', then "
              "clicks the mouse in the corner of the screen.");
    EXPECT_EQ(target_dialog.ok(changed), std::nullopt);

    const std::string now =
        "Backup of * **** #32770 **** OK **** program=backup.exe **** message=Backup of * done "
        "**** 2 **** 2 **** True";
    EXPECT_EQ(stored_items(), (Entries{{"c-0", now}, {"u-1", kEditedLast}, {"u-2", other}}))
        << "in its place, as the file has it now, the other copy's changes kept";
    EXPECT_EQ(targets().at(0).text, now);
    EXPECT_EQ(controls().target_list.highlighted(), 0) << "the highlight stays on the entry";
    EXPECT_NE(controls().target_list.text(0).find("Backup of *"), std::string::npos);

    const platform::WindowHandle box = desktop.open({"#32770", "Backup of Monday", {{2, "OK"}}});
    desktop.programs[box] = "backup.exe";
    desktop.add({"Static", "Backup of Monday done", 0xFFFF, box});
    form().timer_ticked(WindowTimer::push);
    EXPECT_EQ(desktop.commands(),
              (std::vector<std::string>{"command " + std::to_string(box) + " 2"}));
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(TargetEditing, OkRefusesWhatAddItRefusesAndFindsAnEntryThatMovedMeanwhile) {
    controls().target_list.user_open(2);
    TargetFields changed = target_dialog.content.fields;
    changed.button_text = "O****K";
    EXPECT_EQ(target_dialog.ok(changed),
              "The button text contains \"****\", which separates the parts of a stored target, "
              "so this target would never be pressed. Remove it from the field and press OK "
              "again.");
    changed = target_dialog.content.fields;
    changed.title = changed.window_class = changed.button_text = "";
    EXPECT_NE(target_dialog.ok(changed)->find("You can not add a blank item"), std::string::npos);
    changed = target_dialog.content.fields;
    changed.message = " done";
    EXPECT_NE(target_dialog.ok(changed)->find("begins or ends with spaces"), std::string::npos);

    // Another copy removes the entry before it meanwhile: the change finds its entry.
    targets().remove(0);
    changed = target_dialog.content.fields;
    changed.title = "Later";
    ASSERT_EQ(target_dialog.ok(changed), std::nullopt);
    EXPECT_EQ(targets().at(1).text, "Later **** #32770 **** OK **** 4 **** 4 **** True");
    EXPECT_EQ(targets().at(0).text, kEditedBackup);

    // The same dialog's entry has gone: nothing else is changed in its stead.
    changed.title = "Later still";
    EXPECT_NE(target_dialog.ok(changed)->find("changed or removed while this window was open"),
              std::string::npos);
    EXPECT_EQ(targets().at(1).text, "Later **** #32770 **** OK **** 4 **** 4 **** True");
    EXPECT_TRUE(boxes.shown.empty()) << "the dialog itself says why";
}

TEST_F(TargetEditing, AnEntryLeftAsItWasKeepsItsTextToTheLetterAndOnlyItsCheckMarkChanges) {
    stored("Items", "u-3", "Typed by hand****#32770****OK");  // three pieces, no spaces
    form().timer_ticked(WindowTimer::inspect);                // the list follows the file
    controls().target_list.user_highlight(3);
    controls().properties_entry.user_click();
    ASSERT_EQ(target_dialog.shown, 1);
    TargetFields fields = target_dialog.content.fields;
    EXPECT_EQ(fields.title, "Typed by hand");
    EXPECT_EQ(fields.found_id, "");
    EXPECT_EQ(target_dialog.describe(fields).rfind("Presses nothing", 0), 0U);
    fields.enabled = true;
    EXPECT_EQ(target_dialog.ok(fields), std::nullopt);
    EXPECT_EQ(stored_items().back(),
              (std::pair<std::string, std::string>{"c-3", "Typed by hand****#32770****OK"}));

    controls().target_list.set_highlighted(ui::CheckListBox::kNone);
    controls().properties_entry.user_click();
    EXPECT_EQ(target_dialog.shown, 1);
    ASSERT_EQ(boxes.shown.size(), 1U);
    EXPECT_EQ(boxes.shown[0].text,
              "Please highlight and then right click on the item you would like to see or change");
}

TEST_F(TargetEditing, AnAdministratorsEntryIsShownReadOnlyWithTheReasonAndNeverChanged) {
    policy.set_targets(platform::Policy::Scope::machine, {kEditedNag});
    form().policy_changed();
    const int managed = targets().count() - 1;
    ASSERT_TRUE(targets().at(managed).managed);
    controls().target_list.user_open(managed);
    ASSERT_TRUE(target_dialog.content.read_only_reason);
    EXPECT_NE(target_dialog.content.read_only_reason->find("administrator"), std::string::npos);

    TargetFields changed = target_dialog.content.fields;
    changed.title = "Nag*";
    changed.enabled = false;
    EXPECT_TRUE(target_dialog.ok(changed).has_value());
    EXPECT_EQ(targets().at(managed).text, kEditedNag);
    EXPECT_TRUE(targets().at(managed).checked);
}

TEST(DescribeTarget, SaysWhatIsPressedWhereAndWhenAndWhyNothingIs) {
    EXPECT_EQ(describe_target(parse_target("Nag **** #32770 **** Close **** 3 **** 3 **** False")),
              "Presses Close in 'Nag'.");
    EXPECT_EQ(describe_target(parse_target(
                  "Save **** #32770 **** Later **** accessible **** accessible **** False")),
              "Presses the drawn button Later in 'Save'.");
    EXPECT_EQ(describe_target(parse_target(" **** #32770 ****  **** 3 **** 3 **** False")),
              "Presses without text in a window without a title.");
    EXPECT_EQ(describe_target(
                  parse_target("Nag **** #32770 **** OK **** program= **** 3 **** 3 **** False")),
              "Presses nothing: its program or message is not written as Tapster reads them.");
}

}  // namespace
}  // namespace tapster
