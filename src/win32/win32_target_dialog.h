#pragma once

#include <windows.h>

#include "platform/target_dialog.h"
#include "win32/modeless_dialog.h"

namespace tapster::win32 {

// A target's dialog over the main window: it shows the fields, keeps the line that says
// what they describe up to date as the user types, and hands OK to the form, which may
// refuse it with a reason.
class Win32TargetDialog : public platform::TargetDialog, private ModelessDialog {
  public:
    void set_owner(HWND owner) { owner_ = owner; }
    void show(const platform::TargetDialogContent& content, Describe describe,
              Accept accept) override;

  private:
    void on_init() override;
    void on_command(int id, int notification) override;
    platform::TargetFields shown_fields() const;
    void describe_shown();
    void on_ok();

    HWND owner_ = nullptr;
    platform::TargetDialogContent content_;
    Describe describe_;
    Accept accept_;
    bool filling_ = false;  // the dialog's own writes into its boxes are no edits
};

}  // namespace tapster::win32
