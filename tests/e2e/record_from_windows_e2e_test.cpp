// Recording without a drag: "Record from open windows", opened and used with the keyboard
// alone, records a message box and a drawn dialog's button with their program and message, and
// the target is pressed once enabled.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <string>

#include "driver.h"
#include "e2e_environment.h"

namespace tapster::e2e {
namespace {

using driver::MessageBoxProcess;
using driver::Tapster;
using namespace std::chrono_literals;

constexpr wchar_t kDialogTitle[] = L"Record from open windows";
// The dialog's two lists, as it numbers them.
constexpr int kWindowsList = 101;
constexpr int kButtonsList = 103;

class RecordFromWindows : public ::testing::Test {
  protected:
    void SetUp() override {
        driver::write_settings("");
        tapster_ = std::make_unique<Tapster>(tapster_exe());
        ASSERT_TRUE(driver::wait_until([&] { return tapster_->visible(); }));
    }

    // The selected line of one of the dialog's lists; empty when there is none.
    static std::string selected(HWND list) {
        DWORD_PTR index = 0;
        if (SendMessageTimeoutW(list, LB_GETCURSEL, 0, 0, SMTO_ABORTIFHUNG, 2000, &index) == 0 ||
            static_cast<LRESULT>(index) == LB_ERR) {
            return {};
        }
        wchar_t text[512] = {};
        DWORD_PTR length = 0;
        if (SendMessageTimeoutW(list, LB_GETTEXTLEN, index, 0, SMTO_ABORTIFHUNG, 2000, &length) ==
                0 ||
            length >= std::size(text)) {
            return {};
        }
        SendMessageTimeoutW(list, LB_GETTEXT, index, reinterpret_cast<LPARAM>(text),
                            SMTO_ABORTIFHUNG, 2000, &length);
        return driver::narrow(text);
    }
    // The control that has the keyboard focus in another program's window.
    static HWND focus_in(HWND window) {
        GUITHREADINFO info{};
        info.cbSize = sizeof info;
        return GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info) != FALSE
                   ? info.hwndFocus
                   : nullptr;
    }
    // Presses Down in the focused list until its selected line starts with `wanted`; the list
    // may still grow as windows answer.
    static bool go_down_to(HWND list, const std::string& wanted) {
        for (int presses = 0; presses < 40; ++presses) {
            if (driver::wait_until([&] { return selected(list).rfind(wanted, 0) == 0; }, 1500ms)) {
                return true;
            }
            const std::string before = selected(list);
            driver::xdotool("key Down");
            driver::wait_until([&] { return selected(list) != before; }, 1500ms);
        }
        return false;
    }

