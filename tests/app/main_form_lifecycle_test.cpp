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

    EXPECT_TRUE(form().window.visible());
    EXPECT_TRUE(tray.present);
    EXPECT_EQ(tray.adds, 1);
    EXPECT_FALSE(form().run_minimized_entry.checked());
    EXPECT_EQ(read("Runit", "RunMinimized"), "<missing>");
    EXPECT_EQ(form().window.caption(), "Davivuvozuved Tapster 2.1 - example.org");
}

TEST_F(MainFormLifecycle, TheTrayIconCarriesItsTipAndCallbackMessage) {
    form().start();

    EXPECT_EQ(tray.last_icon.tip, "Vozu Tapster - example.org");
    EXPECT_EQ(tray.last_icon.callback_message, 512U);
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

    EXPECT_EQ(form().window.visible(), !GetParam().starts_hidden);
    EXPECT_EQ(form().run_minimized_entry.checked(), GetParam().starts_hidden);
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
    form().minimize_button.user_click();

    EXPECT_FALSE(form().window.visible());
    EXPECT_TRUE(tray.present);
    EXPECT_EQ(tray.adds, 2);  // the second add is the one the shell refuses
    EXPECT_EQ(tray.removes, 0);
}

TEST_F(MainFormLifecycle, ExitRemovesTheIconBeforeEndingAndSavesNothing) {
    form().start();
    file.replace_count = 0;
    journal.clear();

    form().exit_button.user_click();

    EXPECT_EQ(journal, (fakes::Journal{"tray remove", "end process"}));
    EXPECT_FALSE(tray.present);
    EXPECT_EQ(file.replace_count, 0);
}

TEST_F(MainFormLifecycle, TheExitMenuEntryExitsLikeTheButton) {
    form().start();
    journal.clear();

    form().exit_entry.user_click();

    EXPECT_EQ(journal, (fakes::Journal{"tray remove", "end process"}));
}

TEST_F(MainFormLifecycle, EveryCloseRequestIsRefusedAndChangesNothing) {
    form().start();
    int cancel = 0;

    form().on_close_requested(cancel);

    EXPECT_NE(cancel, 0);
    EXPECT_TRUE(form().window.visible());
    EXPECT_EQ(shell.ended, 0);
    EXPECT_TRUE(tray.present);
}

TEST_F(MainFormLifecycle, ResizingWidensOnlyTheTwoHiddenListsToTheOuterWidth) {
    form().start();
    const ui::TwipsRect list4_before = form().target_list.rect();
    const ui::TwipsRect list2_before = form().lower_short_list.rect();

    form().window.user_set_outer_width(9000);
    form().on_resized();

    EXPECT_EQ(form().lower_list.rect().width, 9000);
    EXPECT_EQ(form().lower_short_list.rect().width, 9000);
    EXPECT_EQ(form().lower_short_list.rect().left, list2_before.left);
    EXPECT_EQ(form().lower_short_list.rect().height, list2_before.height);
    EXPECT_EQ(form().target_list.rect(), list4_before);
}

TEST_F(MainFormLifecycle, TogglingRunMinimizedTwiceStoresTrueThenFalseAndLeavesTheWindowAlone) {
    form().start();

    form().run_minimized_entry.user_click();
    EXPECT_TRUE(form().run_minimized_entry.checked());
    EXPECT_EQ(read("Runit", "RunMinimized"), "True");

    form().run_minimized_entry.user_click();
    EXPECT_FALSE(form().run_minimized_entry.checked());
    EXPECT_EQ(read("Runit", "RunMinimized"), "False");

    EXPECT_TRUE(form().window.visible());
}

TEST_F(MainFormLifecycle, AnOptionThatCannotBeSavedIsReportedOnceAndNothingBreaks) {
    form().start();

    file.fail_next_replace = true;
    form().run_minimized_entry.user_click();
    file.fail_next_replace = true;
    form().run_minimized_entry.user_click();

    ASSERT_EQ(boxes.shown.size(), 1U);
    EXPECT_NE(boxes.shown[0].text.find("could not save"), std::string::npos);
    EXPECT_EQ(boxes.shown[0].title, "Tapster 2.1");
}

// The tray icon reports the mouse message over it in place of the x coordinate of the
// window's own mouse-move message; only the left-button press shows the window.
struct TrayNotification {
    int dpi;
    int mouse_message;
    bool shows;
};

class TrayNotifications : public FormFixture,
                          public ::testing::WithParamInterface<TrayNotification> {};

TEST_P(TrayNotifications, OnlyTheLeftButtonPressShowsTheHiddenWindow) {
    const TrayNotification& notification = GetParam();
    form().start();
    form().window.user_set_dpi(notification.dpi);
    form().on_minimize_clicked();

    form().on_mouse_move(0, 0, ui::pixels_to_twips(notification.mouse_message, notification.dpi),
                         0.0F);

    EXPECT_EQ(form().window.visible(), notification.shows);
    EXPECT_TRUE(tray.present);
}

INSTANTIATE_TEST_SUITE_P(
    MouseMessages, TrayNotifications,
    ::testing::Values(TrayNotification{96, 512, false},  // pointer over the icon
                      TrayNotification{96, 513, true},   // left button down
                      TrayNotification{96, 514, false},  // left button up
                      TrayNotification{96, 515, false},  // left double click
                      TrayNotification{96, 516, false},  // right button down
                      TrayNotification{96, 517, false},  // right button up
                      TrayNotification{120, 513, true},  // 125% scale
                      TrayNotification{144, 513, true},  // 150% scale
                      TrayNotification{168, 513, true},  // 175%: not a whole twips factor
                      TrayNotification{144, 514, false}),
    [](const auto& info) {
        return "dpi" + std::to_string(info.param.dpi) + "_message" +
               std::to_string(info.param.mouse_message);
    });

TEST_F(MainFormLifecycle, AtTheStandardScaleTheLeftPressArrivesAs7695Twips) {
    form().start();
    form().on_minimize_clicked();

    form().on_mouse_move(0, 0, 7680.0F, 0.0F);
    EXPECT_FALSE(form().window.visible());
    form().on_mouse_move(0, 0, 7695.0F, 0.0F);
    EXPECT_TRUE(form().window.visible());
}

TEST_F(MainFormLifecycle, AtAnotherScaleThe96DpiFigureNoLongerShowsTheWindow) {
    form().start();
    form().window.user_set_dpi(144);
    form().on_minimize_clicked();

    form().on_mouse_move(0, 0, 7695.0F, 0.0F);

    EXPECT_FALSE(form().window.visible());
}

}  // namespace
}  // namespace tapster
