// tapster_readme_shots.exe TAPSTER_EXE MSGBOX_EXE DRAWN_DIALOG_EXE OUTPUT_DIR [SUFFIX]: poses
// the real program for the README's pictures: the main window with a few targets, a target's
// dialog, the History window, a capture in progress over a message box, and "Record from open
// windows" over a box and a drawn dialog. With a SUFFIX (say "-144", for a prefix at another
// display scale) only the dialogs are taken, into target-dialog-144.png, history-144.png and
// record-from-windows-144.png.
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
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

// One of Tapster's dialogs once it shows, or none within `patience`.
HWND shown_dialog(const wchar_t* caption, std::chrono::milliseconds patience) {
    HWND dialog = nullptr;
    tapster::driver::wait_until(
        [&] {
            dialog = FindWindowW(L"#32770", caption);
            return dialog != nullptr && IsWindowVisible(dialog);
        },
        patience);
    return dialog;
}

// A message box and a drawn dialog, then Options, "Record from open windows...", with the
// keys, once both are listed.
bool shoot_record_dialog(const Tapster& tapster, const std::string& msgbox_exe,
                         const std::string& drawn_dialog_exe, const std::string& png) {
    namespace driver = tapster::driver;
    driver::MessageBoxProcess box(
        msgbox_exe, L"\"Backup finished\" okcancel --text \"The backup of Monday is done.\"");
    driver::MessageBoxProcess drawn(drawn_dialog_exe,
                                    L"\"Save changes?\" Save \"Don't Save\" Cancel --text "
                                    L"\"Save the changes to the report?\"");
    // Below Tapster's window: the click that gives Tapster the keyboard must not land on them,
    // nor the keys after it.
    RECT below{};
    GetWindowRect(tapster.window(), &below);
    for (HWND shown : {box.wait_until_shown(L"Backup finished", 30000ms),
                       drawn.wait_until_shown(L"Save changes?", 30000ms, L"TapsterDrawnDialog")}) {
        if (shown == nullptr) {
            std::fputs("readme_shots: a window to record from did not show\n", stderr);
            return false;
        }
        SetWindowPos(shown, nullptr, below.left, below.bottom + 10, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        below.left += 40;
    }
    HWND dialog = nullptr;
    // A prefix's first run starts slowly, and the keys may come before the menu can take them.
    for (int attempt = 0; attempt < 3 && dialog == nullptr; ++attempt) {
        tapster.focus();
        if (GetForegroundWindow() != tapster.window()) {
            continue;
        }
        driver::xdotool("key --delay 150 F10 Right Down Up Return");
        dialog = shown_dialog(L"Record from open windows", 5000ms);
    }
    if (dialog == nullptr) {
        std::fputs("readme_shots: \"Record from open windows\" did not open\n", stderr);
        return false;
    }
    const HWND windows = GetDlgItem(dialog, 101);
    driver::wait_until([&] { return SendMessageW(windows, LB_GETCOUNT, 0, 0) >= 2; }, 10000ms);
    driver::wait_until([] { return false; }, 500ms);
    RECT area{};
    GetWindowRect(dialog, &area);
    const bool saved = driver::save_screenshot(png, &area);
    driver::xdotool("key Escape");
    return saved;
}

// A few presses of the days before, as the history keeps them, then File, History.
bool shoot_history(const Tapster& tapster, const std::string& png) {
    namespace driver = tapster::driver;
    {
        std::filesystem::create_directories(driver::history_path().parent_path());
        std::ofstream file(driver::history_path(), std::ios::binary | std::ios::trunc);
        const auto record = [&](const char* time, int count, const char* outcome,
                                const char* program, const char* title, const char* button,
                                const char* set_by) {
            file << R"({"time":")" << time << R"(","count":)" << count << R"(,"outcome":")"
                 << outcome << R"(","program":")" << program << R"(","title":")" << title
                 << R"(","button":")" << button << R"(","kind":"classic","forced":false,)"
                 << R"("set_by":")" << set_by << R"(","target":""})" << '\n';
        };
        record("2026-12-07T09:14:02+01:00", 1, "pressed", "backup.exe", "Backup finished", "OK",
               "user");
        record("2026-12-08T08:30:41+01:00", 3, "pressed", "updater.exe", "Update available",
               "Later", "administrator");
        record("2026-12-08T17:05:19+01:00", 1, "refused", "setup.exe", "Trial version", "Continue",
               "user");
        record("2026-12-09T09:12:55+01:00", 1, "pressed", "backup.exe", "Backup finished", "OK",
               "user");
    }
    tapster.choose_menu_entry(0, 0);  // File, History
    const HWND dialog = shown_dialog(L"History", 10000ms);
    if (dialog == nullptr) {
        std::fputs("readme_shots: the History window did not open\n", stderr);
        return false;
    }
    driver::wait_until([] { return false; }, 800ms);  // filled and painted
    RECT area{};
    GetWindowRect(dialog, &area);
    const bool saved = driver::save_screenshot(png, &area);
    driver::xdotool("key Escape");
    driver::wait_until([] { return FindWindowW(L"#32770", L"History") == nullptr; });
    return saved;
}

}  // namespace

