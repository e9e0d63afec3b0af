#include "win32/win32_record_dialog.h"

#include <string>

#include "win32/wide_string.h"

namespace tapster::win32 {

namespace {

constexpr DWORD kRecordListStyle =
    LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_BORDER | WS_TABSTOP;

std::wstring selected_line(HWND list) {
    const auto selected = SendMessageW(list, LB_GETCURSEL, 0, 0);
    if (selected == LB_ERR) {
        return {};
    }
    const auto length = SendMessageW(list, LB_GETTEXTLEN, static_cast<WPARAM>(selected), 0);
    if (length == LB_ERR) {
        return {};
    }
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(selected),
                 reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<std::size_t>(length));
    return text;
}

void fill_list(HWND list, const std::vector<std::string>& lines, const std::wstring& keep) {
    SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    SendMessageW(list, LB_RESETCONTENT, 0, 0);
    for (const std::string& line : lines) {
        SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(to_wide(line).c_str()));
    }
    LRESULT selected = keep.empty()
                           ? LB_ERR
                           : SendMessageW(list, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                          reinterpret_cast<LPARAM>(keep.c_str()));
    if (!lines.empty()) {
        SendMessageW(list, LB_SETCURSEL, selected == LB_ERR ? 0 : static_cast<WPARAM>(selected), 0);
    }
    SendMessageW(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, TRUE);
}

}  // namespace

Win32RecordDialog::~Win32RecordDialog() {
    if (choices_ != nullptr) {
        choices_->on_change(nullptr);
    }
}

void Win32RecordDialog::show(platform::RecordChoices& choices) {
    choices_ = &choices;
    DialogTemplate layout("Record from open windows", 320, 202);
    layout.add(DialogClass::static_text, "&Windows that hold a button:", SS_LEFT, {7, 7, 306, 8},
               windows_label);
    layout.add(DialogClass::list_box, "", kRecordListStyle, {7, 17, 306, 86}, windows_list);
    layout.add(DialogClass::static_text, "&Buttons of that window:", SS_LEFT, {7, 108, 306, 8},
               buttons_label);
    layout.add(DialogClass::list_box, "", kRecordListStyle, {7, 118, 306, 44}, buttons_list);
    layout.add(DialogClass::static_text, "", SS_LEFT | SS_NOPREFIX, {7, 166, 306, 12}, status_text);
    layout.add(DialogClass::button, "&Refresh", BS_PUSHBUTTON | WS_TABSTOP, {7, 181, 60, 14},
               refresh_button);
    layout.add(DialogClass::button, "Record", BS_DEFPUSHBUTTON | WS_TABSTOP, {199, 181, 55, 14},
               IDOK);
    layout.add(DialogClass::button, "Cancel", BS_PUSHBUTTON | WS_TABSTOP, {258, 181, 55, 14},
               IDCANCEL);
    open(owner_, layout, "the window to record from");
}

void Win32RecordDialog::on_init() {
    SetTimer(hwnd(), kTickTimer, kTickMs, nullptr);
    choices_->on_change([this] { show_windows(); });
    choices_->refresh();
}

bool Win32RecordDialog::on_message(UINT message, WPARAM wparam, LPARAM /*lparam*/,
                                   INT_PTR& result) {
    if (message == WM_TIMER && wparam == kTickTimer) {
        choices_->tick();
        result = 0;
        return true;
    }
    if (message == WM_DESTROY) {
        // Answers that come after the dialog has gone change nothing on screen.
        choices_->on_change(nullptr);
        KillTimer(hwnd(), kTickTimer);
    }
    return false;
}

void Win32RecordDialog::on_command(int id, int notification) {
    switch (id) {
        case windows_list:
            if (notification == LBN_SELCHANGE) {
                show_buttons();
            } else if (notification == LBN_DBLCLK) {
                SendMessageW(hwnd(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(item(buttons_list)),
                             TRUE);
            }
            break;
        case buttons_list:
            if (notification == LBN_DBLCLK) {
                record_chosen();
            }
            break;
        case refresh_button:
            choices_->refresh();
            break;
        case IDOK:
            // Enter on a window goes on to its buttons, as choosing a window does.
            if (GetFocus() == item(windows_list) &&
                SendMessageW(item(buttons_list), LB_GETCOUNT, 0, 0) > 0) {
                SendMessageW(hwnd(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(item(buttons_list)),
                             TRUE);
            } else {
                record_chosen();
            }
            break;
        default:
            ModelessDialog::on_command(id, notification);
            break;
    }
}

void Win32RecordDialog::show_windows() {
    fill_list(item(windows_list), choices_->window_lines(), selected_line(item(windows_list)));
    set_item_text(status_text, choices_->status());
    show_buttons();
}

void Win32RecordDialog::show_buttons() {
    const int window = chosen(windows_list);
    if (window < 0) {
        fill_list(item(buttons_list), {}, {});
        return;
    }
    // A window that has closed is left out, and the list is shown again without it.
    if (const auto buttons = choices_->buttons_of(static_cast<std::size_t>(window))) {
        fill_list(item(buttons_list), *buttons, selected_line(item(buttons_list)));
    }
}

void Win32RecordDialog::record_chosen() {
    const int window = chosen(windows_list);
    const int button = chosen(buttons_list);
    if (window < 0 || button < 0) {
        MessageBeep(MB_OK);
        return;
    }
    if (choices_->record(static_cast<std::size_t>(window), static_cast<std::size_t>(button))) {
        close();
    }
}

int Win32RecordDialog::chosen(int list) const {
    const auto selected = SendMessageW(item(list), LB_GETCURSEL, 0, 0);
    return selected == LB_ERR ? -1 : static_cast<int>(selected);
}

}  // namespace tapster::win32
