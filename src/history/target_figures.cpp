#include "history/target_figures.h"

#include <array>

namespace tapster {

namespace {

constexpr std::int64_t kSecondsPerDay = 86400;

}  // namespace

std::string short_date_time(const platform::LocalTime& time) {
    static constexpr std::array<const char*, 12> kMonths = {
        "Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    const auto two = [](int value) {
        return std::string(value < 10 ? "0" : "") + std::to_string(value);
    };
    const std::size_t month = time.month >= 1 && time.month <= 12 ? time.month - 1 : 0;
    return std::to_string(time.day) + " " + kMonths[month] + " " + std::to_string(time.year) + " " +
           two(time.hour) + ":" + two(time.minute);
}

void HistoryFigures::add(const HistoryRecord& record) {
    if (!oldest_ || utc_seconds(record.time) < utc_seconds(*oldest_)) {
        oldest_ = record.time;
    }
    if (record.press.refused) {
        return;
    }
    TargetFigures& figures = figures_[record.press.entry];
    figures.presses += record.count;
    if (!figures.last_press || utc_seconds(record.last) > utc_seconds(*figures.last_press)) {
        figures.last_press = record.last;
    }
}

void HistoryFigures::reset(const std::vector<HistoryRecord>& records) {
    clear();
    for (const HistoryRecord& record : records) {
        add(record);
    }
}

void HistoryFigures::clear() {
    figures_.clear();
    oldest_.reset();
}

TargetFigures HistoryFigures::of(std::string_view entry) const {
    const auto found = figures_.find(std::string(entry));
    return found == figures_.end() ? TargetFigures{} : found->second;
}

std::string HistoryFigures::wording(std::string_view entry, const platform::LocalTime& now) const {
    const TargetFigures figures = of(entry);
    const std::int64_t idle_since = utc_seconds(now) - kIdleDays * kSecondsPerDay;
    if (!figures.last_press) {
        return oldest_ && utc_seconds(*oldest_) <= idle_since ? "Not pressed in 30 days"
                                                              : "Not pressed yet";
    }
    const std::string last = short_date_time(*figures.last_press);
    if (utc_seconds(*figures.last_press) <= idle_since) {
        return "Not pressed in 30 days, last on " + last;
    }
    return "Pressed " + std::to_string(figures.presses) +
           (figures.presses == 1 ? " time" : " times") + ", last on " + last;
}

}  // namespace tapster
