#include "driver.h"

#include <commctrl.h>
#include <shellapi.h>
#include <shlobj.h>

#include <algorithm>
#include <climits>
#include <fstream>
#include <iostream>
#include <random>
#include <sstream>
#include <stdexcept>
#include <thread>

namespace tapster::driver {

namespace {

constexpr wchar_t kMainClass[] = L"TapsterMain";
constexpr UINT kTrayIconId = 1;  // as tapster.exe names its icon
// What tapster.exe asks the shell to send about its icon (the shell's version 4): the
// anchor point in wParam, the user's action and the icon's number in lParam.
constexpr UINT kTrayCallbackMessage = WM_APP + 1;

struct Search {
    DWORD process_id;
    HWND found;
};

BOOL CALLBACK find_main_window(HWND window, LPARAM parameter) {
    auto* search = reinterpret_cast<Search*>(parameter);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    wchar_t class_name[64] = {};
    GetClassNameW(window, class_name, 64);
    if (owner == search->process_id && lstrcmpW(class_name, kMainClass) == 0) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

std::string text_of(HWND window) {
    // Ask the control itself: edit controls keep their text apart from the window title.
    wchar_t buffer[1024] = {};
    DWORD_PTR copied = 0;
    SendMessageTimeoutW(window, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(buffer),
                        SMTO_ABORTIFHUNG, 2000, &copied);
    return narrow(std::wstring(buffer, copied));
}

NOTIFYICONDATAW icon_data(const Tapster::TrayIdentity& identity) {
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof data;
    data.hWnd = identity.window;
    data.uID = identity.id;
    return data;
}

}  // namespace

bool wait_until(const std::function<bool()>& condition, std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!condition()) {
        if (std::chrono::steady_clock::now() >= deadline) {
            return false;
        }
        std::this_thread::sleep_for(20ms);
    }
    return true;
}

std::wstring widen(const std::string& utf8) {
    if (utf8.empty()) {
        return {};
    }
    const int size = static_cast<int>(utf8.size());
    std::wstring wide(
        static_cast<std::size_t>(MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, nullptr, 0)),
        L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, wide.data(), static_cast<int>(wide.size()));
    return wide;
}

std::string narrow(const std::wstring& utf16) {
    if (utf16.empty()) {
        return {};
    }
    const int size = static_cast<int>(utf16.size());
    std::string utf8(static_cast<std::size_t>(WideCharToMultiByte(CP_UTF8, 0, utf16.data(), size,
                                                                  nullptr, 0, nullptr, nullptr)),
                     '\0');
    WideCharToMultiByte(CP_UTF8, 0, utf16.data(), size, utf8.data(), static_cast<int>(utf8.size()),
                        nullptr, nullptr);
    return utf8;
}

namespace {

std::filesystem::path tapster_folder(REFKNOWNFOLDERID known) {
    PWSTR folder = nullptr;
    if (FAILED(SHGetKnownFolderPath(known, 0, nullptr, &folder))) {
        throw std::runtime_error("no AppData folder");
    }
    std::filesystem::path path(folder);
    CoTaskMemFree(folder);
    return path / L"Tapster 2.1";
}

}  // namespace

std::filesystem::path settings_path() {
    return tapster_folder(FOLDERID_RoamingAppData) / L"settings.json";
}

std::filesystem::path history_path() {
    return tapster_folder(FOLDERID_LocalAppData) / L"history.jsonl";
}

void write_settings(const std::string& json) {
    const std::filesystem::path path = settings_path();
    std::error_code ignored;
    std::filesystem::remove(path, ignored);
    if (json.empty()) {
        return;
    }
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << json;
}

std::string read_settings() {
    std::ifstream file(settings_path(), std::ios::binary);
    std::ostringstream content;
    content << file.rdbuf();
    return content.str();
}

std::wstring windows_path(const std::string& unix_path) {
    std::wstring path = L"Z:" + widen(unix_path);
    for (wchar_t& character : path) {
        if (character == L'/') {
            character = L'\\';
        }
    }
    return path;
}

