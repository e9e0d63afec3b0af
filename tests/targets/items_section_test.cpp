// The stored target list: the rewrite from target_list, the load at start-up, and the list
// following the file.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fakes/form_fixture.h"

namespace tapster {
namespace {

using namespace std::chrono_literals;

using Entries = SettingsStore::Entries;

class ItemsSection : public fakes::FormFixture {
  protected:
    Entries stored_items() { return store.read_section("Items").value_or(Entries{}); }
    // A clock that moves on by `step` each time it is read.
    void use_clock_ticking(std::chrono::milliseconds step) {
        stored_targets().set_clock([this, step] { return now_ += step; });
    }

  private:
    std::chrono::steady_clock::time_point now_;
};

TEST_F(ItemsSection, TheRewriteStoresEveryEntryByPositionAndCheckMark) {
    for (const char* text : {"a **** A", "b **** B", "c **** C"}) {
        targets().append(text);
    }
    targets().set_checked(0, true);
    targets().set_checked(2, true);

    stored_targets().save();

    EXPECT_EQ(stored_items(),
              (Entries{{"c-0", "a **** A"}, {"u-1", "b **** B"}, {"c-2", "c **** C"}}));
}

TEST_F(ItemsSection, PositionsPastNineAreWrittenInFull) {
    for (int index = 0; index < 11; ++index) {
        targets().append("entry " + std::to_string(index));
    }
    targets().set_checked(10, true);

    stored_targets().save();

    const Entries items = stored_items();
    ASSERT_EQ(items.size(), 11U);
    EXPECT_EQ(items[10], (std::pair<std::string, std::string>{"c-10", "entry 10"}));
    EXPECT_EQ(items[9].first, "u-9");
}

TEST_F(ItemsSection, AnEmptyListLeavesNoSection) {
    stored("Items", "c-0", "old");
    form().start();
    targets().remove(0);

    stored_targets().save();

    EXPECT_FALSE(store.read_section("Items").has_value());
}

TEST_F(ItemsSection, TheRewriteIsOneReplacementOfTheFile) {
    for (int index = 0; index < 50; ++index) {
        targets().append("entry");
    }
    const int before = file.replace_count;

    stored_targets().save();

    // Ending the program at any moment leaves either the old list or the new one.
    EXPECT_EQ(file.replace_count, before + 1);
}

TEST_F(ItemsSection, ALoadRestoresOrderAndCheckMarksByTheKeysFirstCharacter) {
    stored("Items", "c-0", "first");
    stored("Items", "u-1", "second");
    stored("Items", "C-2", "upper case C is not checked");
    stored("Items", "c-7", "digits are not read");
    stored("Items", "x", "  a value is loaded **** unchanged  ");
    int clicks = 0;
    controls().target_list.clicked.connect([&] { ++clicks; });

    form().start();

    const auto& entries = controls().target_list.entries();
    ASSERT_EQ(entries.size(), 5U);
    EXPECT_EQ(entries[0], (ui::CheckListBox::Entry{"first", true}));
    EXPECT_EQ(entries[1], (ui::CheckListBox::Entry{"second", false}));
    EXPECT_EQ(entries[2], (ui::CheckListBox::Entry{"upper case C is not checked", false}));
    EXPECT_EQ(entries[3], (ui::CheckListBox::Entry{"digits are not read", true}));
    EXPECT_EQ(entries[4].text, "  a value is loaded **** unchanged  ");
    EXPECT_EQ(clicks, 0) << "loading must not look like the user clicking the list";
}

TEST_F(ItemsSection, ADrawnButtonsEntryComesBackUnchangedBesideAClassicOne) {
    const std::string classic = "Nag **** #32770 **** OK **** 1 **** 1 **** False";
    const std::string drawn =
        "Save file? **** Drawn **** Save **** accessible **** accessible **** True";
    stored("Items", "c-0", classic);
    stored("Items", "u-1", drawn);
    form().start();
    ASSERT_TRUE(targets().at(1).target.accessible);

    targets().set_checked(1, true);
    stored_targets().save();

    EXPECT_EQ(stored_items(), (Entries{{"c-0", classic}, {"c-1", drawn}}));
}

TEST_F(ItemsSection, NoStoredListLoadsNothingAndSaysNothing) {
    form().start();

    EXPECT_EQ(controls().target_list.count(), 0);
    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_TRUE(controls().window.visible());
}

TEST_F(ItemsSection, AnUnreadableRunMinimizedStillLoadsTheList) {
    stored("Runit", "RunMinimized", "yes");
    stored("Items", "c-0", "kept");

    form().start();
    stored_targets().save();

    ASSERT_EQ(controls().target_list.count(), 1);
    EXPECT_EQ(stored_items(), (Entries{{"c-0", "kept"}}));
}

TEST_F(ItemsSection, TheLoadGoesInStepsOfTenMillisecondsSoTicksSeeThePartialList) {
    for (int index = 0; index < 5; ++index) {
        stored("Items", "c-" + std::to_string(index), "entry");
    }
    use_clock_ticking(6ms);

    form().start();
    std::vector<int> counts_seen{controls().target_list.count()};
    while (dispatcher.run_one()) {
        counts_seen.push_back(controls().target_list.count());
    }

    EXPECT_EQ(counts_seen, (std::vector<int>{2, 4, 5})) << "the first step at once";
    EXPECT_TRUE(controls().window.visible()) << "the window shows before the list is whole";
}

TEST_F(ItemsSection, ARewriteAskedForDuringTheLoadWaitsForTheWholeList) {
    for (int index = 0; index < 3; ++index) {
        stored("Items", "c-" + std::to_string(index), "entry " + std::to_string(index));
    }
    use_clock_ticking(10ms);  // a step for every entry

    form().start();
    stored_targets().save();  // say, the user clicked the list while it was loading
    dispatcher.run_all();

    EXPECT_EQ(stored_items().size(), 3U);
}

TEST_F(ItemsSection, AnIncompleteLoadIsCompletedBeforeTheNextSaveAndTheUsersEditsAreKept) {
    for (int index = 0; index < 3; ++index) {
        stored("Items", "c-" + std::to_string(index), "entry " + std::to_string(index));
    }
    use_clock_ticking(10ms);  // a step for every entry
    dispatcher.refuse_posts = true;

    form().start();
    dispatcher.refuse_posts = false;
    ASSERT_EQ(controls().target_list.count(), 1);
    EXPECT_EQ(read("Runit", "Calibartion"), "1000") << "start-up went on to the calibration";
    controls().target_list.user_set_checked(0, false);

    EXPECT_EQ(stored_items(),
              (Entries{{"u-0", "entry 0"}, {"c-1", "entry 1"}, {"c-2", "entry 2"}}));
    EXPECT_EQ(controls().target_list.count(), 3);
    ASSERT_EQ(boxes.shown.size(), 1U);
    EXPECT_NE(boxes.shown[0].text.find("could not load"), std::string::npos);
}

TEST_F(ItemsSection, AnUnreadableFileAtStartIsNeverOverwrittenByTheEmptyList) {
    stored("Items", "c-0", "kept 0");
    stored("Items", "u-1", "kept 1");
    file.fail_reads = true;

    form().start();
    targets().append("new");
    stored_targets().save();  // the file is still unreadable: nothing is written
    file.fail_reads = false;
    stored_targets().save();

    EXPECT_EQ(stored_items(), (Entries{{"c-0", "kept 0"}, {"u-1", "kept 1"}, {"u-2", "new"}}));
    EXPECT_EQ(controls().target_list.count(), 3);
}

TEST_F(ItemsSection, EntriesBeyondTheListsLimitStayStoredAndTheUserIsTold) {
    Entries many;
    for (int index = 0; index < TargetList::kMostEntries + 2; ++index) {
        many.emplace_back("c-" + std::to_string(index), "entry " + std::to_string(index));
    }
    ASSERT_TRUE(store.replace_section("Items", many));

    form().start();
    controls().target_list.user_set_checked(0, false);

    EXPECT_EQ(controls().target_list.count(), TargetList::kMostEntries);
    const Entries saved = stored_items();
    ASSERT_EQ(saved.size(), many.size());
    EXPECT_EQ(saved[0].first, "u-0");
    EXPECT_EQ(saved.back(), many.back());
    ASSERT_EQ(boxes.shown.size(), 1U);
    EXPECT_NE(boxes.shown[0].text.find("32767"), std::string::npos);
}

TEST_F(ItemsSection, ATargetAddedWhileTheListLoadsComesAfterTheStoredOnes) {
    for (int index = 0; index < 3; ++index) {
        stored("Items", "c-" + std::to_string(index), "entry " + std::to_string(index));
    }
    use_clock_ticking(10ms);  // a step for every entry

    form().start();
    targets().append("added");
    stored_targets().save();
    dispatcher.run_all();

    const Entries expected{
        {"c-0", "entry 0"}, {"c-1", "entry 1"}, {"c-2", "entry 2"}, {"u-3", "added"}};
    EXPECT_EQ(stored_items(), expected);
    ASSERT_EQ(controls().target_list.count(), 4);
    EXPECT_EQ(controls().target_list.text(3), "added");
}

TEST_F(ItemsSection, AFullListWhoseLoadEndedEarlyIsNeverOverfilled) {
    Entries full;
    for (int index = 0; index < TargetList::kMostEntries; ++index) {
        full.emplace_back("c-" + std::to_string(index), "entry " + std::to_string(index));
    }
    ASSERT_TRUE(store.replace_section("Items", full));
    use_clock_ticking(10ms);
    form().start();
    dispatcher.refuse_posts = true;
    dispatcher.run_one();
    dispatcher.refuse_posts = false;

    targets().append("added 1");
    targets().append("added 2");
    stored_targets().save();

    EXPECT_EQ(controls().target_list.count(), TargetList::kMostEntries);
    const Entries saved = stored_items();
    ASSERT_EQ(saved.size(), full.size() + 2);
    EXPECT_EQ(saved[saved.size() - 2].second, "added 1");
    EXPECT_EQ(saved.back().second, "added 2");
    ASSERT_EQ(boxes.shown.size(), 2U);
    EXPECT_NE(boxes.shown[1].text.find("32767"), std::string::npos);
}

TEST_F(ItemsSection, ARepeatedKeyIsATargetOfItsOwnAndGetsAKeyOfItsOwn) {
    file.bytes = R"({"Items": {"c-0": "first", "c-0": "second"}})";
    form().start();
    ASSERT_EQ(controls().target_list.count(), 2);

    controls().target_list.user_set_checked(0, false);

    EXPECT_EQ(stored_items(), (Entries{{"u-0", "first"}, {"c-1", "second"}}));
}

// Another copy's change, or a copy of the file put back, shows at the next tick without a
// write. The highlighted entry stays highlighted while it is there, the fields showing it
// stay as they are, and a capture under way goes on.
TEST_F(ItemsSection, AChangeOnDiskShowsAtTheNextTickUnderTheUsersHighlightAndCapture) {
    const std::string a = "A **** #32770 **** OK **** 1 **** 1 **** False";
    const std::string b = "B **** #32770 **** OK **** 1 **** 1 **** False";
    const std::string c = "C **** #32770 **** OK **** 1 **** 1 **** False";
    stored("Items", "c-0", a);
    stored("Items", "c-1", b);
    stored("Items", "u-2", c);
    form().start();
    controls().target_list.user_highlight(1);
    ASSERT_EQ(controls().title_field.text(), "B");
    const int reads = file.read_count;
    const int writes = file.replace_count;
    form().timer_ticked(WindowTimer::inspect);
    EXPECT_EQ(file.read_count, reads) << "an unchanged file is read again";

    file.bytes = R"({"Items": {"u-0": ")" + b + R"(", "c-1": ")" + c + R"(", "u-2": "D"}})";
    form().timer_ticked(WindowTimer::inspect);
    EXPECT_EQ(controls().target_list.entries(),
              (std::vector<ui::CheckListBox::Entry>{{b, false}, {c, true}, {"D", false}}));
    EXPECT_EQ(controls().target_list.highlighted(), 0);
    EXPECT_EQ(controls().title_field.text(), "B");

    controls().check_mark.mouse_down.raise(ui::MouseArgs{ui::kLeftButton, 0, 0, 0});
    file.bytes = R"({"Items": {"c-0": ")" + a + R"("}})";
    form().timer_ticked(WindowTimer::inspect);
    EXPECT_EQ(controls().target_list.entries(), (std::vector<ui::CheckListBox::Entry>{{a, true}}));
    EXPECT_EQ(controls().target_list.highlighted(), ui::CheckListBox::kNone);
    EXPECT_EQ(capture().state(), CaptureSession::State::armed);
    EXPECT_EQ(file.replace_count, writes);
}

// A file another program is still writing looks damaged for a moment: it is set aside only
// when it stays so for a tick, and then this copy's list is stored in its place.
TEST_F(ItemsSection, AFileThatStaysDamagedForATickIsSetAsideAndTheListStoredAgain) {
    stored("Items", "c-0", "A");
    stored("Items", "u-1", "B");
    form().start();

    file.bytes = R"({"Items": {"c-0": "A", "u-1": "B", "u-2)";
    form().timer_ticked(WindowTimer::inspect);
    file.bytes = R"({"Items": {"c-0": "A", "u-1": "B", "u-2": "C"}})";
    form().timer_ticked(WindowTimer::inspect);
    EXPECT_EQ(controls().target_list.count(), 3);
    EXPECT_TRUE(file.set_aside_contents.empty());

    file.bytes = "{ damaged";
    form().timer_ticked(WindowTimer::inspect);
    form().timer_ticked(WindowTimer::inspect);
    EXPECT_EQ(file.set_aside_contents, std::vector<std::string>{"{ damaged"});
    EXPECT_EQ(corrupt_reports.size(), 1U);
    EXPECT_EQ(stored_items(), (Entries{{"c-0", "A"}, {"u-1", "B"}, {"u-2", "C"}}));
    EXPECT_EQ(controls().target_list.count(), 3);
}

TEST_F(ItemsSection, AClickThatChangesNothingWritesNothing) {
    stored("Items", "c-0", "a **** b");
    form().start();
    const int before = file.replace_count;

    controls().target_list.user_highlight(0);
    controls().target_list.user_highlight(ui::CheckListBox::kNone);

    EXPECT_EQ(file.replace_count, before);
}

TEST_F(ItemsSection, AListThatCannotBeSavedIsReportedOnce) {
    targets().append("entry");

    file.fail_next_replace = true;
    stored_targets().save();
    file.fail_next_replace = true;
    stored_targets().save();

    EXPECT_EQ(boxes.shown.size(), 1U);
}

}  // namespace
}  // namespace tapster
