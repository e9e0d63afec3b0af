#include "win32/control_view.h"

#include "ui/form_window.h"
#include "win32/wide_string.h"
#include "win32/window_procedure.h"

namespace tapster::win32 {

void ControlView::create(const wchar_t* window_class, const std::string& text, DWORD style,
                         DWORD ex_style, HWND parent, int id, void* creation_parameter) {
    style |= WS_CHILD | WS_CLIPSIBLINGS;
    if (control_.visible()) {
        style |= WS_VISIBLE;
    }
    if (!control_.enabled()) {
        style |= WS_DISABLED;
    }
    hwnd_ = checked_window(
        CreateWindowExW(ex_style, window_class, to_wide(text).c_str(), style, 0, 0, 0, 0, parent,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                        GetModuleHandleW(nullptr), creation_parameter),
        "the window of " + control_.name());
}

void ControlView::apply_style(const ViewStyle& style) {
    dpi_ = style.dpi;
    place();
    SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(style.font), TRUE);
}

void ControlView::place() {
    const ui::TwipsRect& rect = control_.rect();
    SetWindowPos(hwnd_, nullptr, ui::twips_to_pixels(rect.left, dpi_),
                 ui::twips_to_pixels(rect.top, dpi_), ui::twips_to_pixels(rect.width, dpi_),
                 ui::twips_to_pixels(rect.height, dpi_), SWP_NOZORDER | SWP_NOACTIVATE);
}

void ControlView::control_changed(ui::Change change) {
    switch (change) {
        case ui::Change::visible:
            ShowWindow(hwnd_, control_.visible() ? SW_SHOWNA : SW_HIDE);
            break;
        case ui::Change::enabled:
            EnableWindow(hwnd_, control_.enabled() ? TRUE : FALSE);
            break;
        case ui::Change::rect:
            place();
            break;
        default:
            mirror(change);
            break;
    }
}

void set_window_text(HWND window, const std::string& utf8) {
    if (window_text(window) != utf8) {
        SetWindowTextW(window, to_wide(utf8).c_str());
    }
}

std::string window_text(HWND window) {
    const int length = GetWindowTextLengthW(window);
    if (length <= 0) {
        return {};
    }
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const int copied = GetWindowTextW(window, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(copied > 0 ? copied : 0));
    return to_utf8(text);
}

}  // namespace tapster::win32
