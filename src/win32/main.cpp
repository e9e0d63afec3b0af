// tapster.exe: presses the buttons of other programs' message boxes for the user.
#include <windows.h>

#include <commctrl.h>

#include <optional>

#include "app/main_form.h"
#include "history/history_location.h"
#include "model/captions.h"
#include "settings/settings_store.h"
#include "settings/system_settings_file.h"
#include "ui/tell_user.h"
#include "win32/com_apartment.h"
#include "win32/history_dialog.h"
#include "win32/main_window.h"
#include "win32/single_instance.h"
#include "win32/wide_string.h"
#include "win32/win32_accessible_buttons.h"
#include "win32/win32_desktop.h"
#include "win32/win32_desktop_events.h"
#include "win32/win32_dispatcher.h"
#include "win32/win32_notification_area.h"
#include "win32/win32_policy.h"
#include "win32/win32_record_dialog.h"
#include "win32/win32_services.h"
#include "win32/win32_sign_in.h"
#include "win32/win32_target_dialog.h"
#include "win32/win32_top_level_windows.h"
#include "win32/win32_wall_clock.h"

int WINAPI wWinMain(HINSTANCE /*instance*/, HINSTANCE /*previous*/, PWSTR /*command_line*/,
                    int /*show*/) {
    using namespace tapster;
    try {
        // Before anything opens the settings file: a second start only brings the running
        // copy forward.
        const win32::SingleInstance instance;
        if (!instance.first()) {
            win32::show_running_copy(std::chrono::seconds(5));
            return 0;
        }
        // The shell's ShellExecuteW may hand work to COM objects, which need an apartment on
        // the calling thread for as long as the program runs.
        const win32::ComApartment com(COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
        const INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX),
                                            ICC_STANDARD_CLASSES | ICC_LISTVIEW_CLASSES};
        InitCommonControlsEx(&controls);

        win32::Win32MessageBoxes message_boxes;
        const auto settings_file = open_settings_file(default_settings_path());
        SettingsStore settings(*settings_file, [&message_boxes](const std::string& message) {
            ui::tell_user(message_boxes, message);
        });
        win32::Win32Shell shell;
        win32::Win32Desktop desktop;
        win32::Win32Locale locale;
        win32::Win32SignIn sign_in;
        win32::Win32Policy policy;
        win32::Win32TopLevelWindows top_level_windows;
        win32::Win32DesktopEvents desktop_events;
        win32::Win32WallClock wall_clock;
        // Before the form, which reaches it: it ends after the form.
        win32::HistoryDialog history_dialog;

        // Declared before the window that observes it, so that it ends after the window.
        std::optional<MainForm> form_holder;
        win32::MainWindow main_window;
        message_boxes.set_owner(main_window.hwnd());
        win32::Win32TargetDialog target_dialog;
        target_dialog.set_owner(main_window.hwnd());
        history_dialog.set_owner(main_window.hwnd());
        win32::Win32NotificationArea& notification_area = main_window.notification_area();
        win32::Win32RecordDialog record_dialog(main_window.hwnd());
        // Both end before the form, once the message loop has ended: the work still queued,
        // the answers still to come and the calls still running are dropped.
        win32::Win32Dispatcher dispatcher;
        win32::Win32AccessibleButtons accessible_buttons(dispatcher);

        MainForm& form = form_holder.emplace(MainFormServices{
            settings, notification_area, message_boxes, shell, dispatcher, desktop, locale, sign_in,
            accessible_buttons, policy, top_level_windows, desktop_events, target_dialog,
            record_dialog, wall_clock, history_dialog, default_history_path()});
        main_window.attach(form);
        form.start();
        return main_window.run_message_loop();
    } catch (const std::exception& error) {
        const std::string text = std::string("Tapster could not start: ") + error.what() + ".";
        MessageBoxW(nullptr, tapster::win32::to_wide(text).c_str(),
                    tapster::win32::to_wide(tapster::kMessageTitle).c_str(), MB_OK | MB_ICONERROR);
        return 1;
    }
}
