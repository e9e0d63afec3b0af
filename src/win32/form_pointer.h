#pragma once

#include <windows.h>

#include "ui/form_window.h"

namespace tapster::win32 {

// The cursor that shows the form's pointer setting.
HCURSOR cursor_for(ui::MousePointer pointer);

// Whether the form's pointer setting is shown over this window (the main window or one of
// its controls) at this part of it: the move pointer of an armed capture everywhere, the
// arrow over the window's client area and over controls that have no pointer of their own,
// so edit fields keep their I-beam.
bool shows_form_pointer(ui::MousePointer pointer, HWND main_window, HWND under_pointer,
                        int hit_test);

}  // namespace tapster::win32
