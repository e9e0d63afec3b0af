// The poll interval, set in the real calibration panel and restored at the next start.
#include <gtest/gtest.h>

#include <string>

#include "driver.h"
#include "e2e_environment.h"

namespace tapster::e2e {
namespace {

using driver::ControlInfo;
using driver::MessageBoxProcess;
using driver::Tapster;
using namespace std::chrono_literals;

std::optional<ControlInfo> visible_control(const Tapster& tapster, const std::string& class_name,
                                           const std::string& text) {
    for (const ControlInfo& control : tapster.controls()) {
        if (control.visible && control.class_name == class_name && control.text == text) {
            return control;
        }
    }
    return std::nullopt;
}

TEST(Calibration, A500MsIntervalSetInThePanelPressesTwiceASecondAfterARestart) {
    driver::write_settings(
        R"({"Items": {"c-0": "Again **** #32770 **** OK **** 1 **** 1 **** False"}})");
    {
        Tapster tapster(tapster_exe());
        ASSERT_TRUE(driver::wait_until([&] { return tapster.visible(); }));

        tapster.choose_menu_entry(1, 1);  // Options > Calibration
        std::optional<ControlInfo> box;
        ASSERT_TRUE(driver::wait_until([&] {
            box = visible_control(tapster, "Edit", "1000");
            return box.has_value();
        })) << "the calibration panel did not open";
        tapster.click_control(*box);
        driver::run_host_command(
            "xdotool key End BackSpace BackSpace BackSpace BackSpace "
            "type 500");
        ASSERT_TRUE(driver::wait_until(
            [&] { return visible_control(tapster, "Edit", "500").has_value(); }));
        tapster.click_control(*visible_control(tapster, "Button", "OK"));

        EXPECT_TRUE(driver::wait_until([&] {
            return driver::read_settings().find(R"("Calibartion": "500")") != std::string::npos;
        }));
        EXPECT_TRUE(driver::wait_until([&] {
            return !visible_control(tapster, "Button", "OK").has_value();
        })) << "the panel stayed open";
        tapster.click_control(*visible_control(tapster, "Button", "E&xit"));
        ASSERT_TRUE(tapster.wait_for_exit(5000ms));
    }

    Tapster tapster(tapster_exe());
    ASSERT_TRUE(driver::wait_until([&] { return tapster.visible(); }));
    MessageBoxProcess again(msgbox_exe(), L"Again ok --repeat 5000");
    const auto counted = again.wait(20000ms);

    ASSERT_TRUE(counted.has_value());
    // Every half second, give or take the box's own coming and going.
    EXPECT_GE(counted->button, 7) << counted->button << " presses in 5 s";
    EXPECT_LE(counted->button, 12) << counted->button << " presses in 5 s";
}

TEST(Calibration, AStoredIntervalOf10000ShowsTheErrorInTheCaption) {
    driver::write_settings(R"({"setit": {"textinterval": "10000"}})");

    Tapster tapster(tapster_exe());
    ASSERT_TRUE(driver::wait_until([&] { return tapster.visible(); }));

    EXPECT_EQ(tapster.caption(), "Calibartion Must be a numeric vale between  1 and 10000");
}

TEST(Calibration, AStoredCalibrationThatIsNotANumberIsReportedAndReplaced) {
    driver::write_settings(R"({"Runit": {"Calibartion": "quickly"}})");

    Tapster tapster(tapster_exe());
    HWND message = nullptr;
    ASSERT_TRUE(driver::wait_until([&] {
        message = FindWindowW(L"#32770", L"Tapster 2.1");
        return message != nullptr && IsWindowVisible(message);
    }));
    EXPECT_EQ(driver::message_box_text(message), "Only numbers can be entered");
    EXPECT_FALSE(tapster.visible()) << "the message comes before the window";

    SendMessageTimeoutW(message, WM_COMMAND, IDOK, 0, SMTO_ABORTIFHUNG, 2000, nullptr);

    EXPECT_TRUE(driver::wait_until([&] { return tapster.visible(); }));
    EXPECT_NE(driver::read_settings().find(R"("Calibartion": "1000")"), std::string::npos);
}

}  // namespace
}  // namespace tapster::e2e
