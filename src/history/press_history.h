#pragma once

#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "history/history_writer.h"
#include "history/target_figures.h"
#include "model/press_report.h"
#include "platform/dispatcher.h"
#include "platform/notification_area.h"
#include "platform/status.h"
#include "platform/wall_clock.h"

namespace tapster {

// The history of presses as the GUI thread sees it: a report is stamped with the time and
// handed to the writer, and each target's figures are kept up to date here, so that a look at
// them reads no file. Reads and clears run on the writer's thread and answer on this one.
class PressHistory final : public PressSink {
  public:
    using Records = std::shared_ptr<const std::vector<HistoryRecord>>;

    struct Services {
        platform::WallClock& clock;
        platform::Dispatcher& dispatcher;
        platform::NotificationArea& notification_area;
    };

    // An empty path keeps nothing: the unit tests', or a system that names no folder for it.
    PressHistory(std::filesystem::path file, Services services);

    bool keeping() const override { return keeping_ && writer_.has_value(); }
    void set_keeping(bool keeping) { keeping_ = keeping; }
    void report(PressReport report) override;

    // Reads the file for the figures.
    void start();
    void read(std::function<void(Records)> done);
    void clear(std::function<void(platform::Status)> done);
    // Before the program ends: what is queued reaches the disk, if it can in that time.
    bool flush(std::chrono::milliseconds limit) { return !writer_ || writer_->flush(limit); }

    const HistoryFigures& figures() const { return figures_; }
    platform::LocalTime now() { return services_.clock.now(); }
    const std::filesystem::path& file() const { return file_; }

  private:
    void on_failed(const std::string& message);

    std::filesystem::path file_;
    Services services_;
    HistoryFigures figures_;
    bool keeping_ = true;
    bool failure_told_ = false;
    // Presses made while the figures were being read come in after the read.
    std::vector<HistoryRecord> reported_while_reading_;
    bool reading_figures_ = false;
    // Last: its thread may call back into the members above until it ends.
    std::optional<HistoryWriter> writer_;
};

}  // namespace tapster
