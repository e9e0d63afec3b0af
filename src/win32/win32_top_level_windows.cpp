#include "win32/win32_top_level_windows.h"

#include <windows.h>

#include "win32/wide_string.h"
#include "win32/win32_desktop.h"

namespace tapster::win32 {

namespace {

HWND to_hwnd(platform::WindowHandle window) {
    return reinterpret_cast<HWND>(window);
}

BOOL CALLBACK add_window(HWND window, LPARAM windows) {
    try {
        reinterpret_cast<std::vector<platform::WindowHandle>*>(windows)->push_back(
            reinterpret_cast<platform::WindowHandle>(window));
        return TRUE;
    } catch (...) {
        return FALSE;  // out of memory: the windows listed so far
    }
}

}  // namespace

void Win32TopLevelWindows::list(std::vector<platform::WindowHandle>& windows) {
    windows.clear();
    // Not EnumWindows: under Wine it asks the server once more for every window whether it
    // still exists, where this asks once for the whole list. Wine lists message-only windows
    // here too; they never show, so the watch never reports one.
    EnumDesktopWindows(nullptr, &add_window, reinterpret_cast<LPARAM>(&windows));
}

std::uint32_t Win32TopLevelWindows::class_number(platform::WindowHandle window) {
    return static_cast<ATOM>(GetClassLongPtrW(to_hwnd(window), GCW_ATOM));
}

std::string Win32TopLevelWindows::folded_class(platform::WindowHandle window) {
    // 256 characters is the longest class name the system registers.
    wchar_t name[257] = {};
    const int length = GetClassNameW(to_hwnd(window), name, 257);
    return length > 0
               ? folded_case(to_utf8(std::wstring_view(name, static_cast<std::size_t>(length))))
               : std::string();
}

std::string Win32TopLevelWindows::fold_class_name(std::string_view class_name) {
    return folded_case(class_name);
}

bool Win32TopLevelWindows::visible(platform::WindowHandle window) {
    return IsWindowVisible(to_hwnd(window)) != FALSE;
}

bool Win32TopLevelWindows::top_level(platform::WindowHandle window) {
    return GetAncestor(to_hwnd(window), GA_PARENT) == GetDesktopWindow();
}

bool Win32TopLevelWindows::ours(platform::WindowHandle window) {
    DWORD process = 0;
    GetWindowThreadProcessId(to_hwnd(window), &process);
    return process == GetCurrentProcessId();
}

}  // namespace tapster::win32
