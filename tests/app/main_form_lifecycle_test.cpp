// Start-up as far as the window and the tray go, Minimize, Exit, the close refusal, the
// resize rule and the Run Minimized option.
#include <gtest/gtest.h>

#include "fakes/param_name.h"

#include "fakes/form_fixture.h"

namespace tapster {
namespace {

using fakes::FormFixture;

class MainFormLifecycle : public FormFixture {};

TEST_F(MainFormLifecycle, FirstStartShowsTheWindowWithTheIconAndWritesNoOption) {
    form().start();

    EXPECT_TRUE(controls().window.visible());
    EXPECT_TRUE(tray.present);
    EXPECT_EQ(tray.adds, 1);
    EXPECT_FALSE(controls().run_minimized_entry.checked());
    EXPECT_EQ(read("Runit", "RunMinimized"), "<missing>");
    EXPECT_EQ(controls().window.caption(), "Davivuvozuved Tapster 2.1 - example.org");
}

TEST_F(MainFormLifecycle, TheTrayIconCarriesItsTip) {
    form().start();

    EXPECT_EQ(tray.last_icon.tip, "Vozu Tapster - example.org");
}

struct StoredRunMinimized {
    const char* text;
    bool starts_hidden;
};

class RunMinimizedAtStart : public FormFixture,
                            public ::testing::WithParamInterface<StoredRunMinimized> {};

TEST_P(RunMinimizedAtStart, HidesTheWindowOnlyForATrueValue) {
    stored("Runit", "RunMinimized", GetParam().text);

    form().start();

    EXPECT_EQ(controls().window.visible(), !GetParam().starts_hidden);
    EXPECT_EQ(controls().run_minimized_entry.checked(), GetParam().starts_hidden);
    // Hidden or not, the icon is there, and only once.
    EXPECT_TRUE(tray.present);
    EXPECT_TRUE(boxes.shown.empty());
}

INSTANTIATE_TEST_SUITE_P(
    StoredTexts, RunMinimizedAtStart,
    ::testing::Values(StoredRunMinimized{"True", true}, StoredRunMinimized{"true", true},
                      StoredRunMinimized{"1", true}, StoredRunMinimized{"-1", true},
                      StoredRunMinimized{"False", false}, StoredRunMinimized{"0", false},
                      // Not a boolean: left unchecked, start-up goes on.
                      StoredRunMinimized{"yes", false}, StoredRunMinimized{"", false}),
    [](const auto& info) { return fakes::param_name(info.index, info.param.text); });

TEST_F(MainFormLifecycle, MinimizeHidesAndLeavesExactlyOneIcon) {
    form().start();
    controls().minimize_button.user_click();

    EXPECT_FALSE(controls().window.visible());
    EXPECT_TRUE(tray.present);
    EXPECT_EQ(tray.adds, 2);  // the second finds the icon there already
    EXPECT_EQ(tray.removes, 0);
}

TEST_F(MainFormLifecycle, ExitRemovesTheIconBeforeEndingAndSavesNothing) {
    form().start();
    file.replace_count = 0;
    journal.clear();

    controls().exit_button.user_click();

    EXPECT_EQ(journal, (fakes::Journal{"tray remove", "end process"}));
    EXPECT_FALSE(tray.present);
    EXPECT_EQ(file.replace_count, 0);
}

TEST_F(MainFormLifecycle, TheExitMenuEntryExitsLikeTheButton) {
    form().start();
    journal.clear();

    controls().exit_entry.user_click();

    EXPECT_EQ(journal, (fakes::Journal{"tray remove", "end process"}));
}

TEST_F(MainFormLifecycle, EveryCloseRequestIsRefusedAndChangesNothing) {
    form().start();
    EXPECT_FALSE(form().allows_close());

    EXPECT_TRUE(controls().window.visible());
    EXPECT_EQ(shell.ended, 0);
    EXPECT_TRUE(tray.present);
}

TEST_F(MainFormLifecycle, ResizingWidensOnlyTheTwoHiddenListsToTheOuterWidth) {
    form().start();
    const ui::TwipsRect list4_before = controls().target_list.rect();
    const ui::TwipsRect list2_before = controls().lower_short_list.rect();

    form().resized(9000);

    EXPECT_EQ(controls().lower_list.rect().width, 9000);
    EXPECT_EQ(controls().lower_short_list.rect().width, 9000);
    EXPECT_EQ(controls().lower_short_list.rect().left, list2_before.left);
    EXPECT_EQ(controls().lower_short_list.rect().height, list2_before.height);
    EXPECT_EQ(controls().target_list.rect(), list4_before);
}

TEST_F(MainFormLifecycle, TogglingRunMinimizedTwiceStoresTrueThenFalseAndLeavesTheWindowAlone) {
    form().start();

    controls().run_minimized_entry.user_click();
    EXPECT_TRUE(controls().run_minimized_entry.checked());
    EXPECT_EQ(read("Runit", "RunMinimized"), "True");

    controls().run_minimized_entry.user_click();
    EXPECT_FALSE(controls().run_minimized_entry.checked());
    EXPECT_EQ(read("Runit", "RunMinimized"), "False");

    EXPECT_TRUE(controls().window.visible());
}

TEST_F(MainFormLifecycle, AnOptionThatCannotBeSavedIsReportedOnceAndNothingBreaks) {
    form().start();

    file.fail_next_replace = true;
    controls().run_minimized_entry.user_click();
    file.fail_next_replace = true;
    controls().run_minimized_entry.user_click();

    ASSERT_EQ(boxes.shown.size(), 1U);
    EXPECT_NE(boxes.shown[0].text.find("could not save"), std::string::npos);
    EXPECT_EQ(boxes.shown[0].title, "Tapster 2.1");
}

// The system side names what the user did with the tray icon (tests/win32 decodes the
// shell's messages): selecting the icon shows the hidden window, and the icon stays.
TEST_F(MainFormLifecycle, SelectingTheTrayIconShowsTheHiddenWindow) {
    form().start();
    controls().minimize_button.user_click();
    ASSERT_FALSE(controls().window.visible());

    form().tray_selected();
    EXPECT_TRUE(controls().window.visible());
    form().tray_selected();  // shown already: nothing changes
    EXPECT_TRUE(controls().window.visible());
    EXPECT_TRUE(tray.present);
    EXPECT_EQ(tray.adds, 2);
}

// A shell not ready at sign-in refuses the add and may never send TaskbarCreated.
TEST_F(MainFormLifecycle, ARefusedIconIsAskedForAgainUntilTheShellTakesIt) {
    tray.refused_adds = 2;
    form().start();
    EXPECT_FALSE(tray.present);
    ASSERT_TRUE(controls().tray_timer.running());

    form().timer_ticked(WindowTimer::tray);
    EXPECT_FALSE(tray.present);
    EXPECT_TRUE(controls().tray_timer.running());
    form().timer_ticked(WindowTimer::tray);
    EXPECT_TRUE(tray.present);
    EXPECT_FALSE(controls().tray_timer.running()) << "still asking once the icon is there";
    EXPECT_EQ(tray.adds, 3);
}

TEST_F(MainFormLifecycle, TheIconComesBackWhenTheTaskbarIsMadeAnewAndGoesWithTheSession) {
    form().start();
    tray.present = false;  // Explorer restarted

    form().taskbar_created();
    EXPECT_TRUE(tray.present);

    form().session_ending();
    EXPECT_FALSE(tray.present);
    EXPECT_EQ(shell.ended, 0);
}

}  // namespace
}  // namespace tapster
