// The history file: its lines as any JSON reader sees them, reading back what another hand
// left, folding a box raised again and again, the size bound, and a disk that refuses.
#include <fstream>
#include <sstream>

#include <nlohmann/json.hpp>

#include "fakes/temp_folder.h"
#include "history/history_log.h"
#include "history/history_writer.h"

namespace tapster {
namespace {

using namespace std::chrono_literals;

HistoryRecord press(const std::string& entry, int second, bool refused = false) {
    HistoryRecord record;
    record.time = {2026, 12, 9, 14, 2, second, 60};
    record.last = record.time;
    record.press.entry = entry;
    record.press.title = "Nag";
    record.press.button = "OK";
    record.press.refused = refused;
    return record;
}

std::vector<std::string> lines_of(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

class HistoryLogTest : public ::testing::Test {
  protected:
    fakes::TempFolder folder;
    std::filesystem::path file = folder.path() / "Tapster 2.1" / "history.jsonl";
    HistoryLog log{file};
};

TEST_F(HistoryLogTest, WritesOneJsonObjectALineAndReadsItBackWhole) {
    HistoryRecord record = press("Nag **** #32770 **** OK **** 1 **** 1 **** True", 5);
    record.time.utc_offset_minutes = -330;
    record.last = record.time;
    record.press.title = "Saved \"report\"\r\nline two \xE2\x80\x9C";
    record.press.program = "backup.exe";
    record.press.drawn = true;
    record.press.forced = true;
    record.press.managed = true;
    ASSERT_TRUE(log.add({record}));

    // Any tool reads it: one object, the fields by name.
    const auto lines = lines_of(file);
    ASSERT_EQ(lines.size(), 1U);
    const nlohmann::json json = nlohmann::json::parse(lines[0]);
    EXPECT_EQ(json["time"], "2026-12-09T14:02:05-05:30");
    EXPECT_EQ(json["title"], record.press.title);
    EXPECT_EQ(json["program"], "backup.exe");
    EXPECT_EQ(json["kind"], "drawn");
    EXPECT_EQ(json["forced"], true);
    EXPECT_EQ(json["outcome"], "pressed");
    EXPECT_EQ(json["set_by"], "administrator");
    EXPECT_EQ(json["count"], 1);

    const auto read = log.read();
    ASSERT_EQ(read.size(), 1U);
    EXPECT_EQ(read[0].time, record.time);
    EXPECT_EQ(read[0].press.title, record.press.title);
    EXPECT_EQ(read[0].press.entry, record.press.entry);
    EXPECT_TRUE(read[0].press.drawn && read[0].press.forced && read[0].press.managed);
    EXPECT_FALSE(read[0].press.refused);
}

TEST_F(HistoryLogTest, ALineAnotherHandDamagedIsSkippedAndTheRestRead) {
    ASSERT_TRUE(log.add({press("a", 1)}));
    {
        std::ofstream out(file, std::ios::binary | std::ios::app);
        out << "not json\n"
            << R"({"time":"2026-02-30T10:00:00+00:00","outcome":"pressed"})"
            << "\n"
            << R"({"time":"2026-12-09T10:00:00+00:00","outcome":"maybe"})"
            << "\n"
            << R"({"time":"2026-12-09T10:00:00+00:00","outcome":"pressed","title":{"x":1}})"
            << "\n"
            << R"({"time":"2026-12-09T10:00:00+00:00","outcome":"pressed","count":0})"
            << "\n"
            << R"({"time":"2026-12-09T10:00:00Z","outcome":"pressed","title":"bad )"
            << "\xC0\xAF\"}\n"
            << std::string(100000, '[') << "\n"
            << R"([{"time":"2026-12-09T10:00:00Z","outcome":"pressed"}])"
            << "\n"
            << R"({"time":"2026-12-09T10:00:00Z","outcome":"refused","extra":[1]})"
            << "\n"
            << "\n"
            // Hand-written, with fields missing and one unknown: still a record.
            << R"({"time":"2026-12-09T10:00:00Z","outcome":"refused","note":"x"})";
    }
    const auto read = log.read();
    ASSERT_EQ(read.size(), 2U);
    EXPECT_EQ(read[0].press.entry, "a");
    EXPECT_TRUE(read[1].press.refused);
    EXPECT_EQ(read[1].time.utc_offset_minutes, 0);

    // The next record starts a line of its own after the unfinished last one.
    ASSERT_TRUE(log.add({press("b", 2)}));
    const auto again = log.read();
    ASSERT_EQ(again.size(), 3U);
    EXPECT_EQ(again[2].press.entry, "b");
}

TEST_F(HistoryLogTest, PressesOfOneTargetWithinAMinuteAreOneRecordWithTheirCount) {
    // A run is broken by another target, by another outcome, and by the minute's end.
    ASSERT_TRUE(log.add({press("a", 0)}));
    ASSERT_TRUE(log.add({press("a", 20)}));                  // written again in place
    ASSERT_TRUE(log.add({press("a", 30), press("a", 40)}));  // a burst folds at once
    ASSERT_TRUE(log.add({press("b", 41), press("a", 42), press("a", 43, true)}));
    HistoryRecord late = press("a", 0);
    late.time.minute = 3;  // 14:03:00, the first's minute is over at 14:03:00
    ASSERT_TRUE(log.add({late, press("a", 0)}));

    const auto read = log.read();
    ASSERT_EQ(read.size(), 6U);
    EXPECT_EQ(read[0].count, 4);
    EXPECT_EQ(read[0].last.second, 40);
    EXPECT_EQ(read[1].press.entry, "b");
    EXPECT_EQ(read[2].count, 1);
    EXPECT_TRUE(read[3].press.refused);
    EXPECT_EQ(read[4].count, 1);
    EXPECT_EQ(read[5].time.minute, 2);  // the clock went back: no fold either
    EXPECT_EQ(lines_of(file).size(), 6U);

    // Someone cut the file meanwhile: nothing folds into a line that is no longer there.
    std::filesystem::resize_file(file, 0);
    HistoryRecord next = press("a", 1);
    ASSERT_TRUE(log.add({next}));
    ASSERT_EQ(log.read().size(), 1U);
}

TEST_F(HistoryLogTest, AFullFileBecomesTheOlderOneAndOnlyOneIsKept) {
    std::string entry(2000, 'x');
    int written = 0;
    // Three files' worth: each record is a target of its own, so none folds.
    while (written * 2000 < 3 * static_cast<int>(HistoryLog::kMostBytes)) {
        ASSERT_TRUE(log.add({press(entry + std::to_string(written), written % 60)}));
        ++written;
    }
    EXPECT_LE(std::filesystem::file_size(file), HistoryLog::kMostBytes);
    EXPECT_LE(std::filesystem::file_size(log.older_file()), HistoryLog::kMostBytes);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(file.parent_path()), {}), 2);

