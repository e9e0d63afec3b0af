// The real tapster.exe against what goes wrong around it: long and changing titles, a
// damaged settings file, a button that lies about its text, and a settings file that another
// program holds open at start.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <filesystem>
#include <string>

#include "driver.h"
#include "e2e_environment.h"

namespace tapster::e2e {
namespace {

using driver::MessageBoxProcess;
using driver::Tapster;
using namespace std::chrono_literals;

constexpr const char* kRecordedNag =
    R"("c-0": "Old one **** #32770 **** OK **** 1 **** 1 **** False",)"
    R"("u-1": "Old two **** #32770 **** Cancel **** 2 **** 2 **** False")";

class Hardening : public ::testing::Test {
  protected:
    static std::unique_ptr<Tapster> start_with_items(const std::string& items_json) {
        auto tapster = driver::start_with_items(tapster_exe(), items_json);
        EXPECT_TRUE(tapster->visible());
        return tapster;
    }
    static std::unique_ptr<MessageBoxProcess> raise(const std::wstring& arguments) {
        return std::make_unique<MessageBoxProcess>(msgbox_exe(), arguments);
    }
    // Presses OK on each of Tapster's own message boxes until its window shows; how many.
    static int acknowledge_start_messages(const Tapster& tapster) {
        int acknowledged = 0;
        driver::wait_until(
            [&] {
                const HWND box = FindWindowW(L"#32770", L"Tapster 2.1");
                if (box != nullptr && IsWindowVisible(box)) {
                    SendMessageTimeoutW(box, WM_COMMAND, IDOK, 0, SMTO_ABORTIFHUNG, 2000, nullptr);
                    ++acknowledged;
                }
                return tapster.visible();
            },
            15000ms);
        return acknowledged;
    }
    static HWND list_of(const Tapster& tapster) {
        return tapster.find_control("SysListView32", "")->window;
    }
    static int entries(HWND list) {
        return static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    }
};

TEST_F(Hardening, ALongTitleIsRecordedWithAStarAddedEnabledAndPressed) {
    driver::write_settings("");
    Tapster tapster(tapster_exe());
    ASSERT_TRUE(driver::wait_until([&] { return tapster.visible(); }));
    const std::string title = "Long " + std::string(110, 'x') + " end";
    MessageBoxProcess box(msgbox_exe(), L"\"" + driver::widen(title) + L"\" ok --timeout 60000");
    const HWND window = box.wait_until_shown(driver::widen(title));
    ASSERT_NE(window, nullptr);

    ASSERT_TRUE(tapster.hold_check_mark_over(driver::center_on_screen(GetDlgItem(window, IDOK))));
    EXPECT_TRUE(driver::wait_until([&] { return tapster.capture_complete(); }, 3000ms));
    const std::string recorded = tapster.capture_fields()[0].text;
    driver::xdotool("mouseup 1");
    EXPECT_EQ(recorded, title.substr(0, 98) + "*");

    tapster.click_control(*tapster.find_control("Button", "Add It"));
    const HWND list = list_of(tapster);
    ASSERT_TRUE(driver::wait_until([&] { return entries(list) == 1; }));
    RECT rect{};
    GetWindowRect(list, &rect);
    Tapster::click_at(POINT{rect.left + 120, rect.top + 11});
    driver::xdotool("key space");

    const auto pressed = box.wait(8000ms);
    ASSERT_TRUE(pressed.has_value());
    EXPECT_EQ(pressed->button, IDOK);
}

TEST_F(Hardening, AStarInATitleStandsForAnyRunOfCharacters) {
    auto tapster =
        start_with_items(R"("c-0": "HO Job * done **** #32770 **** OK **** 1 **** 1 **** False")");

    auto numbered = raise(L"\"HO Job 17 done\" ok --timeout 6000");
    auto empty_run = raise(L"\"HO Job  done\" ok --timeout 6000");
    auto other = raise(L"\"HO Task 17 done\" ok --timeout 4000");

    const auto first = numbered->wait();
    const auto second = empty_run->wait();
    const auto third = other->wait();
    ASSERT_TRUE(first.has_value());
    ASSERT_TRUE(second.has_value());
    ASSERT_TRUE(third.has_value());
    EXPECT_EQ(first->button, IDOK);
    EXPECT_EQ(second->button, IDOK);
    EXPECT_EQ(third->button, 0) << "a title with another word is left alone";
}

TEST_F(Hardening, AButtonThatLiesAboutItsTextLengthLeavesTapsterRunning) {
    auto tapster =
        start_with_items(R"("c-0": "Liar **** #32770 **** OK **** 1 **** 1 **** False")");

    auto liar = raise(L"Liar ok --lying-button 1 --timeout 5000");
    const auto result = liar->wait();

    ASSERT_TRUE(result.has_value());
    EXPECT_TRUE(result->button == IDOK || result->button == 0) << result->button;
    EXPECT_TRUE(tapster->running());
    EXPECT_TRUE(tapster->answers(2000ms)) << "the window stopped answering";
    // It still presses an honest box.
    auto honest = raise(L"Liar ok --timeout 5000");
    const auto honest_result = honest->wait();
    ASSERT_TRUE(honest_result.has_value());
    EXPECT_EQ(honest_result->button, IDOK);
}

TEST_F(Hardening, ADeeplyNestedSettingsFileIsSetAsideAndTapsterRunsOn) {
    const std::filesystem::path folder = driver::settings_path().parent_path();
    std::error_code ignored;
    for (const auto& entry : std::filesystem::directory_iterator(folder, ignored)) {
        if (entry.path().filename().wstring().starts_with(L"settings.json.bad-")) {
            std::filesystem::remove(entry.path(), ignored);
        }
    }
    constexpr std::size_t kDepth = 60000;
    driver::write_settings(R"({"Notes": )" + std::string(kDepth, '[') + std::string(kDepth, ']') +
                           "}");

    Tapster tapster(tapster_exe());
    EXPECT_GE(acknowledge_start_messages(tapster), 1) << "the user was not told";

    EXPECT_TRUE(tapster.visible());
    EXPECT_TRUE(tapster.running());
    int set_aside = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder, ignored)) {
        set_aside += entry.path().filename().wstring().starts_with(L"settings.json.bad-") ? 1 : 0;
    }
    EXPECT_EQ(set_aside, 1);
}

TEST_F(Hardening, AFailedReadAtStartThenAddItKeepsTheStoredTargets) {
    driver::write_settings(std::string(R"({"Items": {)") + kRecordedNag + "}}");
    // Another program holds the file open and lets nobody read it while Tapster starts.
    HANDLE held = CreateFileW(driver::settings_path().c_str(), GENERIC_READ | GENERIC_WRITE, 0,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    Tapster tapster(tapster_exe());
    const int told = acknowledge_start_messages(tapster);
    CloseHandle(held);
    EXPECT_GE(told, 1) << "the user was not told";
    ASSERT_TRUE(tapster.visible());

    const auto fields = tapster.capture_fields();
    ASSERT_EQ(fields.size(), 5U);
    const wchar_t* const typed[] = {L"New one", L"#32770", L"OK", L"1", L"1"};
    for (std::size_t index = 0; index < fields.size(); ++index) {
        SendMessageW(fields[index].window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(typed[index]));
    }
    tapster.click_control(*tapster.find_control("Button", "Add It"));

    ASSERT_TRUE(driver::wait_until([] {
        return driver::read_settings().find("New one **** #32770 **** OK **** 1 **** 1") !=
               std::string::npos;
    }));
    const std::string stored = driver::read_settings();
    EXPECT_NE(stored.find("Old one **** #32770 **** OK **** 1 **** 1 **** False"),
              std::string::npos)
        << stored;
    EXPECT_NE(stored.find("Old two **** #32770 **** Cancel **** 2 **** 2 **** False"),
              std::string::npos)
        << stored;
}

}  // namespace
}  // namespace tapster::e2e
