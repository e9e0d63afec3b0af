#pragma once

#include <windows.h>

#include <map>
#include <memory>
#include <vector>

#include "app/main_form.h"
#include "win32/control_view.h"
#include "win32/control_views.h"
#include "win32/menu_view.h"
#include "win32/scoped_handles.h"
#include "win32/window_procedure.h"

namespace tapster::win32 {

// The real main window of MainForm: it creates a window for every control at its designed
// place, mirrors the form's own state (shown or hidden, caption, pointer, timers) and turns
// window messages into the form's handlers. No exception leaves its window procedure.
class MainWindow : public ui::ControlObserver, private WindowProcedure {
  public:
    MainWindow();
    ~MainWindow() override;
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;

    HWND hwnd() const { return hwnd_; }
    // The small icon, which the tray shows.
    HICON small_icon() const { return small_icon_; }

    // Creates the controls, menus and timers of the form; they run from here on.
    void attach(MainForm& form);
    // Handles keyboard navigation; true when the message needs no further dispatch.
    bool pre_translate(MSG& message);
    int run_message_loop();

    void control_changed(ui::Control& control, ui::Change change) override;

  private:
    LRESULT on_message(HWND window, UINT message, WPARAM wparam, LPARAM lparam) override;
    LRESULT handle(UINT message, WPARAM wparam, LPARAM lparam);
    bool route_command(WPARAM wparam, LPARAM lparam);
    void apply_dpi(int dpi);
    void size_to_design();
    void sync_timer(const ui::Timer& timer);

    HWND hwnd_ = nullptr;
    HICON small_icon_ = nullptr;
    ScopedFont font_;
    UINT taskbar_created_ = 0;
    UINT show_request_ = 0;
    int dpi_ = 96;

    MainForm* form_ = nullptr;
    ControlViews views_;
    std::unique_ptr<MenuView> menus_;
};

}  // namespace tapster::win32