    const auto read = log.read();
    ASSERT_GT(read.size(), HistoryLog::kMostBytes / 2000);
    // The newest records, in order, without a gap between the two files.
    const std::size_t first = written - read.size();
    for (std::size_t index = 0; index < read.size(); ++index) {
        ASSERT_EQ(read[index].press.entry, entry + std::to_string(first + index));
    }
}

TEST_F(HistoryLogTest, AFoldedRecordThatNoLongerFitsMovesWholeIntoTheNewFile) {
    const std::string entry(3000, 'y');
    for (int written = 0;
         written == 0 || std::filesystem::file_size(file) + 3500 < HistoryLog::kMostBytes;
         ++written) {
        ASSERT_TRUE(log.add({press(entry + std::to_string(written), 0)}));
    }
    // A last record that leaves the file a few bytes short of full; its count does not fit.
    const std::size_t room = HistoryLog::kMostBytes - std::filesystem::file_size(file);
    const std::size_t bare = history_line(press("", 0)).size() + 1;
    const std::string last(room - bare - 5, 'z');
    ASSERT_TRUE(log.add({press(last, 0)}));
    ASSERT_EQ(std::filesystem::file_size(file), HistoryLog::kMostBytes - 5);
    ASSERT_TRUE(log.add({press(last, 1)}));

    const auto read = log.read();
    EXPECT_EQ(
        std::count_if(read.begin(), read.end(),
                      [&](const HistoryRecord& record) { return record.press.entry == last; }),
        1);
    EXPECT_EQ(read.back().count, 2);
    EXPECT_EQ(lines_of(file).size(), 1U);
}

TEST_F(HistoryLogTest, ADiskThatRefusesFailsWithTheFileNamedAndLeavesNothingHalfWritten) {
    // The folder cannot be made: a file stands where it would be.
    std::filesystem::create_directories(folder.path());
    std::ofstream(folder.path() / "Tapster 2.1") << "in the way";
    const auto failed = log.add({press("a", 0)});
    ASSERT_TRUE(failed.failed());
    EXPECT_NE(failed.message().find("history.jsonl"), std::string::npos) << failed.message();
    EXPECT_TRUE(log.read().empty());

    std::filesystem::remove(folder.path() / "Tapster 2.1");
    ASSERT_TRUE(log.add({press("a", 1)}));
    EXPECT_EQ(log.read().size(), 1U);
    ASSERT_TRUE(log.clear());
    EXPECT_TRUE(log.read().empty());
    EXPECT_FALSE(std::filesystem::exists(file));
}

TEST_F(HistoryLogTest, TheWriterWritesInTheOrderGivenAndTellsEachFailure) {
    std::vector<std::string> failures;
    std::mutex mutex;
    std::vector<std::size_t> seen_by_read;
    {
        HistoryWriter writer(file, [&](const std::string& message) {
            const std::lock_guard lock(mutex);
            failures.push_back(message);
        });
        writer.add(press("a", 0));
        writer.add(press("b", 1));
        writer.run([&](HistoryLog& log) { seen_by_read.push_back(log.read().size()); });
        writer.run([](HistoryLog& log) { ASSERT_TRUE(log.clear()); });
        writer.add(press("c", 2));
        writer.run([&](HistoryLog& log) { seen_by_read.push_back(log.read().size()); });
        ASSERT_TRUE(writer.flush(10s));
        EXPECT_EQ(seen_by_read, (std::vector<std::size_t>{2, 1}));

        std::filesystem::remove_all(file.parent_path());
        std::ofstream(file.parent_path()) << "in the way";
        writer.add(press("d", 3));
        writer.add(press("e", 4));  // written with d, or after it: one failure or two
        ASSERT_TRUE(writer.flush(10s));
        EXPECT_FALSE(failures.empty());
        // Queued before the end: written as the writer ends.
        std::filesystem::remove(file.parent_path());
        writer.add(press("f", 5));
    }
    EXPECT_EQ(HistoryLog(file).read().back().press.entry, "f");
}

}  // namespace
}  // namespace tapster
