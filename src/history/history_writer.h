#pragma once

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "history/history_log.h"

namespace tapster {

// Writes the history on a thread of its own, so that a slow or full disk never holds up the
// GUI thread: that thread only queues. Reads and clears queue behind the records before them,
// so a read sees every press reported before it. What the disk refuses is dropped, and
// `failed` hears why, on the writer's thread, at every failure.
class HistoryWriter {
  public:
    using Failed = std::function<void(const std::string& message)>;
    // Runs on the writer's thread, with the log to itself.
    using Task = std::function<void(HistoryLog& log)>;

    HistoryWriter(std::filesystem::path file, Failed failed);
    // Writes what is still queued, then ends the thread.
    ~HistoryWriter();
    HistoryWriter(const HistoryWriter&) = delete;
    HistoryWriter& operator=(const HistoryWriter&) = delete;

    void add(HistoryRecord record);
    void run(Task task);
    // Waits, at most `limit`, until everything queued before has been done.
    bool flush(std::chrono::milliseconds limit);

  private:
    struct Job {
        std::optional<HistoryRecord> record;
        Task task;
    };
    void work();
    void enqueue(Job job);

    HistoryLog log_;
    Failed failed_;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::condition_variable idle_;
    std::deque<Job> jobs_;
    bool busy_ = false;
    bool stopping_ = false;
    std::thread thread_;  // last: it starts once the rest is ready
};

}  // namespace tapster
