#include "win32/modeless_dialog.h"

#include <algorithm>
#include <string>
#include <vector>

#include "model/captions.h"
#include "win32/wide_string.h"
#include "win32/window_procedure.h"

namespace tapster::win32 {

namespace {

// In the order they were opened.
std::vector<ModelessDialog*>& open_modeless_dialogs() {
    static std::vector<ModelessDialog*> dialogs;
    return dialogs;
}

// Over the middle of the owner while it shows, else in the middle of the owner's screen.
void center_dialog(HWND dialog, HWND owner) {
    RECT area{};
    if (owner != nullptr && IsWindowVisible(owner) != FALSE && IsIconic(owner) == FALSE) {
        GetWindowRect(owner, &area);
    } else {
        MONITORINFO monitor{};
        monitor.cbSize = sizeof monitor;
        GetMonitorInfoW(
            MonitorFromWindow(owner != nullptr ? owner : dialog, MONITOR_DEFAULTTOPRIMARY),
            &monitor);
        area = monitor.rcWork;
    }
    RECT own{};
    GetWindowRect(dialog, &own);
    const int width = own.right - own.left;
    const int height = own.bottom - own.top;
    const int left = std::max<int>(area.left, (area.left + area.right - width) / 2);
    const int top = std::max<int>(area.top, (area.top + area.bottom - height) / 2);
    SetWindowPos(dialog, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

ModelessDialog::~ModelessDialog() {
    close();
}

bool ModelessDialog::route_message(MSG& message) {
    // A key may close a dialog and so change the list.
    std::vector<HWND> windows;
    for (const ModelessDialog* dialog : open_modeless_dialogs()) {
        windows.push_back(dialog->hwnd());
    }
    for (auto window = windows.rbegin(); window != windows.rend(); ++window) {
        if (IsWindow(*window) != FALSE && IsDialogMessageW(*window, &message) != FALSE) {
            return true;
        }
    }
    return false;
}

HWND ModelessDialog::last_open() {
    return open_modeless_dialogs().empty() ? nullptr : open_modeless_dialogs().back()->hwnd();
}

void ModelessDialog::open(HWND owner, const DialogTemplate& layout, const std::string& what) {
    if (is_open()) {
        SetForegroundWindow(hwnd());
        return;
    }
    owner_ = owner;
    checked_window(
        CreateDialogIndirectParamW(GetModuleHandleW(nullptr), layout.get(), owner,
                                   &ModelessDialog::procedure, reinterpret_cast<LPARAM>(this)),
        what);
    open_modeless_dialogs().push_back(this);
    if (owner_ != nullptr) {
        EnableWindow(owner_, FALSE);
    }
    center_dialog(hwnd(), owner_);
    ShowWindow(hwnd(), SW_SHOW);
    SetForegroundWindow(hwnd());
}

void ModelessDialog::close() {
    if (!is_open()) {
        return;
    }
    const bool was_active = GetForegroundWindow() == hwnd();
    // Enabled first, so that the system gives the activation back to the owner.
    if (owner_ != nullptr) {
        EnableWindow(owner_, TRUE);
    }
    window_.reset();
    if (was_active && owner_ != nullptr && IsWindowVisible(owner_) != FALSE) {
        SetForegroundWindow(owner_);
    }
}

void ModelessDialog::forget_window() {
    auto& dialogs = open_modeless_dialogs();
    dialogs.erase(std::remove(dialogs.begin(), dialogs.end(), this), dialogs.end());
    if (owner_ != nullptr) {
        EnableWindow(owner_, TRUE);
    }
    window_.release();
}

void ModelessDialog::on_command(int id, int /*notification*/) {
    if (id == IDCANCEL) {
        close();
    }
}

INT_PTR CALLBACK ModelessDialog::procedure(HWND window, UINT message, WPARAM wparam,
                                           LPARAM lparam) {
    if (message == WM_INITDIALOG) {
        auto* self = reinterpret_cast<ModelessDialog*>(lparam);
        SetWindowLongPtrW(window, DWLP_USER, lparam);
        self->window_.reset(window);
    }
    auto* self = reinterpret_cast<ModelessDialog*>(GetWindowLongPtrW(window, DWLP_USER));
    if (self == nullptr) {
        return FALSE;
    }
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(window, DWLP_USER, 0);
        self->forget_window();
        return FALSE;
    }
    return guarded([&] { return self->handle(message, wparam, lparam); },
                   [] { return LRESULT{FALSE}; });
}

INT_PTR ModelessDialog::handle(UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
        case WM_INITDIALOG:
            on_init();
            return TRUE;
        case WM_COMMAND:
            on_command(LOWORD(wparam), HIWORD(wparam));
            return TRUE;
        default:
            break;
    }
    INT_PTR result = FALSE;
    return on_message(message, wparam, lparam, result) ? result : FALSE;
}

std::string ModelessDialog::item_text(int id) const {
    HWND control = item(id);
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(control)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        GetWindowTextW(control, text.data(), static_cast<int>(text.size()))));
    return to_utf8(text);
}

void ModelessDialog::set_item_text(int id, const std::string& text) {
    SetWindowTextW(item(id), to_wide(text).c_str());
}

bool ModelessDialog::item_checked(int id) const {
    return IsDlgButtonChecked(hwnd(), id) == BST_CHECKED;
}

void ModelessDialog::set_item_checked(int id, bool checked) {
    CheckDlgButton(hwnd(), id, checked ? BST_CHECKED : BST_UNCHECKED);
}

int ModelessDialog::tell(const std::string& text, UINT type) {
    return MessageBoxW(hwnd(), to_wide(text).c_str(), to_wide(kMessageTitle).c_str(), type);
}

}  // namespace tapster::win32
