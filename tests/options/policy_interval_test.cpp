// The poll interval an administrator sets by policy: what the push timer, the calibration panel
// and the settings file show while it is set, and after.
#include <gtest/gtest.h>

#include "fakes/form_fixture.h"

namespace tapster {
namespace {

using Scope = platform::Policy::Scope;
using Key = platform::PolicyKey;

class ManagedInterval : public fakes::FormFixture {
  protected:
    void set_interval(Scope scope, fakes::FakePolicy::Value value) {
        policy.keys[{scope, ""}] = Key{Key::State::read, {std::move(value)}, 0};
    }
};

TEST_F(ManagedInterval, RulesThePanelWhileSetAndTheUsersValueComesBackAfter) {
    stored("Runit", "Calibartion", "750");
    set_interval(Scope::machine, fakes::FakePolicy::number_value("interval", 300));
    set_interval(Scope::user, fakes::FakePolicy::number_value("Interval", 900));
    form().start();

    EXPECT_EQ(controls().push_timer.interval(), 300U) << "the machine's before the user's";
    EXPECT_EQ(controls().calibration_field.text(), "300");
    EXPECT_FALSE(controls().calibration_field.enabled());
    EXPECT_EQ(controls().calibration_hint.caption(),
              "Set by your administrator. Each 1000 is one second");

    controls().calibration_entry.user_click();
    controls().calibration_ok_button.user_click();
    EXPECT_FALSE(controls().calibration_panel.visible());
    EXPECT_EQ(read("Runit", "Calibartion"), "750") << "the user's value is not overwritten";

    // A key that can not be read changes nothing; without the machine's, the user's applies.
    policy.set_state(Scope::machine, "", Key::State::unreadable);
    form().policy_changed();
    EXPECT_EQ(controls().push_timer.interval(), 300U);
    policy.keys.erase({Scope::machine, ""});
    form().policy_changed();
    EXPECT_EQ(controls().push_timer.interval(), 900U);

    policy.keys.clear();
    form().policy_changed();
    EXPECT_EQ(controls().push_timer.interval(), 750U);
    EXPECT_EQ(controls().calibration_field.text(), "750");
    EXPECT_TRUE(controls().calibration_field.enabled());
    EXPECT_EQ(controls().calibration_hint.caption(), "Each 1000 is one second");
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(ManagedInterval, AValueOfAnotherTypeOrOutOfRangeIsNamedAndTheUsersValueApplies) {
    stored("Runit", "Calibartion", "750");
    set_interval(Scope::machine, fakes::FakePolicy::text_value("Interval", "500"));
    set_interval(Scope::user, fakes::FakePolicy::number_value("Interval", 0));
    form().start();

    EXPECT_EQ(controls().push_timer.interval(), 750U);
    EXPECT_TRUE(controls().calibration_field.enabled());
    ASSERT_EQ(boxes.shown.size(), 1U);
    EXPECT_NE(boxes.shown[0].text.find("HKEY_LOCAL_MACHINE\\Software\\Policies\\Tapster, value "
                                       "\"Interval\": it is not a number (REG_DWORD)."),
              std::string::npos)
        << boxes.shown[0].text;
    EXPECT_NE(boxes.shown[0].text.find("HKEY_CURRENT_USER\\Software\\Policies\\Tapster, value "
                                       "\"Interval\": it is 0, not a number of milliseconds from 1 "
                                       "to 65535."),
              std::string::npos)
        << boxes.shown[0].text;
}

}  // namespace
}  // namespace tapster
