// Recording a target as a user does: a real drag of the check mark onto a real button.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "driver.h"
#include "e2e_environment.h"

namespace tapster::e2e {
namespace {

using driver::MessageBoxProcess;
using driver::Tapster;
using namespace std::chrono_literals;

class CaptureDrag : public ::testing::Test {
  protected:
    void SetUp() override {
        driver::write_settings("");
        tapster_ = std::make_unique<Tapster>(tapster_exe());
        ASSERT_TRUE(driver::wait_until([&] { return tapster_->visible(); }));
        const auto picture = tapster_->find_control("TapsterPicture", "");
        ASSERT_TRUE(picture.has_value());
        check_mark_ = driver::center_on_screen(picture->window);
    }
    void TearDown() override { driver::xdotool("mouseup 1"); }

    std::vector<std::string> field_texts() const {
        std::vector<std::string> texts;
        for (const auto& field : tapster_->capture_fields()) {
            texts.push_back(field.text);
        }
        return texts;
    }

    std::unique_ptr<Tapster> tapster_;
    POINT check_mark_{};
};

TEST_F(CaptureDrag, HoldingTheCheckMarkOnAButtonFillsTheFieldsAndTurnsThePointerBack) {
    MessageBoxProcess box(msgbox_exe(), L"\"Record me\" ok --timeout 30000");
    const HWND window = box.wait_until_shown(L"Record me");
    ASSERT_NE(window, nullptr);
    const POINT ok = driver::center_on_screen(GetDlgItem(window, IDOK));

    driver::xdotool("mousemove " + driver::xdotool_point(check_mark_) + " mousedown 1");
    ASSERT_TRUE(driver::wait_until([&] { return tapster_->capture_armed(); }, 2000ms))
        << "the press did not arm a capture";
    driver::xdotool("mousemove " + driver::xdotool_point(POINT{ok.x - 5, ok.y}) +
                    " sleep 0.1 mousemove " + driver::xdotool_point(ok));

    EXPECT_TRUE(driver::wait_until([&] { return tapster_->capture_complete(); }, 2500ms))
        << "the capture did not complete while the button was held";
    const std::vector<std::string> texts = field_texts();
    driver::xdotool("mouseup 1");

    ASSERT_EQ(texts.size(), 5U);
    EXPECT_EQ(texts[0], "Record me");
    EXPECT_EQ(texts[1], "#32770");
    EXPECT_EQ(texts[2], "OK");
    EXPECT_EQ(texts[4], std::to_string(IDOK));
    // The search finds the identifier only under a parent whose handle value is small.
    const auto parent_value = reinterpret_cast<std::uintptr_t>(window);
    EXPECT_EQ(texts[3], parent_value < 67000 ? std::to_string(IDOK) : "0");
}

TEST_F(CaptureDrag, ADragReleasedOverTheDesktopLeavesTheFieldsEmptyAndUnlocked) {
    driver::xdotool("mousemove " + driver::xdotool_point(check_mark_) + " mousedown 1");
    ASSERT_TRUE(driver::wait_until([&] { return tapster_->capture_armed(); }, 2000ms));
    driver::xdotool("mousemove 800 600 sleep 1.2 mouseup 1");

    ASSERT_TRUE(driver::wait_until([&] { return !tapster_->capture_armed(); }, 2000ms));
    const auto capture_fields = tapster_->capture_fields();
    ASSERT_EQ(capture_fields.size(), 5U);
    for (std::size_t index = 0; index < 4; ++index) {
        EXPECT_EQ(capture_fields[index].text, "") << "field " << index;
        EXPECT_TRUE(IsWindowEnabled(capture_fields[index].window)) << "field " << index;
    }
}

}  // namespace
}  // namespace tapster::e2e
