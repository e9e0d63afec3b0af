// The window watch against a fake desktop and fake system events: which windows it reports,
// what it asks the system, and when anything wakes it.
#include <gtest/gtest.h>

#include "fakes/fake_desktop.h"
#include "fakes/fake_window_watch.h"
#include "pressing/window_watch.h"

namespace tapster {
namespace {

using fakes::FakeDesktop;
using Kind = platform::WindowEvent::Kind;
using namespace std::chrono_literals;

class WindowWatchTest : public ::testing::Test {
  protected:
    WindowWatchTest()
        : windows(desktop),
          watch(
              windows, events, [this] { ++found; }, [this] { return now; }) {
        watch.want(windows.fold_class_name("#32770"));
    }

    platform::WindowHandle open(const std::string& window_class = "#32770") {
        return desktop.open({window_class, "Box", {{1, "OK"}}});
    }
    platform::WindowHandle open_hidden() {
        const platform::WindowHandle window = open();
        desktop.hidden.insert(window);
        return window;
    }
    // A window made as the system tells of it.
    platform::WindowHandle made(const std::string& window_class = "#32770") {
        const platform::WindowHandle window = open(window_class);
        events.tell(Kind::made, window);
        return window;
    }
    platform::WindowHandle made_hidden() {
        const platform::WindowHandle window = open_hidden();
        events.tell(Kind::made, window);
        return window;
    }

    FakeDesktop desktop;
    fakes::FakeTopLevelWindows windows;
    fakes::FakeDesktopEvents events;
    std::chrono::steady_clock::time_point now = std::chrono::steady_clock::time_point{} + 1h;
    WindowWatch watch;
    int found = 0;
};

TEST_F(WindowWatchTest, HearsOfAWantedWindowAsItIsMadeAndAsksEachOtherWindowOnce) {
    watch.start();
    ASSERT_TRUE(events.listening);
    EXPECT_FALSE(events.period) << "nothing wakes while no wanted window is made";

    const auto menu = made("#32768");
    events.tell(Kind::shown, menu);
    events.tell(Kind::shown, menu);
    EXPECT_EQ(windows.questions, 2) << "its class's number and name, once";
    made("#32768");
    made("#32768");
    EXPECT_EQ(windows.questions, 4) << "another window of a class heard of: its number alone";
    events.tell(Kind::destroyed, menu);
    events.tell(Kind::destroyed, 12345);  // a control, or a window never heard of
    EXPECT_EQ(found, 0);

    made("TapsterOther");
    made();
    EXPECT_EQ(found, 1) << "a wanted window made visible";
    EXPECT_FALSE(events.period);
    EXPECT_EQ(windows.lists, 0);
    EXPECT_EQ(desktop.title_reads, 0);

    watch.stop();
    EXPECT_FALSE(events.listening);
    EXPECT_FALSE(events.tell(Kind::made, open()));
}

TEST_F(WindowWatchTest, FollowsAWindowMadeHiddenUntilItShowsIsDestroyedOrAboutThreeSecondsPass) {
    watch.start();
    // Where the system tells nothing of a show: looks at the window alone, until it shows.
    const auto late = made_hidden();
    EXPECT_EQ(found, 0);
    EXPECT_EQ(events.period, WindowWatch::kFollowPeriod);
    for (int look = 0; look < 20; ++look) {
        EXPECT_FALSE(events.look());
    }
    desktop.hidden.erase(late);
    EXPECT_TRUE(events.look());
    EXPECT_FALSE(events.period) << "nothing followed: the looks stop";

    // Where the system tells, its show is heard at once.
    const auto told = made_hidden();
    desktop.hidden.erase(told);
    EXPECT_TRUE(events.tell(Kind::shown, told));
    EXPECT_FALSE(events.period);

    const auto closed = made_hidden();
    events.tell(Kind::destroyed, closed);
    EXPECT_FALSE(events.period);

    const auto never = made_hidden();
    for (int look = 0; look < WindowWatch::kFollowLooks; ++look) {
        EXPECT_FALSE(events.look());
    }
    EXPECT_FALSE(events.period) << "left to the timer";
    desktop.hidden.erase(never);
    EXPECT_EQ(found, 2);
}

TEST_F(WindowWatchTest, WhereTheSystemTellsNothingItLooksAtTheDesktopForNewWindows) {
    events.hook_works = false;
    open();  // open before the watch began: the timer's
    open("Shell_TrayWnd");
    watch.start();
    ASSERT_FALSE(events.listening);
    EXPECT_EQ(events.period, WindowWatch::kDesktopPeriod);
    EXPECT_FALSE(events.look());

    windows.ours_set.insert(open());  // this program's own box
    open("Notepad");
    EXPECT_FALSE(events.look());
    const int questions = windows.questions;
    for (int look = 0; look < 10; ++look) {
        EXPECT_FALSE(events.look());
    }
    EXPECT_EQ(windows.questions, questions) << "only the list is asked for";

    const auto box = open_hidden();
    EXPECT_FALSE(events.look());
    EXPECT_EQ(events.period, WindowWatch::kFollowPeriod);
    desktop.hidden.erase(box);
    EXPECT_TRUE(events.look());
    EXPECT_EQ(events.period, WindowWatch::kDesktopPeriod);
    desktop.close(box);
    events.look();
    open("#32770");  // the same box again, a new window
    EXPECT_TRUE(events.look());
    EXPECT_EQ(found, 2);
    EXPECT_EQ(desktop.title_reads, 0);

    watch.stop();
    EXPECT_FALSE(events.period);
}

TEST_F(WindowWatchTest, ThroughAStormOfWindowsItLooksAtTheDesktopUntilTheStormPasses) {
    watch.start();
    for (int event = 1; event < WindowWatch::kStormEvents; ++event) {
        made("#32768");
        now += 5ms;
    }
    now += WindowWatch::kSpan;
    for (int event = 1; event < WindowWatch::kStormEvents; ++event) {
        made("#32768");
    }
    ASSERT_TRUE(events.listening) << "never so many events in one span";
    made("#32768");
    ASSERT_FALSE(events.listening);
    EXPECT_EQ(events.period, WindowWatch::kStormPeriod);

    open();
    EXPECT_TRUE(events.look()) << "a box made in the storm, seen by a look";
    for (int window = 1; window < WindowWatch::kCalmWindows; ++window) {
        open("#32768");
        EXPECT_FALSE(events.look());
    }
    now += WindowWatch::kSpan;
    events.look();
    EXPECT_FALSE(events.listening) << "as many top-level windows a span as make a storm go on";

    now += WindowWatch::kSpan;
    open();
    EXPECT_TRUE(events.look()) << "the look that listens again still sees what came since the last";
    EXPECT_TRUE(events.listening);
    EXPECT_FALSE(events.period);
    made();
    EXPECT_EQ(found, 3);
    EXPECT_EQ(desktop.title_reads, 0);
}

TEST_F(WindowWatchTest, WantsAClassWhileAnyTargetNamesItWhateverItsLetterCase) {
    watch.want(windows.fold_class_name("tapsterbenchbox"));
    watch.want(windows.fold_class_name("#32770"));  // a second target of the class
    watch.unwant(windows.fold_class_name("#32770"));
    watch.start();
    made();
    made("TAPSTERBENCHBOX");
    EXPECT_EQ(found, 2);

    const auto box = open();
    watch.unwant(windows.fold_class_name("#32770"));
    watch.unwant(windows.fold_class_name("TapsterBenchBox"));
    EXPECT_FALSE(watch.wants_any());
    EXPECT_FALSE(events.tell(Kind::made, box));
}

}  // namespace
}  // namespace tapster
