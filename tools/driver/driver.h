#pragma once

// Drives a running tapster.exe from another process, as a user or another program would:
// starts it, finds its windows, reads its controls, sends it messages, clicks it through the
// X server, and looks at its tray icon. Used by the end-to-end tests and the driver tool.

#include <windows.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace tapster::driver {

using namespace std::chrono_literals;

// Waits until the condition holds, checking every 20 ms; false when time ran out.
bool wait_until(const std::function<bool()>& condition, std::chrono::milliseconds timeout = 5000ms);

std::wstring widen(const std::string& utf8);
std::string narrow(const std::wstring& utf16);

// Where tapster.exe keeps its settings for this user.
std::filesystem::path settings_path();
void write_settings(const std::string& json);  // empty: no file at all
std::string read_settings();                   // empty when there is no file
// Where tapster.exe keeps its history of presses for this user, in the local profile.
std::filesystem::path history_path();

// Starts a Windows program; its process handle, which the caller closes, or null with the system's
// error in `error`. Under a loaded Wine a start now and then fails at once and works when
// tried again, so it is tried for up to about two seconds.
HANDLE start_process(std::wstring command_line, DWORD& error);

// A unix path as Wine sees it on its Z: drive.
std::wstring windows_path(const std::string& unix_path);

// The middle of a window on the screen, and a point as xdotool takes it ("x y").
POINT center_on_screen(HWND window);
std::string xdotool_point(POINT point);
// Runs xdotool with these arguments: real input through the X server.
void xdotool(const std::string& arguments);

// Runs a command of the machine that hosts Wine (xdotool, import) and waits for it; its
// exit code, or -1. The command must not contain double quotes.
int run_host_command(const std::string& shell_command);

struct ControlInfo {
    HWND window = nullptr;
    std::string class_name;
    std::string text;
    RECT rect{};  // in the main window's client coordinates
    bool visible = false;
};

class Tapster {
  public:
    // Starts tapster.exe (a unix path, or a Windows one with its drive letter) and waits
    // until its main window exists.
    explicit Tapster(const std::string& exe_unix_path);
    ~Tapster();  // ends the program if it still runs
    Tapster(const Tapster&) = delete;
    Tapster& operator=(const Tapster&) = delete;

    HWND window() const { return window_; }
    DWORD process_id() const { return process_id_; }
    bool running() const;
    bool wait_for_exit(std::chrono::milliseconds timeout);
    // Whether its window thread handles a message sent now within that time: its start-up
    // has run, and whatever was handling a message before has ended.
    bool answers(std::chrono::milliseconds timeout) const;
    bool visible() const { return IsWindowVisible(window_) != FALSE; }

    std::string caption() const;
    std::vector<ControlInfo> controls() const;
    std::optional<ControlInfo> find_control(const std::string& class_name,
                                            const std::string& text) const;
    // The five capture fields, top to bottom: title, class, button text, found id, id.
    std::vector<ControlInfo> capture_fields() const;
    // The four fields a capture fills are locked while it is armed; under Wine another
    // process cannot read the pointer's shape, which changes in the same steps.
    bool capture_armed() const;
    // Not armed, and the four fields filled.
    bool capture_complete() const;
    // The identifier of a menu entry, by the captions on the way to it.
    // Brings the window to the front by clicking its title bar.
    void focus() const;
    // Chooses a menu entry with the keyboard, as a user would: F10, then arrows. Positions
    // count from 0; separators are skipped by the menu itself.
    void choose_menu_entry(int menu_position, int entry_position) const;

    // The identity Tapster gives its tray icon: its window and a fixed number.
    struct TrayIdentity {
        HWND window = nullptr;
        UINT id = 0;
    };
    TrayIdentity tray_identity() const;
    // Whether the shell holds that icon; asked with an empty modification, which the shell
    // refuses only for an icon it does not have.
    static bool tray_icon_exists(const TrayIdentity& identity);
    bool tray_icon_present() const { return tray_icon_exists(tray_identity()); }
    bool delete_tray_icon() const;
    // What the shell sends when the user does something over the icon: a mouse message,
    // NIN_SELECT, WM_CONTEXTMENU...
    void send_tray_notification(UINT action) const;
    // Asks for the icon's context menu as the shell does after a right click, without waiting
    // for the menu's own loop to end, and returns the menu's window once it is on screen
    // (nullptr when none came). Under Wine the menu of a hidden window gets no keyboard once
    // another program has had the foreground: click its entries.
    HWND open_tray_menu() const;
    // Clicks the icon in Wine's taskbar through the X server (1 left, 3 right), where it
    // is while it is the only one.
    void click_tray_icon(int button) const;
    static POINT tray_icon_point();
    // The pop-up menu on screen, once it shows; nullptr when none came.
    static HWND pop_up_menu();

    // Real input through the X server, at a point in screen coordinates.
    static void click_at(POINT screen_point);
    // Right-clicks there and, once the pop-up menu shows, chooses the entry at this position
    // (from 0) with the keyboard; false when no menu came.
    static bool choose_from_pop_up(POINT screen_point, int entry_position);
    // Presses the mouse on the check mark and, once that has armed a capture, moves it over
    // this point with the button held; false when no capture was armed.
    bool hold_check_mark_over(POINT screen_point) const;
    void click_control(const ControlInfo& control) const;

  private:
    HWND window_ = nullptr;
    HANDLE process_ = nullptr;
    DWORD process_id_ = 0;
};

// Stores only these targets (the Items section's members, as JSON), starts tapster.exe and
// waits until its window shows.
std::unique_ptr<Tapster> start_with_items(const std::string& exe_unix_path,
                                          const std::string& items_json);

// A message box raised by tapster_msgbox.exe in a process of its own, or another helper's
// dialog that reports the same way (tapster_drawn_dialog.exe).
class MessageBoxProcess {
  public:
    struct Result {
        int button = 0;  // the id of the button that closed it; 0 when none did in time
        long long open_ms = 0;
    };

    // arguments: TITLE ok|okcancel|yesno [options], as tapster_msgbox takes them.
    MessageBoxProcess(const std::string& helper_unix_path, const std::wstring& arguments);
    ~MessageBoxProcess();
    MessageBoxProcess(const MessageBoxProcess&) = delete;
    MessageBoxProcess& operator=(const MessageBoxProcess&) = delete;

    // The box window once it is on screen; a helper's own dialog has a class of its own.
    HWND wait_until_shown(const std::wstring& title, std::chrono::milliseconds timeout = 10000ms,
                          const std::wstring& window_class = L"#32770") const;
    // How the box ended; nothing when the helper did not finish in time.
    std::optional<Result> wait(std::chrono::milliseconds timeout = 15000ms);

  private:
    HANDLE process_ = nullptr;
    std::filesystem::path result_file_;
};

// A point on the screen on a row of another process's list view, this far from its left
// edge (a check box lies at 10, the text from about 30 on).
POINT list_view_row(HWND list, int index, int from_left);

// The texts of a message box's labels, joined.
std::string message_box_text(HWND box);

// The text of one entry of another process's list view, read through memory lent in that
// process (the list view writes the text where the message points); empty when it fails.
std::string list_view_text(HWND list, int index, int column = 0);

// The value "Tapster" of the user's Run key, which starts a program at sign-in; nothing when
// there is none. Setting nothing deletes it.
std::optional<std::wstring> sign_in_entry();
void set_sign_in_entry(const std::optional<std::wstring>& entry);

// Saves a PNG of the given screen rectangle (the whole screen when empty).
bool save_screenshot(const std::string& unix_png_path, const RECT* area = nullptr);

}  // namespace tapster::driver
