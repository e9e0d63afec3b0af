#pragma once

#include <windows.h>

#include <functional>

#include "ui/history_view.h"
#include "win32/modeless_dialog.h"

namespace tapster::win32 {

// The History window: a list view of the records, newest first, in five columns, with
// "Clear history" and "Close". The list is virtual (LVS_OWNERDATA): it asks for the rows it
// paints, so a full history shows as soon as it has been read.
class HistoryDialog final : public ui::HistoryView, private ModelessDialog {
  public:
    // The control identifiers, for the tests that find them.
    static constexpr int kList = 101;
    static constexpr int kClear = 102;

    void set_owner(HWND owner) { owner_ = owner; }
    void show(std::function<void()> clear_chosen) override;
    void set_rows(ui::HistoryRows rows) override;

  private:
    void on_init() override;
    void on_command(int id, int notification) override;
    bool on_message(UINT message, WPARAM wparam, LPARAM lparam, INT_PTR& result) override;
    void show_count();

    HWND owner_ = nullptr;
    std::function<void()> clear_chosen_;
    ui::HistoryRows rows_;
};

}  // namespace tapster::win32
