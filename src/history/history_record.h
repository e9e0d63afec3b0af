#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "model/press_report.h"
#include "platform/wall_clock.h"

namespace tapster {

// One line of the history file: a press or a refusal, or a run of them of one target that
// came within a minute of the first, folded into one with their count.
struct HistoryRecord {
    platform::LocalTime time;  // of the first press of the run
    platform::LocalTime last;  // of the last one; the same as `time` for a single press
    int count = 1;
    PressReport press;
};

// Seconds since 1970 in UTC, whatever the clock's offset was.
std::int64_t utc_seconds(const platform::LocalTime& time);
// ISO 8601 to the second with the offset: 2026-12-09T14:02:05+01:00.
std::string iso_text(const platform::LocalTime& time);
std::optional<platform::LocalTime> parse_iso_text(std::string_view text);

// One JSON object without a line break, so that any tool can read the file a line at a time.
std::string history_line(const HistoryRecord& record);
// Nothing for a line that is not such an object: damaged or edited by hand, it is skipped.
// Fields a record does not need may be missing; unknown ones are ignored.
std::optional<HistoryRecord> parse_history_line(std::string_view line);

}  // namespace tapster
