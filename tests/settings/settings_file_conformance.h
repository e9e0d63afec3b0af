// What every settings file must do on real files, whatever the system: one suite, run
// natively against the POSIX file and under Wine against the Win32 one. Each system supplies
// a traits class, named for CTest to show it (gtest prints the type's name; the instance
// prefix names the system):
//
//   static std::unique_ptr<SettingsFile> make(path, lock_wait);
//   static std::filesystem::path make_test_folder();    // new, empty
//   static unsigned long own_process_id();
//   static unsigned long ended_process_id();            // a process that has exited
//   static bool make_read_only(path);                   // false: this user cannot be stopped
//   static void make_writable(path);
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <regex>
#include <string>
#include <thread>
#include <vector>

#include <nlohmann/json.hpp>

#include "settings/settings_file.h"
#include "settings/settings_file_common.h"
#include "settings/settings_store.h"

namespace tapster::platform::conformance {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

inline std::string contents_of(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void put(const fs::path& path, const std::string& bytes) {
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
}

inline std::vector<fs::path> names_in(const fs::path& folder) {
    std::vector<fs::path> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
        names.push_back(entry.path().filename());
    }
    std::sort(names.begin(), names.end());
    return names;
}

// Valid JSON, nested far deeper than any stack allows a recursive reader to follow.
inline std::string deeply_nested_notes() {
    constexpr std::size_t kDepth = 60000;
    return "{\"Notes\":" + std::string(kDepth, '[') + std::string(kDepth, ']') + "}";
}

template <typename Traits>
class SettingsFileConformance : public ::testing::Test {
  protected:
    void SetUp() override {
        root = Traits::make_test_folder();
        // A folder name outside the ANSI code page, as a user's profile may have.
        folder = root / fs::path(u8"Überprüfung 確認");
        path = folder / "settings.json";
    }
    void TearDown() override {
        Traits::make_writable(lock_path());
        std::error_code ignored;
        fs::remove_all(root, ignored);
    }

    std::unique_ptr<SettingsFile> make(std::chrono::milliseconds lock_wait = kSettingsLockWait) {
        return Traits::make(path, lock_wait);
    }
    fs::path lock_path() const { return with_suffix(path, ".lock"); }
    static SettingsStore::TellUser ignore() {
        return [](const std::string&) {};
    }

