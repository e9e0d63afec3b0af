#include "history/history_log.h"

#include <cerrno>
#include <fstream>
#include <system_error>

namespace tapster {

namespace {

bool folds_into(const HistoryRecord& run, const HistoryRecord& press) {
    const std::int64_t since = utc_seconds(press.time) - utc_seconds(run.time);
    return run.press.entry == press.press.entry && run.press.managed == press.press.managed &&
           run.press.refused == press.press.refused && since >= 0 &&
           since < HistoryLog::kFoldSeconds && press.count == 1;
}

std::string path_text(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return {text.begin(), text.end()};
}

std::string failure_text(const std::filesystem::path& file, const std::error_code& error) {
    return "Tapster could not write its history to " + path_text(file) + ": " + error.message() +
           ".";
}

void read_lines(const std::filesystem::path& file, std::vector<HistoryRecord>& records) {
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        return;
    }
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(file, error);
    std::string line;
    if (!error && size > HistoryLog::kMostBytesRead) {
        in.seekg(static_cast<std::streamoff>(size - HistoryLog::kMostBytesRead));
        std::getline(in, line);  // most likely the second half of a line
    }
    while (std::getline(in, line)) {
        if (auto record = parse_history_line(line)) {
            records.push_back(std::move(*record));
        }
    }
}

}  // namespace

HistoryLog::HistoryLog(std::filesystem::path file) : file_(std::move(file)) {}

std::filesystem::path HistoryLog::older_file() const {
    std::filesystem::path older = file_;
    older.replace_extension(".old.jsonl");
    return older;
}

bool HistoryLog::file_as_left(std::uintmax_t& size) const {
    std::error_code error;
    size = std::filesystem::file_size(file_, error);
    if (error) {
        size = 0;
    }
    return last_.has_value() && size == end_;
}

platform::Status HistoryLog::add(const std::vector<HistoryRecord>& records) {
    if (records.empty()) {
        return platform::Status::success();
    }
    std::uintmax_t size = 0;
    const bool as_left = file_as_left(size);
    if (!as_left) {
        last_.reset();
    }
    // The last record written comes first when the first press folds into it.
    std::vector<HistoryRecord> lines;
    bool rewrite_last = false;
    if (last_) {
        lines.push_back(*last_);
    }
    for (const HistoryRecord& record : records) {
        if (!lines.empty() && folds_into(lines.back(), record)) {
            HistoryRecord& run = lines.back();
            ++run.count;
            run.last = record.time;
            rewrite_last = rewrite_last || (last_ && lines.size() == 1);
        } else {
            lines.push_back(record);
        }
    }
    std::string bytes;
    std::uintmax_t offset = size;
    // A file another hand left without its last line break gets one.
    if (!as_left && size > 0) {
        bytes += '\n';
    }
    std::uintmax_t last_start = 0;
    const bool skip_first = last_ && !rewrite_last;
    if (rewrite_last) {
        offset = last_start_;
    }
    for (std::size_t index = skip_first ? 1 : 0; index < lines.size(); ++index) {
        last_start = bytes.size();
        bytes += history_line(lines[index]);
        bytes += '\n';
    }
    if (bytes.empty()) {
        return platform::Status::success();
    }
    if (offset > 0 && offset + bytes.size() > kMostBytes) {
        if (rewrite_last) {
            // The run's earlier count goes: its new one starts the next file.
            std::error_code error;
            std::filesystem::resize_file(file_, last_start_, error);
            if (error) {
                last_.reset();
                return platform::Status::failure(failure_text(file_, error));
            }
        }
        if (auto rotated = rotate(); rotated.failed()) {
            last_.reset();
            return rotated;
        }
        offset = 0;
        if (bytes.front() == '\n') {
            bytes.erase(0, 1);
            last_start -= 1;
        }
    }
    if (auto written = write_at(offset, bytes); written.failed()) {
        if (rewrite_last && offset == last_start_) {
            // The cut took the run's record with it: it goes back as it was, which fits where
            // it stood even on a full disk.
            static_cast<void>(write_at(offset, history_line(*last_) + '\n'));
        }
        last_.reset();
        return written;
    }
    last_ = lines.back();
    last_start_ = offset + last_start;
    end_ = offset + bytes.size();
    return platform::Status::success();
}

platform::Status HistoryLog::write_at(std::uintmax_t offset, const std::string& bytes) {
    std::error_code error;
    std::filesystem::create_directories(file_.parent_path(), error);
    if (error) {
        return platform::Status::failure(failure_text(file_, error));
    }
    // Cut only to write a record again: an append writes where the file ends.
    const std::uintmax_t size = std::filesystem::file_size(file_, error);
    if (!error && size != offset) {
        std::filesystem::resize_file(file_, offset, error);
        if (error) {
            return platform::Status::failure(failure_text(file_, error));
        }
    }
    errno = 0;
    std::ofstream out(file_, std::ios::binary | std::ios::app);
    if (out) {
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        out.flush();
    }
    if (!out) {
        const int reason = errno != 0 ? errno : EIO;
        out.close();
        // A half-written line would run into the next record.
        std::error_code ignored;
        if (std::filesystem::exists(file_, ignored)) {
            std::filesystem::resize_file(file_, offset, ignored);
        }
        return platform::Status::failure(
            failure_text(file_, std::error_code(reason, std::generic_category())));
    }
    return platform::Status::success();
}

platform::Status HistoryLog::rotate() {
    std::error_code error;
    std::filesystem::rename(file_, older_file(), error);
    if (error) {
        return platform::Status::failure(failure_text(older_file(), error));
    }
    return platform::Status::success();
}

std::vector<HistoryRecord> HistoryLog::read() const {
    std::vector<HistoryRecord> records;
    read_lines(older_file(), records);
    read_lines(file_, records);
    return records;
}

platform::Status HistoryLog::clear() {
    last_.reset();
    for (const std::filesystem::path& path : {older_file(), file_}) {
        std::error_code error;
        std::filesystem::remove(path, error);
        if (error) {
            return platform::Status::failure("Tapster could not clear its history in " +
                                             path_text(path) + ": " + error.message() + ".");
        }
    }
    return platform::Status::success();
}

}  // namespace tapster
