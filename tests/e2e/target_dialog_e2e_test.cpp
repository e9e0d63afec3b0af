// A target's own dialog, driven through the X server with real keys and clicks: a change
// stored in place and pressed, Cancel and Esc that change nothing, and an administrator's
// entry that can only be looked at.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <memory>
#include <string>

#include "driver.h"
#include "e2e_environment.h"

namespace tapster::e2e {
namespace {

using driver::MessageBoxProcess;
using driver::Tapster;
using namespace std::chrono_literals;

constexpr const char* kOther = "Other **** #32770 **** OK **** 1 **** 1 **** False";
constexpr const char* kBackup = "Backup finished **** #32770 **** OK **** 1 **** 1 **** False";
constexpr const char* kLast = "Last **** #32770 **** OK **** 1 **** 1 **** False";
constexpr const char* kPolicyKey = "HKCU\\Software\\Policies\\Tapster\\Targets";
constexpr const char* kManaged = "Managed **** #32770 **** OK **** 1 **** 1 **** False";
constexpr auto kPatience = 15000ms;  // the machine may be busy building

int dialog_reg(const std::string& arguments) {
    return driver::run_host_command("wine reg " + arguments + " >/dev/null 2>&1");
}

class TargetDialog : public ::testing::Test {
  protected:
    void start() {
        tapster_ = driver::start_with_items(tapster_exe(), std::string(R"("u-0": ")") + kOther +
                                                               R"(", "c-1": ")" + kBackup +
                                                               R"(", "u-2": ")" + kLast + "\"");
        ASSERT_TRUE(tapster_->visible());
        list_ = tapster_->find_control("SysListView32", "")->window;
        ASSERT_TRUE(driver::wait_until(
            [&] { return SendMessageW(list_, LVM_GETITEMCOUNT, 0, 0) >= 3; }, kPatience));
    }
    void TearDown() override {
        tapster_.reset();
        dialog_reg("delete 'HKCU\\Software\\Policies\\Tapster' /f");
    }

    POINT row(int index) const { return driver::list_view_row(list_, index, 120); }
    void double_click(int index) const {
        driver::xdotool("mousemove " + driver::xdotool_point(row(index)) + " click --repeat 2 1");
    }
    // The dialog once it is on screen and has the keyboard, or nullptr.
    static HWND dialog() {
        HWND shown = nullptr;
        driver::wait_until(
            [&] {
                shown = FindWindowW(L"#32770", L"Target Properties");
                return shown != nullptr && IsWindowVisible(shown) && GetForegroundWindow() == shown;
            },
            kPatience);
        return shown;
    }
    static bool closed() {
        return driver::wait_until(
            [] { return FindWindowW(L"#32770", L"Target Properties") == nullptr; }, kPatience);
    }
    // The dialog's boxes in their Tab order: title, class, button text, program, message, ...
    static HWND box(HWND dialog, int position) {
        HWND edit = FindWindowExW(dialog, nullptr, L"Edit", nullptr);
        for (int step = 0; step < position && edit != nullptr; ++step) {
            edit = FindWindowExW(dialog, edit, L"Edit", nullptr);
        }
        return edit;
    }
    // Sent: GetWindowTextW reads no control of another process.
    static std::string text(HWND window) {
        wchar_t buffer[512] = {};
        SendMessageTimeoutW(window, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(buffer),
                            SMTO_ABORTIFHUNG, 5000, nullptr);
        return driver::narrow(buffer);
    }
    bool selected(int index) const {
        return SendMessageW(list_, LVM_GETITEMSTATE, static_cast<WPARAM>(index), LVIS_SELECTED) !=
               0;
    }

    std::unique_ptr<Tapster> tapster_;
    HWND list_ = nullptr;
};

TEST_F(TargetDialog, AChangedTitlePatternAndForceItAreStoredInPlaceAndPressTheBoxesTheyMatch) {
    start();
    double_click(1);
    const HWND shown = dialog();
    ASSERT_NE(shown, nullptr);
    EXPECT_FALSE(IsWindowEnabled(tapster_->window())) << "modal over the main window";
    EXPECT_EQ(text(box(shown, 0)), "Backup finished");

    // The title box has the focus, its text selected: typing replaces it.
    driver::xdotool("type --delay 30 'Backup of *'");
    driver::xdotool("key alt+f");  // Force It?
    ASSERT_TRUE(driver::wait_until([&] { return text(box(shown, 0)) == "Backup of *"; }));
    driver::xdotool("key Return");
    ASSERT_TRUE(closed());
    EXPECT_TRUE(IsWindowEnabled(tapster_->window()));

    const std::string now = "Backup of * **** #32770 **** OK **** 1 **** 1 **** True";
    EXPECT_TRUE(driver::wait_until(
        [&] {
            return driver::read_settings().find(R"("c-1": ")" + now + "\"") != std::string::npos;
        },
        kPatience))
        << driver::read_settings();
    EXPECT_EQ(driver::list_view_text(list_, 1), now);
    EXPECT_EQ(driver::list_view_text(list_, 2), kLast);

