// The history file as Tapster reads it back, after a hand or another program changed it: any
// bytes, a line at a time. Besides crashes: a line read as a record is written again as one
// line that reads back the same, and the figures and the window's rows take any record.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>
#include <vector>

#include "history/history_record.h"
#include "history/history_window.h"
#include "history/target_figures.h"

namespace {

void check(bool holds) {
    if (!holds) {
        std::abort();
    }
}

bool same(const tapster::HistoryRecord& a, const tapster::HistoryRecord& b) {
    const tapster::PressReport& x = a.press;
    const tapster::PressReport& y = b.press;
    return a.time == b.time && a.last == b.last && a.count == b.count && x.entry == y.entry &&
           x.title == y.title && x.button == y.button && x.program == y.program &&
           x.drawn == y.drawn && x.forced == y.forced && x.refused == y.refused &&
           x.managed == y.managed;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    std::vector<tapster::HistoryRecord> records;
    tapster::HistoryFigures figures;
    for (std::size_t start = 0; start <= bytes.size();) {
        const std::size_t end = std::min(bytes.find('\n', start), bytes.size());
        const auto record = tapster::parse_history_line(bytes.substr(start, end - start));
        start = end + 1;
        if (!record) {
            continue;
        }
        const std::string line = tapster::history_line(*record);
        check(line.find('\n') == std::string::npos);
        const auto again = tapster::parse_history_line(line);
        check(again.has_value() && same(*record, *again));
        figures.add(*record);
        records.push_back(*record);
    }
    if (!records.empty()) {
        check(tapster::history_rows(records)->size() == records.size());
        (void)figures.wording(records.front().press.entry, records.back().time);
    }
    return 0;
}
