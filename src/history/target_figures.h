#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "history/history_record.h"

namespace tapster {

// What the history says of one target: how often it was pressed and when last.
struct TargetFigures {
    long long presses = 0;
    std::optional<platform::LocalTime> last_press;
};

// The figures of every target the history names, by the target's text in the list.
class HistoryFigures {
  public:
    static constexpr int kIdleDays = 30;

    void add(const HistoryRecord& record);
    void reset(const std::vector<HistoryRecord>& records);
    void clear();

    TargetFigures of(std::string_view entry) const;
    // "Pressed 12 times, last on 9 Dec 2026 14:02", or, for a target the history shows no
    // press of within 30 days before `now`, "Not pressed in 30 days" (and when it last was).
    // A history younger than that, with no press of it, says "Not pressed yet".
    std::string wording(std::string_view entry, const platform::LocalTime& now) const;

  private:
    std::unordered_map<std::string, TargetFigures> figures_;
    std::optional<platform::LocalTime> oldest_;
};

// 9 Dec 2026 14:02, in the clock's own time.
std::string short_date_time(const platform::LocalTime& time);

}  // namespace tapster
