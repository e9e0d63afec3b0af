// The one barrier between Tapster's message handlers and Windows: an exception a handler
// lets escape is reported once, the message gets its default answer, and the window lives on.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "win32/window_procedure.h"

namespace tapster::win32 {
namespace {

constexpr UINT kThrow = WM_APP + 7;
constexpr UINT kAnswer = WM_APP + 8;
constexpr LRESULT kAnswered = 42;

std::vector<std::string>& reports() {
    static std::vector<std::string> texts;
    return texts;
}

// A window of a class of our own, as the main window, the frame and the picture are.
class ThrowingWindow : private WindowProcedure {
  public:
    ThrowingWindow() {
        register_window_class(L"TapsterTestThrowing");
        hwnd_ = CreateWindowExW(0, L"TapsterTestThrowing", L"", WS_OVERLAPPED, 0, 0, 10, 10,
                                nullptr, nullptr, GetModuleHandleW(nullptr), creation_parameter());
    }
    ~ThrowingWindow() override { DestroyWindow(hwnd_); }
    ThrowingWindow(const ThrowingWindow&) = delete;
    ThrowingWindow& operator=(const ThrowingWindow&) = delete;
    HWND hwnd() const { return hwnd_; }

  private:
    LRESULT on_message(HWND window, UINT message, WPARAM wparam, LPARAM lparam) override {
        if (message == kThrow) {
            throw std::runtime_error("picture handler failed");
        }
        if (message == kAnswer) {
            return kAnswered;
        }
        return DefWindowProcW(window, message, wparam, lparam);
    }
    HWND hwnd_ = nullptr;
};

// A system control subclassed by us, as the check-box list is.
class ThrowingSubclass : private SubclassProcedure {
  public:
    ThrowingSubclass()
        : hwnd_(CreateWindowExW(0, L"STATIC", L"", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr,
                                GetModuleHandleW(nullptr), nullptr)) {
        subclass(hwnd_);
    }
    ~ThrowingSubclass() override { DestroyWindow(hwnd_); }
    ThrowingSubclass(const ThrowingSubclass&) = delete;
    ThrowingSubclass& operator=(const ThrowingSubclass&) = delete;
    HWND hwnd() const { return hwnd_; }

  private:
    LRESULT on_subclassed_message(HWND window, UINT message, WPARAM wparam,
                                  LPARAM lparam) override {
        if (message == kThrow) {
            throw 7;  // not even a std::exception
        }
        if (message == kAnswer) {
            return kAnswered;
        }
        return DefSubclassProc(window, message, wparam, lparam);
    }
    HWND hwnd_ = nullptr;
};

TEST(WindowProcedure, AnEscapedExceptionIsReportedOnceAndEveryWindowKeepsWorking) {
    const ExceptionReport previous =
        set_exception_report([](const std::string& what) { reports().push_back(what); });
    ThrowingWindow own_class;
    ThrowingSubclass subclassed;
    const HWND windows[] = {own_class.hwnd(), subclassed.hwnd(), own_class.hwnd()};
    for (const HWND window : windows) {
        SCOPED_TRACE(window == own_class.hwnd() ? "own class" : "subclassed");
        ASSERT_NE(window, nullptr);
        EXPECT_EQ(SendMessageW(window, kThrow, 0, 0), 0) << "the default answer";
        EXPECT_EQ(SendMessageW(window, kAnswer, 0, 0), kAnswered) << "the window lives on";
    }
    set_exception_report(previous);
    ASSERT_EQ(reports().size(), 1U) << "one report, however many exceptions followed";
    EXPECT_EQ(reports().front(), "picture handler failed");
}

// A class or a window the system refuses ends start-up with what failed and why, rather
// than with a window that never shows.
TEST(WindowProcedure, AClassOrWindowTheSystemRefusesThrowsWithWhatFailed) {
    register_window_class(L"TapsterTestThrowing");
    EXPECT_NO_THROW(register_window_class(L"TapsterTestThrowing")) << "registered once already";

    try {
        checked_window(CreateWindowExW(0, L"TapsterTestNoSuchClass", L"", WS_OVERLAPPED, 0, 0, 10,
                                       10, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr),
                       "the test window");
        ADD_FAILURE() << "a window of no class was taken";
    } catch (const std::runtime_error& error) {
        EXPECT_EQ(std::string(error.what()).rfind("the test window could not be created: ", 0), 0U)
            << error.what();
    }
}

}  // namespace
}  // namespace tapster::win32
