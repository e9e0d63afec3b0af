// tapster_drawn_dialog.exe: a dialog that draws its buttons itself, as many programs do, and
// shows them to screen readers through IAccessible, answering WM_GETOBJECT with
// LresultFromObject. It has no child windows: Tapster can reach its buttons only through
// accessibility. The end-to-end tests use it as a target to record and press.
//
//   tapster_drawn_dialog RESULT_FILE TITLE BUTTON... [--nested] [--disabled N] [--hang MS]
//                        [--hang-in-call MS] [--timeout MS] [--keep-open] [--text TEXT]
//
// RESULT_FILE receives "<button> <milliseconds open>": the number of the button (from 1, in
// the order given) whose default action closed the dialog, or 0 when none did within the
// timeout (default 10 s). --nested puts the buttons inside a grouping element; --disabled N
// shows button N as unavailable, yet its default action still closes the dialog, so a press
// that should not have been made shows. --hang stops the thread's messages for MS from the moment
// the dialog is shown; --hang-in-call stops the thread for MS inside the first call that asks
// its accessible tree for children, so the caller is stuck inside that call. --keep-open
// leaves the dialog open after each press and writes "<presses> <milliseconds>" instead.
// --text is what the dialog says, drawn and shown to screen readers as a static text after the
// buttons; without it the dialog draws a sentence of its own that it shows nobody.
#include <windows.h>

#include <objbase.h>
#include <oleacc.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>

#include "drawn_accessible.h"
#include "drawn_layout.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr wchar_t kClassName[] = L"TapsterDrawnDialog";
using drawn::kClientHeight;
using drawn::kClientWidth;
constexpr UINT_PTR kClockTimer = 1;

struct Settings {
    std::wstring result_file;
    std::wstring title;
    DWORD hang_ms = 0;
    DWORD timeout_ms = 10000;
    bool keep_open = false;
};

Settings settings;
drawn::Dialog dialog;
IAccessible* client_object = nullptr;
Clock::time_point shown_at;
int result = 0;  // the button that closed the dialog, or the number of presses

// Notes how far the dialog got, beside the result file, for a test whose dialog never ends.
void reached(const char* stage) {
    std::ofstream(std::filesystem::path(settings.result_file) += L".stages", std::ios::app)
        << stage << '\n';
}

void lay_out() {
    const int count = static_cast<int>(dialog.buttons.size());
    for (int index = 0; index < count; ++index) {
        dialog.buttons[static_cast<std::size_t>(index)].rect = drawn::button_rect(index, count);
    }
    dialog.group_rect = drawn::group_rect(count);
    dialog.text_rect = RECT{20, 20, kClientWidth - 20, 50};
}

void paint(HWND window) {
    PAINTSTRUCT paint{};
    const HDC dc = BeginPaint(window, &paint);
    RECT client{};
    GetClientRect(window, &client);
    FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
    SetBkMode(dc, TRANSPARENT);
    SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    RECT message = dialog.text_rect;
    DrawTextW(dc,
              dialog.text.empty() ? L"This dialog draws its buttons itself." : dialog.text.c_str(),
              -1, &message, DT_LEFT | DT_SINGLELINE);
    if (dialog.nested) {
        RECT group = dialog.group_rect;
        DrawEdge(dc, &group, EDGE_ETCHED, BF_RECT);
        RECT label{group.left + 8, group.top + 4, group.right, group.top + 20};
        DrawTextW(dc, L"Choices", -1, &label, DT_LEFT | DT_SINGLELINE);
    }
    for (const drawn::Button& button : dialog.buttons) {
        RECT face = button.rect;
        DrawEdge(dc, &face, EDGE_RAISED, BF_RECT | BF_MIDDLE | BF_ADJUST);
        SetTextColor(dc, GetSysColor(button.disabled ? COLOR_GRAYTEXT : COLOR_BTNTEXT));
        DrawTextW(dc, button.name.c_str(), -1, &face, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    }
    EndPaint(window, &paint);
}

void pressed(HWND window, int button) {
    if (settings.keep_open) {
        ++result;
        return;
    }
    result = button;
    DestroyWindow(window);
}

LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
        case WM_GETOBJECT:
            if (static_cast<LONG>(lparam) == static_cast<LONG>(OBJID_CLIENT)) {
                static bool asked = false;
                if (!std::exchange(asked, true)) {
                    reached("asked for its tree");
                }
                return LresultFromObject(__uuidof(IAccessible), wparam, client_object);
            }
            break;
        case WM_PAINT:
            paint(window);
            return 0;
        case WM_LBUTTONUP: {
            const POINT point{static_cast<short>(LOWORD(lparam)),
                              static_cast<short>(HIWORD(lparam))};
            for (std::size_t index = 0; index < dialog.buttons.size(); ++index) {
                if (!dialog.buttons[index].disabled &&
                    PtInRect(&dialog.buttons[index].rect, point)) {
                    pressed(window, static_cast<int>(index) + 1);
                    return 0;
                }
            }
            return 0;
        }
        case drawn::kPressMessage:
            pressed(window, static_cast<int>(wparam));
            return 0;
        case WM_TIMER:
            if (Clock::now() - shown_at > std::chrono::milliseconds(settings.timeout_ms)) {
                reached("timed out");
                DestroyWindow(window);
            }
            return 0;
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
        default:
            break;
    }
    return DefWindowProcW(window, message, wparam, lparam);
}