POINT center_on_screen(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    return POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

std::string xdotool_point(POINT point) {
    return std::to_string(point.x) + " " + std::to_string(point.y);
}

void xdotool(const std::string& arguments) {
    run_host_command("xdotool " + arguments);
}

HANDLE start_process(std::wstring command_line, DWORD& error) {
    for (int attempt = 0;; ++attempt) {
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION process{};
        if (CreateProcessW(nullptr, command_line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                           nullptr, &startup, &process)) {
            CloseHandle(process.hThread);
            return process.hProcess;
        }
        error = GetLastError();
        if (attempt == 10) {
            return nullptr;
        }
        Sleep(200);
    }
}

int run_host_command(const std::string& shell_command) {
    // Wine starts a program of the host system when given its unix path, but does not wait
    // for it: the shell leaves its exit code in a file, and that file is awaited.
    // Named for this run alone: a process of another Wine prefix, run beside this one, may
    // have the same process id.
    static const std::string run = std::to_string(std::random_device{}());
    static int counter = 0;
    const std::string marker = "/tmp/tapster-driver-" + std::to_string(GetCurrentProcessId()) +
                               "-" + run + "-" + std::to_string(++counter) + ".done";
    std::wstring command_line =
        L"/bin/sh -c \"" + widen(shell_command) + L"; echo $? > " + widen(marker) + L"\"";
    // Once only: Wine may say a start of a host program failed after it started it.
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, command_line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process)) {
        return -1;
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    const std::filesystem::path done(windows_path(marker));
    int code = -1;
    wait_until(
        [&] {
            std::ifstream file(done);
            return static_cast<bool>(file >> code);
        },
        30000ms);
    std::error_code ignored;
    std::filesystem::remove(done, ignored);
    return code;
}

std::unique_ptr<Tapster> start_with_items(const std::string& exe_unix_path,
                                          const std::string& items_json) {
    write_settings(R"({"Items": {)" + items_json + "}}");
    auto tapster = std::make_unique<Tapster>(exe_unix_path);
    wait_until([&] { return tapster->visible(); });
    return tapster;
}

Tapster::Tapster(const std::string& exe_unix_path) {
    // A path with a drive letter is a Windows path already.
    const bool windows = exe_unix_path.size() > 1 && exe_unix_path[1] == ':';
    std::wstring command_line =
        L"\"" + (windows ? widen(exe_unix_path) : windows_path(exe_unix_path)) + L"\"";
    DWORD error = 0;
    process_ = start_process(command_line, error);
    if (process_ == nullptr) {
        throw std::runtime_error("cannot start " + exe_unix_path + ": error " +
                                 std::to_string(error));
    }
    process_id_ = GetProcessId(process_);
    Search search{process_id_, nullptr};
    wait_until(
        [&] {
            EnumWindows(find_main_window, reinterpret_cast<LPARAM>(&search));
            return search.found != nullptr;
        },
        15000ms);
    window_ = search.found;
    if (window_ == nullptr) {
        throw std::runtime_error("tapster.exe showed no main window");
    }
}

Tapster::~Tapster() {
    if (running()) {
        // Leave no icon behind for the next test.
        delete_tray_icon();
        TerminateProcess(process_, 1);
        WaitForSingleObject(process_, 5000);
    }
    CloseHandle(process_);
}

bool Tapster::running() const {
    return WaitForSingleObject(process_, 0) == WAIT_TIMEOUT;
}

bool Tapster::answers(std::chrono::milliseconds timeout) const {
    DWORD_PTR ignored = 0;
    return SendMessageTimeoutW(window_, WM_NULL, 0, 0, SMTO_ABORTIFHUNG,
                               static_cast<UINT>(timeout.count()), &ignored) != 0;
}

bool Tapster::wait_for_exit(std::chrono::milliseconds timeout) {
    return WaitForSingleObject(process_, static_cast<DWORD>(timeout.count())) == WAIT_OBJECT_0;
}

std::string Tapster::caption() const {
    return text_of(window_);
}

