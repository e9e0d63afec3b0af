// The tray icon's context menu and the Options menu's new entries, on the real program under
// Wine: show, pause and exit from the tray, and the sign-in entry in the user's Run key.
#include <gtest/gtest.h>

#include <algorithm>
#include <cwctype>
#include <optional>
#include <string>
#include <thread>

#include "driver.h"
#include "e2e_environment.h"

namespace tapster::e2e {
namespace {

using driver::MessageBoxProcess;
using driver::Tapster;
using namespace std::chrono_literals;

constexpr int kSignInEntry = 3;  // Run Minimized, Calibration, Pause pressing, Start when ...

class TrayMenu : public ::testing::Test {
  protected:
    void SetUp() override { saved_sign_in_ = driver::sign_in_entry(); }
    void TearDown() override { driver::set_sign_in_entry(saved_sign_in_); }

    // Starts Tapster hidden in the tray, with one target: boxes titled "Nag".
    static std::unique_ptr<Tapster> start_in_tray() {
        driver::write_settings(R"({"Runit": {"RunMinimized": "True"}, "Items": {)"
                               R"("c-0": "Nag **** #32770 **** OK **** 1 **** 1 **** False"}})");
        auto tapster = std::make_unique<Tapster>(tapster_exe());
        EXPECT_TRUE(driver::wait_until([&] { return tapster->tray_icon_present(); }));
        return tapster;
    }
    enum TrayEntry { show, pause, history, exit };
    // Opens the tray menu and clicks an entry. The menu is four entries of one height and a
    // separator of about half that: these are the entries' middles, as parts of its height.
    static void choose_tray_entry(const Tapster& tapster, TrayEntry entry) {
        choose_entry(tapster.open_tray_menu(), entry);
    }
    static void choose_entry(HWND menu, TrayEntry entry) {
        ASSERT_NE(menu, nullptr) << "no menu for the tray icon";
        constexpr double kMiddles[] = {0.17, 0.36, 0.55, 0.83};
        RECT rect{};
        GetWindowRect(menu, &rect);
        const POINT middle{
            (rect.left + rect.right) / 2,
            rect.top + static_cast<LONG>(kMiddles[entry] * (rect.bottom - rect.top))};
        driver::xdotool("mousemove " + driver::xdotool_point(middle) + " sleep 0.2 click 1");
    }
    static bool box_open(const wchar_t* title) { return FindWindowW(L"#32770", title) != nullptr; }
    // Waits until the entry chosen in the menu has run: the menu closes before its entry runs,
    // in the same message, and a message sent afterwards is answered only once that has ended.
    static void wait_until_chosen(const Tapster& tapster) {
        ASSERT_TRUE(driver::wait_until([] {
            return FindWindowW(L"#32768", nullptr) == nullptr ||
                   !IsWindowVisible(FindWindowW(L"#32768", nullptr));
        }));
        ASSERT_TRUE(tapster.answers(5000ms));
    }

  private:
    std::optional<std::wstring> saved_sign_in_;
};

TEST_F(TrayMenu, ShowTapsterBringsTheHiddenWindowBack) {
    auto tapster = start_in_tray();
    ASSERT_FALSE(tapster->visible());

    choose_tray_entry(*tapster, show);

    EXPECT_TRUE(driver::wait_until([&] { return tapster->visible(); }));
    const HWND menu = FindWindowW(L"#32768", nullptr);
    EXPECT_TRUE(menu == nullptr || IsWindowVisible(menu) == FALSE) << "the menu stayed open";
}

// Real clicks on the icon in Wine's taskbar, through the shell's own notifications.
TEST_F(TrayMenu, RealClicksOnTheIconShowTheWindowAndOpenTheMenu) {
    auto tapster = start_in_tray();
    ASSERT_FALSE(tapster->visible());

    tapster->click_tray_icon(1);
    ASSERT_TRUE(driver::wait_until([&] { return tapster->visible(); })) << "a left click";
    tapster->click_control(*tapster->find_control("Button", "Minimize"));
    ASSERT_TRUE(driver::wait_until([&] { return !tapster->visible(); }));

    tapster->click_tray_icon(3);
    const HWND menu = Tapster::pop_up_menu();
    ASSERT_NE(menu, nullptr) << "no menu after a right click";
    EXPECT_FALSE(tapster->visible());
    choose_entry(menu, show);
    EXPECT_TRUE(driver::wait_until([&] { return tapster->visible(); }));
    EXPECT_TRUE(tapster->tray_icon_present());
}

// Asked for from the keyboard (the menu key on the selected icon), the shell names the icon as
// the menu's anchor, wherever the pointer is.
TEST_F(TrayMenu, TheMenuOpensAtTheAnchorTheShellGivesNotAtThePointer) {
    auto tapster = start_in_tray();
    const POINT pointer{200, 150};
    driver::xdotool("mousemove " + driver::xdotool_point(pointer));
    ASSERT_TRUE(driver::wait_until([&] {
        POINT now{};
        return GetCursorPos(&now) != FALSE && now.x == pointer.x && now.y == pointer.y;
    }));

    const POINT icon = Tapster::tray_icon_point();
    const HWND menu = tapster->open_tray_menu();
    ASSERT_NE(menu, nullptr);
    RECT rect{};
    GetWindowRect(menu, &rect);
    EXPECT_FALSE(PtInRect(&rect, pointer)) << "the menu opened at the pointer";
    // The menu keeps to the screen, so it may open above the icon or to its left.
    RECT near_icon = rect;
    InflateRect(&near_icon, 24, 24);
    EXPECT_TRUE(PtInRect(&near_icon, icon))
        << "menu at " << rect.left << "," << rect.top << "; icon at " << icon.x << "," << icon.y;
    choose_entry(menu, show);
    EXPECT_TRUE(driver::wait_until([&] { return tapster->visible(); }));
}

TEST_F(TrayMenu, PausedABoxStaysOpenAndIsPressedAfterResuming) {
    auto tapster = start_in_tray();

    choose_tray_entry(*tapster, pause);
    // A box that shows before the pause has taken is pressed at once.
    wait_until_chosen(*tapster);
    // Long enough for the wait below and the press after resuming.
    MessageBoxProcess box(msgbox_exe(), L"Nag ok --timeout 12000");
    ASSERT_NE(box.wait_until_shown(L"Nag"), nullptr);
    std::this_thread::sleep_for(2500ms);  // more than two ticks of the push timer
    EXPECT_TRUE(box_open(L"Nag")) << "pressed while paused";

    choose_tray_entry(*tapster, pause);
    const auto result = box.wait();

    ASSERT_TRUE(result.has_value());
    EXPECT_EQ(result->button, IDOK) << "not pressed after resuming";
}

TEST_F(TrayMenu, ExitEndsTheProgramAndTakesTheIconAway) {
    auto tapster = start_in_tray();
    const Tapster::TrayIdentity icon = tapster->tray_identity();

    choose_tray_entry(*tapster, exit);

    EXPECT_TRUE(tapster->wait_for_exit(5000ms));
    EXPECT_FALSE(Tapster::tray_icon_exists(icon));
}

TEST_F(TrayMenu, StartWhenISignInWritesAndRemovesTheRunValue) {
    driver::set_sign_in_entry(std::nullopt);
    driver::write_settings("");
    auto tapster = std::make_unique<Tapster>(tapster_exe());
    ASSERT_TRUE(driver::wait_until([&] { return tapster->visible(); }));
    const std::string settings = driver::read_settings();

    tapster->choose_menu_entry(kOptionsMenu, kSignInEntry);
    ASSERT_TRUE(driver::wait_until([] { return driver::sign_in_entry().has_value(); }));
    std::wstring entry = *driver::sign_in_entry();
    std::transform(entry.begin(), entry.end(), entry.begin(),
                   [](wchar_t letter) { return static_cast<wchar_t>(std::towlower(letter)); });
    EXPECT_EQ(entry.front(), L'"');
    EXPECT_TRUE(entry.ends_with(L"tapster.exe\"")) << driver::narrow(entry);

    tapster->choose_menu_entry(kOptionsMenu, kSignInEntry);
    EXPECT_TRUE(driver::wait_until([] { return !driver::sign_in_entry().has_value(); }));
    EXPECT_EQ(driver::read_settings(), settings) << "the option went into the settings file";
}

}  // namespace
}  // namespace tapster::e2e
