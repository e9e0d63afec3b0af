#include "platform/posix/posix_settings_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <regex>
#include <string>
#include <thread>
#include <vector>

#include <nlohmann/json.hpp>

#include "app/settings_store.h"

namespace tapster::platform {
namespace {

namespace fs = std::filesystem;

std::string contents_of(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void put(const fs::path& path, const std::string& bytes) {
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
}

std::vector<std::string> names_in(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

// Sets an environment variable for one test and puts the old value back afterwards.
class ScopedEnv {
  public:
    ScopedEnv(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name)) {
            old_ = old;
        }
        if (value != nullptr) {
            ::setenv(name, value, 1);
        } else {
            ::unsetenv(name);
        }
    }
    ~ScopedEnv() {
        if (old_) {
            ::setenv(name_, old_->c_str(), 1);
        } else {
            ::unsetenv(name_);
        }
    }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

  private:
    const char* name_;
    std::optional<std::string> old_;
};

class PosixSettingsFileTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "tapster-settings-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        root = pattern;
        folder = root / "Tapster 2.1";
        path = folder / "settings.json";
    }
    void TearDown() override {
        std::error_code ignored;
        fs::permissions(folder, fs::perms::owner_all, ignored);
        fs::remove_all(root, ignored);
    }

    fs::path temp_path() const { return path.string() + ".tmp-" + std::to_string(::getpid()); }

    fs::path root;
    fs::path folder;
    fs::path path;
};

TEST_F(PosixSettingsFileTest, AMissingFileOrFolderReadsAsMissing) {
    PosixSettingsFile file(path);
    EXPECT_EQ(file.read().state, SettingsFile::ReadState::missing);
    EXPECT_EQ(file.location(), path.string());
}

TEST_F(PosixSettingsFileTest, ReplaceCreatesTheFolderAndLeavesNoTemporaryFile) {
    PosixSettingsFile file(path);
    const std::string bytes = std::string("{\"k\": \"\xE7\xA2\xBA\"}\n") + '\0' + "tail";
    ASSERT_TRUE(file.replace(bytes));
    ASSERT_TRUE(file.replace(bytes + "more"));

    const auto contents = file.read();
    EXPECT_EQ(contents.state, SettingsFile::ReadState::present);
    EXPECT_EQ(contents.bytes, bytes + "more");
    EXPECT_EQ(names_in(folder), std::vector<std::string>{"settings.json"});
}

TEST_F(PosixSettingsFileTest, ReplaceKeepsTheOldFilesPermissions) {
    put(path, "old");
    fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write);
    PosixSettingsFile file(path);
    ASSERT_TRUE(file.replace("new"));
    EXPECT_EQ(fs::status(path).permissions(), fs::perms::owner_read | fs::perms::owner_write);
}

TEST_F(PosixSettingsFileTest, AFailedTemporaryFileLeavesTheOldFileWhole) {
    put(path, "old contents");
    // Something other than our temporary file in its place makes creating it fail, even for
    // root; it is not ours to remove.
    fs::create_directory(temp_path());
    PosixSettingsFile file(path);

    const Status replaced = file.replace("new contents");

    ASSERT_TRUE(replaced.failed());
    EXPECT_NE(replaced.message().find(temp_path().string()), std::string::npos)
        << replaced.message();
    EXPECT_EQ(contents_of(path), "old contents");
    EXPECT_TRUE(fs::is_directory(temp_path()));
}

TEST_F(PosixSettingsFileTest, AFailedRenameRemovesTheTemporaryFile) {
    fs::create_directories(path / "occupied");
    PosixSettingsFile file(path);

    EXPECT_TRUE(file.replace("new contents").failed());
    EXPECT_FALSE(fs::exists(temp_path()));
    EXPECT_TRUE(fs::is_directory(path / "occupied"));
}

TEST_F(PosixSettingsFileTest, AReadOnlyFolderLeavesTheOldFileWhole) {
    if (::geteuid() == 0) {
        GTEST_SKIP() << "permissions do not stop root";
    }
    put(path, "old contents");
    fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec);
    PosixSettingsFile file(path);

    EXPECT_TRUE(file.replace("new contents").failed());
    fs::permissions(folder, fs::perms::owner_all);
    EXPECT_EQ(contents_of(path), "old contents");
    EXPECT_EQ(names_in(folder), std::vector<std::string>{"settings.json"});
}

TEST_F(PosixSettingsFileTest, AFileThatCannotBeReadIsAFailureNotMissing) {
    fs::create_directories(path);
    PosixSettingsFile file(path);
    const auto contents = file.read();
    EXPECT_EQ(contents.state, SettingsFile::ReadState::failed);
    EXPECT_NE(contents.error.find(path.string()), std::string::npos) << contents.error;
}

