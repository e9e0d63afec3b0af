// tapster_msgbox.exe: raises one real message box, as a nagging program would, and reports
// which button closed it and how long it was open. The end-to-end tests use it as the target
// that Tapster must press.
//
//   tapster_msgbox RESULT_FILE TITLE ok|okcancel|yesno [--button ID=TEXT]... [--hang MS]
//                  [--timeout MS] [--repeat MS] [--lying-button ID] [--show-after MS]
//                  [--then TITLE] [--text TEXT]
//
// RESULT_FILE receives "<button id> <milliseconds open>"; the id is 0 when nobody pressed a
// button within the timeout (default 10 s). --button renames a button before the box shows;
// --hang puts the box's thread to sleep for that long as it becomes visible, so the box
// stops answering messages before anyone can press it. --repeat raises the box again as soon as it
// is pressed, for that long, and then writes "<presses> <milliseconds>" instead. --lying-button
// makes that button answer WM_GETTEXT by copying its text as asked but claiming 5000 characters,
// and WM_GETTEXTLENGTH with 5000, as a faulty program might. --show-after raises a box of the class
// "TapsterShowAfter" instead, with one OK button, made hidden and shown that long after, as a
// program might keep a box ready (a message box under Wine shows 60 to 90 ms after it was
// made). --then raises a second box of that title the moment a button closes the first, and
// reports the second; a test that needs a box raised just after a press then does not wait for
// a new process to start. --text is what the box says instead of its usual sentence.
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <cwchar>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>

namespace {

using Clock = std::chrono::steady_clock;

struct Settings {
    std::wstring result_file;
    std::wstring title;
    UINT type = MB_OK;
    std::map<int, std::wstring> button_texts;
    DWORD hang_ms = 0;
    DWORD timeout_ms = 10000;
    DWORD repeat_ms = 0;
    int lying_button = 0;
    DWORD show_after_ms = 0;  // not 0: the box is a TapsterShowAfter window
    std::wstring then_title;  // not empty: a second box follows a pressed first one
    std::wstring text = L"Tapster should press a button of this box.";
};

Settings settings;
HWND box = nullptr;
Clock::time_point shown_at;
bool shown_seen = false;  // shown_at is the moment the box became visible
bool hung_once = false;
WNDPROC button_procedure = nullptr;

constexpr LRESULT kClaimedLength = 5000;

LRESULT CALLBACK lying_button(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_GETTEXTLENGTH) {
        return kClaimedLength;
    }
    if (message == WM_GETTEXT) {
        CallWindowProcW(button_procedure, window, message, wparam, lparam);
        return kClaimedLength;
    }
    return CallWindowProcW(button_procedure, window, message, wparam, lparam);
}

// Renames the buttons and installs the lying one, once for each box.
void prepare(HWND window) {
    static HWND prepared = nullptr;
    if (window == prepared) {
        return;
    }
    prepared = window;
    for (const auto& [id, text] : settings.button_texts) {
        SetDlgItemTextW(window, id, text.c_str());
    }
    if (settings.lying_button != 0) {
        button_procedure = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrW(GetDlgItem(window, settings.lying_button), GWLP_WNDPROC,
                              reinterpret_cast<LONG_PTR>(lying_button)));
    }
}

// The box as it is made, before it shows, so that no press can come before its buttons are
// as asked; and the moment it becomes visible, which the timer below would only see up to one
// round later: the dialog's WM_WINDOWPOSCHANGED that shows it.
LRESULT CALLBACK note_shown(int code, WPARAM wparam, LPARAM lparam) {
    const auto* call = reinterpret_cast<const CWPRETSTRUCT*>(lparam);
    if (code == HC_ACTION && call->message == WM_INITDIALOG && settings.show_after_ms == 0 &&
        GetParent(call->hwnd) == nullptr) {
        prepare(call->hwnd);
    }
    if (code == HC_ACTION && !shown_seen && call->message == WM_WINDOWPOSCHANGED &&
        (reinterpret_cast<const WINDOWPOS*>(call->lParam)->flags & SWP_SHOWWINDOW) != 0 &&
        GetParent(call->hwnd) == nullptr) {
        shown_at = Clock::now();
        shown_seen = true;
        // The moment it becomes visible, before any program could press it: a box that
        // hangs only a timer round later may already be closed by then.
        if (settings.hang_ms > 0 && !hung_once) {
            hung_once = true;
            Sleep(settings.hang_ms);
        }
    }
    return CallNextHookEx(nullptr, code, wparam, lparam);
}

BOOL CALLBACK find_box(HWND window, LPARAM) {
    wchar_t class_name[16] = {};
    GetClassNameW(window, class_name, 16);
    if (lstrcmpW(class_name, L"#32770") == 0 && IsWindowVisible(window)) {
        box = window;
        return FALSE;
    }
    return TRUE;
}

// Runs inside the message box's own modal loop.
void CALLBACK on_timer(HWND, UINT, UINT_PTR, DWORD) {
    if (box == nullptr) {
        EnumThreadWindows(GetCurrentThreadId(), find_box, 0);
        if (box == nullptr) {
            return;
        }
        if (!shown_seen) {
            shown_at = Clock::now();
        }
        if (settings.show_after_ms == 0) {
            prepare(box);
        }
    }
    if (settings.hang_ms > 0 && !hung_once) {
        hung_once = true;
        Sleep(settings.hang_ms);
    }
    if (Clock::now() - shown_at > std::chrono::milliseconds(settings.timeout_ms)) {
        if (settings.show_after_ms > 0) {
            DestroyWindow(box);
        } else {
            EndDialog(box, 0);
        }
    }
}

