#pragma once

#include "app/policy_watch.h"
#include "app/startup.h"
#include "app/window_controls.h"
#include "capture/capture_session.h"
#include "capture/wait_notice.h"
#include "information/information_menus.h"
#include "model/target_list.h"
#include "options/calibration_panel.h"
#include "platform/desktop.h"
#include "platform/event_loop.h"
#include "platform/locale.h"
#include "platform/message_boxes.h"
#include "platform/notification_area.h"
#include "platform/policy.h"
#include "platform/shell.h"
#include "platform/sign_in.h"
#include "pressing/mouse.h"
#include "pressing/push_cycle.h"
#include "settings/save_failure_notice.h"
#include "targets/list_editing.h"
#include "targets/stored_targets.h"
#include "tray/refusal_notice.h"
#include "tray/sign_in_option.h"
#include "tray/tray_icon.h"

namespace tapster {

class SettingsStore;

// Everything the main window's logic reaches outside itself.
struct MainFormServices {
    SettingsStore& settings;
    platform::NotificationArea& notification_area;
    platform::MessageBoxes& message_boxes;
    platform::Shell& shell;
    platform::EventLoop& event_loop;
    platform::Desktop& desktop;
    platform::Locale& locale;
    platform::SignIn& sign_in;
    platform::Policy& policy;
};

// The main window's logic: its controls as designed, the modules that give them behaviour,
// and the wiring between them. A view mirrors the controls on screen and feeds the user's
// input and the timers' ticks back into them.
class MainForm : public WindowControls {
  public:
    explicit MainForm(MainFormServices services);

    // Runs once, before the window is first shown.
    void start() {
        sign_in_option.refresh();
        startup.run();
        // After the user's own targets: an administrator's come after them in the list.
        policy.refresh();
    }
    // The system announced that policy changed.
    void on_policy_changed() { policy.refresh(); }

    // Minimize, Exit, the close refusal and the window's size.
    void on_minimize_clicked();
    void on_exit_clicked();
    void on_close_requested(int& cancel) { cancel = 1; }
    void on_resized();
    void on_run_minimized_chosen();
    // Pausing is not stored: every start presses.
    void on_pause_chosen();
    // Over the window, or the tray icon's notification in its place.
    void on_mouse_move(int /*button*/, int /*shift*/, float x, float y) {
        tray.on_mouse_move(x, y);
    }

    // The modules, built in this order.
    SaveFailureNotice save_failures;
    TargetList targets;
    StoredTargets stored_targets;
    CapturedTitle captured_title;
    ListEditing list_editing;
    Mouse mouse;
    PushCycle push_cycle;
    WaitNotice wait_notice_animation;
    CaptureSession capture;
    CalibrationPanel calibration;
    TrayIcon tray;
    RefusalNotice refusal_notice;
    SignInOption sign_in_option;
    InformationMenus information;
    Startup startup;
    PolicyWatch policy;

  private:
    void connect_events();

    MainFormServices services_;
};

}  // namespace tapster
