// The change semantics the form's logic relies on: which changes reach the view, and which
// raise the form's events.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ui/captioned.h"
#include "ui/check_list_box.h"
#include "ui/menu_entry.h"
#include "ui/text_box.h"
#include "ui/timer.h"

namespace tapster::ui {
namespace {

// What a view of the control is told.
struct RecordingView {
    explicit RecordingView(Control& control) {
        control.state_changed.connect([this](Change change) { changes.push_back(change); });
    }
    std::vector<Change> changes;
};

TEST(TextBox, ChangeRunsOnEveryNewTextWhoeverWritesIt) {
    TextBox box("Text1", "", {}, true, nullptr);
    RecordingView view(box);
    std::vector<std::string> seen;
    box.changed.connect([&] { seen.push_back(box.text()); });

    box.set_text("Nag");      // the program writes: the view is told, the handler runs
    box.set_text("Nag");      // the same text again: nothing at all
    box.user_edit("Nagger");  // the user typed: the handler runs, the view already shows it
    box.user_edit("Nagger");

    EXPECT_EQ(seen, (std::vector<std::string>{"Nag", "Nagger"}));
    EXPECT_EQ(view.changes, (std::vector<Change>{Change::text}));
}

TEST(TextBox, AHandlerThatWritesTheBoxAgainSeesTheNewestText) {
    TextBox box("Text15", "1000", {}, true, nullptr);
    int runs = 0;
    box.changed.connect([&] {
        ++runs;
        if (box.text() != "1000") {
            box.set_text("1000");  // a handler that resets invalid input
        }
    });

    box.user_edit("abc");

    EXPECT_EQ(box.text(), "1000");
    EXPECT_EQ(runs, 2);
}

TEST(Event, ASecondHandlerRunsAfterTheFirstAndADisconnectedOneNoMore) {
    Button button("Command1", "Add It", {}, true, nullptr);
    std::vector<std::string> runs;
    const auto first = button.clicked.connect([&] { runs.emplace_back("first"); });
    button.clicked.connect([&] { runs.emplace_back("second"); });

    button.user_click();
    button.clicked.disconnect(first);
    button.user_click();

    EXPECT_EQ(runs, (std::vector<std::string>{"first", "second", "second"}));
}

TEST(CheckListBox, ChangesByTheProgramRaiseNoClick) {
    CheckListBox list("List4", {}, true, nullptr);
    int clicks = 0;
    list.clicked.connect([&] { ++clicks; });

    list.add("a");
    list.add("b");
    list.set_checked(1, true);
    list.set_highlighted(0);
    list.remove(0);

    EXPECT_EQ(clicks, 0);
    ASSERT_EQ(list.count(), 1);
    EXPECT_EQ(list.text(0), "b");
    EXPECT_TRUE(list.checked(0));
}

TEST(CheckListBox, TheUsersCheckAndHighlightRaiseOneClickEach) {
    CheckListBox list("List4", {}, true, nullptr);
    list.add("a");
    list.add("b");
    int clicks = 0;
    list.clicked.connect([&] { ++clicks; });

    list.user_set_checked(0, true);
    list.user_set_checked(0, true);  // no change, no click
    list.user_highlight(1);
    list.user_highlight(1);
    list.user_highlight(7);  // out of range: ignored

    EXPECT_EQ(clicks, 2);
    EXPECT_TRUE(list.checked(0));
    EXPECT_EQ(list.highlighted(), 1);
}

TEST(CheckListBox, TheHighlightStaysOnItsEntryWhenAnotherIsRemoved) {
    CheckListBox list("List4", {}, true, nullptr);
    for (const char* text : {"a", "b", "c"}) {
        list.add(text);
    }

    list.set_highlighted(2);
    list.remove(0);
    EXPECT_EQ(list.highlighted(), 1);
    EXPECT_EQ(list.text(list.highlighted()), "c");

    list.remove(1);
    EXPECT_EQ(list.highlighted(), CheckListBox::kNone);
}

TEST(CheckListBox, TellsTheViewExactlyWhichEntryChanged) {
    CheckListBox list("List4", {}, true, nullptr);
    RecordingView view(list);

    list.add("a");
    EXPECT_EQ(list.last_edit().kind, CheckListBox::Edit::Kind::appended);
    EXPECT_EQ(list.last_edit().index, 0);
    list.add("b");
    list.set_checked(1, true);
    EXPECT_EQ(list.last_edit().kind, CheckListBox::Edit::Kind::checked);
    EXPECT_EQ(list.last_edit().index, 1);
    list.remove(0);
    EXPECT_EQ(list.last_edit().kind, CheckListBox::Edit::Kind::removed);
    EXPECT_EQ(list.last_edit().index, 0);
}

TEST(CheckListBox, AskingForAPositionThatDoesNotExistIsAnError) {
    CheckListBox list("List4", {}, true, nullptr);
    list.add("a");

    EXPECT_THROW((void)list.text(1), std::out_of_range);
    EXPECT_THROW(list.set_checked(-1, true), std::out_of_range);
    EXPECT_THROW(list.remove(1), std::out_of_range);
    EXPECT_THROW(list.set_highlighted(3), std::out_of_range);
}

TEST(Timer, RunsOnlyWhileEnabledWithAnIntervalAboveZero) {
    Timer timer("Timer2", 1000);
    RecordingView view(timer);
    EXPECT_TRUE(timer.running());

    timer.set_interval(0);
    EXPECT_FALSE(timer.running());
    timer.set_interval(0);
    timer.set_interval(500);
    timer.set_enabled(false);
    EXPECT_FALSE(timer.running());

    EXPECT_EQ(view.changes,
              (std::vector<Change>{Change::interval, Change::interval, Change::enabled}));
}

TEST(MenuEntry, ACheckMarkChangeReachesTheViewOnce) {
    MenuEntry entry("RunMinimized", "Run Minimized on Start");
    RecordingView view(entry);

    entry.set_checked(true);
    entry.set_checked(true);

    EXPECT_EQ(view.changes, (std::vector<Change>{Change::checked}));
}

}  // namespace
}  // namespace tapster::ui
