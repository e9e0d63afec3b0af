#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace tapster::ui {

// One line of the History window, its columns as the user reads them.
struct HistoryRow {
    std::string time;
    std::string program;
    std::string title;
    std::string button;
    std::string what_happened;
};
using HistoryRows = std::shared_ptr<const std::vector<HistoryRow>>;

// The History window on screen: a list of records and a "Clear history" button. The window
// only shows; what the rows say and what a clear does are the caller's.
class HistoryView {
  public:
    virtual ~HistoryView() = default;
    // Opens the window, or brings it forward when it is open. `clear_chosen` runs on a click
    // of "Clear history".
    virtual void show(std::function<void()> clear_chosen) = 0;
    // What the open window lists, newest first; nothing happens while it is closed.
    virtual void set_rows(HistoryRows rows) = 0;
};

}  // namespace tapster::ui
