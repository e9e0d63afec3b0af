// What every settings file must do on real files, whatever the system: one suite, run
// natively against the POSIX file and under Wine against the Win32 one. Each system supplies
// a traits class, named for CTest to show it (gtest prints the type's name; the instance
// prefix names the system):
//
//   static std::filesystem::path make_test_folder();    // new, empty
//   static void remove_test_folder(path);               // with all in it, links too
//   static unsigned long own_process_id();
//   static unsigned long ended_process_id();            // a process that has exited
//   static bool make_read_only(path);                   // false: this user cannot be stopped
//   static void make_writable(path);
//   // Runs `check` (which gives "" or what went wrong) where a user cannot add a file to
//   // `folder`; nullopt when the test cannot arrange that.
//   static std::optional<std::string> in_read_only_folder(folder, check);
//   static bool make_symbolic_link(link, target);       // false: this system cannot
//   static int threads();                                // of this process
//   static int open_handles();                           // files and other kernel objects
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <optional>
#include <regex>
#include <string>
#include <thread>
#include <vector>

#include <nlohmann/json.hpp>

#include "platform/settings_file.h"
#include "settings/settings_file_common.h"
#include "settings/settings_store.h"
#include "settings/system_settings_file.h"

namespace tapster::conformance {

namespace fs = std::filesystem;
using platform::SettingsFile;
using platform::Status;
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
        Traits::remove_test_folder(root);
    }

    std::unique_ptr<SettingsFile> make(std::chrono::milliseconds lock_wait = kSettingsLockWait) {
        return open_settings_file(path, lock_wait);
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
// others a failed change, not a hang; and no lock at all is a failure, not a licence to go
// on unlocked. Reading needs no lock.
TYPED_TEST_P(SettingsFileConformance, WithoutTheLockEveryChangeFailsAndTheFileIsUntouched) {
    put(this->path, "{\"setit\": {\"textinterval\": \"1000\"}}");
    const auto mine = this->make();
    std::unique_ptr<SettingsFile::Lock> held;
    ASSERT_TRUE(mine->lock(held));

    put(this->root / "blocker", "a file where a folder should be");
    const auto no_folder =
        open_settings_file(this->root / "blocker" / "sub" / "settings.json", 0ms);
    const auto waiting = this->make(200ms);
    for (SettingsFile* file : {waiting.get(), no_folder.get()}) {
        SCOPED_TRACE(file->location());
        std::unique_ptr<SettingsFile::Lock> lock;
        EXPECT_TRUE(file->lock(lock).failed());
        EXPECT_EQ(lock, nullptr);

        SettingsStore store(*file, this->ignore());
        EXPECT_EQ(store.read("setit", "textinterval", "default"),
                  file == waiting.get() ? "1000" : "default");
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

TYPED_TEST_P(SettingsFileConformance, TheFirstLockOrReadRemovesTemporaryFilesOfEndedCopiesOnly) {
    const fs::path ended = temporary_path(this->path, TypeParam::ended_process_id());
    const fs::path running = temporary_path(this->path, TypeParam::own_process_id());
    const fs::path not_ours[] = {
        with_suffix(this->path, ".tmp-1x"), with_suffix(this->path, ".tmp-"),
        this->folder / ("other.json.tmp-" + std::to_string(TypeParam::ended_process_id()))};
    for (const bool by_lock : {true, false}) {
        SCOPED_TRACE(by_lock ? "lock" : "read");
        for (const fs::path& name : {ended, running}) {
            put(name, "half-written");
        }
        for (const fs::path& name : not_ours) {
            put(name, "someone else's");
        }

        const auto file = this->make();
        std::unique_ptr<SettingsFile::Lock> held;
        if (by_lock) {
            ASSERT_TRUE(file->lock(held));
        } else {
            EXPECT_EQ(file->read().state, SettingsFile::ReadState::missing);
        }

        EXPECT_FALSE(fs::exists(ended));
        EXPECT_TRUE(fs::exists(running));
        for (const fs::path& name : not_ours) {
            EXPECT_TRUE(fs::exists(name)) << name;
        }
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
         {std::string("{ this is not json"), std::string("{\"setit\": {\"on\": null}}"),
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

// Reading takes no lock, so a folder where no lock file can be made still loads every
// target; a change there fails with the message that names the file.
TYPED_TEST_P(SettingsFileConformance, AReadOnlyFolderStillReadsEveryTargetAndRefusesChanges) {
    const std::string stored = R"({"Items": {"c-0": "A", "u-1": "B"}})";
    put(this->path, stored);
    const std::optional<std::string> outcome =
        TypeParam::in_read_only_folder(this->folder, [this]() -> std::string {
            const auto file = this->make();
            SettingsStore store(*file, this->ignore());
            SettingsStore::Entries items;
            if (const Status read = store.try_read_section("Items", items); read.failed()) {
                return "the read failed: " + read.message();
            }
            if (items.size() != 2) {
                return std::to_string(items.size()) + " targets read";
            }
            const Status written = store.write("Items", "u-2", "C");
            if (!written.failed() ||
                written.message().find(file->location()) == std::string::npos) {
                return "the write gave: " + written.message();
            }
            return "";
        });
    if (!outcome) {
        GTEST_SKIP() << "this test cannot stop itself from adding a file to a folder";
    }
    EXPECT_EQ(*outcome, "");
    EXPECT_EQ(contents_of(this->path), stored);
}

// A settings file kept elsewhere through a link (a synced folder, a versioned copy) goes on
// getting every change, and a damaged one is copied aside without moving the link.
TYPED_TEST_P(SettingsFileConformance, ASettingsFileThatIsALinkStaysALink) {
    const fs::path elsewhere = this->root / "synced" / "settings.json";
    put(elsewhere, R"({"setit": {"textinterval": "1000"}})");
    fs::create_directories(this->folder);
    if (!TypeParam::make_symbolic_link(this->path, elsewhere)) {
        GTEST_SKIP() << "this system makes no symbolic links here";
    }
    const auto file = this->make();
    std::vector<std::string> told;
    SettingsStore store(*file, [&](const std::string& message) { told.push_back(message); });

    ASSERT_TRUE(store.write("setit", "textinterval", "2000"));
    EXPECT_NE(contents_of(elsewhere).find("2000"), std::string::npos);
    put(elsewhere, R"({"setit": {"textinterval": "3000"}})");
    EXPECT_EQ(store.read("setit", "textinterval", ""), "3000") << "the link was replaced";

    put(elsewhere, "{ damaged");
    ASSERT_TRUE(store.write("setit", "textinterval", "4000"));
    ASSERT_EQ(told.size(), 1U);
    std::vector<fs::path> names = names_in(this->folder);
    ASSERT_EQ(names.size(), 3U);  // the link, its lock and the damaged file's copy
    EXPECT_EQ(contents_of(this->folder / names[1]), "{ damaged") << names[1];
    EXPECT_NE(contents_of(elsewhere).find("4000"), std::string::npos);
    put(elsewhere, R"({"setit": {"textinterval": "5000"}})");
    EXPECT_EQ(store.read("setit", "textinterval", ""), "5000") << "the link was moved";
    EXPECT_EQ(names_in(elsewhere.parent_path()), std::vector<fs::path>{"settings.json"});
}

// A copy whose waits keep running out (another copy holds the lock for minutes) keeps one
// helper waiting, and none once the lock is free.
TYPED_TEST_P(SettingsFileConformance, WaitsThatRunOutLeaveOneWaiterAndNoneOnceTheLockIsFree) {
    const auto mine = this->make();
    std::unique_ptr<SettingsFile::Lock> held;
    ASSERT_TRUE(mine->lock(held));
    const auto theirs = this->make(20ms);
    SettingsStore store(*theirs, this->ignore());
    ASSERT_TRUE(store.write("setit", "textinterval", "2000").failed());
    const int threads = TypeParam::threads();
    const int handles = TypeParam::open_handles();

    for (int attempt = 0; attempt < 30; ++attempt) {
        ASSERT_TRUE(store.write("setit", "textinterval", "2000").failed());
    }
    EXPECT_LE(TypeParam::threads(), threads);
    EXPECT_LE(TypeParam::open_handles(), handles);

    held.reset();
    // The helper that waited takes the freed lock and lets it go again: on a busy machine that
    // can take longer than one wait of 20 ms, never for good.
    bool written = false;
    for (int attempt = 0; attempt < 100 && !written; ++attempt) {
        written = static_cast<bool>(store.write("setit", "textinterval", "2000"));
    }
    EXPECT_TRUE(written);
    for (int waited = 0; waited < 100 && TypeParam::threads() >= threads; ++waited) {
        std::this_thread::sleep_for(20ms);
    }
    EXPECT_LT(TypeParam::threads(), threads);
    // The lock file's handle, closed with the lock, and the helper's.
    EXPECT_LE(TypeParam::open_handles(), handles - 2);
}

REGISTER_TYPED_TEST_SUITE_P(
    SettingsFileConformance, ReplaceCreatesTheFolderAndReadsBackByteForByte,
    SetAsideKeepsEachDamagedFileUnderItsOwnName, TheLockKeepsOtherCopiesWaitingUntilReleased,
    WithoutTheLockEveryChangeFailsAndTheFileIsUntouched, AReadOnlyLockFileStillKeepsCopiesApart,
    TheFirstLockOrReadRemovesTemporaryFilesOfEndedCopiesOnly, TwoCopiesWritingAtOnceLoseNothing,
    ADamagedFileIsKeptAsideAndTheUserToldWithTheLockFree,
    AReadOnlyFolderStillReadsEveryTargetAndRefusesChanges, ASettingsFileThatIsALinkStaysALink,
    WaitsThatRunOutLeaveOneWaiterAndNoneOnceTheLockIsFree);

}  // namespace tapster::conformance
