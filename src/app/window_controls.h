#pragma once

#include <vector>

#include "app/window_events.h"
#include "ui/captioned.h"
#include "ui/check_box.h"
#include "ui/check_list_box.h"
#include "ui/form_window.h"
#include "ui/list_box.h"
#include "ui/menu_entry.h"
#include "ui/picture_box.h"
#include "ui/text_box.h"
#include "ui/timer.h"

namespace tapster {

// Every control, menu entry and timer of the main window as designed: texts, places in
// twips, and what is shown at start. Each keeps its designer's name as its name string
// (docs/controls.md maps roles to those names).
struct WindowControls {
    WindowControls();
    WindowControls(const WindowControls&) = delete;
    WindowControls& operator=(const WindowControls&) = delete;

    ui::FormWindow window;

    // Controls in the order of the window's design. Containers come before their children.
    ui::Frame calibration_panel;
    ui::Button calibration_cancel_button;
    ui::Button calibration_ok_button;
    ui::TextBox calibration_field;
    ui::Label calibration_hint;
    ui::CheckBox force_click_box;
    ui::Frame wait_notice;
    ui::Label wait_notice_hint;
    ui::Label wait_notice_text;
    ui::TextBox control_id_field;
    ui::Button exit_button;
    ui::Button minimize_button;
    ui::TextBox interval_field;  // hidden: the stored interval setting
    ui::Button remove_button;
    ui::TextBox completion_request_field;  // hidden, kept from the window's design
    ui::TextBox found_id_field;
    ui::PictureBox check_mark;
    ui::TextBox button_text_field;
    ui::TextBox class_field;
    ui::TextBox title_field;
    ui::CheckListBox target_list;
    ui::ListBox lower_list;  // below the client area: seen only in an enlarged window
    ui::Button add_button;
    ui::ListBox lower_short_list;
    ui::Label interval_label;  // lies under the target list
    ui::Label enable_hint;
    ui::Label drag_hint;

    ui::Timer inspect_timer;
    ui::Timer push_timer;
    ui::Timer wait_timer;
    ui::Timer tray_timer;  // runs only while the shell has refused the icon

    // Menus: the menu bar's menus, their entries, the target list's and the tray icon's
    // pop-up menus. An entry may stand in two menus and is then one and the same.
    ui::MenuEntry file_menu;
    ui::MenuEntry suggestions_entry;
    ui::MenuEntry file_about_entry;
    ui::MenuEntry sponsor_offer_entry;
    ui::MenuEntry file_separator;
    ui::MenuEntry exit_entry;
    ui::MenuEntry options_menu;
    ui::MenuEntry run_minimized_entry;
    ui::MenuEntry calibration_entry;
    ui::MenuEntry pause_entry;    // in the Options menu and the tray menu
    ui::MenuEntry sign_in_entry;  // "Start when I sign in"
    ui::MenuEntry press_at_once_entry;
    ui::MenuEntry keep_history_entry;
    ui::MenuEntry history_entry;  // in the File menu and the tray menu
    ui::MenuEntry options_separator;
    ui::MenuEntry record_entry;  // opens "Record from open windows"
    ui::MenuEntry help_menu;
    ui::MenuEntry help_about_entry;
    ui::MenuEntry help_entry;
    ui::MenuEntry list_menu;
    ui::MenuEntry remove_entry;
    ui::MenuEntry properties_entry;  // opens the highlighted target's dialog
    ui::MenuEntry tray_menu;
    ui::MenuEntry show_entry;
    ui::MenuEntry tray_separator;

    // Every control with a window of its own, in the order the view creates them.
    std::vector<ui::Control*> controls();
    // The keyboard's Tab order.
    std::vector<ui::Control*> tab_order();
    std::vector<ui::MenuEntry*> menu_bar();
    ui::Timer& timer(WindowTimer timer);
};

}  // namespace tapster