std::vector<ControlInfo> Tapster::controls() const {
    std::vector<HWND> windows;
    EnumChildWindows(
        window_,
        [](HWND child, LPARAM parameter) {
            reinterpret_cast<std::vector<HWND>*>(parameter)->push_back(child);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&windows));
    std::vector<ControlInfo> result;
    for (HWND child : windows) {
        ControlInfo info;
        info.window = child;
        wchar_t class_name[64] = {};
        GetClassNameW(child, class_name, 64);
        info.class_name = narrow(class_name);
        info.text = text_of(child);
        GetWindowRect(child, &info.rect);
        MapWindowPoints(nullptr, window_, reinterpret_cast<POINT*>(&info.rect), 2);
        info.visible = IsWindowVisible(child) != FALSE;
        result.push_back(info);
    }
    return result;
}

std::optional<ControlInfo> Tapster::find_control(const std::string& class_name,
                                                 const std::string& text) const {
    for (const ControlInfo& control : controls()) {
        if (lstrcmpiW(widen(control.class_name).c_str(), widen(class_name).c_str()) == 0 &&
            control.text == text) {
            return control;
        }
    }
    return std::nullopt;
}

void Tapster::choose_menu_entry(int menu_position, int entry_position) const {
    focus();
    std::string keys = "F10";
    for (int step = 0; step < menu_position; ++step) {
        keys += " Right";
    }
    keys += " Down";  // opens the menu on its first entry
    for (int step = 0; step < entry_position; ++step) {
        keys += " Down";
    }
    keys += " Return";
    run_host_command("xdotool key --delay 150 " + keys);
}

void Tapster::focus() const {
    // Always through the X server: Wine may call a window foreground that X has not given
    // the keyboard yet.
    RECT outer{};
    GetWindowRect(window_, &outer);
    click_at(POINT{(outer.left + outer.right) / 2, outer.top + 8});  // the title bar
    wait_until([&] { return GetForegroundWindow() == window_; }, 2000ms);
}

Tapster::TrayIdentity Tapster::tray_identity() const {
    return {window_, kTrayIconId};
}

bool Tapster::tray_icon_exists(const TrayIdentity& identity) {
    NOTIFYICONDATAW data = icon_data(identity);
    return Shell_NotifyIconW(NIM_MODIFY, &data) != FALSE;
}

bool Tapster::delete_tray_icon() const {
    NOTIFYICONDATAW data = icon_data(tray_identity());
    return Shell_NotifyIconW(NIM_DELETE, &data) != FALSE;
}

void Tapster::send_tray_notification(UINT action) const {
    const POINT anchor = tray_icon_point();
    SendMessageTimeoutW(window_, kTrayCallbackMessage, MAKEWPARAM(anchor.x, anchor.y),
                        MAKELPARAM(action, tray_identity().id), SMTO_ABORTIFHUNG, 2000, nullptr);
}

POINT Tapster::tray_icon_point() {
    // Wine's taskbar puts the first icon at the right end of the bar, in a square of the
    // small icon's size and a border of 2 pixels on each side.
    RECT bar{};
    GetWindowRect(FindWindowW(L"Shell_TrayWnd", nullptr), &bar);
    const int square = GetSystemMetrics(SM_CXSMICON) + 4;
    return {bar.right - square / 2, (bar.top + bar.bottom) / 2};
}

void Tapster::click_tray_icon(int button) const {
    xdotool("mousemove " + xdotool_point(tray_icon_point()) + " sleep 0.2 click " +
            std::to_string(button));
}

HWND Tapster::pop_up_menu() {
    HWND menu = nullptr;
    wait_until([&] {
        menu = FindWindowW(L"#32768", nullptr);
        return menu != nullptr && IsWindowVisible(menu) != FALSE;
    });
    return menu != nullptr && IsWindowVisible(menu) != FALSE ? menu : nullptr;
}

HWND Tapster::open_tray_menu() const {
    // Posted: the program answers only once the menu closes.
    const POINT anchor = tray_icon_point();
    PostMessageW(window_, kTrayCallbackMessage, MAKEWPARAM(anchor.x, anchor.y),
                 MAKELPARAM(WM_CONTEXTMENU, tray_identity().id));
    return pop_up_menu();
}