int main(int count, char** arguments) {
    if (count != 5 && count != 6) {
        std::fputs(
            "usage: tapster_readme_shots TAPSTER_EXE MSGBOX_EXE DRAWN_DIALOG_EXE OUTPUT_DIR "
            "[SUFFIX]\n",
            stderr);
        return 2;
    }
    const std::string tapster_exe = arguments[1];
    const std::string msgbox_exe = arguments[2];
    const std::string drawn_dialog_exe = arguments[3];
    const std::string output = arguments[4];
    const std::string suffix = count == 6 ? arguments[5] : "";
    namespace driver = tapster::driver;

    driver::write_settings(
        R"({"Items": {"c-0": "Update available **** #32770 **** Later **** 2 **** 2 **** False",)"
        R"("u-1": "Backup reminder **** #32770 **** OK **** 1 **** 1 **** False",)"
        R"("c-2": "Trial version **** #32770 **** Continue **** 1 **** 1 **** True",)"
        R"("u-3": "Backup finished **** #32770 **** OK **** program=backup.exe **** )"
        R"(message=Backup of * done **** 1 **** 1 **** False"}})");
    Tapster tapster(tapster_exe);
    driver::wait_until([&] { return tapster.visible(); });
    const HWND list = tapster.find_control("SysListView32", "")->window;
    driver::wait_until([&] { return SendMessageW(list, LVM_GETITEMCOUNT, 0, 0) == 4; }, 10000ms);
    driver::wait_until([] { return false; }, 500ms);  // painted
    RECT window{};
    GetWindowRect(tapster.window(), &window);
    if (suffix.empty()) {
        driver::save_screenshot(output + "/main-window.png", &window);
    }

    // A target's dialog, opened by a double click on its entry.
    driver::xdotool("mousemove " + driver::xdotool_point(driver::list_view_row(list, 3, 120)) +
                    " click --repeat 2 1");
    const HWND dialog = shown_dialog(L"Target Properties", 10000ms);
    driver::wait_until([] { return false; }, 500ms);  // painted
    RECT area{};
    GetWindowRect(dialog, &area);
    driver::save_screenshot(output + "/target-dialog" + suffix + ".png", &area);
    driver::xdotool("key Escape");
    driver::wait_until([] { return FindWindowW(L"#32770", L"Target Properties") == nullptr; });
    if (!shoot_history(tapster, output + "/history" + suffix + ".png")) {
        return 1;
    }
    if (!suffix.empty()) {
        return shoot_record_dialog(tapster, msgbox_exe, drawn_dialog_exe,
                                   output + "/record-from-windows" + suffix + ".png")
                   ? 0
                   : 1;
    }

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
    driver::xdotool("mousemove " +
                    driver::xdotool_point(driver::center_on_screen(GetDlgItem(nag, IDOK))) +
                    " sleep 1.5 mouseup 1");

    return shoot_record_dialog(tapster, msgbox_exe, drawn_dialog_exe,
                               output + "/record-from-windows.png")
               ? 0
               : 1;
}
