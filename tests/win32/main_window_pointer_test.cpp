// The form's pointer setting over the real main window and its controls: it covers the
// window and the controls without a pointer of their own, while edit fields keep their
// I-beam; an armed capture's move pointer shows everywhere.
#include <gtest/gtest.h>

#include <windows.h>

#include <ostream>
#include <string>

#include "fakes/form_fixture.h"
#include "win32/main_window.h"

namespace tapster::win32 {
namespace {

HWND first_child_of_class(HWND parent, const wchar_t* class_name) {
    struct Search {
        const wchar_t* class_name;
        HWND found;
    } search{class_name, nullptr};
    EnumChildWindows(
        parent,
        [](HWND child, LPARAM parameter) {
            auto* wanted = reinterpret_cast<Search*>(parameter);
            wchar_t name[32] = {};
            GetClassNameW(child, name, 32);
            if (lstrcmpiW(name, wanted->class_name) == 0) {
                wanted->found = child;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

struct Case {
    ui::MousePointer pointer;
    const wchar_t* control_class;
    const wchar_t* expected_cursor;
    const char* name;
};

void PrintTo(const Case& example, std::ostream* out) {
    *out << example.name;
}

class MainWindowPointer : public fakes::FormFixture, public ::testing::WithParamInterface<Case> {};

TEST_P(MainWindowPointer, ShowsThePointerTheControlShould) {
    MainWindow window;
    window.attach(form());
    controls().window.set_mouse_pointer(GetParam().pointer);
    const HWND control = first_child_of_class(window.hwnd(), GetParam().control_class);
    ASSERT_NE(control, nullptr);

    SetCursor(nullptr);
    // As the system asks when the pointer moves over the control; the control asks its
    // parent first.
    SendMessageW(control, WM_SETCURSOR, reinterpret_cast<WPARAM>(control),
                 MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, GetParam().expected_cursor));
}

INSTANTIATE_TEST_SUITE_P(
    Pointers, MainWindowPointer,
    ::testing::Values(
        Case{ui::MousePointer::arrow, L"Edit", IDC_IBEAM, "AfterACaptureAnEditKeepsItsIBeam"},
        Case{ui::MousePointer::default_pointer, L"Edit", IDC_IBEAM, "AnEditShowsItsIBeam"},
        Case{ui::MousePointer::move, L"Edit", IDC_SIZEALL, "ACaptureShowsOverAnEdit"},
        Case{ui::MousePointer::move, L"Button", IDC_SIZEALL, "ACaptureShowsOverAButton"}),
    [](const ::testing::TestParamInfo<Case>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tapster::win32