std::vector<ControlInfo> Tapster::capture_fields() const {
    // The column of text boxes at the window's left edge, whatever the display scale.
    std::vector<ControlInfo> fields;
    LONG leftmost = LONG_MAX;
    for (const ControlInfo& control : controls()) {
        if (control.class_name == "Edit" && control.visible) {
            leftmost = std::min(leftmost, control.rect.left);
            fields.push_back(control);
        }
    }
    std::erase_if(fields, [&](const ControlInfo& field) { return field.rect.left != leftmost; });
    std::sort(fields.begin(), fields.end(), [](const auto& first, const auto& second) {
        return first.rect.top < second.rect.top;
    });
    return fields;
}

bool Tapster::capture_armed() const {
    const std::vector<ControlInfo> fields = capture_fields();
    return fields.size() == 5 &&
           std::none_of(fields.begin(), fields.begin() + 4,
                        [](const auto& field) { return IsWindowEnabled(field.window) != FALSE; });
}

bool Tapster::capture_complete() const {
    const std::vector<ControlInfo> fields = capture_fields();
    return fields.size() == 5 &&
           std::all_of(fields.begin(), fields.begin() + 4, [](const auto& field) {
               return IsWindowEnabled(field.window) != FALSE && !field.text.empty();
           });
}

void Tapster::click_at(POINT screen_point) {
    xdotool("mousemove " + xdotool_point(screen_point) + " click 1");
}

bool Tapster::choose_from_pop_up(POINT screen_point, int entry_position) {
    xdotool("mousemove " + xdotool_point(screen_point) + " click 3");
    if (pop_up_menu() == nullptr) {
        return false;
    }
    std::string keys = "key --delay 150";
    for (int step = 0; step <= entry_position; ++step) {
        keys += " Down";
    }
    xdotool(keys + " Return");
    return true;
}

bool Tapster::hold_check_mark_over(POINT screen_point) const {
    const auto check_mark = find_control("TapsterPicture", "");
    if (!check_mark) {
        return false;
    }
    xdotool("mousemove " + xdotool_point(center_on_screen(check_mark->window)) + " mousedown 1");
    if (!wait_until([&] { return capture_armed(); })) {
        return false;
    }
    xdotool("mousemove " + xdotool_point(screen_point));
    return true;
}

void Tapster::click_control(const ControlInfo& control) const {
    click_at(center_on_screen(control.window));
}

namespace {
constexpr wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr wchar_t kRunValue[] = L"Tapster";
}  // namespace

std::optional<std::wstring> sign_in_entry() {
    wchar_t text[1024] = {};
    DWORD size = sizeof text;
    if (RegGetValueW(HKEY_CURRENT_USER, kRunKey, kRunValue, RRF_RT_REG_SZ, nullptr, text, &size) !=
        ERROR_SUCCESS) {
        return std::nullopt;
    }
    return std::wstring(text);
}

void set_sign_in_entry(const std::optional<std::wstring>& entry) {
    if (!entry) {
        RegDeleteKeyValueW(HKEY_CURRENT_USER, kRunKey, kRunValue);
        return;
    }
    RegSetKeyValueW(HKEY_CURRENT_USER, kRunKey, kRunValue, REG_SZ, entry->c_str(),
                    static_cast<DWORD>((entry->size() + 1) * sizeof(wchar_t)));
}

MessageBoxProcess::MessageBoxProcess(const std::string& helper_unix_path,
                                     const std::wstring& arguments) {
    static int counter = 0;
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    result_file_ =
        std::filesystem::path(temp) / (L"tapster-msgbox-" + std::to_wstring(GetCurrentProcessId()) +
                                       L"-" + std::to_wstring(++counter) + L".txt");
    std::error_code ignored;
    std::filesystem::remove(result_file_, ignored);
    std::wstring command_line = L"\"" + windows_path(helper_unix_path) + L"\" \"" +
                                result_file_.wstring() + L"\" " + arguments;
    DWORD error = 0;
    process_ = start_process(command_line, error);
    if (process_ == nullptr) {
        throw std::runtime_error("cannot start the message box helper: error " +
                                 std::to_string(error));
    }
}

MessageBoxProcess::~MessageBoxProcess() {
    if (WaitForSingleObject(process_, 0) == WAIT_TIMEOUT) {
        TerminateProcess(process_, 1);
        WaitForSingleObject(process_, 5000);
    }
    CloseHandle(process_);
    std::error_code ignored;
    std::filesystem::remove(result_file_, ignored);
    std::filesystem::remove(std::filesystem::path(result_file_) += L".stages", ignored);
}

