#include <fcntl.h>
#include <gtest/gtest.h>
#include <linux/fs.h>
#include <pwd.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <optional>
#include <random>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include <nlohmann/json.hpp>

#include "settings/settings_file_conformance.h"
#include "settings/settings_store.h"
#include "settings/system_settings_file.h"

namespace fs = std::filesystem;

// The settings file under test, named as CTest shows the conformance tests; outside any
// namespace so that the name stays short.
struct PosixSettingsFiles {
    static fs::path make_test_folder() {
        std::string pattern = (fs::temp_directory_path() / "tapster-settings-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) {
            ADD_FAILURE() << "cannot make a folder for the test";
        }
        return pattern;
    }
    static void remove_test_folder(const fs::path& folder) {
        std::error_code ignored;
        fs::remove_all(folder, ignored);
    }
    static unsigned long own_process_id() { return static_cast<unsigned long>(::getpid()); }
    static unsigned long ended_process_id() {
        const pid_t child = ::fork();
        if (child == 0) {
            ::_exit(0);
        }
        ::waitpid(child, nullptr, 0);
        return static_cast<unsigned long>(child);
    }
    // Permissions do not stop root; the immutable flag does, where the file system has it.
    static bool make_read_only(const fs::path& path) {
        fs::permissions(path,
                        fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
        return ::geteuid() != 0 || set_immutable(path, true);
    }
    static void make_writable(const fs::path& path) {
        if (fs::exists(path)) {
            set_immutable(path, false);
            fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write);
        }
    }
    // Permissions do not stop root, so root runs the check in a child that has become the
    // user nobody, reporting through a pipe.
    static std::optional<std::string> in_read_only_folder(
        const fs::path& folder, const std::function<std::string()>& check) {
        const auto read_only = fs::perms::owner_read | fs::perms::owner_exec |
                               fs::perms::group_read | fs::perms::group_exec |
                               fs::perms::others_read | fs::perms::others_exec;
        for (fs::path opened = folder; opened.has_relative_path(); opened = opened.parent_path()) {
            if (opened.string().rfind(fs::temp_directory_path().string() + "/", 0) == 0) {
                fs::permissions(opened, read_only, fs::perm_options::add);
            }
        }
        for (const auto& entry : fs::directory_iterator(folder)) {
            fs::permissions(entry.path(), fs::perms::others_read, fs::perm_options::add);
        }
        fs::permissions(folder, read_only);
        std::optional<std::string> outcome;
        if (::geteuid() != 0) {
            outcome = check();
        } else {
            outcome = as_nobody(check);
        }
        fs::permissions(folder, fs::perms::owner_all);
        return outcome;
    }
    static bool make_symbolic_link(const fs::path& link, const fs::path& target) {
        std::error_code error;
        fs::create_symlink(target, link, error);
        return !error;
    }
    static int threads() { return count_entries("/proc/self/task"); }
    // An earlier test's thread may still be ending: a lock's waiter given up on frees what it
    // held. A child forked while such a thread holds the allocator's lock waits for it
    // forever, so a child that does more than end is forked only once this thread is alone.
    static bool alone_before_fork() {
        for (int wait = 0; threads() > 1 && wait < 1000; ++wait) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return threads() == 1;
    }
    static int open_handles() { return count_entries("/proc/self/fd"); }

  private:
    static std::optional<std::string> as_nobody(const std::function<std::string()>& check) {
        if (!alone_before_fork()) {
            return std::nullopt;
        }
        int report[2];
        if (::pipe(report) != 0) {
            return std::nullopt;
        }
        const pid_t child = ::fork();
        if (child == 0) {
            ::close(report[0]);
            const passwd* nobody = ::getpwnam("nobody");
            std::string outcome = "cannot become nobody";
            if (nobody != nullptr && ::setgid(nobody->pw_gid) == 0 &&
                ::setuid(nobody->pw_uid) == 0) {
                outcome = check();
            }
            const bool sent = ::write(report[1], outcome.data(), outcome.size()) ==
                              static_cast<ssize_t>(outcome.size());
            ::_exit(sent ? 0 : 1);
        }
        ::close(report[1]);
        std::string outcome;
        std::array<char, 512> buffer{};
        for (ssize_t got = 0; (got = ::read(report[0], buffer.data(), buffer.size())) > 0;) {
            outcome.append(buffer.data(), static_cast<std::size_t>(got));
        }
        ::close(report[0]);
        int status = 0;
        ::waitpid(child, &status, 0);
        if (outcome == "cannot become nobody") {
            return std::nullopt;
        }
        return outcome;
    }
    static int count_entries(const fs::path& folder) {
        return static_cast<int>(std::distance(fs::directory_iterator(folder), {}));
    }
    static bool set_immutable(const fs::path& path, bool immutable) {
        const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
        int flags = 0;
        bool done = fd >= 0 && ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
        flags = immutable ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
        done = done && ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
        if (fd >= 0) {
            ::close(fd);
        }
        return done;
    }
};

