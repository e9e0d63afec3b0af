// The window watch against a fake desktop: which new windows it reports, and what it asks
// the system while nothing changes.
#include <gtest/gtest.h>

#include "fakes/fake_desktop.h"
#include "fakes/fake_window_watch.h"
#include "pressing/window_watch.h"

namespace tapster {
namespace {

using fakes::FakeDesktop;

class WindowWatchTest : public ::testing::Test {
  protected:
    WindowWatchTest() : windows(desktop), watch(windows) { want("#32770"); }

    void want(const std::string& window_class) {
        watch.want(windows.fold_class_name(window_class));
    }
    platform::WindowHandle open(const std::string& window_class = "#32770") {
        return desktop.open({window_class, "Box", {{1, "OK"}}});
    }
    platform::WindowHandle open_hidden() {
        const platform::WindowHandle window = open();
        desktop.hidden.insert(window);
        return window;
    }

    FakeDesktop desktop;
    fakes::FakeTopLevelWindows windows;
    WindowWatch watch;
};

TEST_F(WindowWatchTest, ReportsANewWindowOfAWantedClassOnceAndOnlyListsWhileNothingChanges) {
    open("Shell_TrayWnd");
    open();  // open before the watch began: the timer's

    EXPECT_FALSE(watch.look().found) << "the first look is the starting point";
    EXPECT_FALSE(watch.look().found);
    const auto box = open();
    EXPECT_TRUE(watch.look().found);
    const int questions = windows.questions;
    for (int look = 0; look < 100; ++look) {
        EXPECT_FALSE(watch.look().found) << "a window that stays open is reported once";
    }

    EXPECT_EQ(windows.questions, questions) << "only the list is asked for";
    EXPECT_EQ(windows.lists, 103);
    EXPECT_EQ(desktop.title_reads, 0);
    desktop.close(box);
    open();  // the same box again, a new window
    EXPECT_TRUE(watch.look().found);
}

TEST_F(WindowWatchTest, LeavesOtherClassesAndThisProgramsOwnBoxesAskingAboutEachOnce) {
    want("TapsterBenchBox");
    watch.look();
    open("Notepad");
    windows.ours_set.insert(open());
    EXPECT_FALSE(watch.look().found);
    const int questions = windows.questions;
    EXPECT_FALSE(watch.look().found);
    EXPECT_EQ(windows.questions, questions);

    open("TAPSTERBENCHBOX");  // class names match whatever their letter case
    EXPECT_TRUE(watch.look().found);
}

TEST_F(WindowWatchTest,
       AWindowMadeHiddenIsExpectedAWhileAndReportedIfItShowsWithinAboutTwoSeconds) {
    watch.look();
    const auto late = open_hidden();
    const auto never = open_hidden();
    const auto closed = open_hidden();

    const platform::LookOutcome first = watch.look();
    EXPECT_FALSE(first.found);
    EXPECT_TRUE(first.expecting) << "hidden boxes: the next look comes soon";
    desktop.close(closed);
    for (int look = 1; look < 10; ++look) {
        EXPECT_FALSE(watch.look().found);
    }
    desktop.hidden.erase(late);
    EXPECT_TRUE(watch.look().found);
    for (int look = 11; look < WindowWatch::kQuickLooks; ++look) {
        EXPECT_TRUE(watch.look().expecting) << "look " << look;
    }
    EXPECT_FALSE(watch.look().expecting) << "hidden for its quick looks: the usual period";
    for (int look = WindowWatch::kQuickLooks + 1; look <= WindowWatch::kLooksWhileHidden; ++look) {
        EXPECT_FALSE(watch.look().found);
    }
    const int questions = windows.questions;
    desktop.hidden.erase(never);
    EXPECT_FALSE(watch.look().found) << "shown after the watch gave up: left to the timer";
    EXPECT_EQ(windows.questions, questions);
}

TEST_F(WindowWatchTest, WantsAClassWhileAnyTargetNamesItAndRestartsFromTheDesktopAsItIs) {
    want("#32770");  // a second target of the class
    watch.unwant(windows.fold_class_name("#32770"));
    EXPECT_TRUE(watch.wants_any());
    watch.look();
    open();
    watch.restart();
    EXPECT_FALSE(watch.look().found) << "a window open before the restart is the timer's";

    watch.unwant(windows.fold_class_name("#32770"));
    EXPECT_FALSE(watch.wants_any());
    open();
    EXPECT_FALSE(watch.look().found);
}

}  // namespace
}  // namespace tapster
