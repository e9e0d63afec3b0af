// The real tapster.exe, started under Wine and looked at from another process.
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>

#include "driver.h"
#include "e2e_environment.h"

namespace tapster::e2e {
namespace {

using driver::Tapster;
using namespace std::chrono_literals;

class MainWindow : public ::testing::Test {
  protected:
    void SetUp() override { driver::write_settings(""); }

    std::unique_ptr<Tapster> start() {
        auto tapster = std::make_unique<Tapster>(tapster_exe());
        EXPECT_TRUE(driver::wait_until([&] { return tapster->visible(); }));
        return tapster;
    }
};

// Where each control was designed to be, in pixels at 96 DPI (15 twips to a pixel),
// relative to the client area. Frame children are given relative to the window too.
struct DesignedControl {
    const char* name;
    const char* window_class;
    const char* text;
    RECT rect;  // left, top, right, bottom
    bool visible;
};

constexpr RECT box(int left, int top, int width, int height) {
    return RECT{left, top, left + width, top + height};
}

const DesignedControl kDesign[] = {
    {"Text1", "Edit", "", box(8, 0, 137, 19), true},
    {"Text2", "Edit", "", box(8, 24, 137, 19), true},
    {"Text4", "Edit", "", box(8, 48, 137, 19), true},
    {"Text5", "Edit", "", box(8, 72, 137, 19), true},
    {"Text14", "Edit", "", box(8, 96, 137, 19), true},
    {"Check1", "Button", "Force It?", box(8, 120, 137, 13), true},
    {"Command1", "Button", "Add It", box(8, 136, 65, 33), true},
    {"Command2", "Button", "Remove it", box(80, 136, 65, 33), true},
    {"Command4", "Button", "Minimize", box(8, 176, 65, 33), true},
    {"Command5", "Button", "E&xit", box(80, 176, 65, 33), true},
    {"Picture1", "TapsterPicture", "", box(152, 0, 41, 41), true},
    {"List4", "SysListView32", "", box(152, 96, 361, 109), true},
    {"Label1", "Static",
     "Drag Check Mark to the Button you would like to auto click. THE CHECK SHOULD BE HELD "
     "OVER THE BUTTON UNTIL THE CHECK DISAPPEARS! (This only works for Message Boxes)",
     box(200, 0, 225, 81), true},
    {"Label2", "Static", "Check items that you would like to Enable", box(200, 72, 217, 17), true},
    {"Label4", "Static", "Calibration:", box(160, 160, 81, 17), true},
    // Start-up has put the stored interval (1000 by default) into its design text "Text10".
    {"Text10", "Edit", "1000", box(224, 160, 65, 19), false},
    {"Text8", "Edit", "Text8", box(640, 128, 81, 33), false},
    {"Frame2", "Button", "Calibartion Menu", box(144, 0, 225, 89), false},
    {"Label14", "Static", "Each 1000 is one second", box(184, 24, 137, 33), false},
    {"Text15", "Edit", "1000", box(216, 40, 81, 19), false},
    {"Command8", "Button", "OK", box(192, 64, 57, 17), false},
    {"Command10", "Button", "Cancel", box(256, 64, 57, 17), false},
    {"Frame1", "TapsterFrame", "", box(184, 112, 297, 65), false},
    {"Label8", "Static", "Do not release mouse button until mouse changes", box(200, 160, 273, 17),
     false},
    {"Label5", "Static", "", box(232, 120, 177, 33), false},
};

bool close_to(const RECT& actual, const RECT& designed) {
    return std::abs(actual.left - designed.left) <= 1 && std::abs(actual.top - designed.top) <= 1 &&
           std::abs(actual.right - designed.right) <= 1 &&
           std::abs(actual.bottom - designed.bottom) <= 1;
}

std::string describe(const RECT& rect) {
    std::ostringstream text;
    text << "[" << rect.left << "," << rect.top << " " << rect.right - rect.left << "x"
         << rect.bottom - rect.top << "]";
    return text.str();
}

TEST_F(MainWindow, ShowsEveryControlWithItsTextAtItsDesignedPlace) {
    auto tapster = start();
    EXPECT_EQ(tapster->caption(), "Davivuvozuved Tapster 2.1 - example.org");

    RECT client{};
    GetClientRect(tapster->window(), &client);
    EXPECT_EQ(client.right, 528);   // 7920 twips
    EXPECT_EQ(client.bottom, 214);  // 3210 twips

    const auto controls = tapster->controls();
    for (const DesignedControl& designed : kDesign) {
        const auto match = std::find_if(controls.begin(), controls.end(), [&](const auto& c) {
            return lstrcmpiA(c.class_name.c_str(), designed.window_class) == 0 &&
                   c.text == designed.text && close_to(c.rect, designed.rect);
        });
        ASSERT_NE(match, controls.end())
            << designed.name << " (" << designed.window_class << " \"" << designed.text
            << "\") not found at " << describe(designed.rect);
        EXPECT_EQ(match->visible, designed.visible) << designed.name;
    }

    // The two diagnostic lists lie below the client area, as wide as the window.
    RECT outer{};
    GetWindowRect(tapster->window(), &outer);
    int lists_below = 0;
    for (const auto& control : controls) {
        if (control.class_name == "ListBox") {
            EXPECT_EQ(control.rect.left, 496);
            EXPECT_EQ(control.rect.top, 392);
            EXPECT_NEAR(control.rect.right - control.rect.left, outer.right - outer.left, 1);
            ++lists_below;
        }
    }
    EXPECT_EQ(lists_below, 2);

    RECT screen = outer;
    EXPECT_TRUE(driver::save_screenshot(artifacts_dir() + "/main-window.png", &screen));
}

TEST_F(MainWindow, RefusesEveryCloseRequest) {
    auto tapster = start();
    const HWND window = tapster->window();

    // Another program's WM_CLOSE, the system menu's Close, and Alt+F4 typed by the user.
    SendMessageTimeoutW(window, WM_CLOSE, 0, 0, SMTO_ABORTIFHUNG, 2000, nullptr);
    SendMessageTimeoutW(window, WM_SYSCOMMAND, SC_CLOSE, 0, SMTO_ABORTIFHUNG, 2000, nullptr);
    tapster->focus();
    EXPECT_EQ(GetForegroundWindow(), window);
    driver::run_host_command("xdotool key alt+F4");
    // And the close box, clicked: the rightmost button of the title bar.
    RECT outer{};
    GetWindowRect(window, &outer);
    const int caption = GetSystemMetrics(SM_CYCAPTION);
    Tapster::click_at(POINT{outer.right - GetSystemMetrics(SM_CXFRAME) - caption / 2,
                            outer.top + GetSystemMetrics(SM_CYFRAME) + caption / 2});
    // Input is handled in order: once a later click has changed a box, the keys and the
    // click before it have been handled too.
    const auto force = tapster->find_control("Button", "Force It?");
    ASSERT_TRUE(force.has_value());
    const LRESULT before = SendMessageW(force->window, BM_GETCHECK, 0, 0);
    tapster->click_control(*force);
    EXPECT_TRUE(driver::wait_until(
        [&] { return SendMessageW(force->window, BM_GETCHECK, 0, 0) != before; }));

    EXPECT_TRUE(tapster->running());
    EXPECT_TRUE(IsWindow(window));
    EXPECT_TRUE(tapster->visible());
    EXPECT_TRUE(tapster->tray_icon_present());
}

TEST_F(MainWindow, MinimizeHidesIntoTheTrayAndALeftPressOnTheIconBringsItBack) {
    auto tapster = start();
    ASSERT_TRUE(tapster->tray_icon_present());

    tapster->click_control(*tapster->find_control("Button", "Minimize"));
    ASSERT_TRUE(driver::wait_until([&] { return !tapster->visible(); }));
    EXPECT_TRUE(tapster->tray_icon_present());  // one icon: the second add was refused

    // Moving over the icon, right-clicking and releasing do nothing.
    for (const UINT ignored : {WM_MOUSEMOVE, WM_RBUTTONDOWN, WM_RBUTTONUP, WM_LBUTTONUP}) {
        tapster->send_tray_notification(ignored);
    }
    EXPECT_FALSE(tapster->visible());

    tapster->send_tray_notification(WM_LBUTTONDOWN);
    EXPECT_TRUE(driver::wait_until([&] { return tapster->visible(); }));
    EXPECT_TRUE(tapster->tray_icon_present());
}

TEST_F(MainWindow, EnlargingTheWindowWidensTheTwoListsBelowToItsWidth) {
    auto tapster = start();

    SetWindowPos(tapster->window(), nullptr, 0, 0, 1000, 700, SWP_NOMOVE | SWP_NOZORDER);

    EXPECT_TRUE(driver::wait_until([&] {
        int widened = 0;
        for (const auto& control : tapster->controls()) {
            if (control.class_name == "ListBox" && control.rect.right - control.rect.left == 1000) {
                ++widened;
            }
        }
        return widened == 2;
    }));
    // Nothing else moves or grows.
    const auto list4 = tapster->find_control("SysListView32", "");
    ASSERT_TRUE(list4.has_value());
    EXPECT_TRUE(close_to(list4->rect, box(152, 96, 361, 109)));
}

TEST_F(MainWindow, PutsTheIconBackWhenTheNotificationAreaIsRecreated) {
    auto tapster = start();
    tapster->click_control(*tapster->find_control("Button", "Minimize"));
    ASSERT_TRUE(driver::wait_until([&] { return !tapster->visible(); }));

    // Explorer restarts: its icons are gone, and it tells every window so.
    ASSERT_TRUE(tapster->delete_tray_icon());
    SendMessageTimeoutW(tapster->window(), RegisterWindowMessageW(L"TaskbarCreated"), 0, 0,
                        SMTO_ABORTIFHUNG, 2000, nullptr);

    EXPECT_TRUE(tapster->tray_icon_present());
    tapster->send_tray_notification(WM_LBUTTONDOWN);
    EXPECT_TRUE(driver::wait_until([&] { return tapster->visible(); }));
}

TEST_F(MainWindow, TabMovesThroughTheControlsInTheDesignedOrder) {
    auto tapster = start();
    tapster->click_control(*tapster->find_control("Button", "Force It?"));  // force_click_box
    const auto focused = [&] {
        GUITHREADINFO info{};
        info.cbSize = sizeof info;
        GetGUIThreadInfo(GetWindowThreadProcessId(tapster->window(), nullptr), &info);
        wchar_t text[64] = {};
        SendMessageTimeoutW(info.hwndFocus, WM_GETTEXT, 64, reinterpret_cast<LPARAM>(text),
                            SMTO_ABORTIFHUNG, 2000, nullptr);
        return driver::narrow(text);
    };
    ASSERT_TRUE(driver::wait_until([&] { return focused() == "Force It?"; }));

    // After force_click_box the order wraps to title_field (the frame's controls are hidden) and
    // goes on through the text boxes to the buttons.
    driver::run_host_command("xdotool key --delay 50 Tab Tab Tab Tab Tab");
    EXPECT_TRUE(driver::wait_until([&] { return focused() == "Add It"; }, 2000ms));
    driver::run_host_command(
        "xdotool key --delay 50 shift+Tab shift+Tab shift+Tab shift+Tab "
        "shift+Tab");
    EXPECT_TRUE(driver::wait_until([&] { return focused() == "Force It?"; }, 2000ms));
}

TEST_F(MainWindow, ExitEndsTheProgramAndRemovesTheIcon) {
    auto tapster = start();
    const Tapster::TrayIdentity icon = tapster->tray_identity();
    ASSERT_TRUE(Tapster::tray_icon_exists(icon));

    tapster->click_control(*tapster->find_control("Button", "E&xit"));

    ASSERT_TRUE(tapster->wait_for_exit(5000ms));
    EXPECT_FALSE(IsWindow(icon.window));
    EXPECT_FALSE(Tapster::tray_icon_exists(icon)) << "the icon outlived the program";
}

TEST_F(MainWindow, TogglingRunMinimizedTwiceLeavesFalseInTheSettings) {
    auto tapster = start();
    const auto stored = [](const char* value) {
        return driver::wait_until([&] {
            return driver::read_settings().find(std::string(R"("RunMinimized": ")") + value +
                                                "\"") != std::string::npos;
        });
    };

    tapster->choose_menu_entry(1, 0);  // Options > Run Minimized on Start
    EXPECT_TRUE(stored("True"));
    tapster->choose_menu_entry(1, 0);
    EXPECT_TRUE(stored("False"));
    EXPECT_TRUE(tapster->visible());
}

TEST_F(MainWindow, AStoredRunMinimizedStartsHiddenWithTheIconPresent) {
    driver::write_settings(R"({"Runit": {"RunMinimized": "True"}})");

    Tapster tapster(tapster_exe());
    // Start-up adds the icon first and ends, moments later, by showing the window or not.
    ASSERT_TRUE(driver::wait_until([&] { return tapster.tray_icon_present(); }));

    EXPECT_FALSE(driver::wait_until([&] { return tapster.visible(); }, 1000ms));
    EXPECT_TRUE(tapster.tray_icon_present());
    tapster.send_tray_notification(WM_LBUTTONDOWN);
    EXPECT_TRUE(driver::wait_until([&] { return tapster.visible(); }));
}

}  // namespace
}  // namespace tapster::e2e
