#pragma once

#include <vector>

#include "history/press_history.h"
#include "platform/message_boxes.h"
#include "ui/history_view.h"

namespace tapster {

// The History window's rows: newest first, each record as the user reads it.
ui::HistoryRows history_rows(const std::vector<HistoryRecord>& records);

// Opens the History window at once and fills it when the history has been read, which a
// slow disk may delay but never the window. "Clear history" empties the file and the window.
class HistoryWindow {
  public:
    HistoryWindow(PressHistory& history, ui::HistoryView& view,
                  platform::MessageBoxes& message_boxes)
        : history_(history), view_(view), message_boxes_(message_boxes) {}

    void on_chosen();

  private:
    void on_clear_chosen();

    PressHistory& history_;
    ui::HistoryView& view_;
    platform::MessageBoxes& message_boxes_;
};

}  // namespace tapster
