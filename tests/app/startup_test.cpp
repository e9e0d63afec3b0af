// The whole start-up: what the program shows and stores after it, from the settings it found.
#include <gtest/gtest.h>

#include <stdexcept>

#include "fakes/form_fixture.h"

namespace tapster {
namespace {

class StartUp : public fakes::FormFixture {
  protected:
    SettingsStore::Entries section(const std::string& name) {
        return store.read_section(name).value_or(SettingsStore::Entries{});
    }
};

TEST_F(StartUp, AnEmptyStoreGivesTheDesignAndStoresExactlyTheTwoIntervals) {
    form().start();

    EXPECT_EQ(controls().interval_field.text(), "1000");
    EXPECT_EQ(controls().calibration_field.text(), "1000");
    EXPECT_EQ(controls().push_timer.interval(), 1000U);
    EXPECT_FALSE(controls().run_minimized_entry.checked());
    EXPECT_EQ(controls().target_list.count(), 0);
    EXPECT_TRUE(controls().window.visible());
    EXPECT_FALSE(controls().calibration_panel.visible());
    EXPECT_EQ(section("setit"), (SettingsStore::Entries{{"textinterval", "1000"}}));
    EXPECT_EQ(section("Runit"), (SettingsStore::Entries{{"Calibartion", "1000"}}));
    EXPECT_FALSE(store.read_section("Items").has_value());
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(StartUp, TheCalibrationValueIsTheIntervalInForce) {
    stored("setit", "textinterval", "300");
    stored("Runit", "Calibartion", "700");

    form().start();

    EXPECT_EQ(controls().push_timer.interval(), 700U);
}

TEST_F(StartUp, AnInvalidIntervalSettingShowsInTheCaptionAndStartUpGoesOn) {
    stored("setit", "textinterval", "10000");
    stored("Items", "c-0", "kept");

    form().start();

    EXPECT_EQ(controls().window.caption(),
              "Calibartion Must be a numeric vale between  1 and 10000");
    EXPECT_EQ(controls().target_list.count(), 1);
    EXPECT_EQ(read("setit", "textinterval"), "10000") << "a refused value is not stored again";
}

TEST_F(StartUp, StoredTargetsComeBackInOrderWithTheirCheckMarks) {
    stored("Items", "c-0", "first");
    stored("Items", "u-1", "second");
    stored("Items", "c-2", "third");

    form().start();

    ASSERT_EQ(controls().target_list.count(), 3);
    EXPECT_TRUE(controls().target_list.checked(0));
    EXPECT_FALSE(controls().target_list.checked(1));
    EXPECT_TRUE(controls().target_list.checked(2));
    EXPECT_EQ(controls().target_list.text(2), "third");
}

TEST_F(StartUp, RunMinimizedHidesTheWindowAndTheTargetsStillLoad) {
    stored("Runit", "RunMinimized", "1");
    stored("Items", "c-0", "target");

    form().start();

    EXPECT_FALSE(controls().window.visible());
    EXPECT_TRUE(tray.present);
    EXPECT_EQ(controls().target_list.count(), 1);
    EXPECT_EQ(read("Runit", "Calibartion"), "1000");
}

TEST_F(StartUp, AnUnreadableRunMinimizedIsUncheckedAndEverythingElseStillHappens) {
    stored("Runit", "RunMinimized", "yes");
    stored("Runit", "Calibartion", "400");
    stored("Items", "c-0", "target");

    form().start();

    EXPECT_FALSE(controls().run_minimized_entry.checked());
    EXPECT_TRUE(controls().window.visible());
    EXPECT_EQ(controls().target_list.count(), 1);
    EXPECT_EQ(controls().push_timer.interval(), 400U);
}

TEST_F(StartUp, AStoredCalibrationThatIsNotANumberIsReportedBeforeTheWindowShows) {
    stored("setit", "textinterval", "300");
    stored("Runit", "Calibartion", "quick");
    // The message box is modal: the window's state while it is open is what the user sees.
    bool shown_when_asked = true;
    controls().calibration_field.changed.connect(
        [&] { shown_when_asked = controls().window.visible(); });

    form().start();

    ASSERT_EQ(boxes.shown.size(), 1U);
    EXPECT_EQ(boxes.shown[0].text, "Only numbers can be entered");
    EXPECT_FALSE(shown_when_asked);
    EXPECT_EQ(read("Runit", "Calibartion"), "1000");
    EXPECT_EQ(controls().push_timer.interval(), 300U) << "the interval setting stays in force";
    EXPECT_TRUE(controls().window.visible());
}

TEST_F(StartUp, AStoredCalibrationTheTimerCannotTakeIsRefusedLikeTypedOne) {
    stored("Runit", "Calibartion", "99999");

    form().start();

    ASSERT_EQ(boxes.shown.size(), 1U);
    EXPECT_EQ(controls().push_timer.interval(), 1000U);
    EXPECT_EQ(read("Runit", "Calibartion"), "99999") << "refused, not overwritten";
}

// An unexpected failure in the middle of start-up skips the rest of the options and the
// targets, as it always did, but is no longer silent: the user hears once what failed.
TEST_F(StartUp, AnUnexpectedFailureIsToldOnceNamingTheStepAndTheCalibrationStillApplies) {
    stored("Runit", "RunMinimized", "True");
    stored("Runit", "Calibartion", "400");
    stored("Items", "c-0", "first");
    ui::Event<ui::Change>& entry_changed = controls().run_minimized_entry.state_changed;
    const auto failing_view =
        entry_changed.connect([](ui::Change) { throw std::runtime_error("the menu is gone"); });

    form().start();
    entry_changed.disconnect(failing_view);

    ASSERT_EQ(boxes.shown.size(), 1U);
    EXPECT_EQ(boxes.shown[0].text,
              "Tapster could not read the option \"Run Minimized on Start\" at start-up (the "
              "menu is gone) and goes on without it.");
    EXPECT_EQ(boxes.shown[0].title, "Tapster 2.1");
    EXPECT_EQ(controls().push_timer.interval(), 400U);
    EXPECT_EQ(controls().target_list.count(), 0) << "the rest of the step was skipped";
}

}  // namespace
}  // namespace tapster