bool parse(int count, wchar_t** arguments) {
    if (count < 4) {
        return false;
    }
    settings.result_file = arguments[1];
    settings.title = arguments[2];
    int index = 3;
    for (; index < count && std::wstring(arguments[index]).rfind(L"--", 0) != 0; ++index) {
        dialog.buttons.push_back({arguments[index]});
    }
    for (; index < count; ++index) {
        const std::wstring option = arguments[index];
        if (option == L"--nested") {
            dialog.nested = true;
            continue;
        }
        if (option == L"--keep-open") {
            settings.keep_open = true;
            continue;
        }
        if (index + 1 >= count) {
            return false;
        }
        if (option == L"--text") {
            dialog.text = arguments[++index];
            continue;
        }
        const unsigned long value = std::stoul(arguments[++index]);
        if (option == L"--disabled" && value >= 1 && value <= dialog.buttons.size()) {
            dialog.buttons[value - 1].disabled = true;
        } else if (option == L"--hang") {
            settings.hang_ms = value;
        } else if (option == L"--hang-in-call") {
            dialog.hang_in_call_ms = value;
        } else if (option == L"--timeout") {
            settings.timeout_ms = value;
        } else {
            return false;
        }
    }
    return !dialog.buttons.empty();
}

HWND create_window() {
    WNDCLASSW window_class{};
    window_class.lpfnWndProc = procedure;
    window_class.hInstance = GetModuleHandleW(nullptr);
    window_class.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    window_class.lpszClassName = kClassName;
    RegisterClassW(&window_class);
    constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;
    RECT outer{0, 0, kClientWidth, kClientHeight};
    AdjustWindowRect(&outer, kStyle, FALSE);
    const int width = outer.right - outer.left;
    const int height = outer.bottom - outer.top;
    return CreateWindowExW(WS_EX_TOPMOST, kClassName, settings.title.c_str(), kStyle,
                           (GetSystemMetrics(SM_CXSCREEN) - width) / 2,
                           (GetSystemMetrics(SM_CYSCREEN) - height) / 2, width, height, nullptr,
                           nullptr, window_class.hInstance, nullptr);
}

}  // namespace

int wmain(int count, wchar_t** arguments) {
    try {
        if (!parse(count, arguments)) {
            throw std::invalid_argument("arguments");
        }
    } catch (const std::exception&) {
        std::fputs(
            "usage: tapster_drawn_dialog RESULT_FILE TITLE BUTTON... [--nested] [--disabled N]"
            " [--hang MS] [--hang-in-call MS] [--timeout MS] [--keep-open] [--text TEXT]\n",
            stderr);
        return 2;
    }
    reached("started");
    if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {
        return 1;
    }
    lay_out();
    client_object = drawn::make_client_object(dialog);
    dialog.window = create_window();
    ShowWindow(dialog.window, SW_SHOWNORMAL);
    UpdateWindow(dialog.window);
    shown_at = Clock::now();
    reached("shown");
    // Shown and painted, and asleep before its first message: nobody can press it first.
    Sleep(settings.hang_ms);
    SetTimer(dialog.window, kClockTimer, 20, nullptr);
    reached("in its message loop");
    MSG message{};
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    reached("closed");
    const auto open_ms =
        std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - shown_at).count();
    bool written = false;
    {
        std::ofstream file(std::filesystem::path(settings.result_file));
        file << result << ' ' << open_ms << '\n';
        file.close();
        written = static_cast<bool>(file);
    }
    // The caller may still be releasing its references into the tree as the dialog closes.
    // Under Wine, tearing down the apartment while such a call comes in may wait for it
    // forever, so the process ends here, its result written, without that teardown; the
    // caller's references then fail as those into any program that has ended.
    TerminateProcess(GetCurrentProcess(), written ? 0 : 1);
    return written ? 0 : 1;
}
