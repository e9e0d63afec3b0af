#include "win32/window_procedure.h"

#include <commctrl.h>

#include <atomic>
#include <stdexcept>

#include "model/captions.h"
#include "win32/wide_string.h"
#include "win32/win32_file_errors.h"

namespace tapster::win32 {

namespace {

std::string description_of(const std::exception_ptr& escaped) {
    try {
        std::rethrow_exception(escaped);
    } catch (const std::exception& error) {
        return error.what();
    } catch (...) {
        return "an exception of unknown type";
    }
}

std::string& pending_report() {
    static std::string text;
    return text;
}

// A thread timer's callback runs from the message loop, after the handler that failed has
// returned, so the box does not interrupt a message half-handled.
void CALLBACK show_pending_report(HWND /*window*/, UINT /*message*/, UINT_PTR timer,
                                  DWORD /*time*/) {
    KillTimer(nullptr, timer);
    const std::wstring text =
        L"Tapster met an unexpected error and goes on running:\n\n" + to_wide(pending_report());
    MessageBoxW(nullptr, text.c_str(), to_wide(kMessageTitle).c_str(),
                MB_OK | MB_ICONWARNING | MB_TASKMODAL | MB_SETFOREGROUND);
}

void show_report_after_the_fact(const std::string& what) {
    pending_report() = what;
    SetTimer(nullptr, 0, 0, &show_pending_report);
}

ExceptionReport current_report = &show_report_after_the_fact;

}  // namespace

ExceptionReport set_exception_report(ExceptionReport report) {
    const ExceptionReport previous = current_report;
    current_report = report;
    return previous;
}

void report_escaped_exception(const std::exception_ptr& escaped) {
    static std::atomic<bool> reported{false};
    const std::string what = description_of(escaped);
    OutputDebugStringW(
        (L"Tapster: unexpected exception in a message handler: " + to_wide(what) + L"\n").c_str());
    if (!reported.exchange(true) && current_report != nullptr) {
        current_report(what);
    }
}

WindowProcedure::~WindowProcedure() {
    // The window may outlive this object (its parent destroys it later); from now on it
    // gets only the default handling.
    if (window_ != nullptr && IsWindow(window_) != FALSE) {
        SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
    }
}

LRESULT CALLBACK WindowProcedure::procedure(HWND window, UINT message, WPARAM wparam,
                                            LPARAM lparam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lparam);
        auto* self = static_cast<WindowProcedure*>(create->lpCreateParams);
        if (self != nullptr) {
            self->window_ = window;
            SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        }
    }
    auto* self = reinterpret_cast<WindowProcedure*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self == nullptr) {
        return DefWindowProcW(window, message, wparam, lparam);
    }
    if (message == WM_NCDESTROY) {
        self->window_ = nullptr;
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    }
    return guarded([&] { return self->on_message(window, message, wparam, lparam); },
                   [&] { return DefWindowProcW(window, message, wparam, lparam); });
}

void register_window_class(const wchar_t* name, const WindowClassLook& look) {
    WNDCLASSEXW window_class{};
    window_class.cbSize = sizeof window_class;
    window_class.lpfnWndProc = &WindowProcedure::procedure;
    window_class.hInstance = GetModuleHandleW(nullptr);
    window_class.hIcon = look.icon;
    window_class.hIconSm = look.small_icon;
    window_class.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    window_class.hbrBackground = look.background;
    window_class.lpszClassName = name;
    if (RegisterClassExW(&window_class) == 0) {
        const DWORD error = GetLastError();
        if (error != ERROR_CLASS_ALREADY_EXISTS) {
            throw std::runtime_error("the window class " + to_utf8(name) +
                                     " could not be registered: " + system_message(error));
        }
    }
}

HWND checked_window(HWND window, const std::string& what) {
    if (window == nullptr) {
        const DWORD error = GetLastError();
        throw std::runtime_error(what + " could not be created: " + system_message(error));
    }
    return window;
}

SubclassProcedure::~SubclassProcedure() {
    if (window_ != nullptr && IsWindow(window_) != FALSE) {
        RemoveWindowSubclass(window_, &SubclassProcedure::procedure, 0);
    }
}

void SubclassProcedure::subclass(HWND window) {
    window_ = window;
    SetWindowSubclass(window, &SubclassProcedure::procedure, 0, reinterpret_cast<DWORD_PTR>(this));
}

LRESULT CALLBACK SubclassProcedure::procedure(HWND window, UINT message, WPARAM wparam,
                                              LPARAM lparam, UINT_PTR /*id*/,
                                              DWORD_PTR self_pointer) {
    auto* self = reinterpret_cast<SubclassProcedure*>(self_pointer);
    if (message == WM_NCDESTROY) {
        RemoveWindowSubclass(window, &SubclassProcedure::procedure, 0);
        self->window_ = nullptr;
        return DefSubclassProc(window, message, wparam, lparam);
    }
    return guarded([&] { return self->on_subclassed_message(window, message, wparam, lparam); },
                   [&] { return DefSubclassProc(window, message, wparam, lparam); });
}

HWND WindowProcedure::create_message_only_window(const wchar_t* class_name,
                                                 const std::string& what) {
    register_window_class(class_name);
    return checked_window(CreateWindowExW(0, class_name, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                          GetModuleHandleW(nullptr), creation_parameter()),
                          what);
}

}  // namespace tapster::win32
