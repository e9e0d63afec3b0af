// The settings file changing under the running tapster.exe: a backup put back while it runs.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <filesystem>
#include <string>
#include <vector>

#include "driver.h"
#include "e2e_environment.h"

namespace tapster::e2e {
namespace {

using driver::Tapster;
using namespace std::chrono_literals;

std::string target(const std::string& title) {
    return title + " **** #32770 **** OK **** 1 **** 1 **** False";
}

// A user who copies a backup of settings.json over the file while Tapster runs sees the
// restored targets, and a target added next joins them instead of writing the old list back.
TEST(SettingsFileWhileRunning, ARestoredBackupShowsAndATargetAddedNextJoinsIt) {
    const std::filesystem::path backup =
        std::filesystem::temp_directory_path() / L"tapster-settings-backup.json";
    driver::write_settings(R"({"Items": {"c-0": ")" + target("Alpha") + R"(", "u-1": ")" +
                           target("Beta") + R"(", "c-2": ")" + target("Gamma") + R"("}})");
    std::filesystem::copy_file(driver::settings_path(), backup,
                               std::filesystem::copy_options::overwrite_existing);
    driver::write_settings(R"({"Items": {"c-0": ")" + target("Alpha") + R"("}})");
    Tapster tapster(tapster_exe());
    ASSERT_TRUE(driver::wait_until([&] { return tapster.visible(); }));
    const HWND list = tapster.find_control("SysListView32", "")->window;
    const auto entries = [&] {
        return static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    };
    ASSERT_TRUE(driver::wait_until([&] { return entries() == 1; }));

    // Copied over the file as Explorer does, then a target added at once.
    ASSERT_NE(CopyFileW(backup.c_str(), driver::settings_path().c_str(), FALSE), FALSE);
    const auto fields = tapster.capture_fields();
    ASSERT_EQ(fields.size(), 5U);
    const wchar_t* const typed[] = {L"Delta", L"#32770", L"OK", L"1", L"1"};
    for (std::size_t index = 0; index < fields.size(); ++index) {
        SendMessageW(fields[index].window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(typed[index]));
    }
    tapster.click_control(*tapster.find_control("Button", "Add It"));

    const std::vector<std::string> expected{target("Alpha"), target("Beta"), target("Gamma"),
                                            target("Delta")};
    EXPECT_TRUE(driver::wait_until([&] {
        const std::string stored = driver::read_settings();
        for (const std::string& text : expected) {
            if (stored.find(text) == std::string::npos) {
                return false;
            }
        }
        return true;
    })) << driver::read_settings();
    ASSERT_TRUE(driver::wait_until([&] { return entries() == 4; })) << entries();
    for (int index = 0; index < 4; ++index) {
        EXPECT_EQ(driver::list_view_text(list, index), expected[static_cast<std::size_t>(index)]);
    }
    std::filesystem::remove(backup);
}

}  // namespace
}  // namespace tapster::e2e
