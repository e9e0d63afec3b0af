#include "win32/form_pointer.h"

namespace tapster::win32 {

namespace {

// Edit fields show the I-beam from their class; buttons, labels and lists only the arrow,
// and a class without a pointer sets one itself each time.
bool has_pointer_of_its_own(HWND control) {
    const auto cursor = reinterpret_cast<HCURSOR>(GetClassLongPtrW(control, GCLP_HCURSOR));
    return cursor == nullptr || cursor != LoadCursorW(nullptr, IDC_ARROW);
}

}  // namespace

HCURSOR cursor_for(ui::MousePointer pointer) {
    return LoadCursorW(nullptr, pointer == ui::MousePointer::move ? IDC_SIZEALL : IDC_ARROW);
}

bool shows_form_pointer(ui::MousePointer pointer, HWND main_window, HWND under_pointer,
                        int hit_test) {
    switch (pointer) {
        case ui::MousePointer::default_pointer:
            return false;
        case ui::MousePointer::move:
            return true;
        default:
            return hit_test == HTCLIENT &&
                   (under_pointer == main_window || !has_pointer_of_its_own(under_pointer));
    }
}

}  // namespace tapster::win32
