#include "win32/win32_desktop.h"

#include <windows.h>

#include <algorithm>
#include <string>

#include "win32/scoped_handles.h"
#include "win32/wide_string.h"

namespace tapster::win32 {

namespace {

// Long enough for any responsive program, short enough that a hung one is not noticed.
constexpr UINT kAnswerTimeoutMs = 200;

// After a failed SendMessageTimeoutW: the system kept the message from a window of a program
// with higher rights (an elevated one), rather than the program being slow or gone.
bool refused_by_higher_rights() {
    return GetLastError() == ERROR_ACCESS_DENIED;
}

HWND to_hwnd(platform::WindowHandle window) {
    return reinterpret_cast<HWND>(window);
}
platform::WindowHandle from_hwnd(HWND window) {
    return reinterpret_cast<platform::WindowHandle>(window);
}

// The text a call left in a buffer of `buffer_chars` characters: never more than fits before
// the terminating NUL, and nothing past the first NUL, whatever count the other program
// answered with.
std::string clipped(const std::wstring& buffer, std::size_t buffer_chars, LRESULT claimed) {
    if (claimed <= 0 || buffer_chars == 0) {
        return {};
    }
    const std::size_t limit =
        std::min({static_cast<std::size_t>(claimed), buffer_chars - 1, buffer.size()});
    const std::wstring_view text(buffer.data(), limit);
    return to_utf8(text.substr(0, text.find(L'\0')));
}

// A coordinate of the primary screen in the 0 to 65535 that an absolute move takes.
LONG absolute(int pixel, int screen_size) {
    return screen_size > 1 ? MulDiv(pixel, 65535, screen_size - 1) : 0;
}

}  // namespace

platform::WindowHandle Win32Desktop::find_window(std::string_view class_name,
                                                 std::string_view title) {
    return from_hwnd(FindWindowW(to_wide(class_name).c_str(), to_wide(title).c_str()));
}

platform::WindowHandle Win32Desktop::next_top_level_window(std::string_view class_name,
                                                           platform::WindowHandle after) {
    // The system picks the windows of the class, so a class no window has costs one call.
    // With the desktop as the parent, message-only windows are left out.
    return from_hwnd(
        FindWindowExW(GetDesktopWindow(), to_hwnd(after), to_wide(class_name).c_str(), nullptr));
}

std::string Win32Desktop::window_title(platform::WindowHandle window, std::size_t max_chars) {
    std::wstring buffer(max_chars + 1, L'\0');
    return clipped(
        buffer, max_chars,
        InternalGetWindowText(to_hwnd(window), buffer.data(), static_cast<int>(max_chars)));
}

std::string Win32Desktop::fold_case(std::string_view text) {
    return folded_case(text);
}

std::string folded_case(std::string_view text) {
    // Upper case by the file system's table, one UTF-16 unit for one: the rule Windows
    // compares window names with.
    std::wstring wide = to_wide(text);
    if (wide.empty()) {
        return {};
    }
    const int length = static_cast<int>(wide.size());
    std::wstring folded(wide.size(), L'\0');
    if (LCMapStringEx(LOCALE_NAME_INVARIANT, LCMAP_UPPERCASE, wide.c_str(), length, folded.data(),
                      length, nullptr, nullptr, 0) != length) {
        return to_utf8(wide);
    }
    return to_utf8(folded);
}

std::string Win32Desktop::control_text(platform::WindowHandle window, int control_id,
                                       std::size_t max_chars) {
    last_message_refused_ = false;
    const HWND control = GetDlgItem(to_hwnd(window), control_id);
    if (control == nullptr || max_chars == 0) {
        return {};
    }
    std::wstring buffer(max_chars, L'\0');
    DWORD_PTR copied = 0;
    if (SendMessageTimeoutW(control, WM_GETTEXT, max_chars, reinterpret_cast<LPARAM>(buffer.data()),
                            SMTO_ABORTIFHUNG, kAnswerTimeoutMs, &copied) == 0) {
        last_message_refused_ = refused_by_higher_rights();
        return {};
    }
    return clipped(buffer, max_chars, static_cast<LRESULT>(copied));
}

void Win32Desktop::send_command(platform::WindowHandle window, int control_id) {
    // The identifier fills the low word and BN_CLICKED (0) the high word, as a click would.
    const auto wparam = static_cast<WPARAM>(static_cast<std::uint32_t>(control_id));
    DWORD_PTR result = 0;
    last_message_refused_ = SendMessageTimeoutW(to_hwnd(window), WM_COMMAND, wparam, 0,
                                                SMTO_ABORTIFHUNG, kAnswerTimeoutMs, &result) == 0 &&
                            refused_by_higher_rights();
}

std::string Win32Desktop::program_of(platform::WindowHandle window) {
    DWORD process_id = 0;
    if (GetWindowThreadProcessId(to_hwnd(window), &process_id) == 0 || process_id == 0) {
        return {};
    }
    // The limited right is granted for most programs with higher rights as well.
    const ScopedHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, process_id));
    if (!process) {
        return {};
    }
    std::wstring path(32768, L'\0');
    auto length = static_cast<DWORD>(path.size());
    if (QueryFullProcessImageNameW(process.get(), 0, path.data(), &length) == 0) {
        return {};
    }
    path.resize(length);
    const std::size_t folder_end = path.find_last_of(L"\\/");
    return to_utf8(folder_end == std::wstring::npos ? path : path.substr(folder_end + 1));
}

