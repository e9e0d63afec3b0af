// tapster_readme_shots.exe OUTPUT_DIR: poses the real program for the README's pictures: the
// main window with a few targets, and a capture in progress over a message box.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>

#include "driver.h"

namespace {

using namespace std::chrono_literals;
using tapster::driver::Tapster;

RECT bounds(HWND first, HWND second) {
    RECT a{};
    RECT b{};
    GetWindowRect(first, &a);
    GetWindowRect(second, &b);
    return RECT{std::min(a.left, b.left) - 8, std::min(a.top, b.top) - 8,
                std::max(a.right, b.right) + 8, std::max(a.bottom, b.bottom) + 8};
}

}  // namespace

int main(int count, char** arguments) {
    if (count != 4) {
        std::fputs("usage: tapster_readme_shots TAPSTER_EXE MSGBOX_EXE OUTPUT_DIR\n", stderr);
        return 2;
    }
    const std::string tapster_exe = arguments[1];
    const std::string msgbox_exe = arguments[2];
    const std::string output = arguments[3];
    namespace driver = tapster::driver;

    driver::write_settings(
        R"({"Items": {"c-0": "Update available **** #32770 **** Later **** 2 **** 2 **** False",)"
        R"("u-1": "Backup reminder **** #32770 **** OK **** 1 **** 1 **** False",)"
        R"("c-2": "Trial version **** #32770 **** Continue **** 1 **** 1 **** True"}})");
    Tapster tapster(tapster_exe);
    driver::wait_until([&] { return tapster.visible(); });
    RECT window{};
    GetWindowRect(tapster.window(), &window);
    driver::save_screenshot(output + "/main-window.png", &window);

    // A capture on its way: the check mark held over a box, the notice asking to wait.
    driver::MessageBoxProcess box(msgbox_exe, L"\"Nag screen\" ok --timeout 30000");
    const HWND nag = box.wait_until_shown(L"Nag screen");
    SetWindowPos(nag, nullptr, window.right - 120, window.bottom + 10, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER);
    driver::wait_until([] { return false; }, 300ms);
    const POINT check_mark =
        driver::center_on_screen(tapster.find_control("TapsterPicture", "")->window);
    RECT label{};
    GetWindowRect(nag, &label);
    driver::xdotool("mousemove " + driver::xdotool_point(check_mark) +
                    " mousedown 1 sleep 0.3 mousemove " +
                    driver::xdotool_point(POINT{label.left + 40, label.top + 60}));
    driver::wait_until([&] { return tapster.find_control("TapsterFrame", "")->visible; }, 4000ms);
    driver::wait_until([] { return false; }, 1200ms);
    const RECT both = bounds(tapster.window(), nag);
    driver::save_screenshot(output + "/capture.png", &both);
    driver::xdotool("mousemove " + driver::xdotool_point(driver::center_on_screen(
                                       GetDlgItem(nag, IDOK))) +
                    " sleep 1.5 mouseup 1");
    return 0;
}
