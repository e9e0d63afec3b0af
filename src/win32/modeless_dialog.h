#pragma once

#include <windows.h>

#include <string>

#include "win32/dialog_template.h"
#include "win32/scoped_handles.h"

namespace tapster::win32 {

// Tapster's own dialogs, beside the main window. Each dialog is two parts:
//  - the portable part decides: values in, a refusal reason or a result out, unit-tested.
//    MainForm reaches the dialog through a small interface of its own in src/platform/
//    (one call: "show it with these values, call back with what the user chose"), which
//    the headless tests fake;
//  - a class here derived from ModelessDialog, in its own file: its layout (a
//    DialogTemplate, dialog_template.h) and on_init / on_command, which only show the
//    values and hand the user's choice to the portable part.
//
//     class ExampleDialog : private ModelessDialog {
//       public:
//         void show(HWND owner) { open(owner, layout(), "the example dialog"); }
//       private:
//         void on_init() override { set_item_text(kName, name_); }
//         void on_command(int id, int notification) override {
//             if (id == IDOK) { ...; close(); } else { ModelessDialog::on_command(id,
//             notification); }
//         }
//     };
//
// The dialog is modeless (CreateDialogIndirectParamW) and behaves as a modal one: its owner
// is disabled while it is open, and enabled and activated again when it closes. The
// program's one message loop (MainWindow::run_message_loop) hands each message to
// route_message first, so Tab, the access keys (&), Enter (the default button, IDOK) and Esc
// (IDCANCEL) work as in any dialog, without a message loop of its own. Every message runs
// through the exception barrier of window_procedure.h. The object owns the window: ending
// the object closes the dialog. Its font (DS_SHELLFONT) is made and deleted by the system
// with the window. Message boxes shown while a dialog is open are owned by it (last_open),
// since a box enables its owner again when it closes.
class ModelessDialog {
  public:
    ModelessDialog() = default;
    virtual ~ModelessDialog();
    ModelessDialog(const ModelessDialog&) = delete;
    ModelessDialog& operator=(const ModelessDialog&) = delete;

    bool is_open() const { return window_.valid(); }
    HWND hwnd() const { return window_.get(); }

    // Hands a message of the message loop to the open dialogs; true when one of them took it,
    // and the message needs no further dispatch.
    static bool route_message(MSG& message);
    // The dialog opened last that is still open, or nullptr.
    static HWND last_open();

  protected:
    // Shows the dialog over `owner` (nullptr: none) and disables the owner. A dialog already
    // open is only brought to the front. Throws std::runtime_error naming `what` when the
    // system refuses the window.
    void open(HWND owner, const DialogTemplate& layout, const std::string& what);
    // Enables and activates the owner again, and destroys the window.
    void close();

    // WM_INITDIALOG: fill the controls. The focus then goes to the first control with
    // WS_TABSTOP.
    virtual void on_init() {}
    // A control's WM_COMMAND. Enter gives IDOK, Esc, Alt+F4 and the close box IDCANCEL. The
    // default closes on IDCANCEL.
    virtual void on_command(int id, int notification);
    // Any other message; true when handled, with the dialog procedure's answer in `result`.
    virtual bool on_message(UINT /*message*/, WPARAM /*wparam*/, LPARAM /*lparam*/,
                            INT_PTR& /*result*/) {
        return false;
    }

    HWND item(int id) const { return GetDlgItem(window_.get(), id); }
    std::string item_text(int id) const;
    void set_item_text(int id, const std::string& text);
    bool item_checked(int id) const;
    void set_item_checked(int id, bool checked);
    // A message box owned by the dialog, under Tapster's title.
    int tell(const std::string& text, UINT type = MB_OK | MB_ICONWARNING);

  private:
    static INT_PTR CALLBACK procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
    INT_PTR handle(UINT message, WPARAM wparam, LPARAM lparam);
    void forget_window();

    ScopedWindow window_;
    HWND owner_ = nullptr;
};

}  // namespace tapster::win32
