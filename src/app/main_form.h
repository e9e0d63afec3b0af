#pragma once

#include <chrono>
#include <filesystem>

#include "app/policy_watch.h"
#include "app/startup.h"
#include "app/window_controls.h"
#include "app/window_events.h"
#include "capture/capture_session.h"
#include "capture/open_windows.h"
#include "capture/wait_notice.h"
#include "history/history_option.h"
#include "history/history_window.h"
#include "history/press_history.h"
#include "information/information_menus.h"
#include "model/target_list.h"
#include "options/calibration_panel.h"
#include "platform/accessible_buttons.h"
#include "platform/desktop.h"
#include "platform/desktop_events.h"
#include "platform/dispatcher.h"
#include "platform/locale.h"
#include "platform/message_boxes.h"
#include "platform/notification_area.h"
#include "platform/policy.h"
#include "platform/record_dialog.h"
#include "platform/shell.h"
#include "platform/sign_in.h"
#include "platform/target_dialog.h"
#include "platform/top_level_windows.h"
#include "platform/wall_clock.h"
#include "pressing/mouse.h"
#include "pressing/press_at_once.h"
#include "pressing/push_cycle.h"
#include "targets/list_editing.h"
#include "targets/stored_targets.h"
#include "targets/target_editing.h"
#include "tray/refusal_notice.h"
#include "tray/sign_in_option.h"
#include "tray/tray_icon.h"
#include "ui/history_view.h"
#include "ui/save_failure_notice.h"

namespace tapster {

class SettingsStore;

// Everything the main window's logic reaches outside itself.
struct MainFormServices {
    SettingsStore& settings;
    platform::NotificationArea& notification_area;
    platform::MessageBoxes& message_boxes;
    platform::Shell& shell;
    platform::Dispatcher& dispatcher;
    platform::Desktop& desktop;
    platform::Locale& locale;
    platform::SignIn& sign_in;
    platform::AccessibleButtons& accessible_buttons;
    platform::Policy& policy;
    // The window watch's view of the desktop, and the system's news of windows.
    platform::TopLevelWindows& top_level_windows;
    platform::DesktopEvents& desktop_events;
    platform::TargetDialog& target_dialog;
    platform::RecordDialog& record_dialog;
    // The history of presses: the clock its records are stamped by, its window, and its
    // file, none for a form that keeps no history.
    platform::WallClock& wall_clock;
    ui::HistoryView& history_view;
    std::filesystem::path history_file;
};

// The main window's logic: its controls as designed, the modules that give them behaviour,
// and the wiring between them. Its window on screen sees only WindowEvents: it mirrors the
// controls and reports the user's input, the timers' ticks and what happens to the window.
class MainForm final : public WindowEvents {
  public:
    // How long Exit waits for the history's last records to be written.
    static constexpr std::chrono::milliseconds kHistoryFlushLimit{1000};

    explicit MainForm(MainFormServices services);

    // Runs once, before the window is first shown.
    void start();

    WindowControls& controls() override { return controls_; }
    void timer_ticked(WindowTimer timer) override;
    void resized(int outer_width_twips) override;
    // Every close request is refused: only Exit ends the program.
    bool allows_close() override { return false; }
    void show_requested() override { controls_.window.set_visible(true); }
    // Leaves no stale icon behind, nor a press unwritten.
    void session_ending() override {
        tray_.remove();
        history_.flush(kHistoryFlushLimit);
    }
    void taskbar_created() override { tray_.add(); }
    void tray_selected() override { tray_.on_selected(); }
    void tray_menu_requested(ui::PopupAnchor anchor) override { tray_.on_menu_requested(anchor); }
    void policy_changed() override { policy_.refresh(); }

  private:
    // The unit tests' way to the modules (tests/fakes/form_fixture.h).
    friend class MainFormProbe;

    void connect_events();
    void on_minimize_clicked();
    void on_exit_clicked();
    void on_run_minimized_chosen();
    // Pausing is not stored: every start presses.
    void on_pause_chosen();

    MainFormServices services_;
    WindowControls controls_;

    // The modules, built in this order.
    ui::SaveFailureNotice save_failures_;
    TargetList targets_;
    StoredTargets stored_targets_;
    CapturedTitle captured_title_;
    CapturedConditions captured_conditions_;
    ListEditing list_editing_;
    TargetEditing target_editing_;
    // Before the push cycle, which reports to it.
    PressHistory history_;
    HistoryOption history_option_;
    HistoryWindow history_window_;
    Mouse mouse_;
    PushCycle push_cycle_;
    PressAtOnce press_at_once_;
    WaitNotice wait_notice_;
    CaptureSession capture_;
    OpenWindows open_windows_;
    CalibrationPanel calibration_;
    TrayIcon tray_;
    RefusalNotice refusal_notice_;
    SignInOption sign_in_option_;
    InformationMenus information_;
    Startup startup_;
    PolicyWatch policy_;
};

}  // namespace tapster
