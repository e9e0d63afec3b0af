#pragma once

#include <windows.h>

#include <array>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include "app/window_events.h"
#include "win32/control_views.h"
#include "win32/menu_view.h"
#include "win32/scoped_handles.h"
#include "win32/win32_notification_area.h"
#include "win32/window_procedure.h"

namespace tapster::win32 {

// The real main window of a form: it creates a window for every control at its designed
// place, mirrors the form window's own state (shown or hidden, caption, pointer) and the
// timers, and tells the form what happens to it. No exception leaves its window procedure.
class MainWindow : private WindowProcedure {
  public:
    MainWindow();
    ~MainWindow() override;
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;

    HWND hwnd() const { return hwnd_; }
    // The window's icon in the notification area, drawn anew when the display scale changes.
    Win32NotificationArea& notification_area() { return *notification_area_; }

    // Creates the controls, menus and timers of the form; they run from here on.
    void attach(WindowEvents& form);
    // The program's only message loop; Tapster's own code runs no other.
    int run_message_loop();

  private:
    void observe(ui::Control& control);
    void control_changed(ui::Control& control, ui::Change change);
    // Handles keyboard navigation; true when the message needs no further dispatch.
    bool pre_translate(MSG& message);
    LRESULT on_message(HWND window, UINT message, WPARAM wparam, LPARAM lparam) override;
    LRESULT handle(UINT message, WPARAM wparam, LPARAM lparam);
    bool route_command(WPARAM wparam, LPARAM lparam);
    void mirror_window(ui::Change change);
    void show_on_request();
    void apply_dpi(int dpi);
    void size_to_design();
    // The system timer of kWindowTimers[index], whose identifier is index + 1.
    void sync_timer(std::size_t index);

    HWND hwnd_ = nullptr;
    ScopedFont font_;
    std::optional<Win32NotificationArea> notification_area_;
    std::optional<TrayMessages> tray_messages_;
    UINT show_request_ = 0;
    int dpi_ = 96;
    // A tick already queued when its timer stopped is dropped.
    std::array<bool, kWindowTimers.size()> timer_running_{};

    WindowEvents* form_ = nullptr;
    // The form window's and the timers' handlers, disconnected when the window ends.
    std::vector<std::pair<ui::Control*, ui::Event<ui::Change>::Connection>> observed_;
    ControlViews views_;
    std::unique_ptr<MenuView> menus_;
};

}  // namespace tapster::win32
