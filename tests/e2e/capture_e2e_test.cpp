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

POINT center_on_screen(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    return POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

void xdotool(const std::string& arguments) {
    driver::run_host_command("xdotool " + arguments);
}

std::string at(POINT point) {
    return std::to_string(point.x) + " " + std::to_string(point.y);
}

class CaptureDrag : public ::testing::Test {
  protected:
    void SetUp() override {
        driver::write_settings("");
        tapster_ = std::make_unique<Tapster>(tapster_exe());
        ASSERT_TRUE(driver::wait_until([&] { return tapster_->visible(); }));
        const auto picture = tapster_->find_control("TapsterPicture", "");
        ASSERT_TRUE(picture.has_value());
        check_mark_ = center_on_screen(picture->window);
    }
    void TearDown() override { xdotool("mouseup 1"); }

    // The five capture fields, top to bottom: title, class, button text, found id, id.
    std::vector<driver::ControlInfo> fields() const {
        std::vector<driver::ControlInfo> edits;
        for (const auto& control : tapster_->controls()) {
            if (control.class_name == "Edit" && control.visible && control.rect.left == 8) {
                edits.push_back(control);
            }
        }
        std::sort(edits.begin(), edits.end(),
                  [](const auto& a, const auto& b) { return a.rect.top < b.rect.top; });
        return edits;
    }
    std::vector<std::string> field_texts() const {
        std::vector<std::string> texts;
        for (const auto& field : fields()) {
            texts.push_back(field.text);
        }
        return texts;
    }
    // Armed: the four fields that must fill are locked. Under Wine another process cannot
    // read the pointer's shape (cursor handles are the process's own), so the test watches
    // the lock, which the capture sets and lifts in the same steps as the pointer.
    bool armed() const {
        const auto capture_fields = fields();
        return capture_fields.size() == 5 &&
               std::none_of(capture_fields.begin(), capture_fields.begin() + 4,
                            [](const auto& field) { return IsWindowEnabled(field.window); });
    }
    bool idle() const {
        const auto capture_fields = fields();
        return capture_fields.size() == 5 &&
               std::all_of(capture_fields.begin(), capture_fields.begin() + 4,
                           [](const auto& field) { return IsWindowEnabled(field.window); });
    }

    std::unique_ptr<Tapster> tapster_;
    POINT check_mark_{};
};

TEST_F(CaptureDrag, HoldingTheCheckMarkOnAButtonFillsTheFieldsAndTurnsThePointerBack) {
    MessageBoxProcess box(msgbox_exe(), L"\"Record me\" ok --timeout 30000");
    const HWND window = box.wait_until_shown(L"Record me");
    ASSERT_NE(window, nullptr);
    const POINT ok = center_on_screen(GetDlgItem(window, IDOK));

    xdotool("mousemove " + at(check_mark_) + " mousedown 1");
    ASSERT_TRUE(driver::wait_until([&] { return armed(); }, 2000ms))
        << "the press did not arm a capture";
    xdotool("mousemove " + at(POINT{ok.x - 5, ok.y}) + " sleep 0.1 mousemove " + at(ok));

    EXPECT_TRUE(driver::wait_until([&] { return idle(); }, 2500ms))
        << "the capture did not complete while the button was held";
    const std::vector<std::string> texts = field_texts();
    xdotool("mouseup 1");

    ASSERT_EQ(texts.size(), 5U);
    EXPECT_EQ(texts[0], "Record me");
    EXPECT_EQ(texts[1], "#32770");
    EXPECT_EQ(texts[2], "OK");
    EXPECT_EQ(texts[4], std::to_string(IDOK));
    // The search finds the identifier only under a parent whose handle value is small.
    const auto parent_value = reinterpret_cast<std::uintptr_t>(window);
    EXPECT_EQ(texts[3], parent_value < 67000 ? std::to_string(IDOK) : "0");
    for (const auto& field : fields()) {
        EXPECT_TRUE(IsWindowEnabled(field.window));
    }
}

TEST_F(CaptureDrag, ADragReleasedOverTheDesktopLeavesTheFieldsEmptyAndUnlocked) {
    xdotool("mousemove " + at(check_mark_) + " mousedown 1");
    ASSERT_TRUE(driver::wait_until([&] { return armed(); }, 2000ms));
    xdotool("mousemove 800 600 sleep 1.2 mouseup 1");

    ASSERT_TRUE(driver::wait_until([&] { return idle(); }, 2000ms));
    const auto capture_fields = fields();
    ASSERT_EQ(capture_fields.size(), 5U);
    for (std::size_t index = 0; index < 4; ++index) {
        EXPECT_EQ(capture_fields[index].text, "") << "field " << index;
        EXPECT_TRUE(IsWindowEnabled(capture_fields[index].window)) << "field " << index;
    }
}

}  // namespace
}  // namespace tapster::e2e
