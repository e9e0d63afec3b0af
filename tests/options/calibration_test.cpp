// The calibration panel and the interval setting: what reaches push_timer, the caption and the
// settings file.
#include <gtest/gtest.h>

#include "fakes/param_name.h"

#include "fakes/form_fixture.h"

namespace tapster {
namespace {

constexpr const char* kIntervalError = "Calibartion Must be a numeric vale between  1 and 10000";

class Calibration : public fakes::FormFixture {
  protected:
    void SetUp() override {
        form().start();
        boxes.shown.clear();
    }
    // The user opens the panel, types and presses OK.
    void enter(const std::string& text) {
        controls().calibration_entry.user_click();
        controls().calibration_field.user_edit(text);
        controls().calibration_ok_button.user_click();
    }
};

TEST_F(Calibration, AnAcceptedValueSetsTheIntervalClosesThePanelAndIsStored) {
    enter("500");

    EXPECT_EQ(controls().push_timer.interval(), 500U);
    EXPECT_FALSE(controls().calibration_panel.visible());
    EXPECT_EQ(read("Runit", "Calibartion"), "500");
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(Calibration, ValuesAreRoundedButStoredAsTyped) {
    enter("1.5");
    EXPECT_EQ(controls().push_timer.interval(), 2U);
    enter("2.5");
    EXPECT_EQ(controls().push_timer.interval(), 2U);
    EXPECT_EQ(read("Runit", "Calibartion"), "2.5");
}

TEST_F(Calibration, ZeroStopsThePushCycle) {
    enter("0");

    EXPECT_EQ(controls().push_timer.interval(), 0U);
    EXPECT_FALSE(controls().push_timer.running());
    EXPECT_EQ(read("Runit", "Calibartion"), "0");
}

TEST_F(Calibration, TextThatIsNotANumberIsRefusedAndResetTo1000) {
    enter("500");
    for (const char* typed : {"fast", ""}) {
        enter(typed);

        ASSERT_EQ(boxes.shown.size(), 1U) << typed;
        EXPECT_EQ(boxes.shown[0].text, "Only numbers can be entered");
        EXPECT_EQ(boxes.shown[0].title, "Tapster 2.1");
        EXPECT_EQ(controls().calibration_field.text(), "1000");
        EXPECT_EQ(read("Runit", "Calibartion"), "1000");
        EXPECT_EQ(controls().push_timer.interval(), 500U) << "the interval in force stays";
        EXPECT_TRUE(controls().calibration_panel.visible());
        boxes.shown.clear();
    }
}

TEST_F(Calibration, AValueTheTimerCannotTakeIsRefusedAndNothingStored) {
    enter("500");
    for (const char* typed : {"70000", "-5", "1e10"}) {
        enter(typed);

        ASSERT_EQ(boxes.shown.size(), 1U) << typed;
        EXPECT_NE(boxes.shown[0].text.find("0 to 65535"), std::string::npos);
        EXPECT_EQ(controls().push_timer.interval(), 500U);
        EXPECT_EQ(controls().calibration_field.text(), "500")
            << "the box shows the interval in force";
        EXPECT_EQ(read("Runit", "Calibartion"), "500");
        boxes.shown.clear();
    }
}

TEST_F(Calibration, NumbersFollowTheUsersLocale) {
    locale.format = {",", "."};

    enter("1.500");

    EXPECT_EQ(controls().push_timer.interval(), 1500U);
}

TEST_F(Calibration, CancelClosesThePanelAndKeepsTheTypedText) {
    controls().calibration_entry.user_click();
    controls().calibration_field.user_edit("250");
    controls().calibration_cancel_button.user_click();

    EXPECT_FALSE(controls().calibration_panel.visible());
    EXPECT_EQ(controls().push_timer.interval(), 1000U);
    EXPECT_EQ(read("Runit", "Calibartion"), "1000");
    controls().calibration_entry.user_click();
    EXPECT_EQ(controls().calibration_field.text(), "250");
}

struct IntervalSetting {
    const char* text;
    bool accepted;
    unsigned interval;
};

class IntervalSettingTest : public fakes::FormFixture,
                            public ::testing::WithParamInterface<IntervalSetting> {};

TEST_P(IntervalSettingTest, AcceptsOneUpToButNotIncluding10000) {
    calibration().apply_interval_setting(GetParam().text);

    if (GetParam().accepted) {
        EXPECT_EQ(controls().window.caption(), "Davivuvozuved Tapster 2.1 - example.org");
        EXPECT_EQ(controls().push_timer.interval(), GetParam().interval);
        EXPECT_EQ(read("setit", "textinterval"), GetParam().text);
    } else {
        EXPECT_EQ(controls().window.caption(), kIntervalError);
        EXPECT_EQ(controls().push_timer.interval(), 1000U);
        EXPECT_EQ(read("setit", "textinterval"), "<missing>");
    }
}

INSTANTIATE_TEST_SUITE_P(
    Texts, IntervalSettingTest,
    ::testing::Values(IntervalSetting{"1", true, 1}, IntervalSetting{"9999", true, 9999},
                      IntervalSetting{"250.5", true, 250}, IntervalSetting{"10000", false, 0},
                      IntervalSetting{"0", false, 0}, IntervalSetting{"0.5", false, 0},
                      IntervalSetting{"soon", false, 0}),
    [](const auto& info) { return fakes::param_name(info.index, info.param.text); });

}  // namespace
}  // namespace tapster
