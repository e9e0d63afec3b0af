// The history of presses on the real program under Wine: the file any tool can read, the
// History window, "Clear history", the option and the policy that keep none, and a file that
// cannot be written.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "driver.h"
#include "e2e_environment.h"

namespace tapster::e2e {
namespace {

using driver::MessageBoxProcess;
using driver::Tapster;
using namespace std::chrono_literals;

constexpr int kFileMenu = 0;
constexpr int kHistoryEntry = 0;
constexpr int kKeepHistoryEntry = 5;  // after "Press at once"
constexpr int kHistoryList = 101;     // the History window's list and its button
constexpr int kClearButton = 102;

std::string target(const std::string& title) {
    return title + " **** #32770 **** OK **** 1 **** 1 **** False";
}
// The Items section's members for these titles, each checked.
std::string items(const std::vector<std::string>& titles) {
    std::string json;
    for (std::size_t index = 0; index < titles.size(); ++index) {
        json += (index > 0 ? "," : "") + std::string("\"c-") + std::to_string(index) + "\": \"" +
                target(titles[index]) + "\"";
    }
    return json;
}

std::vector<nlohmann::json> records() {
    std::ifstream file(driver::history_path(), std::ios::binary);
    std::vector<nlohmann::json> read;
    for (std::string line; std::getline(file, line);) {
        read.push_back(nlohmann::json::parse(line, nullptr, false));
    }
    return read;
}

int reg(const std::string& arguments) {
    return driver::run_host_command("wine reg " + arguments + " >/dev/null 2>&1");
}
void announce_policy_change() {
    SendMessageTimeoutW(HWND_BROADCAST, WM_SETTINGCHANGE, 0, reinterpret_cast<LPARAM>(L"Policy"),
                        SMTO_ABORTIFHUNG, 5000, nullptr);
}

class History : public ::testing::Test {
  protected:
    void SetUp() override { remove_history(); }
    void TearDown() override {
        reg("delete 'HKCU\\Software\\Policies\\Tapster' /v History /f");
        remove_history();
    }
    static void remove_history() {
        std::error_code ignored;
        std::filesystem::remove_all(driver::history_path(), ignored);
        std::filesystem::remove(driver::history_path().replace_extension(".old.jsonl"), ignored);
    }
    // Raises a box of this title (one word: the helper takes its arguments apart at spaces)
    // and waits until Tapster has pressed it.
    static void pressed(const std::string& title) {
        MessageBoxProcess box(msgbox_exe(), driver::widen(title) + L" ok");
        const auto result = box.wait();
        ASSERT_TRUE(result.has_value()) << title;
        ASSERT_EQ(result->button, IDOK) << title;
    }
    // The History window of this copy, once it shows.
    static HWND history_window(const Tapster& tapster) {
        HWND found = nullptr;
        driver::wait_until([&] {
            found = FindWindowW(L"#32770", L"History");
            DWORD owner = 0;
            GetWindowThreadProcessId(found, &owner);
            return found != nullptr && owner == tapster.process_id() && IsWindowVisible(found);
        });
        return found;
    }
    static int rows(HWND list) {
        return static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    }
};

TEST_F(History, FiveBoxesPressedAreFiveRecordsInTheFileAndTheWindowNewestFirst) {
    const std::vector<std::string> titles = {"Nag1", "Nag2", "Nag3", "Nag4", "Nag5"};
    auto tapster = driver::start_with_items(tapster_exe(), items(titles));
    for (const std::string& title : titles) {
        pressed(title);
    }
    ASSERT_TRUE(driver::wait_until([] { return records().size() == 5; }, 10000ms))
        << records().size() << " records";
    const std::string program = std::filesystem::path(msgbox_exe()).filename().string();
    const auto read = records();
    for (std::size_t index = 0; index < read.size(); ++index) {
        const nlohmann::json& record = read[index];
        ASSERT_TRUE(record.is_object()) << index;
        EXPECT_EQ(record["title"], titles[index]);
        EXPECT_EQ(record["button"], "OK");
        EXPECT_EQ(record["program"], program);
        EXPECT_EQ(record["kind"], "classic");
        EXPECT_EQ(record["forced"], false);
        EXPECT_EQ(record["outcome"], "pressed");
        EXPECT_EQ(record["set_by"], "user");
        EXPECT_EQ(record["count"], 1);
        // yyyy-mm-ddThh:mm:ss and the offset, +hh:mm
        EXPECT_EQ(record["time"].get<std::string>().size(), 25U) << record["time"];
    }

    tapster->choose_menu_entry(kFileMenu, kHistoryEntry);
    const HWND window = history_window(*tapster);
    ASSERT_NE(window, nullptr) << "no History window";
    const HWND list = GetDlgItem(window, kHistoryList);
    ASSERT_TRUE(driver::wait_until([&] { return rows(list) == 5; })) << rows(list) << " rows";
    for (int row = 0; row < 5; ++row) {
        EXPECT_EQ(driver::list_view_text(list, row, 2), titles[4 - row]);
        EXPECT_EQ(driver::list_view_text(list, row, 1), program);
        EXPECT_EQ(driver::list_view_text(list, row, 3), "OK");
        EXPECT_EQ(driver::list_view_text(list, row, 4), "Pressed");
    }

    // A real click on "Clear history" empties both.
    Tapster::click_at(driver::center_on_screen(GetDlgItem(window, kClearButton)));
    ASSERT_TRUE(driver::wait_until([&] { return rows(list) == 0; })) << rows(list) << " rows";
    EXPECT_TRUE(records().empty());
    EXPECT_FALSE(std::filesystem::exists(driver::history_path()));
}

TEST_F(History, ABoxRaisedAgainAndAgainForAMinuteIsAFewRecordsThatCountEveryPress) {
    auto tapster = driver::start_with_items(tapster_exe(), items({"Again"}));
    MessageBoxProcess again(msgbox_exe(), L"Again ok --repeat 61000");
    const auto counted = again.wait(90000ms);
    ASSERT_TRUE(counted.has_value());
    ASSERT_GT(counted->button, 30) << "presses in a minute";

    const auto counts = [] {
        int sum = 0;
        for (const nlohmann::json& record : records()) {
            sum += record.value("count", 0);
        }
        return sum;
    };
    ASSERT_TRUE(driver::wait_until([&] { return counts() == counted->button; }, 10000ms))
        << counts() << " presses recorded of " << counted->button;
    // One record a minute of presses, and the start of the next.
    EXPECT_LE(records().size(), 3U);
}

TEST_F(History, OffInTheOptionsMenuOrByPolicyNothingIsKept) {
    driver::write_settings(R"({"Runit": {"KeepHistory": "False"}, "Items": {)" +
                           items({"Unkept", "Kept", "ByPolicy", "AfterPolicy"}) + "}}");
    auto tapster = std::make_unique<Tapster>(tapster_exe());
    ASSERT_TRUE(driver::wait_until([&] { return tapster->visible(); }));
    pressed("Unkept");
    // On again: what it writes now comes after whatever it would have written before.
    tapster->choose_menu_entry(kOptionsMenu, kKeepHistoryEntry);
    ASSERT_TRUE(tapster->answers(5000ms));
    pressed("Kept");
    ASSERT_TRUE(driver::wait_until([] { return !records().empty(); }, 10000ms));
    ASSERT_EQ(records().size(), 1U);
    EXPECT_EQ(records()[0]["title"], "Kept");

    ASSERT_EQ(reg("add 'HKCU\\Software\\Policies\\Tapster' /v History /t REG_DWORD /d 0 /f"), 0);
    announce_policy_change();
    pressed("ByPolicy");
    ASSERT_EQ(reg("add 'HKCU\\Software\\Policies\\Tapster' /v History /t REG_DWORD /d 1 /f"), 0);
    announce_policy_change();
    pressed("AfterPolicy");
    ASSERT_TRUE(driver::wait_until([] { return records().size() >= 2; }, 10000ms));
    const auto read = records();
    ASSERT_EQ(read.size(), 2U);
    EXPECT_EQ(read[1]["title"], "AfterPolicy");
}

TEST_F(History, AHistoryFileThatCannotBeWrittenStopsNoPress) {
    // A folder where the file would be: no write can succeed.
    std::filesystem::create_directories(driver::history_path());
    auto tapster = driver::start_with_items(tapster_exe(), items({"First", "Second", "Third"}));
    pressed("First");
    pressed("Second");
    pressed("Third");
    EXPECT_TRUE(tapster->answers(5000ms));
    EXPECT_TRUE(std::filesystem::is_directory(driver::history_path()));
}

}  // namespace
}  // namespace tapster::e2e