    // A window of the helpers, out of the way of Tapster's title bar, where the test clicks to
    // give Tapster the keyboard: windows open where the system cascades them.
    void move_below_tapster(HWND window) const {
        RECT tapster{};
        GetWindowRect(tapster_->window(), &tapster);
        SetWindowPos(window, nullptr, tapster.left, tapster.bottom + 10, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }

    // Options, then its last entry, with the keys alone; the dialog comes to the front. Keys
    // that were lost go again, after Esc has left any menu they opened (Esc means nothing to
    // the main window itself).
    HWND open_record_dialog() const {
        HWND dialog = nullptr;
        for (int attempt = 0; attempt < 3 && dialog == nullptr; ++attempt) {
            if (attempt > 0) {
                driver::xdotool("key --delay 150 Escape Escape");
            }
            // A click into the title box, and the keys only once Tapster says it has them.
            const HWND title_box = tapster_->capture_fields().at(0).window;
            Tapster::click_at(driver::center_on_screen(title_box));
            if (!driver::wait_until([&] { return focus_in(tapster_->window()) == title_box; },
                                    3000ms)) {
                continue;
            }
            driver::xdotool("key --delay 150 F10 Right Down Up Return");
            driver::wait_until(
                [&] {
                    dialog = FindWindowW(L"#32770", kDialogTitle);
                    return dialog != nullptr && IsWindowVisible(dialog) &&
                           GetForegroundWindow() == dialog;
                },
                5000ms);
            if (dialog != nullptr && GetForegroundWindow() != dialog) {
                dialog = nullptr;
            }
        }
        return dialog;
    }

    // In the open dialog: the window whose line starts with `window_line`, then `next` (Return
    // or Tab) on to its buttons, its button `button`, Enter. The fields then hold the recording.
    std::vector<std::string> record_with_keys(const std::string& window_line,
                                              const std::string& next,
                                              const std::string& button) const {
        const HWND dialog = open_record_dialog();
        EXPECT_NE(dialog, nullptr) << "Options, \"Record from open windows...\" did not open";
        if (dialog == nullptr) {
            return {};
        }
        const HWND windows = GetDlgItem(dialog, kWindowsList);
        const HWND buttons = GetDlgItem(dialog, kButtonsList);
        EXPECT_TRUE(go_down_to(windows, window_line)) << "last: " << selected(windows);
        // As a user would: on once the chosen window's buttons show.
        EXPECT_TRUE(driver::wait_until([&] { return SendMessageW(buttons, LB_GETCOUNT, 0, 0) > 0; },
                                       10000ms))
            << "no buttons listed for " << selected(windows);
        driver::xdotool("key " + next);
        if (!driver::wait_until([&] { return focus_in(dialog) == buttons; })) {
            // The keys would go on to nowhere: the test ends now, and its Tapster with it.
            ADD_FAILURE() << next << " on a window did not go on to its buttons";
            return {};
        }
        EXPECT_TRUE(go_down_to(buttons, button)) << "last: " << selected(buttons);
        driver::xdotool("key Return");
        EXPECT_TRUE(driver::wait_until([&] { return IsWindow(dialog) == FALSE; }, 5000ms))
            << "the dialog stayed open";
        std::vector<std::string> texts;
        for (const auto& field : tapster_->capture_fields()) {
            texts.push_back(field.text);
        }
        return texts;
    }

    // "Add It" clicked; the new entry's text.
    std::string add_it() const {
        tapster_->click_control(*tapster_->find_control("Button", "Add It"));
        const HWND list = tapster_->find_control("SysListView32", "")->window;
        if (!driver::wait_until([&] { return SendMessageW(list, LVM_GETITEMCOUNT, 0, 0) == 1; })) {
            return {};
        }
        return driver::list_view_text(list, 0);
    }
    void enable_first_entry() const {
        const HWND list = tapster_->find_control("SysListView32", "")->window;
        Tapster::click_at(driver::list_view_row(list, 0, 120));
        driver::xdotool("key space");
    }

    std::unique_ptr<Tapster> tapster_;
};

TEST_F(RecordFromWindows, AMessageBoxIsRecordedWithTheKeyboardAloneAndPressedOnceEnabled) {
    MessageBoxProcess box(msgbox_exe(),
                          L"\"RF Box\" okcancel --text \"Save the  report?\" --timeout 90000");
    const HWND shown = box.wait_until_shown(L"RF Box");
    ASSERT_NE(shown, nullptr);
    move_below_tapster(shown);
    // Esc closes the dialog, and nothing is recorded.
    const HWND cancelled = open_record_dialog();
    ASSERT_NE(cancelled, nullptr);
    driver::xdotool("key Escape");
    EXPECT_TRUE(driver::wait_until([&] { return IsWindow(cancelled) == FALSE; }));
    EXPECT_EQ(tapster_->capture_fields().at(2).text, "");

    const auto fields =
        record_with_keys("RF Box - tapster_msgbox.exe - Save the report?", "Return", "Cancel");
    ASSERT_EQ(fields.size(), 5U);
    EXPECT_EQ(fields[0], "RF Box");
    EXPECT_EQ(fields[1], "#32770");
    EXPECT_EQ(fields[2], "Cancel");
    EXPECT_EQ(fields[4], std::to_string(IDCANCEL));

    const std::string entry = add_it();
    EXPECT_EQ(entry.rfind("RF Box **** #32770 **** Cancel **** ", 0), 0U) << entry;
    const std::string conditions =
        " **** False **** program=tapster_msgbox.exe **** message=Save the report?";
    EXPECT_EQ(entry.find(conditions), entry.size() - conditions.size()) << entry;

    enable_first_entry();
    const auto pressed = box.wait(30000ms);
    ASSERT_TRUE(pressed.has_value());
    EXPECT_EQ(pressed->button, IDCANCEL);
}

TEST_F(RecordFromWindows, ADrawnDialogsButtonIsRecordedTheSameWayAndPressedOnceEnabled) {
    MessageBoxProcess drawn(drawn_dialog_exe(),
                            L"\"RF Drawn\" Save \"Don't Save\" Cancel --text "
                            L"\"Keep the  changes?\" --timeout 90000");
    const HWND dialog = drawn.wait_until_shown(L"RF Drawn", 10000ms, L"TapsterDrawnDialog");
    ASSERT_NE(dialog, nullptr);
    move_below_tapster(dialog);

    // The dialog's line comes once it has answered what its buttons are.
    const auto fields = record_with_keys("RF Drawn - tapster_drawn_dialog.exe - Keep the changes?",
                                         "Tab", "Don't Save");
    EXPECT_EQ(fields, (std::vector<std::string>{"RF Drawn", "TapsterDrawnDialog", "Don't Save",
                                                "accessible", "accessible"}));

    EXPECT_EQ(add_it(),
              "RF Drawn **** TapsterDrawnDialog **** Don't Save **** accessible **** "
              "accessible **** False **** program=tapster_drawn_dialog.exe **** "
              "message=Keep the changes?");

    enable_first_entry();
    // The press closes the window at once; on a loaded machine the helper's process may take
    // long after that to end, so its window is waited for first.
    EXPECT_TRUE(driver::wait_until([&] { return IsWindow(dialog) == FALSE; }, 30000ms));
    const auto pressed = drawn.wait(60000ms);
    ASSERT_TRUE(pressed.has_value());
    EXPECT_EQ(pressed->button, 2) << "\"Don't Save\" is the second button";
}

}  // namespace
}  // namespace tapster::e2e