TEST_F(PosixSettingsFileTest, SetAsideKeepsEachDamagedFileUnderItsOwnName) {
    PosixSettingsFile file(path);
    put(path, "first");
    std::string first;
    ASSERT_TRUE(file.set_aside(first));
    put(path, "second");
    std::string second;
    ASSERT_TRUE(file.set_aside(second));

    const std::regex kept_name(R"(settings\.json\.bad-\d{8}-\d{6}(-\d+)?)");
    EXPECT_TRUE(std::regex_match(fs::path(first).filename().string(), kept_name)) << first;
    EXPECT_TRUE(std::regex_match(fs::path(second).filename().string(), kept_name)) << second;
    EXPECT_NE(first, second);
    EXPECT_EQ(fs::path(first).parent_path(), folder);
    EXPECT_EQ(contents_of(first), "first");
    EXPECT_EQ(contents_of(second), "second");
    EXPECT_FALSE(fs::exists(path));

    std::string third;
    EXPECT_TRUE(file.set_aside(third).failed());
}

TEST_F(PosixSettingsFileTest, TheLockKeepsOtherCopiesWaiting) {
    PosixSettingsFile mine(path);
    PosixSettingsFile theirs(path);
    auto held = mine.lock();
    ASSERT_NE(held, nullptr);
    EXPECT_TRUE(fs::exists(path.string() + ".lock"));

    std::atomic<bool> taken{false};
    std::thread other([&] {
        const auto lock = theirs.lock();
        taken = lock != nullptr;
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_FALSE(taken);
    held.reset();
    other.join();
    EXPECT_TRUE(taken);
}

TEST_F(PosixSettingsFileTest, NoLockWhenTheFolderCannotBeMade) {
    put(root / "blocker", "a file where a folder should be");
    PosixSettingsFile file(root / "blocker" / "Tapster 2.1" / "settings.json");
    EXPECT_EQ(file.lock(), nullptr);
    EXPECT_TRUE(file.replace("x").failed());
}

TEST_F(PosixSettingsFileTest, DefaultPathFollowsXdgConfigHome) {
    {
        const ScopedEnv xdg("XDG_CONFIG_HOME", "/srv/config");
        EXPECT_EQ(PosixSettingsFile::default_path(), "/srv/config/Tapster 2.1/settings.json");
    }
    const ScopedEnv home("HOME", "/home/someone");
    for (const char* unusable : {static_cast<const char*>(nullptr), "", "relative/config"}) {
        SCOPED_TRACE(unusable == nullptr ? "unset" : unusable);
        const ScopedEnv xdg("XDG_CONFIG_HOME", unusable);
        EXPECT_EQ(PosixSettingsFile::default_path(),
                  "/home/someone/.config/Tapster 2.1/settings.json");
    }
}

// The store on real files: what two running copies and a damaged file look like on disk.
class StoreOnDiskTest : public PosixSettingsFileTest {
  protected:
    static SettingsStore::TellUser ignore() {
        return [](const std::string&) {};
    }
};

TEST_F(StoreOnDiskTest, TwoCopiesWritingDifferentKeysBothSurvive) {
    PosixSettingsFile first_file(path);
    PosixSettingsFile second_file(path);
    SettingsStore first(first_file, ignore());
    SettingsStore second(second_file, ignore());

    ASSERT_TRUE(first.write("setit", "textinterval", "1000"));
    ASSERT_TRUE(second.write("Runit", "Calibartion", "1000"));
    ASSERT_TRUE(first.write("setit", "textinterval", "2000"));

    EXPECT_EQ(second.read("setit", "textinterval", ""), "2000");
    EXPECT_EQ(first.read("Runit", "Calibartion", ""), "1000");
}

TEST_F(StoreOnDiskTest, ConcurrentCopiesLoseNoWrites) {
    constexpr int kWrites = 25;
    auto write_many = [this](const std::string& key_prefix) {
        PosixSettingsFile file(path);
        SettingsStore store(file, ignore());
        for (int i = 0; i < kWrites; ++i) {
            EXPECT_TRUE(store.write("Items", key_prefix + std::to_string(i), "x"));
        }
    };
    std::thread first(write_many, "a-");
    std::thread second(write_many, "b-");
    first.join();
    second.join();

    PosixSettingsFile file(path);
    SettingsStore store(file, ignore());
    const auto items = store.read_section("Items");
    ASSERT_TRUE(items.has_value());
    EXPECT_EQ(items->size(), 2U * kWrites);
}

TEST_F(StoreOnDiskTest, ACorruptFileIsKeptAsideAndAFreshOneWritten) {
    put(path, "[\"not\", \"settings\"]");
    PosixSettingsFile file(path);
    std::vector<std::string> told;
    SettingsStore store(file, [&](const std::string& message) { told.push_back(message); });

    EXPECT_EQ(store.read("setit", "textinterval", "1000"), "1000");
    ASSERT_TRUE(store.write("setit", "textinterval", "2000"));
    EXPECT_EQ(store.read("setit", "textinterval", ""), "2000");

    ASSERT_EQ(told.size(), 1U);
    std::vector<fs::path> kept;
    for (const auto& entry : fs::directory_iterator(folder)) {
        if (entry.path().filename().string().rfind("settings.json.bad-", 0) == 0) {
            kept.push_back(entry.path());
        }
    }
    ASSERT_EQ(kept.size(), 1U);
    EXPECT_EQ(contents_of(kept[0]), "[\"not\", \"settings\"]");
    EXPECT_NE(told[0].find(kept[0].string()), std::string::npos) << told[0];
    EXPECT_TRUE(nlohmann::json::parse(contents_of(path)).is_object());
}

}  // namespace
}  // namespace tapster::platform
