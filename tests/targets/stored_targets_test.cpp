// Copies of Tapster sharing one settings file: in memory, step by step, and as whole
// processes on a real file.
#include "targets/stored_targets.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "fakes/fake_platform.h"
#include "fakes/fake_settings_file.h"
#include "settings/system_settings_file.h"

namespace tapster {
namespace {

using namespace std::chrono_literals;
using Entries = SettingsStore::Entries;

// One running copy: its own store, list and notices over a settings file it shares.
struct Copy {
    explicit Copy(platform::SettingsFile& file) : store(file, {}) {
        stored.set_clock([this] { return now += 10ms; });  // a step for every entry
    }
    StoredList list() const { return stored_list(targets); }

    std::chrono::steady_clock::time_point now;
    fakes::FakeMessageBoxes boxes;
    fakes::FakeDispatcher dispatcher;
    ui::SaveFailureNotice save_failures{boxes};
    SettingsStore store;
    TargetList targets;
    StoredTargets stored{store, targets, dispatcher, boxes, save_failures};
};

StoredList in_file(SettingsStore& store) {
    Entries items;
    EXPECT_TRUE(store.try_read_section("Items", items));
    return stored_list(items);
}

// A change made in the target's dialog keeps the entry's place in the file as it is now; one
// that another copy removed meanwhile comes back as the changed entry, last.
TEST(TwoCopies, AReplacedEntryKeepsItsPlaceInTheFileOrComesBackAsAnAddition) {
    fakes::FakeSettingsFile file;
    file.bytes = R"({"Items": {"c-0": "A", "u-1": "B", "c-2": "C"}})";
    Copy first(file);
    Copy second(file);
    for (Copy* copy : {&first, &second}) {
        copy->stored.load();
        copy->dispatcher.run_all();
    }

    second.targets.remove(0);
    second.targets.append("X");
    second.stored.save();
    EXPECT_TRUE(first.stored.replace(1, "B2"));
    EXPECT_EQ(in_file(first.store), (StoredList{{"B2", false}, {"C", true}, {"X", false}}));
    EXPECT_EQ(first.list(), in_file(first.store));

    first.targets.remove(1);  // C
    first.stored.save();
    EXPECT_TRUE(second.stored.replace(1, "C2"));  // its list still shows B, C, X
    EXPECT_EQ(in_file(second.store), (StoredList{{"B2", false}, {"X", false}, {"C2", true}}));
    EXPECT_EQ(second.list(), in_file(second.store));
}

// Each save applies only what its copy did, to the file as it is: nothing another copy did
// is undone, even by a copy whose load ended early and whose file changed since.
TEST(TwoCopies, KeepEachOthersAdditionsRemovalsAndCheckMarks) {
    fakes::FakeSettingsFile file;
    file.bytes = R"({"Items": {"c-0": "A", "u-1": "B", "u-2": "C", "u-3": "D", "u-4": "E"}})";
    Copy first(file);
    Copy second(file);
    first.stored.load();
    first.dispatcher.run_all();
    second.stored.load();
    second.dispatcher.refuse_posts = true;
    second.dispatcher.run_one();
    second.dispatcher.refuse_posts = false;
    ASSERT_EQ(second.list(), (StoredList{{"A", true}, {"B", false}}));

    first.targets.remove(0);
    first.targets.set_checked(1, true);
    first.stored.save();
    second.targets.append("X");
    second.stored.save();
    first.targets.append("Y", true);
    first.stored.save();
    second.targets.remove(2);  // D
    second.targets.set_checked(0, true);
    second.stored.save();
    first.stored.follow_file();

    const StoredList expected{{"B", true}, {"C", true}, {"E", false}, {"X", false}, {"Y", true}};
    EXPECT_EQ(in_file(first.store), expected);
    EXPECT_EQ(first.list(), expected);
    EXPECT_EQ(second.list(), expected);
    EXPECT_EQ(file.unlocked_changes, 0);
}

// Three processes add targets as fast as they can for a while; the file ends with all of
// them.
TEST(ThreeProcesses, AddingTargetsAtOnceLoseNone) {
    namespace fs = std::filesystem;
    std::string pattern = (fs::temp_directory_path() / "tapster-copies-XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    const fs::path path = fs::path(pattern) / "settings.json";
    constexpr int kCopies = 3;
    constexpr auto kFor = 3s;

    std::vector<std::pair<pid_t, int>> children;  // and the pipe each reports through
    for (int copy = 0; copy < kCopies; ++copy) {
        int report[2];
        ASSERT_EQ(::pipe(report), 0);
        const pid_t child = ::fork();
        if (child == 0) {
            ::close(report[0]);
            const auto file = open_settings_file(path);
            Copy me(*file);
            me.stored.load();
            me.dispatcher.run_all();
            const auto end = std::chrono::steady_clock::now() + kFor;
            std::set<std::string> mine;
            while (std::chrono::steady_clock::now() < end) {
                const std::string& text =
                    *mine.insert(std::to_string(copy) + "-" + std::to_string(mine.size())).first;
                me.targets.append(text);
                me.stored.save();
                me.stored.follow_file();
            }
            // What the last saves could not store (the lock stayed busy) is stored now.
            const auto all_stored = [&] {
                std::size_t found = 0;
                for (const StoredEntry& entry : in_file(me.store)) {
                    found += mine.count(entry.text);
                }
                return found == mine.size();
            };
            for (int attempt = 0; attempt < 50 && !all_stored(); ++attempt) {
                me.stored.save();
            }
            const int added = static_cast<int>(mine.size());
            std::_Exit(::write(report[1], &added, sizeof added) == sizeof added ? 0 : 1);
        }
        ::close(report[1]);
        children.emplace_back(child, report[0]);
    }
    int expected = 0;
    for (const auto& [child, report] : children) {
        int added = 0;
        EXPECT_EQ(::read(report, &added, sizeof added), static_cast<ssize_t>(sizeof added));
        ::close(report);
        int status = 0;
        ::waitpid(child, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
        expected += added;
    }

    const auto file = open_settings_file(path);
    SettingsStore store(*file, {});
    std::set<std::string> texts;
    for (const StoredEntry& entry : in_file(store)) {
        texts.insert(entry.text);
    }
    EXPECT_GT(expected, kCopies * 10) << "too few targets added to tell";
    EXPECT_EQ(static_cast<int>(texts.size()), expected);
    fs::remove_all(path.parent_path());
}

}  // namespace
}  // namespace tapster