namespace tapster::posix {
namespace {

using conformance::contents_of;
using conformance::put;
using platform::SettingsFile;
using platform::Status;

std::vector<std::string> names_in(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

using namespace conformance;  // the suite's macros need its plain name
INSTANTIATE_TYPED_TEST_SUITE_P(Posix, SettingsFileConformance, ::PosixSettingsFiles);

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

TEST_F(PosixSettingsFileTest, ReplaceKeepsTheOldFilesPermissions) {
    put(path, "old");
    fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write);
    const auto file = open_settings_file(path);
    ASSERT_TRUE(file->replace("new"));
    EXPECT_EQ(fs::status(path).permissions(), fs::perms::owner_read | fs::perms::owner_write);
}

TEST_F(PosixSettingsFileTest, AFailedTemporaryFileLeavesTheOldFileWhole) {
    put(path, "old contents");
    // Something other than our temporary file in its place makes creating it fail, even for
    // root; it is not ours to remove.
    fs::create_directory(temp_path());
    const auto file = open_settings_file(path);

    const Status replaced = file->replace("new contents");

    ASSERT_TRUE(replaced.failed());
    EXPECT_NE(replaced.message().find(temp_path().string()), std::string::npos)
        << replaced.message();
    EXPECT_EQ(contents_of(path), "old contents");
    EXPECT_TRUE(fs::is_directory(temp_path()));
}

TEST_F(PosixSettingsFileTest, AFailedRenameRemovesTheTemporaryFile) {
    fs::create_directories(path / "occupied");
    const auto file = open_settings_file(path);

    EXPECT_TRUE(file->replace("new contents").failed());
    EXPECT_FALSE(fs::exists(temp_path()));
    EXPECT_TRUE(fs::is_directory(path / "occupied"));
}

TEST_F(PosixSettingsFileTest, AReadOnlyFolderLeavesTheOldFileWhole) {
    if (::geteuid() == 0) {
        GTEST_SKIP() << "permissions do not stop root";
    }
    put(path, "old contents");
    fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec);
    const auto file = open_settings_file(path);

    EXPECT_TRUE(file->replace("new contents").failed());
    fs::permissions(folder, fs::perms::owner_all);
    EXPECT_EQ(contents_of(path), "old contents");
    EXPECT_EQ(names_in(folder), std::vector<std::string>{"settings.json"});
}

TEST_F(PosixSettingsFileTest, AFileThatCannotBeReadIsAFailureNotMissing) {
    fs::create_directories(path);
    const auto file = open_settings_file(path);
    const auto contents = file->read();
    EXPECT_EQ(contents.state, SettingsFile::ReadState::failed);
    EXPECT_NE(contents.error.find(path.string()), std::string::npos) << contents.error;
}

TEST_F(PosixSettingsFileTest, DefaultPathFollowsXdgConfigHome) {
    {
        const ScopedEnv xdg("XDG_CONFIG_HOME", "/srv/config");
        EXPECT_EQ(default_settings_path(), "/srv/config/Tapster 2.1/settings.json");
    }
    const ScopedEnv home("HOME", "/home/someone");
    for (const char* unusable : {static_cast<const char*>(nullptr), "", "relative/config"}) {
        SCOPED_TRACE(unusable == nullptr ? "unset" : unusable);
        const ScopedEnv xdg("XDG_CONFIG_HOME", unusable);
        EXPECT_EQ(default_settings_path(), "/home/someone/.config/Tapster 2.1/settings.json");
    }
}

// Whole processes on real files: copies killed mid-write and copies writing side by side.
class StoreAcrossProcessesTest : public PosixSettingsFileTest {
  protected:
    // Runs `body` in a child process; its exit status is what `body` returned.
    template <typename Body>
    static pid_t spawn(Body body) {
        EXPECT_TRUE(PosixSettingsFiles::alone_before_fork());
        const pid_t child = ::fork();
        if (child == 0) {
            ::_exit(body());
        }
        return child;
    }

