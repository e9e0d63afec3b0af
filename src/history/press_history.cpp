#include "history/press_history.h"

#include <utility>

#include "model/captions.h"

namespace tapster {

PressHistory::PressHistory(std::filesystem::path file, Services services)
    : file_(std::move(file)), services_(services) {
    if (!file_.empty()) {
        writer_.emplace(file_, [this](const std::string& message) {
            services_.dispatcher.post([this, message] { on_failed(message); });
        });
    }
}

void PressHistory::report(PressReport report) {
    if (!keeping()) {
        return;
    }
    HistoryRecord record;
    record.time = services_.clock.now();
    record.last = record.time;
    record.press = std::move(report);
    figures_.add(record);
    if (reading_figures_) {
        reported_while_reading_.push_back(record);
    }
    writer_->add(std::move(record));
}

void PressHistory::start() {
    if (!writer_) {
        return;
    }
    reading_figures_ = true;
    read([this](const Records& records) {
        reading_figures_ = false;
        figures_.reset(*records);
        for (const HistoryRecord& record : std::exchange(reported_while_reading_, {})) {
            figures_.add(record);
        }
    });
}

void PressHistory::read(std::function<void(Records)> done) {
    if (!writer_) {
        done(std::make_shared<const std::vector<HistoryRecord>>());
        return;
    }
    writer_->run([&dispatcher = services_.dispatcher, done = std::move(done)](HistoryLog& log) {
        Records records = std::make_shared<const std::vector<HistoryRecord>>(log.read());
        dispatcher.post([done, records] { done(records); });
    });
}

void PressHistory::clear(std::function<void(platform::Status)> done) {
    figures_.clear();
    reported_while_reading_.clear();
    if (!writer_) {
        done(platform::Status::success());
        return;
    }
    writer_->run([&dispatcher = services_.dispatcher, done = std::move(done)](HistoryLog& log) {
        auto status = std::make_shared<platform::Status>(log.clear());
        dispatcher.post([done, status] { done(*status); });
    });
}

void PressHistory::on_failed(const std::string& message) {
    // Once per run: a full disk fails every press, and pressing goes on regardless.
    if (failure_told_) {
        return;
    }
    failure_told_ = services_.notification_area.show_balloon(
        std::string(kMessageTitle), message + " Tapster goes on pressing, without a history.");
}

}  // namespace tapster
