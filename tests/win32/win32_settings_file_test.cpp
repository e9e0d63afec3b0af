// The settings file on Windows, on real files under Wine: the shared conformance suite, and
// what only Windows does (files held open without sharing, UTF-16 names).
#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <memory>
#include <string>

#include "settings/settings_file_conformance.h"
#include "win32/wide_string.h"
#include "win32/win32_settings_file.h"

namespace fs = std::filesystem;

// The settings file under test, named as CTest shows the conformance tests; outside any
// namespace so that the name stays short.
struct Win32SettingsFiles {
    static std::unique_ptr<tapster::platform::SettingsFile> make(
        const fs::path& path, std::chrono::milliseconds lock_wait) {
        return std::make_unique<tapster::platform::Win32SettingsFile>(path, lock_wait);
    }
    static fs::path make_test_folder() {
        static int made = 0;
        wchar_t temp[MAX_PATH] = {};
        GetTempPathW(MAX_PATH, temp);
        const fs::path folder =
            fs::path(temp) / (L"tapster-test-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                              std::to_wstring(++made));
        fs::remove_all(folder);
        fs::create_directories(folder);
        return folder;
    }
    static unsigned long own_process_id() { return GetCurrentProcessId(); }
    // Far above any process id Windows (or Wine) hands out.
    static unsigned long ended_process_id() { return 0xFFFFFFF0UL; }
    static bool make_read_only(const fs::path& path) {
        return SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY) != FALSE;
    }
    static void make_writable(const fs::path& path) {
        SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    }
};

namespace tapster::platform {
namespace {

using conformance::contents_of;

using namespace conformance;  // the suite's macros need its plain name
INSTANTIATE_TYPED_TEST_SUITE_P(Win32, SettingsFileConformance, ::Win32SettingsFiles);

class Win32SettingsFileTest : public ::testing::Test {
  protected:
    void SetUp() override {
        root = ::Win32SettingsFiles::make_test_folder();
        path = root / L"settings.json";
    }
    void TearDown() override { fs::remove_all(root); }

    fs::path root;
    fs::path path;
};

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

TEST(WideString, RoundTripsTextOutsideAnyCodePage) {
    const std::string text = "Überprüfung — 確認 😀";
    EXPECT_EQ(win32::to_utf8(win32::to_wide(text)), text);
    EXPECT_EQ(win32::to_wide("OK"), L"OK");
    EXPECT_EQ(win32::to_utf8(L""), "");
}

}  // namespace
}  // namespace tapster::platform
