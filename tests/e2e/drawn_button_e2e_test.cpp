// Buttons that programs draw themselves, reached through accessibility: the drawn dialog of
// tools/drawn_dialog recorded by a real drag and pressed, nested, disabled and hung, beside
// classic message boxes.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <iostream>
#include <string>
#include <thread>

#include "drawn_layout.h"
#include "driver.h"
#include "e2e_environment.h"

namespace tapster::e2e {
namespace {

using driver::MessageBoxProcess;
using driver::Tapster;
using namespace std::chrono_literals;

constexpr wchar_t kDrawnClass[] = L"TapsterDrawnDialog";

class DrawnButtons : public ::testing::Test {
  protected:
    void TearDown() override { driver::xdotool("mouseup 1"); }

    static std::unique_ptr<MessageBoxProcess> raise(const std::wstring& arguments) {
        return std::make_unique<MessageBoxProcess>(drawn_dialog_exe(), arguments);
    }
    // A stored target for the button of that name in the drawn dialog of that title.
    static std::string drawn_target(const std::string& key, const std::string& title,
                                    const std::string& button) {
        return "\"" + key + "\": \"" + title + " **** TapsterDrawnDialog **** " + button +
               " **** accessible **** accessible **** False\"";
    }
    static std::unique_ptr<Tapster> start_with_items(const std::string& items_json) {
        auto tapster = driver::start_with_items(tapster_exe(), items_json);
        EXPECT_TRUE(tapster->visible());
        return tapster;
    }
    static long long microseconds_since(std::chrono::steady_clock::time_point start) {
        return std::chrono::duration_cast<std::chrono::microseconds>(
                   std::chrono::steady_clock::now() - start)
            .count();
    }
    static long long median(std::vector<long long> values) {
        std::sort(values.begin(), values.end());
        return values[values.size() / 2];
    }
    static long long slowest(const std::vector<long long>& values) {
        return *std::max_element(values.begin(), values.end());
    }
    // The middle of a drawn button on the screen.
    static POINT button_center(HWND dialog, int index, int count) {
        const RECT rect = drawn::button_rect(index, count);
        POINT center{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
        ClientToScreen(dialog, &center);
        return center;
    }
};

TEST_F(DrawnButtons, ARealDragRecordsADrawnButtonThatIsPressedWhenItsDialogAppearsAgain) {
    driver::write_settings("");
    Tapster tapster(tapster_exe());
    ASSERT_TRUE(driver::wait_until([&] { return tapster.visible(); }));
    const std::wstring arguments = L"\"Save changes?\" Save \"Don't Save\" Cancel";
    const std::wstring says = L" --text \"Save the changes to  the report?\"";
    {
        auto shown = raise(arguments + says + L" --timeout 60000");
        const HWND dialog = shown->wait_until_shown(L"Save changes?", 10000ms, kDrawnClass);
        ASSERT_NE(dialog, nullptr);
        RECT area{};
        GetWindowRect(dialog, &area);
        EXPECT_TRUE(driver::save_screenshot(artifacts_dir() + "/drawn-dialog.png", &area));

        const POINT check_mark =
            driver::center_on_screen(tapster.find_control("TapsterPicture", "")->window);
        const POINT dont_save = button_center(dialog, 1, 3);
        driver::xdotool("mousemove " + driver::xdotool_point(check_mark) + " mousedown 1");
        ASSERT_TRUE(driver::wait_until([&] { return tapster.capture_armed(); }, 2000ms));
        driver::xdotool("mousemove " + driver::xdotool_point(POINT{dont_save.x - 5, dont_save.y}) +
                        " sleep 0.1 mousemove " + driver::xdotool_point(dont_save));
        EXPECT_TRUE(driver::wait_until([&] { return tapster.capture_complete(); }, 2500ms))
            << "the capture did not complete while the button was held";
        EXPECT_TRUE(driver::save_screenshot(artifacts_dir() + "/drawn-capture.png"));
        std::vector<std::string> texts;
        for (const auto& field : tapster.capture_fields()) {
            texts.push_back(field.text);
        }
        driver::xdotool("mouseup 1");
        EXPECT_EQ(texts, (std::vector<std::string>{"Save changes?", "TapsterDrawnDialog",
                                                   "Don't Save", "accessible", "accessible"}));

        tapster.click_control(*tapster.find_control("Button", "Add It"));
        const HWND list = tapster.find_control("SysListView32", "")->window;
        ASSERT_TRUE(
            driver::wait_until([&] { return SendMessageW(list, LVM_GETITEMCOUNT, 0, 0) == 1; }));
        EXPECT_EQ(driver::list_view_text(list, 0),
                  "Save changes? **** TapsterDrawnDialog **** Don't Save **** accessible **** "
                  "accessible **** False **** program=tapster_drawn_dialog.exe **** "
                  "message=Save the changes to the report?");
        // The entry is not enabled yet: the dialog stays open until it is closed here.
    }

    // Enable the entry with its check box, then show the dialog again.
    const HWND list = tapster.find_control("SysListView32", "")->window;
    RECT entry{};
    GetWindowRect(list, &entry);
    Tapster::click_at(POINT{entry.left + 120, entry.top + 11});
    driver::xdotool("key space");
    ASSERT_TRUE(driver::wait_until([] {
        return driver::read_settings().find("\"c-0\": \"Save changes?") != std::string::npos;
    }));
    // The same dialog saying something else is left alone; saying it again, it is pressed.
    auto other = raise(arguments + L" --text \"Discard the report?\" --timeout 2500");
    auto again = raise(arguments + says);
    const auto result = again->wait();
    ASSERT_TRUE(result.has_value());
    EXPECT_EQ(result->button, 2) << "\"Don't Save\" is the second button";
    const auto left = other->wait();
    ASSERT_TRUE(left.has_value());
    EXPECT_EQ(left->button, 0) << "a dialog that says something else was pressed";
}

TEST_F(DrawnButtons, ADrawnButtonIsPressedWithinOneIntervalAndAHalfBesideAClassicTarget) {
    auto tapster = start_with_items(drawn_target("c-0", "Drawn one", "Save") + "," +
                                    R"("c-1": "Nag **** #32770 **** OK **** 1 **** 1 **** False")");

    auto drawn = raise(L"\"Drawn one\" Save Cancel");
    auto nag = std::make_unique<MessageBoxProcess>(msgbox_exe(), L"Nag ok");
    const auto drawn_result = drawn->wait();
    const auto nag_result = nag->wait();

    ASSERT_TRUE(drawn_result.has_value());
    EXPECT_EQ(drawn_result->button, 1);
    EXPECT_LT(drawn_result->open_ms, 1500);
    std::cout << "drawn button pressed " << drawn_result->open_ms << " ms after it was shown\n";
    ASSERT_TRUE(nag_result.has_value());
    EXPECT_EQ(nag_result->button, IDOK);
}

TEST_F(DrawnButtons, ANestedButtonIsPressedAndADisabledOneIsNot) {
    auto tapster = start_with_items(drawn_target("c-0", "Nested", "Cancel") + "," +
                                    drawn_target("c-1", "Disabled", "Save"));

    auto nested = raise(L"Nested Save Cancel --nested");
    auto disabled = raise(L"Disabled Save Cancel --disabled 1 --timeout 3500");
    const auto nested_result = nested->wait();
    const auto disabled_result = disabled->wait();

    ASSERT_TRUE(nested_result.has_value());
    EXPECT_EQ(nested_result->button, 2);
    ASSERT_TRUE(disabled_result.has_value());
    EXPECT_EQ(disabled_result->button, 0) << "a disabled button was pressed";
}

TEST_F(DrawnButtons, TapsterAnswersAtOnceWhileDrawnDialogsHangAndPressesThemOnceTheyAnswer) {
    auto tapster = start_with_items(drawn_target("c-0", "Stuck in a call", "Save") + "," +
                                    drawn_target("c-1", "Asleep", "Save") + "," +
                                    R"("c-2": "Nag **** #32770 **** OK **** 1 **** 1 **** False")");

    // One stops inside Tapster's first call into its tree, the other right after it appears.
    auto stuck = raise(L"\"Stuck in a call\" Save --hang-in-call 5000 --timeout 20000");
    auto asleep = raise(L"Asleep Save --hang 5000 --timeout 20000");
    ASSERT_NE(stuck->wait_until_shown(L"Stuck in a call", 10000ms, kDrawnClass), nullptr);
    ASSERT_NE(asleep->wait_until_shown(L"Asleep", 10000ms, kDrawnClass), nullptr);
    auto nag = std::make_unique<MessageBoxProcess>(msgbox_exe(), L"Nag ok");

    // Sent messages are answered even by a thread that waits inside a call into another
    // program; a posted click is handled only by one that runs its message loop.
    const HWND force_box = tapster->find_control("Button", "Force It?")->window;
    const auto until = std::chrono::steady_clock::now() + 5s;
    std::vector<long long> answers_us;
    std::vector<long long> clicks_us;
    while (std::chrono::steady_clock::now() < until) {
        auto asked = std::chrono::steady_clock::now();
        DWORD_PTR ignored = 0;
        ASSERT_NE(
            SendMessageTimeoutW(tapster->window(), WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 100, &ignored),
            0)
            << "Tapster did not answer within 100 ms";
        answers_us.push_back(microseconds_since(asked));

        const LRESULT before = SendMessageW(force_box, BM_GETCHECK, 0, 0);
        asked = std::chrono::steady_clock::now();
        PostMessageW(force_box, BM_CLICK, 0, 0);
        ASSERT_TRUE(driver::wait_until(
            [&] { return SendMessageW(force_box, BM_GETCHECK, 0, 0) != before; }, 500ms))
            << "a click was not handled within half a second";
        clicks_us.push_back(microseconds_since(asked));
        std::this_thread::sleep_for(20ms);
    }
    std::cout << "while the dialogs hung, of " << answers_us.size()
              << " tries: WM_NULL answered, median " << median(answers_us) << " us, slowest "
              << slowest(answers_us) << " us; a posted click handled, median " << median(clicks_us)
              << " us, slowest " << slowest(clicks_us) << " us\n";

    const auto nag_result = nag->wait();
    ASSERT_TRUE(nag_result.has_value());
    EXPECT_EQ(nag_result->button, IDOK);
    for (auto* dialog : {stuck.get(), asleep.get()}) {
        const auto result = dialog->wait(20000ms);
        ASSERT_TRUE(result.has_value());
        EXPECT_EQ(result->button, 1) << "pressed once it answered again";
        std::cout << "a hung dialog pressed after " << result->open_ms << " ms\n";
    }
}

TEST_F(DrawnButtons, ExitEndsTapsterAtOnceWhileACallIntoAHungDialogIsStuck) {
    auto tapster = start_with_items(drawn_target("c-0", "Stuck in a call", "Save"));
    auto stuck = raise(L"\"Stuck in a call\" Save --hang-in-call 20000 --timeout 30000");
    ASSERT_NE(stuck->wait_until_shown(L"Stuck in a call", 10000ms, kDrawnClass), nullptr);
    std::this_thread::sleep_for(3s);  // a tick has asked, and given up waiting

    tapster->click_control(*tapster->find_control("Button", "E&xit"));

    EXPECT_TRUE(tapster->wait_for_exit(3000ms)) << "Exit waited for the stuck call";
}

}  // namespace
}  // namespace tapster::e2e