    MessageBoxProcess matching(msgbox_exe(), L"\"Backup of Monday\" ok");
    const auto pressed = matching.wait();
    ASSERT_TRUE(pressed.has_value());
    EXPECT_EQ(pressed->button, IDOK);
}

TEST_F(TargetDialog, CancelAndEscChangeNothing) {
    start();
    const std::string before = driver::read_settings();
    Tapster::click_at(row(0));
    ASSERT_TRUE(driver::wait_until([&] { return selected(0); }, kPatience));
    ASSERT_TRUE(Tapster::choose_from_pop_up(row(2), 1)) << "Properties, after Remove it?";
    HWND shown = dialog();
    ASSERT_NE(shown, nullptr);
    EXPECT_EQ(text(box(shown, 0)), "Other") << "the highlighted entry, not the one under the mouse";
    // What Add It refuses, OK refuses: the reason is said, and the dialog stays as it was.
    driver::xdotool("type --delay 30 'Chan****ged'");
    driver::xdotool("key alt+e");  // and Enabled
    ASSERT_TRUE(driver::wait_until([&] { return text(box(shown, 0)) == "Chan****ged"; }));
    driver::xdotool("key Return");
    HWND refusal = nullptr;
    ASSERT_TRUE(driver::wait_until(
        [&] {
            refusal = FindWindowW(L"#32770", L"Tapster 2.1");
            return refusal != nullptr && IsWindowVisible(refusal);
        },
        kPatience));
    EXPECT_NE(driver::message_box_text(refusal).find("The title contains \"****\""),
              std::string::npos);
    driver::xdotool("key Return");
    ASSERT_TRUE(driver::wait_until([] { return FindWindowW(L"#32770", L"Tapster 2.1") == nullptr; },
                                   kPatience));
    EXPECT_TRUE(IsWindow(shown));
    EXPECT_FALSE(IsWindowEnabled(tapster_->window())) << "the box gave the main window back";
    Tapster::click_at(driver::center_on_screen(GetDlgItem(shown, IDCANCEL)));
    ASSERT_TRUE(closed());

    // Enter on the highlighted entry opens it too.
    ASSERT_TRUE(
        driver::wait_until([&] { return GetForegroundWindow() == tapster_->window(); }, kPatience));
    driver::xdotool("key Return");
    shown = dialog();
    ASSERT_NE(shown, nullptr);
    driver::xdotool("type --delay 30 'Changed again'");
    ASSERT_TRUE(driver::wait_until([&] { return text(box(shown, 0)) == "Changed again"; }));
    driver::xdotool("key Escape");
    ASSERT_TRUE(closed());

    EXPECT_EQ(driver::list_view_text(list_, 0), kOther);
    EXPECT_TRUE(tapster_->answers(5000ms));
    EXPECT_EQ(driver::read_settings(), before);
}

TEST_F(TargetDialog, AnAdministratorsEntryOpensReadOnlyAndSaysWhy) {
    dialog_reg("delete 'HKCU\\Software\\Policies\\Tapster' /f");
    ASSERT_EQ(dialog_reg(std::string("add '") + kPolicyKey + "' /v 1 /d '" + kManaged + "' /f"), 0);
    start();
    ASSERT_TRUE(driver::wait_until([&] { return SendMessageW(list_, LVM_GETITEMCOUNT, 0, 0) == 4; },
                                   kPatience));
    const std::string before = driver::read_settings();
    double_click(3);
    const HWND shown = dialog();
    ASSERT_NE(shown, nullptr);
    const HWND title = box(shown, 0);
    EXPECT_EQ(text(title), "Managed");
    EXPECT_NE(GetWindowLongW(title, GWL_STYLE) & ES_READONLY, 0);
    EXPECT_NE(driver::message_box_text(shown).find("Your administrator set this target"),
              std::string::npos);
    RECT outer{};
    GetWindowRect(shown, &outer);
    EXPECT_TRUE(driver::save_screenshot(artifacts_dir() + "/target-dialog-read-only.png", &outer));

    driver::xdotool("type --delay 30 'Mine'");
    driver::xdotool("key alt+e Return");
    ASSERT_TRUE(closed());
    EXPECT_EQ(driver::list_view_text(list_, 3),
              "Set by your administrator: " + std::string(kManaged));
    EXPECT_TRUE(tapster_->answers(5000ms));
    EXPECT_EQ(driver::read_settings(), before);
}

}  // namespace
}  // namespace tapster::e2e
