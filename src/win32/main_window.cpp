#include "win32/main_window.h"

#include <windowsx.h>

#include <cmath>

#include "win32/form_pointer.h"
#include "win32/mouse_state.h"
#include "win32/resource_ids.h"
#include "win32/single_instance.h"
#include "win32/wide_string.h"
#include "win32/win32_policy.h"

namespace tapster::win32 {

namespace {

constexpr DWORD kStyle = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
constexpr DWORD kExStyle = WS_EX_CONTROLPARENT;

HICON load_icon(int id, int size, UINT flags) {
    return static_cast<HICON>(
        LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id), IMAGE_ICON, size, size, flags));
}

}  // namespace

MainWindow::MainWindow() {
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    // Shared icons belong to the system and live as long as the program.
    small_icon_ = load_icon(IDI_TAPSTER, GetSystemMetrics(SM_CXSMICON), LR_SHARED);
    WNDCLASSEXW window_class{};
    window_class.cbSize = sizeof window_class;
    window_class.lpfnWndProc = &WindowProcedure::procedure;
    window_class.hInstance = instance;
    window_class.hIcon = load_icon(IDI_TAPSTER, GetSystemMetrics(SM_CXICON), LR_SHARED);
    window_class.hIconSm = small_icon_;
    window_class.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    window_class.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    window_class.lpszClassName = kClassName;
    RegisterClassExW(&window_class);

    taskbar_created_ = RegisterWindowMessageW(L"TaskbarCreated");
    hwnd_ = CreateWindowExW(kExStyle, kClassName, L"", kStyle, CW_USEDEFAULT, CW_USEDEFAULT,
                            CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, instance,
                            creation_parameter());
    // An elevated copy would otherwise not hear that the notification area came back.
    ChangeWindowMessageFilterEx(hwnd_, taskbar_created_, MSGFLT_ALLOW, nullptr);
    // A second start reaches this copy with it, whatever its integrity level.
    show_request_ = show_window_message();
    ChangeWindowMessageFilterEx(hwnd_, show_request_, MSGFLT_ALLOW, nullptr);
    dpi_ = static_cast<int>(GetDpiForWindow(hwnd_));
}

MainWindow::~MainWindow() {
    views_.clear();
    if (hwnd_ != nullptr) {
        // The form hears nothing of the window's last messages.
        form_ = nullptr;
        DestroyWindow(hwnd_);
    }
}

void MainWindow::attach(MainForm& form) {
    form_ = &form;
    form.window.set_observer(this);
    form.window.user_set_dpi(dpi_);
    set_window_text(hwnd_, form.window.caption());

    menus_ = std::make_unique<MenuView>(hwnd_, form.menu_bar(), form.list_menu);
    menus_->add_popup(form.tray_menu);
    SetMenu(hwnd_, menus_->release_bar());

    views_.create(form.controls(), hwnd_);

    apply_dpi(dpi_);
    size_to_design();
    for (ui::Timer* timer : form.timers()) {
        timer->set_observer(this);
        sync_timer(*timer);
    }
}

void MainWindow::apply_dpi(int dpi) {
    dpi_ = dpi;
    if (form_ != nullptr) {
        form_->window.user_set_dpi(dpi);
    }
    // The layout was designed in twips for the classic 8-point dialog font; larger modern
    // fonts would wrap the labels out of their boxes.
    LOGFONTW dialog_font{};
    dialog_font.lfHeight = -MulDiv(8, dpi, 72);
    dialog_font.lfWeight = FW_NORMAL;
    dialog_font.lfCharSet = DEFAULT_CHARSET;
    dialog_font.lfQuality = CLEARTYPE_QUALITY;
    lstrcpynW(dialog_font.lfFaceName, L"MS Sans Serif", LF_FACESIZE);
    // The old font is released only once no control uses it any more.
    ScopedFont font(CreateFontIndirectW(&dialog_font));
    const ViewStyle style{dpi, font.get()};
    views_.apply_style(style);
    font_ = std::move(font);
}

