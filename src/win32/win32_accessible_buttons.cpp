#include "win32/win32_accessible_buttons.h"

#include <windows.h>

#include <oleacc.h>

#include <memory>
#include <string>

#include "pressing/drawn_button_search.h"
#include "win32/com_pointer.h"
#include "win32/msaa_element.h"

namespace tapster::win32 {

namespace {

using Press = platform::AccessibleButtons::Press;

// A window that does not hand out its accessible object within this time is left alone
// until the next tick, and its worker is free again.
constexpr UINT kObjectRequestTimeoutMs = 1500;

// The window's accessible object as AccessibleObjectFromWindow gets it, with the request sent
// so that it gives up on a hung program and tells a refusal from the system apart.
Press window_object(HWND window, ComPointer<IAccessible>& object) {
    DWORD_PTR answer = 0;
    if (SendMessageTimeoutW(window, WM_GETOBJECT, 0, static_cast<LPARAM>(OBJID_CLIENT),
                            SMTO_ABORTIFHUNG, kObjectRequestTimeoutMs, &answer) == 0) {
        // The system keeps a program with higher rights from taking our requests.
        return GetLastError() == ERROR_ACCESS_DENIED ? Press::refused : Press::no_answer;
    }
    const auto result = static_cast<LRESULT>(answer);
    if (result < 0) {
        return Press::not_found;
    }
    // A program that answers nothing of its own gets the system's object for the window.
    const HRESULT made =
        result == 0 ? CreateStdAccessibleObject(window, OBJID_CLIENT, __uuidof(IAccessible),
                                                object.receive_void())
                    : ObjectFromLresult(result, __uuidof(IAccessible), 0, object.receive_void());
    return SUCCEEDED(made) && object ? Press::pressed : Press::not_found;
}

Press press_in(HWND window, const std::string& name,
               const platform::AccessibleButtons::MessageCheck& message_check) {
    ComPointer<IAccessible> object;
    if (const Press got = window_object(window, object); got != Press::pressed) {
        return got;
    }
    MsaaElement root(std::move(object), CHILDID_SELF);
    if (message_check && !message_check(drawn_static_texts(root))) {
        return Press::not_found;
    }
    return press_drawn_button(root, name) == DrawnButtonPress::pressed ? Press::pressed
                                                                       : Press::not_found;
}

std::optional<platform::AccessibleButtons::Found> push_button_at(POINT point) {
    ComPointer<IAccessible> object;
    ScopedVariant child;
    if (FAILED(AccessibleObjectFromPoint(point, object.receive(), child.receive())) || !object) {
        return std::nullopt;
    }
    const LONG child_id = child.get().vt == VT_I4 ? child.get().lVal : CHILDID_SELF;
    MsaaElement element(std::move(object), child_id);
    if (element.role() != platform::AccessibleElement::kPushButtonRole) {
        return std::nullopt;
    }
    const HWND top_level = GetAncestor(WindowFromPoint(point), GA_ROOT);
    if (top_level == nullptr) {
        return std::nullopt;
    }
    platform::AccessibleButtons::Found found{
        reinterpret_cast<platform::WindowHandle>(top_level), element.name(), {}};
    // What the window says, read as a press with a message reads it.
    ComPointer<IAccessible> window;
    if (window_object(top_level, window) == Press::pressed) {
        MsaaElement root(std::move(window), CHILDID_SELF);
        found.static_texts = drawn_static_texts(root);
    }
    return found;
}

std::optional<platform::AccessibleButtons::WindowButtons> buttons_in(HWND window) {
    ComPointer<IAccessible> object;
    if (window_object(window, object) != Press::pressed) {
        return std::nullopt;
    }
    MsaaElement root(std::move(object), CHILDID_SELF);
    return platform::AccessibleButtons::WindowButtons{drawn_button_names(root),
                                                      drawn_static_texts(root)};
}

}  // namespace

void Win32AccessibleButtons::ask_buttons_of(
    platform::WindowHandle window, std::function<void(std::optional<WindowButtons>)> answered) {
    auto buttons = std::make_shared<std::optional<WindowButtons>>();
    const HWND hwnd = reinterpret_cast<HWND>(window);
    // A window that hangs holds its own key only: the other windows are still asked.
    workers_.run(
        "buttons " + std::to_string(window), [buttons, hwnd] { *buttons = buttons_in(hwnd); },
        [buttons, answered = std::move(answered)] { answered(*buttons); });
}

void Win32AccessibleButtons::ask_button_at(platform::Point screen_point,
                                           std::function<void(std::optional<Found>)> answered) {
    // Shared by the worker, which writes it, and the answer, which runs after the call.
    auto found = std::make_shared<std::optional<Found>>();
    const POINT point{screen_point.x, screen_point.y};
    // One key for every point: while one program hangs under the pointer, nothing else is
    // asked until it answers.
    workers_.run(
        "point", [found, point] { *found = push_button_at(point); },
        [found, answered = std::move(answered)] { answered(*found); });
}

void Win32AccessibleButtons::press(platform::WindowHandle window, std::string_view name,
                                   MessageCheck message_check,
                                   std::function<void(Press)> answered) {
    auto pressed = std::make_shared<Press>(Press::not_found);
    const HWND hwnd = reinterpret_cast<HWND>(window);
    std::string wanted(name);
    const std::string key = "press " + std::to_string(window) + " " + wanted;
    workers_.run(
        key,
        [pressed, hwnd, wanted = std::move(wanted), check = std::move(message_check)] {
            *pressed = press_in(hwnd, wanted, check);
        },
        [pressed, answered = std::move(answered)] { answered(*pressed); });
}

}  // namespace tapster::win32
