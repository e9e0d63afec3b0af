#include "win32/win32_notification_area.h"

#include <shellapi.h>
#include <windowsx.h>

#include <string>

#include "win32/wide_string.h"

namespace tapster::win32 {

namespace {

NOTIFYICONDATAW icon_data(HWND window) {
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof data;
    data.hWnd = window;
    data.uID = kTrayIconId;
    return data;
}

}  // namespace

Win32NotificationArea::Win32NotificationArea(HWND window, HINSTANCE module,
                                             const wchar_t* icon_name)
    : window_(window), module_(module), icon_name_(icon_name) {
    set_dpi(GetDpiForWindow(window));
}

void Win32NotificationArea::set_dpi(UINT dpi) {
    const int size = GetSystemMetricsForDpi(SM_CXSMICON, dpi);
    // Not shared: a shared icon comes at the size first asked for, whatever is asked later.
    ScopedIcon icon(static_cast<HICON>(
        LoadImageW(module_, icon_name_, IMAGE_ICON, size, size, LR_DEFAULTCOLOR)));
    if (!icon) {
        return;  // the old picture stays
    }
    // The shell keeps a copy of the picture: the old one may go once it has the new one.
    std::swap(icon_, icon);
    notify(NIM_MODIFY, last_);
}

bool Win32NotificationArea::notify(DWORD action, const Icon& icon) {
    NOTIFYICONDATAW data = icon_data(window_);
    // Version 4 shows the tip only when asked to.
    data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP | NIF_SHOWTIP;
    data.uCallbackMessage = kTrayCallbackMessage;
    data.hIcon = icon_.get();
    last_ = icon;
    const std::wstring tip = to_wide(icon.tip);
    tip.copy(data.szTip, std::size(data.szTip) - 1);
    return Shell_NotifyIconW(action, &data) != FALSE;
}

bool Win32NotificationArea::add(const Icon& icon) {
    if (!notify(NIM_ADD, icon)) {
        // Refused: either the icon is there already, which a change finds, or the shell is
        // not ready to take it.
        return notify(NIM_MODIFY, icon);
    }
    // Asked anew at every add: a shell that restarted knows nothing of the last one.
    NOTIFYICONDATAW data = icon_data(window_);
    data.uVersion = NOTIFYICON_VERSION_4;
    Shell_NotifyIconW(NIM_SETVERSION, &data);
    return true;
}

bool Win32NotificationArea::show_balloon(const std::string& title, const std::string& text) {
    NOTIFYICONDATAW data = icon_data(window_);
    data.uFlags = NIF_INFO;
    data.dwInfoFlags = NIIF_INFO;
    to_wide(title).copy(data.szInfoTitle, std::size(data.szInfoTitle) - 1);
    to_wide(text).copy(data.szInfo, std::size(data.szInfo) - 1);
    return Shell_NotifyIconW(NIM_MODIFY, &data) != FALSE;
}

bool Win32NotificationArea::remove(const Icon& icon) {
    return notify(NIM_DELETE, icon);
}

bool Win32NotificationArea::modify(const Icon& icon) {
    return notify(NIM_MODIFY, icon);
}

TrayEvent tray_event(LPARAM lparam) {
    switch (LOWORD(lparam)) {
        // The press itself, as a mouse user expects. The NIN_SELECT that follows its release
        // would ask for the same window again.
        case WM_LBUTTONDOWN:
        // Space or Enter on the icon, the keyboard's press.
        case NIN_KEYSELECT:
            return TrayEvent::selected;
        // After a right click, the menu key and Shift+F10 alike. The shell sends
        // WM_RBUTTONUP before it; answering both would open the menu twice.
        case WM_CONTEXTMENU:
            return TrayEvent::menu_requested;
        default:
            return TrayEvent::none;
    }
}

TrayMessages::TrayMessages(HWND window)
    : taskbar_created_(RegisterWindowMessageW(L"TaskbarCreated")) {
    // An elevated copy would otherwise not hear that the notification area came back.
    ChangeWindowMessageFilterEx(window, taskbar_created_, MSGFLT_ALLOW, nullptr);
}

bool TrayMessages::handle(UINT message, WPARAM wparam, LPARAM lparam, WindowEvents& events) const {
    if (message == kTrayCallbackMessage) {
        switch (tray_event(lparam)) {
            case TrayEvent::selected:
                events.tray_selected();
                break;
            case TrayEvent::menu_requested:
                // Version 4 puts the anchor in wParam: the click, or the icon for a menu key.
                events.tray_menu_requested({GET_X_LPARAM(wparam), GET_Y_LPARAM(wparam)});
                break;
            case TrayEvent::none:
                break;
        }
        return true;
    }
    if (message == taskbar_created_ && taskbar_created_ != 0) {
        // Explorer restarted: without the icon, a hidden window could never be shown again.
        events.taskbar_created();
        return true;
    }
    return false;
}

}  // namespace tapster::win32
