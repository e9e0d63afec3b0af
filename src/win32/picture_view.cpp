#include "win32/picture_view.h"

#include <windowsx.h>

#include "ui/form_window.h"
#include "win32/resource_ids.h"

namespace tapster::win32 {

namespace {

constexpr wchar_t kPictureClass[] = L"TapsterPicture";

int button_of(UINT message) {
    switch (message) {
        case WM_LBUTTONDOWN:
        case WM_LBUTTONUP:
            return ui::kLeftButton;
        case WM_RBUTTONDOWN:
        case WM_RBUTTONUP:
            return ui::kRightButton;
        default:
            return ui::kMiddleButton;
    }
}

}  // namespace

PictureView::PictureView(ui::PictureBox& picture, HWND parent, int id)
    : ControlView(picture), picture_(picture) {
    register_window_class(kPictureClass, {GetSysColorBrush(COLOR_BTNFACE)});
    create(kPictureClass, "", 0, WS_EX_CLIENTEDGE, parent, id, creation_parameter());
}

void PictureView::apply_style(const ViewStyle& style) {
    ControlView::apply_style(style);
    icon_size_ = GetSystemMetricsForDpi(SM_CXICON, static_cast<UINT>(style.dpi));
    icon_.reset(
        static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_CHECKMARK),
                                      IMAGE_ICON, icon_size_, icon_size_, LR_DEFAULTCOLOR)));
    InvalidateRect(hwnd(), nullptr, TRUE);
}

ui::MouseArgs PictureView::mouse_args(WPARAM wparam, LPARAM lparam, int button) const {
    ui::MouseArgs args;
    args.button = button;
    args.shift = ((wparam & MK_SHIFT) != 0 ? 1 : 0) | ((wparam & MK_CONTROL) != 0 ? 2 : 0) |
                 (GetKeyState(VK_MENU) < 0 ? 4 : 0);
    args.x = ui::pixels_to_twips(GET_X_LPARAM(lparam), dpi());
    args.y = ui::pixels_to_twips(GET_Y_LPARAM(lparam), dpi());
    return args;
}

LRESULT PictureView::on_message(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
        case WM_PAINT: {
            PAINTSTRUCT paint{};
            HDC dc = BeginPaint(window, &paint);
            if (icon_) {
                DrawIconEx(dc, 0, 0, icon_.get(), icon_size_, icon_size_, 0, nullptr, DI_NORMAL);
            }
            EndPaint(window, &paint);
            return 0;
        }
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN:
            // Holding the mouse capture, the picture hears the release wherever it happens,
            // and the pointer keeps the form's shape over other programs' windows.
            SetCapture(window);
            held_ = true;
            picture_.mouse_down.raise(mouse_args(wparam, lparam, button_of(message)));
            return 0;
        case WM_LBUTTONUP:
        case WM_RBUTTONUP:
        case WM_MBUTTONUP:
            if ((wparam & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON)) == 0) {
                held_ = false;
                ReleaseCapture();
            }
            picture_.mouse_up.raise(mouse_args(wparam, lparam, button_of(message)));
            return 0;
        case WM_CAPTURECHANGED:
            // Another window took the mouse (a message box, Alt+Tab): the release will never
            // come here, so the drag ends now rather than staying armed.
            if (held_) {
                held_ = false;
                picture_.mouse_up.raise(ui::MouseArgs{});
            }
            return 0;
        default:
            return DefWindowProcW(window, message, wparam, lparam);
    }
}

}  // namespace tapster::win32
