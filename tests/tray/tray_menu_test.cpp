// The tray menu's entries, pausing, the sign-in option, and telling the user once why a
// target's window refuses to be pressed.
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>

#include "fakes/param_name.h"

#include "fakes/form_fixture.h"
#include "model/target_string.h"

namespace tapster {
namespace {

using fakes::FakeDesktop;
using fakes::FormFixture;

class TrayMenu : public FormFixture {
  protected:
    // A checked target for a message box with this title, and the box on the desktop.
    platform::WindowHandle box(const std::string& title) {
        targets().append(to_target_string({title, "#32770", "OK", "1", "1", false}), true);
        return desktop.open({"#32770", title, {{1, "OK"}}});
    }
    std::size_t commands() { return desktop.commands().size(); }
};

TEST_F(TrayMenu, ShowsTheWindowPausesAndExitsLikeTheWindowsOwnEntries) {
    const auto& entries = controls().tray_menu.entries();
    ASSERT_EQ(entries.size(), 5U);
    EXPECT_EQ(entries[0]->caption(), "Show Tapster");
    EXPECT_TRUE(entries[0]->default_item());
    EXPECT_EQ(entries[1], &controls().pause_entry);  // one entry, so both check marks agree
    EXPECT_EQ(entries[2], &controls().history_entry);
    EXPECT_TRUE(entries[3]->separator());
    EXPECT_EQ(entries[4], &controls().exit_entry);
    const auto& options = controls().options_menu.entries();
    EXPECT_NE(std::find(options.begin(), options.end(), &controls().pause_entry), options.end());

    form().start();
    controls().minimize_button.user_click();
    entries[0]->user_click();
    EXPECT_TRUE(controls().window.visible());

    entries[4]->user_click();
    EXPECT_EQ(journal.back(), "end process");
    EXPECT_FALSE(tray.present);
}

TEST_F(TrayMenu, PausedPressesNothingSaysSoInTheTipAndStoresNothing) {
    form().start();
    box("Nag");
    const std::optional<std::string> stored_before = file.bytes;
    const unsigned interval_before = controls().push_timer.interval();

    controls().pause_entry.user_click();  // from the tray menu
    form().timer_ticked(WindowTimer::push);
    form().timer_ticked(WindowTimer::push);
    EXPECT_EQ(commands(), 0U);
    EXPECT_TRUE(controls().pause_entry.checked());
    EXPECT_EQ(tray.last_icon.tip, "Vozu Tapster - example.org (paused)");

    controls().pause_entry.user_click();  // from the Options menu: the same entry
    form().timer_ticked(WindowTimer::push);
    EXPECT_EQ(commands(), 1U);
    EXPECT_FALSE(controls().pause_entry.checked());
    EXPECT_EQ(tray.last_icon.tip, "Vozu Tapster - example.org");
    EXPECT_EQ(controls().push_timer.interval(), interval_before);
    EXPECT_TRUE(controls().push_timer.running());
    EXPECT_EQ(file.bytes, stored_before);
}

// The context menu opens on its own request alone (tests/win32 decodes the shell's messages),
// once for each request.
TEST_F(TrayMenu, OpensOnceForEachRequest) {
    int popups = 0;
    const auto spy = controls().tray_menu.state_changed.connect(
        [&popups](ui::Change change) { popups += change == ui::Change::popup ? 1 : 0; });
    form().start();

    form().tray_menu_requested({640, 1000});
    EXPECT_EQ(popups, 1);
    form().tray_selected();
    EXPECT_EQ(popups, 1);
    form().tray_menu_requested({12, 34});
    EXPECT_EQ(popups, 2);
    controls().tray_menu.state_changed.disconnect(spy);
}

// The Run value is the only record of "Start when I sign in": the check mark is read back
// from it at start and after every change, and a failure is told.
struct SignInCase {
    const char* name;
    bool starts_at_start;
    const char* failure;
    bool checked_after_click;
    bool told;
};

class SignInOptions : public FormFixture, public ::testing::WithParamInterface<SignInCase> {};

TEST_P(SignInOptions, CheckMarkFollowsTheSystemsEntry) {
    const SignInCase& c = GetParam();
    sign_in.starts = c.starts_at_start;
    sign_in.failure = c.failure;
    form().start();
    EXPECT_EQ(controls().sign_in_entry.checked(), c.starts_at_start);
    const std::optional<std::string> stored_before = file.bytes;

    controls().sign_in_entry.user_click();

    EXPECT_EQ(controls().sign_in_entry.checked(), c.checked_after_click);
    EXPECT_EQ(sign_in.starts, c.checked_after_click);
    ASSERT_EQ(boxes.shown.size(), c.told ? 1U : 0U);
    if (c.told) {
        EXPECT_NE(boxes.shown[0].text.find(c.failure), std::string::npos);
    }
    EXPECT_EQ(file.bytes, stored_before);
}

INSTANTIATE_TEST_SUITE_P(
    Toggles, SignInOptions,
    ::testing::Values(SignInCase{"TurnsOn", false, "", true, false},
                      SignInCase{"TurnsOff", true, "", false, false},
                      SignInCase{"FailsToTurnOn", false, "Access is denied.", false, true},
                      SignInCase{"FailsToTurnOff", true, "Access is denied.", true, true}),
    [](const auto& info) { return fakes::param_name(info.index, info.param.name); });

TEST_F(TrayMenu, AnElevatedTargetIsToldOncePerTitleAndNeverPressed) {
    form().start();
    desktop.elevated.insert(box("Setup"));
    desktop.elevated.insert(box("Setup"));  // a second box of the same title
    desktop.elevated.insert(box("Installer"));
    const auto ordinary = box("Nag");
    box("Missing");
    desktop.close(desktop.find_window("#32770", "Missing"));

    for (int tick = 0; tick < 3; ++tick) {
        form().timer_ticked(WindowTimer::push);
    }

    EXPECT_EQ(desktop.commands(), std::vector<std::string>(3, FakeDesktop::command(ordinary, 1)));
    using Balloon = std::pair<std::string, std::string>;
    EXPECT_EQ(tray.balloons,
              (std::vector<Balloon>{
                  {"Tapster 2.1",
                   "Tapster cannot press \xE2\x80\x9CSetup\xE2\x80\x9D because that program runs "
                   "as administrator. Start Tapster as administrator to press it."},
                  {"Tapster 2.1",
                   "Tapster cannot press \xE2\x80\x9CInstaller\xE2\x80\x9D because that program "
                   "runs as administrator. Start Tapster as administrator to press it."}}));
}

TEST_F(TrayMenu, ANoticeThatFoundNoIconIsToldAtTheNextRefusal) {
    desktop.elevated.insert(box("Setup"));
    form().timer_ticked(WindowTimer::push);  // before start-up: no icon yet
    form().start();
    form().timer_ticked(WindowTimer::push);
    form().timer_ticked(WindowTimer::push);

    EXPECT_EQ(tray.balloons.size(), 2U);  // the first found no icon, the second was shown
}

}  // namespace
}  // namespace tapster