HWND MessageBoxProcess::wait_until_shown(const std::wstring& title,
                                         std::chrono::milliseconds timeout,
                                         const std::wstring& window_class) const {
    HWND box = nullptr;
    wait_until(
        [&] {
            box = FindWindowW(window_class.c_str(), title.c_str());
            return box != nullptr && IsWindowVisible(box);
        },
        timeout);
    return box;
}

std::optional<MessageBoxProcess::Result> MessageBoxProcess::wait(
    std::chrono::milliseconds timeout) {
    if (WaitForSingleObject(process_, static_cast<DWORD>(timeout.count())) != WAIT_OBJECT_0) {
        // A helper that writes its stages as it goes says how far it got.
        std::ifstream stages(std::filesystem::path(result_file_) += L".stages");
        std::cerr << "the helper is still running after " << timeout.count() << " ms";
        for (std::string stage; std::getline(stages, stage);) {
            std::cerr << (stage.empty() ? "" : "; ") << stage;
        }
        std::cerr << "\n";
        return std::nullopt;
    }
    std::ifstream file(result_file_);
    Result result;
    if (!(file >> result.button >> result.open_ms)) {
        return std::nullopt;
    }
    return result;
}

bool save_screenshot(const std::string& unix_png_path, const RECT* area) {
    std::string command = "import -window root ";
    if (area != nullptr) {
        command += "-crop " + std::to_string(area->right - area->left) + "x" +
                   std::to_string(area->bottom - area->top) + "+" + std::to_string(area->left) +
                   "+" + std::to_string(area->top) + " +repage ";
    }
    command += "'" + unix_png_path + "'";
    return run_host_command(command) == 0;
}

POINT list_view_row(HWND list, int index, int from_left) {
    // The list view reports the height its rows take without lending it memory.
    const auto height = [&](int rows) {
        return HIWORD(SendMessageW(list, LVM_APPROXIMATEVIEWRECT, rows, MAKELPARAM(-1, -1)));
    };
    const int row_height = height(2) - height(1);
    RECT rect{};
    GetWindowRect(list, &rect);
    return POINT{rect.left + from_left, rect.top + 2 + row_height * index + row_height / 2};
}

std::string message_box_text(HWND box) {
    std::string text;
    EnumChildWindows(
        box,
        [](HWND child, LPARAM parameter) {
            wchar_t class_name[16] = {};
            GetClassNameW(child, class_name, 16);
            if (lstrcmpiW(class_name, L"Static") == 0) {
                wchar_t label[512] = {};
                GetWindowTextW(child, label, 512);
                *reinterpret_cast<std::string*>(parameter) += narrow(label);
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&text));
    return text;
}

std::string list_view_text(HWND list, int index, int column) {
    DWORD owner = 0;
    GetWindowThreadProcessId(list, &owner);
    const HANDLE process =
        OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, owner);
    if (process == nullptr) {
        return {};
    }
    constexpr int kChars = 1024;
    struct Request {
        LVITEMW item;
        wchar_t text[kChars];
    };
    std::string result;
    auto* lent = static_cast<Request*>(
        VirtualAllocEx(process, nullptr, sizeof(Request), MEM_COMMIT, PAGE_READWRITE));
    if (lent != nullptr) {
        Request request{};
        request.item.iItem = index;
        request.item.iSubItem = column;
        request.item.pszText = lent->text;
        request.item.cchTextMax = kChars;
        DWORD_PTR copied = 0;
        if (WriteProcessMemory(process, lent, &request, sizeof request, nullptr) != FALSE &&
            SendMessageTimeoutW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(index),
                                reinterpret_cast<LPARAM>(&lent->item), SMTO_ABORTIFHUNG, 2000,
                                &copied) != 0 &&
            ReadProcessMemory(process, lent, &request, sizeof request, nullptr) != FALSE) {
            request.text[kChars - 1] = L'\0';
            result = narrow(request.text);
        }
        VirtualFreeEx(process, lent, 0, MEM_RELEASE);
    }
    CloseHandle(process);
    return result;
}

}  // namespace tapster::driver
