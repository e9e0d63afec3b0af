// The whole journey as a user makes it: record a button, add it, enable it, see it pressed,
// restart, and remove it again.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <string>

#include "driver.h"
#include "e2e_environment.h"

namespace tapster::e2e {
namespace {

using driver::MessageBoxProcess;
using driver::Tapster;
using namespace std::chrono_literals;

using driver::xdotool;

class Journey : public ::testing::Test {
  protected:
    static HWND list_of(const Tapster& tapster) {
        return tapster.find_control("SysListView32", "")->window;
    }
    static int entries(HWND list) {
        return static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    }
    static bool checked(HWND list, int index) {
        const auto state =
            SendMessageW(list, LVM_GETITEMSTATE, static_cast<WPARAM>(index), LVIS_STATEIMAGEMASK);
        return (state >> 12) == 2;
    }
    // The middle of the first entry's text, where a click highlights it.
    static POINT first_entry(HWND list) {
        RECT rect{};
        GetWindowRect(list, &rect);
        return POINT{rect.left + 120, rect.top + 11};
    }
    static void screenshot(const Tapster& tapster, const std::string& name) {
        RECT outer{};
        GetWindowRect(tapster.window(), &outer);
        EXPECT_TRUE(driver::save_screenshot(artifacts_dir() + "/" + name, &outer));
    }
    static std::optional<MessageBoxProcess::Result> box_pressed(std::chrono::milliseconds wait) {
        MessageBoxProcess box(msgbox_exe(), L"Journey ok --timeout 8000");
        return box.wait(wait + 10s);
    }
};

TEST_F(Journey, RecordAddEnablePressRestartAndRemove) {
    driver::write_settings("");
    {
        Tapster tapster(tapster_exe());
        ASSERT_TRUE(driver::wait_until([&] { return tapster.visible(); }));
        const HWND list = list_of(tapster);

        // Record: drag the check mark onto the box's OK button and hold until it is read.
        MessageBoxProcess first(msgbox_exe(), L"Journey ok --timeout 60000");
        const HWND box = first.wait_until_shown(L"Journey");
        ASSERT_NE(box, nullptr);
        ASSERT_TRUE(tapster.hold_check_mark_over(driver::center_on_screen(GetDlgItem(box, IDOK))));
        EXPECT_TRUE(driver::wait_until([&] { return tapster.capture_complete(); }, 3000ms));
        xdotool("mouseup 1");

        // Add it: one unchecked entry, which presses nothing yet.
        tapster.click_control(*tapster.find_control("Button", "Add It"));
        ASSERT_TRUE(driver::wait_until([&] { return entries(list) == 1; }));
        EXPECT_FALSE(checked(list, 0));
        screenshot(tapster, "journey-added.png");

        // Enable it: highlight the entry and tick its check box with the space bar.
        Tapster::click_at(first_entry(list));
        xdotool("key space");
        ASSERT_TRUE(driver::wait_until([&] { return checked(list, 0); }));
        EXPECT_TRUE(driver::wait_until([] {
            return driver::read_settings().find(R"("c-0": "Journey **** #32770 **** OK)") !=
                   std::string::npos;
        }));

        // The box that was recorded is pressed now, and so is the next of its kind.
        const auto recorded = first.wait(5000ms);
        ASSERT_TRUE(recorded.has_value());
        EXPECT_EQ(recorded->button, IDOK);
        const auto next = box_pressed(2000ms);
        ASSERT_TRUE(next.has_value());
        EXPECT_EQ(next->button, IDOK);
        EXPECT_LT(next->open_ms, 1500);

        tapster.click_control(*tapster.find_control("Button", "E&xit"));
        ASSERT_TRUE(tapster.wait_for_exit(5000ms));
    }

    Tapster tapster(tapster_exe());
    ASSERT_TRUE(driver::wait_until([&] { return tapster.visible(); }));
    const HWND list = list_of(tapster);
    ASSERT_TRUE(driver::wait_until([&] { return entries(list) == 1; }));
    EXPECT_TRUE(checked(list, 0));
    const auto after_restart = box_pressed(2000ms);
    ASSERT_TRUE(after_restart.has_value());
    EXPECT_EQ(after_restart->button, IDOK);

    // Remove it: highlight it, right-click, choose "Remove it?".
    Tapster::click_at(first_entry(list));
    ASSERT_TRUE(Tapster::choose_from_pop_up(first_entry(list), 0));
    EXPECT_TRUE(driver::wait_until([&] { return entries(list) == 0; }));
    EXPECT_TRUE(driver::wait_until(
        [] { return driver::read_settings().find("Items") == std::string::npos; }));
    screenshot(tapster, "journey-removed.png");
}

}  // namespace
}  // namespace tapster::e2e
