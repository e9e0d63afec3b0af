// A target's program and message: a box recorded by a drag is pressed again, and boxes alike
// but shown by another program or saying something else are left alone, before and after a
// restart; a message widened by hand takes both; an entry without conditions takes any.
#include <gtest/gtest.h>

#include <commctrl.h>

#include <string>

#include "driver.h"
#include "e2e_environment.h"

namespace tapster::e2e {
namespace {

using driver::MessageBoxProcess;
using driver::Tapster;
using namespace std::chrono_literals;

constexpr wchar_t kTitle[] = L"HO Same";
constexpr wchar_t kMeant[] = L"Save the report?";
constexpr wchar_t kOther[] = L"Delete every report?";

class BoxConditions : public ::testing::Test {
  protected:
    void SetUp() override {
        // The very helper under another name: the same box, shown by another program.
        other_program_ = msgbox_exe().substr(0, msgbox_exe().rfind('/')) + "/other_box.exe";
        ASSERT_TRUE(CopyFileW(driver::windows_path(msgbox_exe()).c_str(),
                              driver::windows_path(other_program_).c_str(), FALSE));
    }

    static std::wstring box_arguments(const std::wstring& title, const std::wstring& text,
                                      int timeout_ms) {
        return L"\"" + title + L"\" ok --text \"" + text + L"\" --timeout " +
               std::to_wstring(timeout_ms);
    }
    static int entries(HWND list) {
        return static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    }
    static HWND list_of(const Tapster& tapster) {
        return tapster.find_control("SysListView32", "")->window;
    }

    // Two boxes alike the meant one, then the meant one above them: it alone is pressed, and
    // the two still stand when their time is up, though ticks and finds came meanwhile.
    void expect_only_the_meant_box_pressed() const {
        MessageBoxProcess other_message(msgbox_exe(), box_arguments(kTitle, kOther, 2500));
        MessageBoxProcess other_program(other_program_, box_arguments(kTitle, kMeant, 2500));
        ASSERT_NE(other_message.wait_until_shown(kTitle), nullptr);
        ASSERT_NE(other_program.wait_until_shown(kTitle), nullptr);
        MessageBoxProcess meant(msgbox_exe(), box_arguments(kTitle, kMeant, 20000));
        const auto pressed = meant.wait(15000ms);
        ASSERT_TRUE(pressed.has_value());
        EXPECT_EQ(pressed->button, IDOK);
        for (MessageBoxProcess* alike : {&other_message, &other_program}) {
            const auto left = alike->wait(10000ms);
            ASSERT_TRUE(left.has_value());
            EXPECT_EQ(left->button, 0) << "a box of another message or program was pressed";
        }
    }

    std::string other_program_;
};

TEST_F(BoxConditions, ARecordedBoxIsPressedAgainAndOnlyItBeforeAndAfterARestart) {
    driver::write_settings("");
    {
        Tapster tapster(tapster_exe());
        ASSERT_TRUE(driver::wait_until([&] { return tapster.visible(); }));
        MessageBoxProcess recorded(msgbox_exe(), box_arguments(kTitle, kMeant, 60000));
        const HWND box = recorded.wait_until_shown(kTitle);
        ASSERT_NE(box, nullptr);
        ASSERT_TRUE(tapster.hold_check_mark_over(driver::center_on_screen(GetDlgItem(box, IDOK))));
        EXPECT_TRUE(driver::wait_until([&] { return tapster.capture_complete(); }, 3000ms));
        driver::xdotool("mouseup 1");
        tapster.click_control(*tapster.find_control("Button", "Add It"));
        const HWND list = list_of(tapster);
        ASSERT_TRUE(driver::wait_until([&] { return entries(list) == 1; }));
        // The identifiers between depend on the box's handle (see the capture's own test).
        const std::string shown = driver::list_view_text(list, 0);
        EXPECT_EQ(shown.rfind("HO Same **** #32770 **** OK **** ", 0), 0U) << shown;
        const std::string conditions =
            " **** False **** program=tapster_msgbox.exe **** message=Save the report?";
        EXPECT_EQ(shown.find(conditions), shown.size() - conditions.size()) << shown;

        // Enable it: the box it was recorded from is pressed.
        Tapster::click_at(driver::list_view_row(list, 0, 120));
        driver::xdotool("key space");
        const auto pressed = recorded.wait(5000ms);
        ASSERT_TRUE(pressed.has_value());
        EXPECT_EQ(pressed->button, IDOK);
        EXPECT_NE(
            driver::read_settings().find(
                R"( **** OK **** program=tapster_msgbox.exe **** message=Save the report? **** )"),
            std::string::npos);

        expect_only_the_meant_box_pressed();
        tapster.click_control(*tapster.find_control("Button", "E&xit"));
        ASSERT_TRUE(tapster.wait_for_exit(5000ms));
    }
    {
        Tapster tapster(tapster_exe());
        ASSERT_TRUE(driver::wait_until([&] { return entries(list_of(tapster)) == 1; }));
        expect_only_the_meant_box_pressed();
        tapster.click_control(*tapster.find_control("Button", "E&xit"));
        ASSERT_TRUE(tapster.wait_for_exit(5000ms));
    }

    // Widened by hand, the message takes both; an entry of six fields takes any box of its
    // title, whatever it says and whoever shows it, and both stay in the file as written.
    const std::string items =
        R"("c-0": "HO Same **** #32770 **** OK **** program=TAPSTER_MSGBOX.exe **** )"
        R"(message=*report? **** 1 **** 1 **** False", )"
        R"("c-1": "Plain Box **** #32770 **** OK **** 1 **** 1 **** False")";
    const auto tapster = driver::start_with_items(tapster_exe(), items);
    const std::string written = driver::read_settings();
    MessageBoxProcess meant(msgbox_exe(), box_arguments(kTitle, kMeant, 15000));
    MessageBoxProcess other_message(msgbox_exe(), box_arguments(kTitle, kOther, 15000));
    MessageBoxProcess plain(other_program_, box_arguments(L"Plain Box", L"Anything at all", 15000));
    for (MessageBoxProcess* box : {&meant, &other_message, &plain}) {
        const auto pressed = box->wait(15000ms);
        ASSERT_TRUE(pressed.has_value());
        EXPECT_EQ(pressed->button, IDOK);
    }
    EXPECT_EQ(driver::read_settings(), written);
}

}  // namespace
}  // namespace tapster::e2e
