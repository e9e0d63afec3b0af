#pragma once

#include <windows.h>

#include "platform/record_dialog.h"
#include "win32/modeless_dialog.h"

namespace tapster::win32 {

// "Record from open windows": the open windows that hold a button, and below them the chosen
// window's buttons. Enter on a window goes on to its buttons; Enter on a button (or "Record")
// records it and closes. The list refreshes itself as late answers come in.
class Win32RecordDialog final : public platform::RecordDialog, private ModelessDialog {
  public:
    explicit Win32RecordDialog(HWND owner) : owner_(owner) {}
    ~Win32RecordDialog() override;
    Win32RecordDialog(const Win32RecordDialog&) = delete;
    Win32RecordDialog& operator=(const Win32RecordDialog&) = delete;

    void show(platform::RecordChoices& choices) override;

  private:
    enum Item : int {
        windows_label = 100,
        windows_list,
        buttons_label,
        buttons_list,
        status_text,
        refresh_button,
    };
    static constexpr UINT_PTR kTickTimer = 1;
    static constexpr UINT kTickMs = 500;

    void on_init() override;
    void on_command(int id, int notification) override;
    bool on_message(UINT message, WPARAM wparam, LPARAM lparam, INT_PTR& result) override;

    // Fills the list of windows anew, keeping the chosen one chosen where it is still listed.
    void show_windows();
    // The chosen window's buttons; a window that has closed is left out.
    void show_buttons();
    void record_chosen();
    int chosen(int list) const;

    HWND owner_;
    platform::RecordChoices* choices_ = nullptr;
};

}  // namespace tapster::win32
