// Finding targets' windows in one walk through the fake desktop per tick and class: which
// window, and what the walk costs.
#include "pressing/window_finder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fakes/fake_desktop.h"

namespace tapster {
namespace {

using fakes::FakeDesktop;

// Looks a title up as the push cycle does: folded as its target was read.
platform::WindowHandle find(WindowFinder& finder, FakeDesktop& desktop,
                            std::string_view window_class, std::string_view title) {
    return finder.find(window_class, TitlePattern(desktop.fold_case(title)));
}

struct FinderCase {
    const char* name;
    // Top-level windows, topmost first; a child named "child" goes under the first window.
    std::vector<FakeDesktop::Node> windows;
    const char* target_class;
    const char* target_title;
    int expected;  // index into windows, or -1 for none
};

class WindowFinderFinds : public ::testing::TestWithParam<FinderCase> {};

TEST_P(WindowFinderFinds, TheTopmostWindowAsFindWindowWould) {
    FakeDesktop desktop;
    std::vector<platform::WindowHandle> handles;
    for (FakeDesktop::Node node : GetParam().windows) {
        const bool child = node.class_name == "child";
        if (child) {
            node.class_name = "#32770";
            node.parent = handles.front();
        }
        handles.push_back(desktop.add(std::move(node)));
    }
    WindowFinder finder(desktop);
    finder.start_tick();

    const platform::WindowHandle found =
        find(finder, desktop, GetParam().target_class, GetParam().target_title);

    EXPECT_EQ(found, GetParam().expected < 0 ? 0 : handles.at(GetParam().expected));
}

INSTANTIATE_TEST_SUITE_P(
    Desktops, WindowFinderFinds,
    ::testing::Values(
        FinderCase{"ExactTitle", {{"#32770", "Other"}, {"#32770", "Nag"}}, "#32770", "Nag", 1},
        FinderCase{"TopmostOfTwo", {{"#32770", "Nag"}, {"#32770", "Nag"}}, "#32770", "Nag", 0},
        FinderCase{"TopmostOfTwoByPattern",
                   {{"#32770", "Error 2 in job"}, {"#32770", "Error 1 in job"}},
                   "#32770",
                   "Error * in job",
                   0},
        FinderCase{"TitleCaseIgnored", {{"#32770", "NAG"}}, "#32770", "nag", 0},
        FinderCase{
            "PatternCaseIgnored", {{"#32770", "ERROR 7 IN JOB"}}, "#32770", "error * in job", 0},
        FinderCase{"ClassCaseIgnored", {{"MyDialog", "Nag"}}, "mydialog", "Nag", 0},
        FinderCase{"ClassIsNoPattern", {{"MyDialog", "Nag"}}, "My*", "Nag", -1},
        FinderCase{"OtherClass", {{"Notepad", "Nag"}}, "#32770", "Nag", -1},
        FinderCase{"ChildIgnored", {{"Frame", "Host"}, {"child", "Nag"}}, "#32770", "Nag", -1},
        FinderCase{"LiteralStarInTitle", {{"Edit", "*Untitled"}}, "Edit", "*Untitled", 0},
        FinderCase{"TitleStillEmpty", {{"#32770", "", 0, 0, {"", "Nag"}}}, "#32770", "Nag", 0},
        FinderCase{"TitleChanging", {{"#32770", "Error", 0, 0, {"Nag"}}}, "#32770", "Nag", 0},
        FinderCase{"TitleSettledElsewhere",
                   {{"#32770", "Error", 0, 0, {"Error", "Nag"}}},
                   "#32770",
                   "Nag",
                   -1}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(WindowFinderTest, OneEnumerationPerTickAndNoTitleReadForAClassNoWindowHas) {
    FakeDesktop desktop;
    desktop.add({"Notepad", "Untitled"});
    WindowFinder finder(desktop);

    for (int tick = 0; tick < 2; ++tick) {
        finder.start_tick();
        for (int target = 0; target < 100; ++target) {
            EXPECT_EQ(find(finder, desktop, "#32770", "Absent " + std::to_string(target)), 0U);
        }
    }

    EXPECT_EQ(desktop.enumerations, 2);
    EXPECT_EQ(desktop.title_reads, 0);
    EXPECT_EQ(desktop.lookups, 0);
}

TEST(WindowFinderTest, TitlesOfAWantedClassAreReadAgainOnlyOnceATickAndAtMostTenTimes) {
    FakeDesktop desktop;
    desktop.add({"#32770", "Other"});
    desktop.add({"#32770", ""});  // a window that never gets a title
    WindowFinder finder(desktop);
    finder.start_tick();

    EXPECT_EQ(find(finder, desktop, "#32770", "Absent 1"), 0U);
    EXPECT_EQ(find(finder, desktop, "#32770", "Absent 2"), 0U);

    // "Other": read, then confirmed once; the empty one: WindowFinder::kTitleReads reads.
    EXPECT_EQ(desktop.title_reads, 2 + WindowFinder::kTitleReads);
}

TEST(WindowFinderTest, TheWalkGoesNoFurtherThanATargetNeedsAndReadsEachTitleOnce) {
    FakeDesktop desktop;
    const auto top = desktop.add({"#32770", "Nag"});
    desktop.add({"#32770", "Other"});
    const auto bottom = desktop.add({"#32770", "Last"});
    WindowFinder finder(desktop);
    finder.start_tick();

    EXPECT_EQ(find(finder, desktop, "#32770", "Nag"), top);
    EXPECT_EQ(desktop.title_reads, 1);
    EXPECT_EQ(find(finder, desktop, "#32770", "Last"), bottom);
    EXPECT_EQ(find(finder, desktop, "#32770", "Nag"), top);
    EXPECT_EQ(find(finder, desktop, "#32770", "L*"), bottom);
    EXPECT_EQ(desktop.title_reads, 3);
    EXPECT_EQ(desktop.enumerations, 1);
}

TEST(WindowFinderTest, ANewTickSeesWindowsOpenedAndClosedSinceTheLast) {
    FakeDesktop desktop;
    const auto first = desktop.add({"#32770", "Nag"});
    WindowFinder finder(desktop);
    finder.start_tick();
    ASSERT_EQ(find(finder, desktop, "#32770", "Nag"), first);

    desktop.close(first);
    const auto second = desktop.add({"#32770", "Nag"});
    EXPECT_EQ(find(finder, desktop, "#32770", "Nag"), first);  // the same tick: the same look
    finder.start_tick();
    EXPECT_EQ(find(finder, desktop, "#32770", "Nag"), second);
}

}  // namespace
}  // namespace tapster
