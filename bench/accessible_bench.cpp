// One press of a drawn button under Wine: the tree walk and the default action in another
// process, through the worker thread as the push cycle makes it, beside a floor: the same walk
// and action made on the calling thread, with nothing around them. The target is the drawn
// dialog of tools/drawn_dialog, its buttons nested in a group, kept open across the presses.
#include <windows.h>

#include <oleacc.h>

#include <cstdio>
#include <cstdlib>

#include "driver.h"
#include "pressing/drawn_button_search.h"
#include "push_cycle_bench.h"
#include "win32/com_apartment.h"
#include "win32/msaa_element.h"
#include "win32/win32_accessible_buttons.h"
#include "win32/win32_dispatcher.h"

namespace {

// The floor: the walk and the action as the worker makes them, on this thread.
bool press_here(HWND dialog, const char* name) {
    tapster::win32::ComPointer<IAccessible> root;
    if (FAILED(AccessibleObjectFromWindow(dialog, OBJID_CLIENT, __uuidof(IAccessible),
                                          root.receive_void()))) {
        return false;
    }
    tapster::win32::MsaaElement element(std::move(root), CHILDID_SELF);
    return tapster::press_drawn_button(element, name) == tapster::DrawnButtonPress::pressed;
}

}  // namespace

int main() {
    using namespace std::chrono_literals;
    constexpr int kPresses = 101;
    const tapster::win32::ComApartment apartment(COINIT_MULTITHREADED);
    tapster::driver::MessageBoxProcess process(
        TAPSTER_DRAWN_DIALOG_PATH,
        L"\"Bench dialog\" Save \"Don't Save\" Cancel --nested --keep-open --timeout 600000");
    const HWND dialog = process.wait_until_shown(L"Bench dialog", 10000ms, L"TapsterDrawnDialog");
    if (dialog == nullptr) {
        std::puts("the drawn dialog did not appear");
        return EXIT_FAILURE;
    }
    tapster::win32::Win32Dispatcher dispatcher;
    tapster::win32::Win32AccessibleButtons buttons(dispatcher);
    const auto window = reinterpret_cast<tapster::platform::WindowHandle>(dialog);
    int pressed = 0;
    // From the question to its answer, run as the program's message loop runs it.
    const auto press_through_worker = [&] {
        bool answered = false;
        buttons.press(window, "Cancel", {},
                      [&](tapster::platform::AccessibleButtons::Press answer) {
                          answered = true;
                          pressed += answer == tapster::platform::AccessibleButtons::Press::pressed;
                      });
        MSG message{};
        while (!answered && GetMessageW(&message, nullptr, 0, 0) > 0) {
            DispatchMessageW(&message);
        }
    };
    const auto [worker, floor] = tapster::bench::median_ms(
        press_through_worker, [&] { pressed += press_here(dialog, "Cancel"); }, kPresses);
    PostMessageW(dialog, WM_CLOSE, 0, 0);
    const auto counted = process.wait(10000ms);
    std::printf(
        "accessible press under Wine (tree walk and default action, 5 elements, another "
        "process): median %.3f ms through the worker, floor %.3f ms on the calling thread, "
        "ratio %.2f; %d presses made, %d counted by the dialog\n",
        worker, floor, worker / floor, pressed, counted ? counted->button : -1);
    return pressed == 2 * (kPresses + 1) ? EXIT_SUCCESS : EXIT_FAILURE;
}
