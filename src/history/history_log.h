#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "history/history_record.h"
#include "platform/status.h"

namespace tapster {

// The history file and the one older file kept beside it, written by one thread at a time.
// A box raised again and again adds one record a minute rather than one a press: a press of
// the target the last record is of, with the same outcome, within a minute of the run's first
// press, is counted in that record, which is written again in place.
class HistoryLog {
  public:
    // Past this size the file becomes the older file, replacing the one before.
    static constexpr std::uintmax_t kMostBytes = 1024 * 1024;
    static constexpr std::int64_t kFoldSeconds = 60;
    // A file grown larger by another hand is read from this far before its end only.
    static constexpr std::uintmax_t kMostBytesRead = 4 * kMostBytes;

    explicit HistoryLog(std::filesystem::path file);

    const std::filesystem::path& file() const { return file_; }
    std::filesystem::path older_file() const;

    // All or nothing: on failure the file is as it was, and the records are lost.
    platform::Status add(const std::vector<HistoryRecord>& records);
    // The records of both files, oldest first; lines that are not records are skipped.
    std::vector<HistoryRecord> read() const;
    platform::Status clear();

  private:
    // Whether the file still ends where this log last wrote it; if not, someone else changed
    // it and nothing written before is folded into.
    bool file_as_left(std::uintmax_t& size) const;
    platform::Status write_at(std::uintmax_t offset, const std::string& bytes);
    platform::Status rotate();

    std::filesystem::path file_;
    // The last record written, where its line starts and where the file ends after it.
    std::optional<HistoryRecord> last_;
    std::uintmax_t last_start_ = 0;
    std::uintmax_t end_ = 0;
};

}  // namespace tapster
