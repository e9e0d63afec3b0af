#include "history/history_writer.h"

#include <utility>
#include <vector>

namespace tapster {

HistoryWriter::HistoryWriter(std::filesystem::path file, Failed failed)
    : log_(std::move(file)), failed_(std::move(failed)), thread_([this] { work(); }) {}

HistoryWriter::~HistoryWriter() {
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_all();
    thread_.join();
}

void HistoryWriter::add(HistoryRecord record) {
    enqueue({std::move(record), {}});
}

void HistoryWriter::run(Task task) {
    enqueue({std::nullopt, std::move(task)});
}

void HistoryWriter::enqueue(Job job) {
    {
        const std::lock_guard lock(mutex_);
        jobs_.push_back(std::move(job));
    }
    wake_.notify_one();
}

bool HistoryWriter::flush(std::chrono::milliseconds limit) {
    std::unique_lock lock(mutex_);
    return idle_.wait_for(lock, limit, [this] { return jobs_.empty() && !busy_; });
}

void HistoryWriter::work() {
    std::unique_lock lock(mutex_);
    for (;;) {
        wake_.wait(lock, [this] { return stopping_ || !jobs_.empty(); });
        if (jobs_.empty()) {
            return;  // stopping, and nothing is left to write
        }
        // Everything queued meanwhile goes at once: a burst of presses costs one write.
        std::deque<Job> jobs = std::exchange(jobs_, {});
        busy_ = true;
        lock.unlock();
        std::vector<HistoryRecord> records;
        const auto write = [&] {
            if (const auto status = log_.add(records); status.failed() && failed_) {
                failed_(status.message());
            }
            records.clear();
        };
        // No exception may end this thread, and with it the program.
        try {
            for (Job& job : jobs) {
                if (job.record) {
                    records.push_back(std::move(*job.record));
                } else {
                    write();
                    job.task(log_);
                }
            }
            write();
        } catch (const std::exception& error) {
            if (failed_) {
                failed_(std::string("Tapster could not keep its history: ") + error.what() + ".");
            }
        }
        lock.lock();
        busy_ = false;
        if (jobs_.empty()) {
            idle_.notify_all();
        }
    }
}

}  // namespace tapster
