#include "win32/main_window.h"

#include <cmath>

#include "app/window_controls.h"
#include "win32/form_pointer.h"
#include "win32/modeless_dialog.h"
#include "win32/resource_ids.h"
#include "win32/single_instance.h"
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
    // Shared icons belong to the system and live as long as the program.
    register_window_class(kMainWindowClass,
                          {GetSysColorBrush(COLOR_BTNFACE),
                           load_icon(IDI_TAPSTER, GetSystemMetrics(SM_CXICON), LR_SHARED),
                           load_icon(IDI_TAPSTER, GetSystemMetrics(SM_CXSMICON), LR_SHARED)});
    hwnd_ =
        checked_window(CreateWindowExW(kExStyle, kMainWindowClass, L"", kStyle, CW_USEDEFAULT,
                                       CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr,
                                       nullptr, GetModuleHandleW(nullptr), creation_parameter()),
                       "the main window");
    notification_area_.emplace(hwnd_, GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_TAPSTER));
    tray_messages_.emplace(hwnd_);
    // A second start reaches this copy with it, whatever its integrity level.
    show_request_ = show_window_message();
    ChangeWindowMessageFilterEx(hwnd_, show_request_, MSGFLT_ALLOW, nullptr);
    dpi_ = static_cast<int>(GetDpiForWindow(hwnd_));
}

MainWindow::~MainWindow() {
    views_.clear();
    if (form_ != nullptr) {
        // The form hears nothing of the window's last messages.
        for (const auto& [control, connection] : observed_) {
            control->state_changed.disconnect(connection);
        }
        form_ = nullptr;
    }
    if (hwnd_ != nullptr) {
        DestroyWindow(hwnd_);
    }
}

void MainWindow::observe(ui::Control& control) {
    observed_.emplace_back(
        &control, control.state_changed.connect(
                      [this, &control](ui::Change change) { control_changed(control, change); }));
}

void MainWindow::attach(WindowEvents& form) {
    form_ = &form;
    WindowControls& controls = form.controls();
    observe(controls.window);
    set_window_text(hwnd_, controls.window.caption());

    menus_ = std::make_unique<MenuView>(hwnd_, controls.menu_bar(), controls.list_menu);
    menus_->add_popup(controls.tray_menu);
    SetMenu(hwnd_, menus_->release_bar());

    views_.create(controls.controls(), hwnd_);

    apply_dpi(dpi_);
    size_to_design();
    for (std::size_t index = 0; index < kWindowTimers.size(); ++index) {
        observe(controls.timer(kWindowTimers[index]));
        sync_timer(index);
    }
}

void MainWindow::apply_dpi(int dpi) {
    dpi_ = dpi;
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
    const ui::TwipsRect& client = form_->controls().window.rect();
    RECT outer{0, 0, ui::twips_to_pixels(client.width, dpi_),
               ui::twips_to_pixels(client.height, dpi_)};
    AdjustWindowRectExForDpi(&outer, kStyle, TRUE, kExStyle, static_cast<UINT>(dpi_));
    SetWindowPos(hwnd_, nullptr, 0, 0, outer.right - outer.left, outer.bottom - outer.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void MainWindow::sync_timer(std::size_t index) {
    const ui::Timer& timer = form_->controls().timer(kWindowTimers[index]);
    const UINT_PTR timer_id = index + 1;
    timer_running_[index] = timer.running();
    if (timer.running()) {
        SetTimer(hwnd_, timer_id, timer.interval(), nullptr);
    } else {
        KillTimer(hwnd_, timer_id);
    }
}

void MainWindow::control_changed(ui::Control& control, ui::Change change) {
    WindowControls& controls = form_->controls();
    if (&control == &controls.window) {
        mirror_window(change);
        return;
    }
    for (std::size_t index = 0; index < kWindowTimers.size(); ++index) {
        if (&control == &controls.timer(kWindowTimers[index])) {
            sync_timer(index);
        }
    }
}

void MainWindow::mirror_window(ui::Change change) {
    const ui::FormWindow& window = form_->controls().window;
    switch (change) {
        case ui::Change::visible:
            if (window.visible()) {
                ShowWindow(hwnd_, SW_SHOW);
                SetForegroundWindow(hwnd_);
            } else {
                ShowWindow(hwnd_, SW_HIDE);
            }
            break;
        case ui::Change::text:
            set_window_text(hwnd_, window.caption());
            break;
        case ui::Change::mouse_pointer:
            // At once: while the check mark holds the mouse capture, nobody asks for the
            // cursor again until the button comes up.
            SetCursor(cursor_for(window.mouse_pointer()));
            break;
        default:
            break;
    }
}

void MainWindow::show_on_request() {
    // Through the form, so that it knows it is shown.
    form_->show_requested();
    if (IsIconic(hwnd_) != FALSE) {
        ShowWindow(hwnd_, SW_RESTORE);
    }
    // An open dialog keeps the window disabled: it is what the user answers first.
    HWND dialog = ModelessDialog::last_open();
    SetForegroundWindow(dialog != nullptr ? dialog : hwnd_);
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
        views_.move_focus(form_->controls().tab_order(), GetKeyState(VK_SHIFT) < 0);
        return true;
    }
    return IsDialogMessageW(hwnd_, &message) != FALSE;
}

int MainWindow::run_message_loop() {
    MSG message{};
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (!ModelessDialog::route_message(message) && !pre_translate(message)) {
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
    WindowEvents& form = *form_;
    if (message == WM_TIMER) {
        // First: the push timer's tick, every press, should meet nothing else on its way.
        if (wparam >= 1 && wparam <= kWindowTimers.size() && timer_running_[wparam - 1]) {
            form.timer_ticked(kWindowTimers[wparam - 1]);
        }
        return 0;
    }
    if (tray_messages_->handle(message, wparam, lparam, form)) {
        return 0;
    }
    if (message == show_request_ && show_request_ != 0) {
        show_on_request();
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
        case WM_CLOSE:
            if (form.allows_close()) {
                DestroyWindow(hwnd_);
            }
            return 0;
        case WM_SETTINGCHANGE:
            if (announces_policy_change(reinterpret_cast<const wchar_t*>(lparam))) {
                form.policy_changed();
            }
            break;
        case WM_QUERYENDSESSION:
            return TRUE;
        case WM_ENDSESSION:
            if (wparam != FALSE) {
                form.session_ending();
            }
            return 0;
        case WM_SIZE: {
            RECT outer{};
            GetWindowRect(hwnd_, &outer);
            form.resized(
                static_cast<int>(std::lround(ui::pixels_to_twips(outer.right - outer.left, dpi_))));
            return 0;
        }
        case WM_SETCURSOR: {
            const ui::MousePointer pointer = form.controls().window.mouse_pointer();
            if (shows_form_pointer(pointer, hwnd_, reinterpret_cast<HWND>(wparam),
                                   LOWORD(lparam))) {
                SetCursor(cursor_for(pointer));
                return TRUE;
            }
            break;
        }
        case WM_DPICHANGED: {
            const auto* suggested = reinterpret_cast<const RECT*>(lparam);
            apply_dpi(HIWORD(wparam));
            notification_area_->set_dpi(HIWORD(wparam));
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
