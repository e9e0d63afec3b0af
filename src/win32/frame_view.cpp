#include "win32/frame_view.h"

#include "ui/form_window.h"
#include "win32/wide_string.h"

namespace tapster::win32 {

namespace {

constexpr wchar_t kFrameClass[] = L"TapsterFrame";

COLORREF to_colorref(unsigned rgb) {
    return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
}

}  // namespace

FrameView::FrameView(ui::Frame& frame, HWND parent, int id) : ControlView(frame), frame_(frame) {
    // No background brush: the frame paints its own colour on WM_ERASEBKGND.
    register_window_class(kFrameClass);
    create(kFrameClass, "", WS_CLIPCHILDREN, WS_EX_CONTROLPARENT, parent, id, creation_parameter());
    const ui::Appearance& look = frame.appearance();
    background_.reset(look.background_rgb ? CreateSolidBrush(to_colorref(*look.background_rgb))
                                          : nullptr);
    if (look.border) {
        group_box_ =
            checked_window(CreateWindowExW(0, L"BUTTON", to_wide(frame.caption()).c_str(),
                                           WS_CHILD | WS_VISIBLE | BS_GROUPBOX, 0, 0, 0, 0, hwnd(),
                                           nullptr, GetModuleHandleW(nullptr), nullptr),
                           "the border of " + frame.name());
    }
}

void FrameView::apply_style(const ViewStyle& style) {
    ControlView::apply_style(style);
    if (group_box_ != nullptr) {
        const ui::TwipsRect& rect = frame_.rect();
        SetWindowPos(group_box_, HWND_BOTTOM, 0, 0, ui::twips_to_pixels(rect.width, style.dpi),
                     ui::twips_to_pixels(rect.height, style.dpi), SWP_NOACTIVATE);
        SendMessageW(group_box_, WM_SETFONT, reinterpret_cast<WPARAM>(style.font), TRUE);
    }
}

void FrameView::mirror(ui::Change change) {
    if (change == ui::Change::text && group_box_ != nullptr) {
        set_window_text(group_box_, frame_.caption());
    }
}

LRESULT FrameView::on_message(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
        case WM_COMMAND:
        case WM_NOTIFY:
            return SendMessageW(GetParent(window), message, wparam, lparam);
        case WM_ERASEBKGND: {
            RECT client{};
            GetClientRect(window, &client);
            FillRect(reinterpret_cast<HDC>(wparam), &client,
                     background_ ? background_.get() : GetSysColorBrush(COLOR_BTNFACE));
            return 1;
        }
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN:
            if (background_) {
                SetBkMode(reinterpret_cast<HDC>(wparam), TRANSPARENT);
                return reinterpret_cast<LRESULT>(background_.get());
            }
            break;
        default:
            break;
    }
    return DefWindowProcW(window, message, wparam, lparam);
}

}  // namespace tapster::win32