void MainWindow::size_to_design() {
    const ui::TwipsRect& client = form_->window.rect();
    RECT outer{0, 0, ui::twips_to_pixels(client.width, dpi_),
               ui::twips_to_pixels(client.height, dpi_)};
    AdjustWindowRectExForDpi(&outer, kStyle, TRUE, kExStyle, static_cast<UINT>(dpi_));
    SetWindowPos(hwnd_, nullptr, 0, 0, outer.right - outer.left, outer.bottom - outer.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void MainWindow::sync_timer(const ui::Timer& timer) {
    const auto timers = form_->timers();
    for (std::size_t index = 0; index < timers.size(); ++index) {
        if (timers[index] != &timer) {
            continue;
        }
        const UINT_PTR timer_id = index + 1;
        if (timer.running()) {
            SetTimer(hwnd_, timer_id, timer.interval(), nullptr);
        } else {
            KillTimer(hwnd_, timer_id);
        }
    }
}

void MainWindow::control_changed(ui::Control& control, ui::Change change) {
    if (&control != &form_->window) {
        sync_timer(static_cast<ui::Timer&>(control));
        return;
    }
    switch (change) {
        case ui::Change::visible:
            if (form_->window.visible()) {
                ShowWindow(hwnd_, SW_SHOW);
                SetForegroundWindow(hwnd_);
            } else {
                ShowWindow(hwnd_, SW_HIDE);
            }
            break;
        case ui::Change::text:
            set_window_text(hwnd_, form_->window.caption());
            break;
        case ui::Change::mouse_pointer:
            // At once: while the check mark holds the mouse capture, nobody asks for the
            // cursor again until the button comes up.
            SetCursor(cursor_for(form_->window.mouse_pointer()));
            break;
        default:
            break;
    }
}

bool MainWindow::route_command(WPARAM wparam, LPARAM lparam) {
    const int id = LOWORD(wparam);
    if (lparam == 0) {
        return menus_ != nullptr && menus_->on_command(id);
    }
    ControlView* view = views_.by_id(id);
    if (view == nullptr) {
        return false;
    }
    view->on_command(HIWORD(wparam));
    return true;
}

bool MainWindow::pre_translate(MSG& message) {
    if (hwnd_ == nullptr || (message.hwnd != hwnd_ && !IsChild(hwnd_, message.hwnd))) {
        return false;
    }
    if (message.message == WM_KEYDOWN && message.wParam == VK_TAB && form_ != nullptr) {
        views_.move_focus(form_->tab_order(), GetKeyState(VK_SHIFT) < 0);
        return true;
    }
    return IsDialogMessageW(hwnd_, &message) != FALSE;
}

int MainWindow::run_message_loop() {
    MSG message{};
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (!pre_translate(message)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
    return static_cast<int>(message.wParam);
}

LRESULT MainWindow::on_message(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_NCCREATE) {
        hwnd_ = window;
    }
    if (form_ == nullptr) {
        return DefWindowProcW(window, message, wparam, lparam);
    }
    return handle(message, wparam, lparam);
}

LRESULT MainWindow::handle(UINT message, WPARAM wparam, LPARAM lparam) {
    MainForm& form = *form_;
    if (message == taskbar_created_ && taskbar_created_ != 0) {
        // The notification area was re-created (Explorer restarted): put the icon back, or
        // a hidden window could never be shown again.
        form.tray.add();
        return 0;
    }
    if (message == show_request_ && show_request_ != 0) {
        // Through the form's own state, so that it knows it is shown.
        form.window.set_visible(true);
        if (IsIconic(hwnd_) != FALSE) {
            ShowWindow(hwnd_, SW_RESTORE);
        }
        SetForegroundWindow(hwnd_);
        return 0;
    }
    switch (message) {
        case WM_COMMAND:
            if (route_command(wparam, lparam)) {
                return 0;
            }
            break;
        case WM_NOTIFY: {
            const auto& header = *reinterpret_cast<const NMHDR*>(lparam);
            if (ControlView* view = views_.by_window(header.hwndFrom)) {
                return view->on_notify(header);
            }
            break;
        }
        case WM_TIMER: {
            const auto timers = form.timers();
            if (wparam >= 1 && wparam <= timers.size() && timers[wparam - 1]->running()) {
                timers[wparam - 1]->tick();
            }
            return 0;
        }
        case WM_CLOSE: {
            int cancel = 0;
            form.on_close_requested(cancel);
            if (cancel == 0) {
                DestroyWindow(hwnd_);
            }
            return 0;
        }
        case WM_SETTINGCHANGE:
            if (announces_policy_change(reinterpret_cast<const wchar_t*>(lparam))) {
                form.on_policy_changed();
            }
            break;
        case WM_QUERYENDSESSION:
            return TRUE;
        case WM_ENDSESSION:
            // The session is ending and takes the process with it; leave no stale icon.
            if (wparam != FALSE) {
                form.tray.remove();
            }
            return 0;
        case WM_SIZE: {
            RECT outer{};
            GetWindowRect(hwnd_, &outer);
            form.window.user_set_outer_width(
                static_cast<int>(std::lround(ui::pixels_to_twips(outer.right - outer.left, dpi_))));
            form.on_resized();
            return 0;
        }
        case WM_MOUSEMOVE:
            form.on_mouse_move(mouse_buttons(wparam), shift_keys(wparam),
                               ui::pixels_to_twips(GET_X_LPARAM(lparam), dpi_),
                               ui::pixels_to_twips(GET_Y_LPARAM(lparam), dpi_));
            return 0;
        case WM_SETCURSOR:
            if (shows_form_pointer(form.window.mouse_pointer(), hwnd_,
                                   reinterpret_cast<HWND>(wparam), LOWORD(lparam))) {
                SetCursor(cursor_for(form.window.mouse_pointer()));
                return TRUE;
            }
            break;
        case WM_DPICHANGED: {
            const auto* suggested = reinterpret_cast<const RECT*>(lparam);
            apply_dpi(HIWORD(wparam));
            SetWindowPos(hwnd_, nullptr, suggested->left, suggested->top,
                         suggested->right - suggested->left, suggested->bottom - suggested->top,
                         SWP_NOZORDER | SWP_NOACTIVATE);
            return 0;
        }
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
        default:
            break;
    }
    return DefWindowProcW(hwnd_, message, wparam, lparam);
}

}  // namespace tapster::win32