long long milliseconds_since(Clock::time_point start) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
}

constexpr wchar_t kShowAfterClass[] = L"TapsterShowAfter";
int show_after_button = 0;

LRESULT CALLBACK show_after_box(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
        case WM_CREATE:
            CreateWindowExW(0, L"BUTTON", L"OK", WS_CHILD | WS_VISIBLE | BS_DEFPUSHBUTTON, 60, 40,
                            80, 24, window, reinterpret_cast<HMENU>(IDOK),
                            GetModuleHandleW(nullptr), nullptr);
            return 0;
        case WM_COMMAND:
            if (LOWORD(wparam) == IDOK) {
                show_after_button = IDOK;
                DestroyWindow(window);
            }
            return 0;
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
        default:
            return DefWindowProcW(window, message, wparam, lparam);
    }
}

// A box of a class of its own with an OK button, made hidden and shown a while later.
int raise_show_after_box() {
    static const bool registered = [] {
        WNDCLASSW window_class{};
        window_class.lpfnWndProc = show_after_box;
        window_class.hInstance = GetModuleHandleW(nullptr);
        window_class.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
        window_class.lpszClassName = kShowAfterClass;
        return RegisterClassW(&window_class) != 0;
    }();
    if (!registered) {
        return 0;
    }
    show_after_button = 0;
    box = CreateWindowExW(0, kShowAfterClass, settings.title.c_str(), WS_POPUP | WS_CAPTION, 100,
                          100, 200, 100, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    Sleep(settings.show_after_ms);
    // Timed from the call: the box may be seen visible before its WM_WINDOWPOSCHANGED.
    shown_at = Clock::now();
    shown_seen = true;
    ShowWindow(box, SW_SHOW);
    MSG message{};
    while (box != nullptr && GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return show_after_button;
}

int raise_box() {
    box = nullptr;
    shown_seen = false;
    // The box's showing sets this again; a press before it is then timed from here instead
    // of from the clock's epoch.
    shown_at = Clock::now();
    if (settings.show_after_ms > 0) {
        return raise_show_after_box();
    }
    return MessageBoxW(nullptr, settings.text.c_str(), settings.title.c_str(), settings.type);
}

bool parse(int count, wchar_t** arguments) {
    if (count < 4) {
        return false;
    }
    settings.result_file = arguments[1];
    settings.title = arguments[2];
    const std::wstring type = arguments[3];
    settings.type = type == L"okcancel" ? MB_OKCANCEL : type == L"yesno" ? MB_YESNO : MB_OK;
    for (int index = 4; index + 1 < count; index += 2) {
        const std::wstring option = arguments[index];
        const std::wstring value = arguments[index + 1];
        if (option == L"--button") {
            const std::size_t equals = value.find(L'=');
            if (equals == std::wstring::npos) {
                return false;
            }
            settings.button_texts[std::stoi(value.substr(0, equals))] = value.substr(equals + 1);
        } else if (option == L"--hang") {
            settings.hang_ms = static_cast<DWORD>(std::stoul(value));
        } else if (option == L"--repeat") {
            settings.repeat_ms = static_cast<DWORD>(std::stoul(value));
        } else if (option == L"--lying-button") {
            settings.lying_button = std::stoi(value);
        } else if (option == L"--show-after") {
            settings.show_after_ms = static_cast<DWORD>(std::stoul(value));
        } else if (option == L"--then") {
            settings.then_title = value;
        } else if (option == L"--text") {
            settings.text = value;
        } else if (option == L"--timeout") {
            settings.timeout_ms = static_cast<DWORD>(std::stoul(value));
        } else {
            return false;
        }
    }
    return true;
}

}  // namespace

int wmain(int count, wchar_t** arguments) {
    if (!parse(count, arguments)) {
        std::fputs(
            "usage: tapster_msgbox RESULT_FILE TITLE ok|okcancel|yesno [--button ID=TEXT]"
            " [--hang MS] [--timeout MS] [--repeat MS] [--lying-button ID] [--show-after MS]"
            " [--then TITLE] [--text TEXT]\n",
            stderr);
        return 2;
    }
    SetTimer(nullptr, 0, 20, on_timer);
    SetWindowsHookExW(WH_CALLWNDPROCRET, note_shown, nullptr, GetCurrentThreadId());
    int result = 0;
    long long open_ms = 0;
    if (settings.repeat_ms == 0) {
        result = raise_box();
        if (result != 0 && !settings.then_title.empty()) {
            settings.title = settings.then_title;
            result = raise_box();
        }
        open_ms = milliseconds_since(shown_at);
    } else {
        // Counts the presses in a fixed time, each box raised the moment the last one closed.
        const Clock::time_point start = Clock::now();
        while (milliseconds_since(start) < settings.repeat_ms) {
            settings.timeout_ms =
                static_cast<DWORD>(settings.repeat_ms - milliseconds_since(start));
            if (raise_box() != 0) {
                ++result;
            }
        }
        open_ms = milliseconds_since(start);
    }
    std::ofstream file(std::filesystem::path(settings.result_file));
    file << result << ' ' << open_ms << '\n';
    return file ? 0 : 1;
}