std::vector<platform::WindowHandle> Win32Desktop::visible_children(platform::WindowHandle window) {
    std::vector<platform::WindowHandle> children;
    for (HWND child = GetWindow(to_hwnd(window), GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        // The control's own style: the window that holds it may not be shown yet.
        if ((GetWindowLongW(child, GWL_STYLE) & WS_VISIBLE) != 0) {
            children.push_back(from_hwnd(child));
        }
    }
    return children;
}

std::optional<std::vector<std::string>> Win32Desktop::static_texts(platform::WindowHandle window,
                                                                   std::size_t max_chars) {
    std::vector<std::string> texts;
    if (max_chars == 0) {
        return texts;
    }
    std::wstring buffer(max_chars, L'\0');
    for (const platform::WindowHandle handle : visible_children(window)) {
        const HWND child = to_hwnd(handle);
        wchar_t class_name[16] = {};
        if (GetClassNameW(child, class_name, static_cast<int>(std::size(class_name))) == 0 ||
            lstrcmpiW(class_name, L"Static") != 0) {
            continue;
        }
        // A part missing would make another message, which a target might take for its own.
        DWORD_PTR copied = 0;
        if (texts.size() == kMostStaticTexts ||
            SendMessageTimeoutW(child, WM_GETTEXT, max_chars,
                                reinterpret_cast<LPARAM>(buffer.data()), SMTO_ABORTIFHUNG,
                                kAnswerTimeoutMs, &copied) == 0) {
            return std::nullopt;
        }
        texts.push_back(clipped(buffer, max_chars, static_cast<LRESULT>(copied)));
    }
    return texts;
}

std::string Win32Desktop::window_text(platform::WindowHandle window, std::size_t max_chars) {
    std::wstring buffer(max_chars + 1, L'\0');
    return clipped(buffer, max_chars,
                   GetWindowTextW(to_hwnd(window), buffer.data(), static_cast<int>(max_chars)));
}

std::string Win32Desktop::class_name(platform::WindowHandle window, std::size_t max_chars) {
    std::wstring buffer(max_chars + 1, L'\0');
    return clipped(buffer, max_chars,
                   GetClassNameW(to_hwnd(window), buffer.data(), static_cast<int>(max_chars)));
}

int Win32Desktop::control_id(platform::WindowHandle window) {
    return GetDlgCtrlID(to_hwnd(window));
}

platform::WindowHandle Win32Desktop::dialog_item(platform::WindowHandle parent, int control_id) {
    return from_hwnd(GetDlgItem(to_hwnd(parent), control_id));
}

platform::WindowHandle Win32Desktop::parent(platform::WindowHandle window) {
    return from_hwnd(GetParent(to_hwnd(window)));
}

platform::WindowHandle Win32Desktop::window_at(platform::Point screen_point) {
    return from_hwnd(WindowFromPoint(POINT{screen_point.x, screen_point.y}));
}

platform::Point Win32Desktop::cursor_position() {
    POINT point{};
    GetCursorPos(&point);
    return {point.x, point.y};
}

void Win32Desktop::set_cursor_position(platform::Point screen_point) {
    SetCursorPos(screen_point.x, screen_point.y);
}

void Win32Desktop::click_at(platform::Point screen_point) {
    INPUT inputs[3] = {};
    for (INPUT& input : inputs) {
        input.type = INPUT_MOUSE;
    }
    inputs[0].mi.dx = absolute(screen_point.x, GetSystemMetrics(SM_CXSCREEN));
    inputs[0].mi.dy = absolute(screen_point.y, GetSystemMetrics(SM_CYSCREEN));
    inputs[0].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    inputs[1].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    inputs[2].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(3, inputs, sizeof(INPUT));
}

platform::Size Win32Desktop::primary_screen_size() {
    return {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

bool Win32Desktop::equal_ignoring_case(std::string_view first, std::string_view second) {
    const std::wstring wide_first = to_wide(first);
    const std::wstring wide_second = to_wide(second);
    return CompareStringOrdinal(wide_first.c_str(), static_cast<int>(wide_first.size()),
                                wide_second.c_str(), static_cast<int>(wide_second.size()),
                                TRUE) == CSTR_EQUAL;
}

}  // namespace tapster::win32
