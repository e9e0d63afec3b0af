#pragma once

#include <windows.h>

#include <exception>
#include <string>

namespace tapster::win32 {

// Called once per process for the first exception a message handler let escape; later
// ones are only written to the debugger's output. The default tells the user in a message
// box shown after the message has been handled. Returns the previous report.
using ExceptionReport = void (*)(const std::string& what);
ExceptionReport set_exception_report(ExceptionReport report);

// Runs a message handler so that no exception reaches Windows, which cannot unwind through
// its own frames: an escaped exception is reported and the message gets its default
// handling instead, and the program keeps running.
void report_escaped_exception(const std::exception_ptr& escaped);
template <typename Handler, typename Fallback>
LRESULT guarded(Handler&& handler, Fallback&& fallback) {
    try {
        return handler();
    } catch (...) {
        report_escaped_exception(std::current_exception());
    }
    return fallback();
}

// The object behind a window of a class Tapster registers (register_window_class). The
// class's procedure is `procedure`; CreateWindowExW gets `creation_parameter()` as its last
// argument, and from WM_NCCREATE on every message of the window reaches `on_message`
// through the barrier.
class WindowProcedure {
  public:
    WindowProcedure() = default;
    virtual ~WindowProcedure();
    WindowProcedure(const WindowProcedure&) = delete;
    WindowProcedure& operator=(const WindowProcedure&) = delete;

    static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

  protected:
    void* creation_parameter() { return this; }
    // A message-only window of its own class, for messages posted to this object; throws
    // with `what` when the system refuses it.
    HWND create_message_only_window(const wchar_t* class_name, const std::string& what);
    // Unhandled messages go to DefWindowProcW.
    virtual LRESULT on_message(HWND window, UINT message, WPARAM wparam, LPARAM lparam) = 0;

  private:
    HWND window_ = nullptr;
};

// How the windows of a class of Tapster's own look before they paint themselves.
struct WindowClassLook {
    HBRUSH background = nullptr;  // none: the window erases its own background
    HICON icon = nullptr;
    HICON small_icon = nullptr;
};

// Registers a class whose windows run WindowProcedure::procedure, with the arrow pointer.
// Registering a class again changes nothing: the system keeps the first registration. A
// class the system refuses throws std::runtime_error with the system's reason.
void register_window_class(const wchar_t* name, const WindowClassLook& look = {});

// The window CreateWindowExW just returned; a failure (nullptr) throws std::runtime_error
// naming what could not be created and the system's reason, so that start-up ends with a
// clear message instead of a window that never shows.
HWND checked_window(HWND window, const std::string& what);

// The object behind a window of a system class (a list view, ...) that Tapster subclasses:
// its messages reach `on_subclassed_message` through the same barrier until the object ends.
class SubclassProcedure {
  public:
    SubclassProcedure() = default;
    virtual ~SubclassProcedure();
    SubclassProcedure(const SubclassProcedure&) = delete;
    SubclassProcedure& operator=(const SubclassProcedure&) = delete;

  protected:
    void subclass(HWND window);
    // Unhandled messages go to DefSubclassProc.
    virtual LRESULT on_subclassed_message(HWND window, UINT message, WPARAM wparam,
                                          LPARAM lparam) = 0;

  private:
    static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam,
                                      UINT_PTR id, DWORD_PTR self);
    HWND window_ = nullptr;
};

}  // namespace tapster::win32
