#include "app/window_controls.h"

#include "model/captions.h"

namespace tapster {

namespace {

constexpr unsigned kYellow = 0xFFFF00;

ui::Appearance transparent() {
    ui::Appearance look;
    look.transparent = true;
    return look;
}

ui::Appearance wait_notice_look() {
    ui::Appearance look;
    look.border = false;
    look.background_rgb = kYellow;
    return look;
}

ui::Appearance wait_notice_text_look() {
    ui::Appearance look = transparent();
    look.font_face = "MS Sans Serif";
    look.font_points = 12;
    look.bold = true;
    return look;
}

}  // namespace

WindowControls::WindowControls()
    : window("Form1", main_caption(), {0, 0, 7920, 3210}),
      calibration_panel("Frame2", "Calibartion Menu", {2160, 0, 3375, 1335}, false),
      calibration_cancel_button("Command10", "Cancel", {1680, 960, 855, 255}, true,
                                &calibration_panel),
      calibration_ok_button("Command8", "OK", {720, 960, 855, 255}, true, &calibration_panel),
      calibration_field("Text15", "1000", {1080, 600, 1215, 285}, true, &calibration_panel),
      calibration_hint("Label14", "Each 1000 is one second", {600, 360, 2055, 495}, true,
                       &calibration_panel),
      force_click_box("Check1", "Force It?", {120, 1800, 2055, 195}, true, nullptr),
      wait_notice("Frame1", "", {2760, 1680, 4455, 975}, false, wait_notice_look()),
      wait_notice_hint("Label8", "Do not release mouse button until mouse changes",
                       {240, 720, 4095, 255}, true, &wait_notice, transparent()),
      wait_notice_text("Label5", "", {720, 120, 2655, 495}, true, &wait_notice,
                       wait_notice_text_look()),
      control_id_field("Text14", "", {120, 1440, 2055, 285}, true, nullptr),
      exit_button("Command5", "E&xit", {1200, 2640, 975, 495}, true, nullptr),
      minimize_button("Command4", "Minimize", {120, 2640, 975, 495}, true, nullptr),
      interval_field("Text10", "Text10", {3360, 2400, 975, 285}, false, nullptr),
      remove_button("Command2", "Remove it", {1200, 2040, 975, 495}, true, nullptr),
      completion_request_field("Text8", "Text8", {9600, 1920, 1215, 495}, false, nullptr),
      found_id_field("Text5", "", {120, 1080, 2055, 285}, true, nullptr),
      check_mark("Picture1", ui::PictureBox::Image::check_mark, {2280, 0, 615, 615}, true, nullptr),
      button_text_field("Text4", "", {120, 720, 2055, 285}, true, nullptr),
      class_field("Text2", "", {120, 360, 2055, 285}, true, nullptr),
      title_field("Text1", "", {120, 0, 2055, 285}, true, nullptr),
      target_list("List4", {2280, 1440, 5415, 1635}, true, nullptr),
      lower_list("List1", {7440, 5880, 4455, 5715}, true, nullptr),
      add_button("Command1", "Add It", {120, 2040, 975, 495}, true, nullptr),
      lower_short_list("List2", {7440, 5880, 4455, 2595}, true, nullptr),
      interval_label("Label4", "Calibration:", {2400, 2400, 1215, 255}, true, nullptr),
      enable_hint("Label2", "Check items that you would like to Enable", {3000, 1080, 3255, 255},
                  true, nullptr),
      drag_hint("Label1",
                "Drag Check Mark to the Button you would like to auto click. THE CHECK SHOULD "
                "BE HELD OVER THE BUTTON UNTIL THE CHECK DISAPPEARS! (This only works for "
                "Message Boxes)",
                {3000, 0, 3375, 1215}, true, nullptr),
      inspect_timer("Timer1", 1000),
      push_timer("Timer2", 1000),
      wait_timer("Timer4", 500),
      tray_timer("TrayRetry", 2000),
      file_menu("FileM", "File"),
      suggestions_entry("SuggestionsM", "Suggestions"),
      file_about_entry("AboutProduct", "About"),
      sponsor_offer_entry("CheapData", "Cheap Car Insurance"),
      file_separator("FileSeparator", "-"),
      exit_entry("ExitM", "Exit"),
      options_menu("OptionsM", "Options"),
      run_minimized_entry("RunMinimized", "Run Minimized on Start"),
      calibration_entry("Calibration", "Calibration"),
      pause_entry("PausePressing", "Pause pressing"),
      sign_in_entry("StartAtSignIn", "Start when I sign in"),
      press_at_once_entry("PressAtOnce", "Press at once"),
      keep_history_entry("KeepHistory", "Keep a history"),
      history_entry("ShowHistory", "History"),
      options_separator("OptionsSeparator", "-"),
      record_entry("RecordFromWindows", "Record from open windows..."),
      help_menu("HelpM", "Help"),
      help_about_entry("AboutProduct2", "About"),
      help_entry("HelpMMMM", "Help"),
      list_menu("Rmenu", "Rmenu", false),
      remove_entry("RemoveItM", "Remove it?"),
      properties_entry("PropertiesM", "Properties"),
      tray_menu("TrayMenu", "TrayMenu", false),
      show_entry("ShowTapster", "Show Tapster"),
      tray_separator("TraySeparator", "-") {
    file_menu.add(history_entry);
    file_menu.add(suggestions_entry);
    file_menu.add(file_about_entry);
    file_menu.add(sponsor_offer_entry);
    file_menu.add(file_separator);
    file_menu.add(exit_entry);
    options_menu.add(run_minimized_entry);
    options_menu.add(calibration_entry);
    options_menu.add(pause_entry);
    options_menu.add(sign_in_entry);
    options_menu.add(press_at_once_entry);
    options_menu.add(keep_history_entry);
    options_menu.add(options_separator);
    options_menu.add(record_entry);
    help_menu.add(help_about_entry);
    help_menu.add(help_entry);
    list_menu.add(remove_entry);
    // What a double click on an entry does too.
    properties_entry.set_default_item(true);
    list_menu.add(properties_entry);
    show_entry.set_default_item(true);
    tray_menu.add(show_entry);
    tray_menu.add(pause_entry);
    tray_menu.add(history_entry);
    tray_menu.add(tray_separator);
    tray_menu.add(exit_entry);
}

std::vector<ui::Control*> WindowControls::controls() {
    return {&calibration_panel,
            &calibration_cancel_button,
            &calibration_ok_button,
            &calibration_field,
            &calibration_hint,
            &force_click_box,
            &wait_notice,
            &wait_notice_hint,
            &wait_notice_text,
            &control_id_field,
            &exit_button,
            &minimize_button,
            &interval_field,
            &remove_button,
            &completion_request_field,
            &found_id_field,
            &check_mark,
            &button_text_field,
            &class_field,
            &title_field,
            &target_list,
            &lower_list,
            &add_button,
            &lower_short_list,
            &interval_label,
            &enable_hint,
            &drag_hint};
}

std::vector<ui::Control*> WindowControls::tab_order() {
    return {&title_field,
            &class_field,
            &button_text_field,
            &found_id_field,
            &add_button,
            &remove_button,
            &minimize_button,
            &exit_button,
            &lower_list,
            &lower_short_list,
            &target_list,
            &check_mark,
            &completion_request_field,
            &interval_field,
            &control_id_field,
            &force_click_box,
            &calibration_field,
            &calibration_ok_button,
            &calibration_cancel_button};
}

std::vector<ui::MenuEntry*> WindowControls::menu_bar() {
    return {&file_menu, &options_menu, &help_menu};
}

ui::Timer& WindowControls::timer(WindowTimer timer) {
    switch (timer) {
        case WindowTimer::inspect:
            return inspect_timer;
        case WindowTimer::push:
            return push_timer;
        case WindowTimer::wait:
            break;
        case WindowTimer::tray:
            return tray_timer;
    }
    return wait_timer;
}

}  // namespace tapster
