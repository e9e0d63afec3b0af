// "Press at once" in the whole form: when the window watch listens, what a window it hears of
// presses, and how the option is stored.
#include <gtest/gtest.h>

#include <chrono>

#include "fakes/param_name.h"

#include "fakes/form_fixture.h"
#include "model/target_string.h"

namespace tapster {
namespace {

using fakes::FakeDesktop;
using fakes::FormFixture;
using Kind = platform::WindowEvent::Kind;

class PressAtOnceTest : public FormFixture {
  protected:
    void stored_target(const std::string& key, const std::string& title) {
        stored("Items", key, to_target_string({title, "#32770", "OK", "1", "1", false}));
    }
    platform::WindowHandle box(const std::string& title) {
        return desktop.open({"#32770", title, {{1, "OK"}}});
    }
    // A box made as the system tells of it; true when that found it.
    bool made(platform::WindowHandle window) { return events.tell(Kind::made, window); }
    void calibrate(const std::string& milliseconds) {
        controls().calibration_field.user_edit(milliseconds);
        controls().calibration_ok_button.user_click();
    }
};

TEST_F(PressAtOnceTest, ABoxThatAppearsIsPressedAtOnceButOneRaisedAgainWaitsForTheTimer) {
    stored_target("c-0", "Nag");
    form().start();
    ASSERT_TRUE(controls().press_at_once_entry.checked()) << "on unless turned off";
    ASSERT_TRUE(events.listening);
    EXPECT_EQ(controls().options_menu.entries().at(4), &controls().press_at_once_entry);

    const auto first = box("Nag");
    EXPECT_TRUE(made(first));
    EXPECT_EQ(desktop.commands(), std::vector{FakeDesktop::command(first, 1)});

    // The program raises its box again the moment it was pressed.
    desktop.close(first);
    const auto again = box("Nag");
    EXPECT_TRUE(made(again));
    EXPECT_EQ(desktop.commands().size(), 1U) << "pressed within the interval: the timer's";
    form().timer_ticked(WindowTimer::push);
    EXPECT_EQ(desktop.commands().back(), FakeDesktop::command(again, 1));
}

TEST_F(PressAtOnceTest, ABoxMadeHiddenIsPressedWhenItShows) {
    stored_target("c-0", "Nag");
    form().start();
    const auto hidden = box("Nag");
    desktop.hidden.insert(hidden);
    EXPECT_FALSE(made(hidden));
    EXPECT_FALSE(events.look());
    desktop.hidden.erase(hidden);

    EXPECT_TRUE(events.look());
    EXPECT_EQ(desktop.commands(), std::vector{FakeDesktop::command(hidden, 1)});
    EXPECT_FALSE(events.period) << "nothing left to look at";
}

TEST_F(PressAtOnceTest, WhereTheSystemTellsOfNoWindowsTheDesktopIsLookedAt) {
    events.hook_works = false;
    stored_target("c-0", "Nag");
    form().start();
    ASSERT_TRUE(events.period);
    // A box that shows at any moment is seen within 100 ms.
    EXPECT_LT(*events.period, std::chrono::milliseconds(100));

    const auto nag = box("Nag");
    EXPECT_TRUE(events.look());
    EXPECT_EQ(desktop.commands(), std::vector{FakeDesktop::command(nag, 1)});
    controls().pause_entry.user_click();
    EXPECT_FALSE(events.watching());
}

TEST_F(PressAtOnceTest, ListensOnlyWhileATickCouldPress) {
    stored_target("c-0", "Nag");
    stored_target("u-1", "Other");
    form().start();
    ASSERT_TRUE(events.listening);

    controls().pause_entry.user_click();
    EXPECT_FALSE(events.watching()) << "paused";
    controls().pause_entry.user_click();
    EXPECT_TRUE(events.listening);

    calibrate("0");
    EXPECT_FALSE(events.watching()) << "the push timer stopped";
    // A find already on its way as the timer stopped presses nothing.
    const auto nag = box("Nag");
    events.listening = true;
    EXPECT_FALSE(made(nag));
    EXPECT_TRUE(desktop.commands().empty());
    calibrate("500");
    EXPECT_TRUE(events.listening);

    targets().set_checked(1, true);
    targets().set_checked(0, false);
    EXPECT_TRUE(events.listening);
    targets().remove(1);
    EXPECT_FALSE(events.watching()) << "no enabled target left";
}

// The user's own entries go before an administrator's: the watch follows each entry where it
// stands, so a policy target that goes takes its class along, not a user's entry's.
TEST_F(PressAtOnceTest, FollowsTheUsersEntriesAddedBeforeAnAdministratorsOnes) {
    policy.set_targets(platform::Policy::Scope::machine,
                       {"Nag **** #32770 **** OK **** 1 **** 1 **** False"});
    form().start();
    ASSERT_TRUE(events.watching());
    targets().append("Own **** Other **** OK **** 1 **** 1 **** False");

    policy.set_targets(platform::Policy::Scope::machine, {});
    form().policy_changed();
    EXPECT_FALSE(events.watching()) << "the user's own entry is not checked";
    targets().set_checked(0, true);
    EXPECT_TRUE(events.watching());
}

TEST_F(PressAtOnceTest, TurnedOffItIsStoredUnderAKeyOfItsOwnAndOnlyTheTimerPresses) {
    stored_target("c-0", "Nag");
    stored("Runit", "RunMinimized", "False");
    form().start();

    controls().press_at_once_entry.user_click();

    EXPECT_FALSE(controls().press_at_once_entry.checked());
    EXPECT_FALSE(events.watching());
    EXPECT_EQ(read("Runit", "PressAtOnce"), "False");
    EXPECT_EQ(read("Runit", "RunMinimized"), "False");
    EXPECT_EQ(read("Items", "c-0"), "Nag **** #32770 **** OK **** 1 **** 1 **** False");
    box("Nag");
    form().timer_ticked(WindowTimer::push);
    EXPECT_EQ(desktop.commands().size(), 1U);
    controls().press_at_once_entry.user_click();
    EXPECT_EQ(read("Runit", "PressAtOnce"), "True");
    EXPECT_TRUE(events.watching());
}

struct StoredChoice {
    const char* name;
    const char* text;  // nullptr: nothing stored
    bool on;
};

class PressAtOnceStored : public PressAtOnceTest,
                          public ::testing::WithParamInterface<StoredChoice> {};

TEST_P(PressAtOnceStored, IsRestoredAtStartAndOnUnlessStoredOff) {
    stored_target("c-0", "Nag");
    if (GetParam().text != nullptr) {
        stored("Runit", "PressAtOnce", GetParam().text);
    }
    form().start();
    EXPECT_EQ(controls().press_at_once_entry.checked(), GetParam().on);
    EXPECT_EQ(events.watching(), GetParam().on);
}

INSTANTIATE_TEST_SUITE_P(Choices, PressAtOnceStored,
                         ::testing::Values(StoredChoice{"Nothing", nullptr, true},
                                           StoredChoice{"On", "True", true},
                                           StoredChoice{"Off", "False", false},
                                           StoredChoice{"Unreadable", "sometimes", true}),
                         [](const auto& info) {
                             return fakes::param_name(info.index, info.param.name);
                         });

}  // namespace
}  // namespace tapster
