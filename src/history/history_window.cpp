#include "history/history_window.h"

#include "history/target_figures.h"
#include "ui/tell_user.h"

namespace tapster {

namespace {

std::string time_text(const platform::LocalTime& time) {
    const auto two = [](int value) {
        return std::string(value < 10 ? "0" : "") + std::to_string(value);
    };
    return short_date_time(time) + ":" + two(time.second);
}

std::string what_happened(const HistoryRecord& record) {
    const PressReport& press = record.press;
    std::string text = press.refused ? "Refused: the program runs as administrator"
                       : press.drawn ? "Pressed (drawn button)"
                                     : "Pressed";
    if (press.forced && !press.refused) {
        text += ", with a click";
    }
    if (record.count > 1) {
        // The day once: a run of presses seldom passes midnight.
        const bool same_day = record.last.year == record.time.year &&
                              record.last.month == record.time.month &&
                              record.last.day == record.time.day;
        const std::string until = time_text(record.last);
        text += ", " + std::to_string(record.count) + " times until " +
                (same_day ? until.substr(until.rfind(' ') + 1) : until);
    }
    if (press.managed) {
        text += " (administrator's target)";
    }
    return text;
}

}  // namespace

ui::HistoryRows history_rows(const std::vector<HistoryRecord>& records) {
    auto rows = std::make_shared<std::vector<ui::HistoryRow>>();
    rows->reserve(records.size());
    for (auto record = records.rbegin(); record != records.rend(); ++record) {
        rows->push_back({time_text(record->time), record->press.program, record->press.title,
                         record->press.button, what_happened(*record)});
    }
    return rows;
}

void HistoryWindow::on_chosen() {
    view_.show([this] { on_clear_chosen(); });
    history_.read(
        [this](const PressHistory::Records& records) { view_.set_rows(history_rows(*records)); });
}

void HistoryWindow::on_clear_chosen() {
    history_.clear([this](const platform::Status& status) {
        if (status.failed()) {
            ui::tell_user(message_boxes_, status.message());
        }
        // What is left, or nothing: the window shows the file as it is now.
        history_.read([this](const PressHistory::Records& records) {
            view_.set_rows(history_rows(*records));
        });
    });
}

}  // namespace tapster