    fs::path root;
    fs::path folder;
    fs::path path;
};

TYPED_TEST_SUITE_P(SettingsFileConformance);

TYPED_TEST_P(SettingsFileConformance, ReplaceCreatesTheFolderAndReadsBackByteForByte) {
    const auto file = this->make();
    EXPECT_EQ(file->read().state, SettingsFile::ReadState::missing);

    const std::string bytes = std::string("{\"k\": \"\xC3\x9C \xE7\xA2\xBA\"}\n") + '\0' + "tail";
    ASSERT_TRUE(file->replace(bytes));
    ASSERT_TRUE(file->replace(bytes + "more"));

    const auto contents = file->read();
    EXPECT_EQ(contents.state, SettingsFile::ReadState::present);
    EXPECT_EQ(contents.bytes, bytes + "more");
    EXPECT_EQ(names_in(this->folder), std::vector<fs::path>{"settings.json"});
}

TYPED_TEST_P(SettingsFileConformance, SetAsideKeepsEachDamagedFileUnderItsOwnName) {
    const auto file = this->make();
    put(this->path, "first");
    std::string first;
    ASSERT_TRUE(file->set_aside(first));
    put(this->path, "second");
    std::string second;
    ASSERT_TRUE(file->set_aside(second));

    const std::regex kept_name(R"(settings\.json\.bad-\d{8}-\d{6}(-\d+)?)");
    for (const std::string& kept : {first, second}) {
        const fs::path kept_path(reinterpret_cast<const char8_t*>(kept.c_str()));
        EXPECT_TRUE(std::regex_match(kept_path.filename().string(), kept_name)) << kept;
        EXPECT_EQ(kept_path.parent_path(), this->folder);
    }
    EXPECT_NE(first, second);
    EXPECT_EQ(contents_of(fs::path(reinterpret_cast<const char8_t*>(first.c_str()))), "first");
    EXPECT_EQ(contents_of(fs::path(reinterpret_cast<const char8_t*>(second.c_str()))), "second");
    EXPECT_FALSE(fs::exists(this->path));

    std::string third;
    EXPECT_TRUE(file->set_aside(third).failed());
}

TYPED_TEST_P(SettingsFileConformance, TheLockKeepsOtherCopiesWaitingUntilReleased) {
    const auto mine = this->make();
    const auto theirs = this->make(10s);
    std::unique_ptr<SettingsFile::Lock> held;
    ASSERT_TRUE(mine->lock(held));
    ASSERT_NE(held, nullptr);

    std::atomic<bool> taken{false};
    std::thread other([&] {
        std::unique_ptr<SettingsFile::Lock> lock;
        taken = !theirs->lock(lock).failed() && lock != nullptr;
    });
    std::this_thread::sleep_for(100ms);
    EXPECT_FALSE(taken);
    held.reset();
    other.join();
    EXPECT_TRUE(taken);
}

// A copy that never lets go (stopped in a debugger, stuck behind a dialog) must cost the
// others a failed operation, not a hang; and no lock at all is a failure, not a licence to
// go on unlocked.
TYPED_TEST_P(SettingsFileConformance, WithoutTheLockEveryOperationFailsAndTheFileIsUntouched) {
    put(this->path, "{\"setit\": {\"textinterval\": \"1000\"}}");
    const auto mine = this->make();
    std::unique_ptr<SettingsFile::Lock> held;
    ASSERT_TRUE(mine->lock(held));

    put(this->root / "blocker", "a file where a folder should be");
    const auto no_folder = TypeParam::make(this->root / "blocker" / "sub" / "settings.json", 0ms);
    const auto waiting = this->make(200ms);
    for (SettingsFile* file : {waiting.get(), no_folder.get()}) {
        SCOPED_TRACE(file->location());
        std::unique_ptr<SettingsFile::Lock> lock;
        EXPECT_TRUE(file->lock(lock).failed());
        EXPECT_EQ(lock, nullptr);

        SettingsStore store(*file, this->ignore());
        SettingsStore::Entries entries;
        EXPECT_TRUE(store.try_read_section("setit", entries).failed());
        EXPECT_EQ(store.read("setit", "textinterval", "default"), "default");
        const Status written = store.write("setit", "textinterval", "2000");
        EXPECT_TRUE(written.failed());
        EXPECT_NE(written.message().find(file->location()), std::string::npos) << written.message();
    }
    EXPECT_EQ(contents_of(this->path), "{\"setit\": {\"textinterval\": \"1000\"}}");
}

TYPED_TEST_P(SettingsFileConformance, AReadOnlyLockFileStillKeepsCopiesApart) {
    {
        std::unique_ptr<SettingsFile::Lock> first;
        ASSERT_TRUE(this->make()->lock(first));
    }
    if (!TypeParam::make_read_only(this->lock_path())) {
        GTEST_SKIP() << "this user can write to any file";
    }
    const auto mine = this->make();
    std::unique_ptr<SettingsFile::Lock> held;
    const Status locked = mine->lock(held);
    ASSERT_TRUE(locked) << locked.message();

    std::unique_ptr<SettingsFile::Lock> theirs;
    EXPECT_TRUE(this->make(100ms)->lock(theirs).failed());
    held.reset();
    EXPECT_TRUE(this->make(100ms)->lock(theirs));
}

TYPED_TEST_P(SettingsFileConformance, TheFirstLockRemovesTemporaryFilesOfEndedCopiesOnly) {
    const fs::path ended = temporary_path(this->path, TypeParam::ended_process_id());
    const fs::path running = temporary_path(this->path, TypeParam::own_process_id());
    const fs::path not_ours[] = {
        with_suffix(this->path, ".tmp-1x"), with_suffix(this->path, ".tmp-"),
        this->folder / ("other.json.tmp-" + std::to_string(TypeParam::ended_process_id()))};
    for (const fs::path& name : {ended, running}) {
        put(name, "half-written");
    }
    for (const fs::path& name : not_ours) {
        put(name, "someone else's");
    }

    const auto file = this->make();
    SettingsStore store(*file, this->ignore());
    EXPECT_EQ(store.read("setit", "textinterval", "1000"), "1000");

    EXPECT_FALSE(fs::exists(ended));
    EXPECT_TRUE(fs::exists(running));
    for (const fs::path& name : not_ours) {
        EXPECT_TRUE(fs::exists(name)) << name;
    }
}

TYPED_TEST_P(SettingsFileConformance, TwoCopiesWritingAtOnceLoseNothing) {
    constexpr int kWrites = 20;
    auto write_many = [this](const std::string& prefix) {
        const auto file = this->make();
        SettingsStore store(*file, this->ignore());
        for (int index = 0; index < kWrites; ++index) {
            EXPECT_TRUE(store.write("Items", prefix + std::to_string(index), "x"));
        }
        EXPECT_TRUE(store.write(prefix, "textinterval", "1000"));
    };
    std::thread first(write_many, "c-");
    std::thread second(write_many, "u-");
    first.join();
    second.join();

    const auto file = this->make();
    SettingsStore store(*file, this->ignore());
    const auto items = store.read_section("Items");
    ASSERT_TRUE(items.has_value());
    EXPECT_EQ(items->size(), 2U * kWrites);
    EXPECT_EQ(store.read("c-", "textinterval", ""), "1000");
    EXPECT_EQ(store.read("u-", "textinterval", ""), "1000");
}

// The user is told only once the lock is free again: a second copy must not wait behind the
// message box.
TYPED_TEST_P(SettingsFileConformance, ADamagedFileIsKeptAsideAndTheUserToldWithTheLockFree) {
    for (const std::string& damaged :
         {std::string("{ this is not json"), std::string("{\"setit\": {\"on\": true}}"),
          deeply_nested_notes()}) {
        SCOPED_TRACE(damaged.substr(0, 30));
        put(this->path, damaged);
        const auto file = this->make();
        std::vector<std::string> told;
        bool lock_free_when_told = false;
        SettingsStore store(*file, [&](const std::string& message) {
            told.push_back(message);
            std::unique_ptr<SettingsFile::Lock> lock;
            lock_free_when_told = !this->make(0ms)->lock(lock).failed();
        });

        EXPECT_EQ(store.read("Runit", "RunMinimized", "False"), "False");
        ASSERT_TRUE(store.write("Runit", "RunMinimized", "True"));
        EXPECT_EQ(store.read("Runit", "RunMinimized", "False"), "True");

        ASSERT_EQ(told.size(), 1U);
        EXPECT_TRUE(lock_free_when_told);
        std::vector<fs::path> kept;
        for (const auto& entry : fs::directory_iterator(this->folder)) {
            if (entry.path().filename().string().rfind("settings.json.bad-", 0) == 0) {
                kept.push_back(entry.path());
            }
        }
        ASSERT_EQ(kept.size(), 1U);
        EXPECT_TRUE(contents_of(kept[0]) == damaged);
        EXPECT_NE(told[0].find(kept[0].filename().string()), std::string::npos) << told[0];
        EXPECT_TRUE(nlohmann::json::parse(contents_of(this->path)).is_object());
        fs::remove(kept[0]);
    }
}

REGISTER_TYPED_TEST_SUITE_P(SettingsFileConformance, ReplaceCreatesTheFolderAndReadsBackByteForByte,
                            SetAsideKeepsEachDamagedFileUnderItsOwnName,
                            TheLockKeepsOtherCopiesWaitingUntilReleased,
                            WithoutTheLockEveryOperationFailsAndTheFileIsUntouched,
                            AReadOnlyLockFileStillKeepsCopiesApart,
                            TheFirstLockRemovesTemporaryFilesOfEndedCopiesOnly,
                            TwoCopiesWritingAtOnceLoseNothing,
                            ADamagedFileIsKeptAsideAndTheUserToldWithTheLockFree);

}  // namespace tapster::platform::conformance