    std::set<std::string> stored_keys(const std::string& section) {
        const auto file = open_settings_file(path);
        SettingsStore store(*file, [](const std::string& message) { ADD_FAILURE() << message; });
        SettingsStore::Entries entries;
        EXPECT_TRUE(store.try_read_section(section, entries));
        std::set<std::string> keys;
        for (const auto& entry : entries) {
            keys.insert(entry.first);
        }
        return keys;
    }

    std::vector<std::string> temporary_files() const {
        std::vector<std::string> found;
        for (const std::string& name : names_in(folder)) {
            if (name.rfind("settings.json.tmp-", 0) == 0) {
                found.push_back(name);
            }
        }
        return found;
    }
};

// A copy killed at any moment leaves a file that parses and holds every write it finished;
// the temporary file it may leave is gone once the next copy starts.
TEST_F(StoreAcrossProcessesTest, KilledWritersLoseNoCompletedWriteAndLeaveNoTemporaryFile) {
    constexpr int kRounds = 50;
    std::mt19937 random(20261207);
    std::uniform_int_distribution<int> moment_us(0, 100000);
    std::vector<std::string> completed;
    for (int round = 0; round < kRounds; ++round) {
        int report[2];
        ASSERT_EQ(::pipe(report), 0);
        const pid_t writer = spawn([&] {
            ::close(report[0]);
            const auto file = open_settings_file(path);
            SettingsStore store(*file, {});
            for (int index = 0; index < 1000; ++index) {
                if (store.write("Items", std::to_string(round) + "-" + std::to_string(index), "x")
                        .failed()) {
                    return 2;
                }
                if (::write(report[1], &index, sizeof index) != sizeof index) {
                    return 3;
                }
            }
            return 0;
        });
        ::close(report[1]);
        // The kill comes at a random moment after the first write finished, so every round
        // has writes to look for however slowly a loaded machine starts the writer.
        int index = 0;
        if (::read(report[0], &index, sizeof index) == sizeof index) {
            completed.push_back(std::to_string(round) + "-" + std::to_string(index));
        }
        std::this_thread::sleep_for(std::chrono::microseconds(moment_us(random)));
        ::kill(writer, SIGKILL);
        int status = 0;
        ::waitpid(writer, &status, 0);
        while (::read(report[0], &index, sizeof index) == sizeof index) {
            completed.push_back(std::to_string(round) + "-" + std::to_string(index));
        }
        ::close(report[0]);
        ASSERT_TRUE(WIFSIGNALED(status) || WEXITSTATUS(status) == 0) << "writer failed";

        SCOPED_TRACE("round " + std::to_string(round));
        const std::set<std::string> keys = stored_keys("Items");
        for (const std::string& key : completed) {
            ASSERT_EQ(keys.count(key), 1U) << key << " was written but is gone";
        }
        EXPECT_EQ(temporary_files(), std::vector<std::string>{});
    }
    EXPECT_GE(completed.size(), static_cast<std::size_t>(kRounds))
        << "a writer failed before its first write";
}

TEST_F(StoreAcrossProcessesTest, TwoCopiesWritingInTurnLoseNoUpdateAndNeverCorruptTheFile) {
    constexpr int kWrites = 500;
    // Each copy fails on any damage it finds, since the store would report it.
    auto writer = [this](const char* prefix) {
        return spawn([this, prefix] {
            const auto file = open_settings_file(path);
            bool damaged = false;
            SettingsStore store(*file, [&](const std::string&) { damaged = true; });
            for (int index = 0; index < kWrites; ++index) {
                if (store.write("Items", prefix + std::to_string(index), "x").failed() || damaged) {
                    return 1;
                }
            }
            return 0;
        });
    };
    const pid_t first = writer("a-");
    const pid_t second = writer("b-");
    for (const pid_t child : {first, second}) {
        int status = 0;
        ::waitpid(child, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    EXPECT_EQ(stored_keys("Items").size(), 2U * kWrites);
}

}  // namespace
}  // namespace tapster::posix
