// The settings file on Windows, on real files under Wine: what the user's data looks like
// after replacements, failures, damage and two copies writing at once.
#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "app/settings_store.h"
#include "platform/win32/wide_string.h"
#include "platform/win32/win32_settings_file.h"

namespace tapster::platform {
namespace {

namespace fs = std::filesystem;

std::string contents_of(const fs::path& file) {
    std::ifstream stream(file, std::ios::binary);
    std::ostringstream text;
    text << stream.rdbuf();
    return text.str();
}

class Win32SettingsFileTest : public ::testing::Test {
  protected:
    void SetUp() override {
        wchar_t temp[MAX_PATH] = {};
        GetTempPathW(MAX_PATH, temp);
        // A folder name outside the ANSI code page, as a user's profile may have.
        folder = fs::path(temp) / (L"tapster-test-" + std::to_wstring(GetCurrentProcessId())) /
                 L"Überprüfung 確認";
        path = folder / L"settings.json";
        fs::remove_all(folder.parent_path());
    }
    void TearDown() override { fs::remove_all(folder.parent_path()); }

    static SettingsStore::TellUser ignore() {
        return [](const std::string&) {};
    }

    fs::path folder;
    fs::path path;
};

TEST_F(Win32SettingsFileTest, ReplaceCreatesTheFolderAndReadsBackByteForByte) {
    Win32SettingsFile file(path);
    EXPECT_EQ(file.read().state, SettingsFile::ReadState::missing);

    const std::string bytes = "{\"Items\": {\"c-0\": \"Überprüfung — 確認 **** #32770\"}}";
    ASSERT_TRUE(file.replace(bytes));

    const SettingsFile::Contents contents = file.read();
    EXPECT_EQ(contents.state, SettingsFile::ReadState::present);
    EXPECT_EQ(contents.bytes, bytes);
    for (const auto& entry : fs::directory_iterator(folder)) {
        EXPECT_EQ(entry.path().filename(), L"settings.json") << "left behind";
    }
}

TEST_F(Win32SettingsFileTest, AReplacementThatCannotBeWrittenLeavesTheOldFileWhole) {
    Win32SettingsFile file(path);
    ASSERT_TRUE(file.replace("old"));
    // Another program holds the file open without sharing: the rename cannot happen.
    HANDLE holder = CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);

    const Status status = file.replace("new");
    CloseHandle(holder);

    EXPECT_TRUE(status.failed());
    EXPECT_FALSE(status.message().empty());
    EXPECT_EQ(contents_of(path), "old");
}

TEST_F(Win32SettingsFileTest, ADamagedFileIsKeptAsideUnderANameOfItsOwn) {
    Win32SettingsFile file(path);
    std::vector<std::string> told;
    SettingsStore store(file, [&](const std::string& message) { told.push_back(message); });
    fs::create_directories(folder);
    std::ofstream(path, std::ios::binary) << "{ this is not json";

    EXPECT_EQ(store.read("Runit", "RunMinimized", "False"), "False");
    ASSERT_TRUE(store.write("Runit", "RunMinimized", "True"));

    ASSERT_EQ(told.size(), 1U);
    int kept = 0;
    for (const auto& entry : fs::directory_iterator(folder)) {
        if (entry.path().filename().wstring().rfind(L"settings.json.bad-", 0) == 0) {
            EXPECT_EQ(contents_of(entry.path()), "{ this is not json");
            ++kept;
        }
    }
    EXPECT_EQ(kept, 1);
    EXPECT_EQ(store.read("Runit", "RunMinimized", "False"), "True");
}

TEST_F(Win32SettingsFileTest, TwoCopiesWritingAtOnceLoseNothing) {
    constexpr int kWrites = 20;
    auto write_many = [this](const std::string& prefix) {
        Win32SettingsFile file(path);
        SettingsStore store(file, ignore());
        for (int index = 0; index < kWrites; ++index) {
            ASSERT_TRUE(store.write("Items", prefix + std::to_string(index), "x"));
        }
    };
    std::thread first(write_many, "c-");
    std::thread second(write_many, "u-");
    first.join();
    second.join();

    Win32SettingsFile file(path);
    SettingsStore store(file, ignore());
    const auto items = store.read_section("Items");
    ASSERT_TRUE(items.has_value());
    EXPECT_EQ(items->size(), 2U * kWrites);
}

TEST(WideString, RoundTripsTextOutsideAnyCodePage) {
    const std::string text = "Überprüfung — 確認 😀";
    EXPECT_EQ(win32::to_utf8(win32::to_wide(text)), text);
    EXPECT_EQ(win32::to_wide("OK"), L"OK");
    EXPECT_EQ(win32::to_utf8(L""), "");
}

}  // namespace
}  // namespace tapster::platform
