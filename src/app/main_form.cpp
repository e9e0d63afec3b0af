#include "app/main_form.h"

#include "settings/settings_keys.h"
#include "settings/settings_store.h"

namespace tapster {

namespace {

ui::CaptureFields capture_fields(WindowControls& controls, CapturedTitle& captured_title,
                                 CapturedConditions& conditions) {
    return {controls.title_field,
            controls.class_field,
            controls.button_text_field,
            controls.found_id_field,
            controls.control_id_field,
            captured_title,
            conditions};
}

}  // namespace

MainForm::MainForm(MainFormServices services)
    : services_(services),
      save_failures_(services.message_boxes),
      targets_(
          [&desktop = services.desktop](std::string_view text) { return desktop.fold_case(text); }),
      stored_targets_(services.settings, targets_, services.dispatcher, services.message_boxes,
                      save_failures_),
      list_editing_({capture_fields(controls_, captured_title_, captured_conditions_),
                     controls_.force_click_box, controls_.target_list, controls_.list_menu},
                    targets_, stored_targets_, services.message_boxes),
      target_editing_(controls_.target_list, targets_, stored_targets_, services.target_dialog,
                      services.message_boxes),
      history_(services.history_file,
               {services.wall_clock, services.dispatcher, services.notification_area}),
      history_option_(controls_.keep_history_entry, services.settings, save_failures_, history_),
      history_window_(history_, services.history_view, services.message_boxes),
      mouse_(services.desktop),
      push_cycle_(targets_, services.desktop, services.accessible_buttons, mouse_),
      press_at_once_(
          {controls_.press_at_once_entry, controls_.push_timer},
          {services.settings, save_failures_, services.top_level_windows, services.desktop_events},
          targets_, push_cycle_),
      wait_notice_(controls_.wait_notice, controls_.wait_notice_text, controls_.wait_timer),
      capture_({controls_.window, capture_fields(controls_, captured_title_, captured_conditions_),
                controls_.lower_list, controls_.lower_short_list},
               wait_notice_, services.desktop, services.accessible_buttons),
      open_windows_(services.desktop, services.top_level_windows, services.accessible_buttons,
                    capture_),
      calibration_({controls_.window, controls_.calibration_panel, controls_.calibration_field,
                    controls_.interval_field, controls_.push_timer, controls_.calibration_hint},
                   {services.settings, services.message_boxes, services.locale, save_failures_}),
      tray_(services.notification_area, controls_.window, controls_.tray_menu,
            controls_.tray_timer),
      refusal_notice_(services.notification_area),
      sign_in_option_(services.sign_in, controls_.sign_in_entry, services.message_boxes),
      information_(services.message_boxes, services.shell),
      startup_({tray_, calibration_, stored_targets_, services.settings, controls_.window,
                controls_.run_minimized_entry, [this] { on_minimize_clicked(); },
                services.message_boxes}),
      policy_(services.policy, targets_, calibration_, history_option_, services.message_boxes) {
    push_cycle_.report_to(history_);
    // Each target's figures, where the user looks at it.
    controls_.target_list.set_tip([this](int index) {
        return history_.keeping() && index < targets_.count()
                   ? history_.figures().wording(targets_.at(index).text, history_.now())
                   : std::string();
    });
    connect_events();
}

void MainForm::start() {
    sign_in_option_.refresh();
    history_option_.restore();
    history_.start();
    startup_.run();
    // After the user's own targets: an administrator's come after them in the list.
    policy_.refresh();
    press_at_once_.restore();
}

void MainForm::connect_events() {
    controls_.minimize_button.clicked.connect([this] { on_minimize_clicked(); });
    controls_.exit_button.clicked.connect([this] { on_exit_clicked(); });
    controls_.exit_entry.clicked.connect([this] { on_exit_clicked(); });
    controls_.run_minimized_entry.clicked.connect([this] { on_run_minimized_chosen(); });
    controls_.pause_entry.clicked.connect([this] { on_pause_chosen(); });
    controls_.sign_in_entry.clicked.connect([this] { sign_in_option_.on_chosen(); });
    controls_.press_at_once_entry.clicked.connect([this] { press_at_once_.on_chosen(); });
    controls_.show_entry.clicked.connect([this] { controls_.window.set_visible(true); });
    controls_.record_entry.clicked.connect([this] { services_.record_dialog.show(open_windows_); });
    controls_.keep_history_entry.clicked.connect([this] { history_option_.on_chosen(); });
    controls_.history_entry.clicked.connect([this] { history_window_.on_chosen(); });

    push_cycle_.refused.connect(
        [this](const Target& target) { refusal_notice_.on_refused(target); });
    controls_.check_mark.mouse_down.connect(
        [this](const ui::MouseArgs& args) { capture_.on_check_mark_pressed(args); });
    controls_.check_mark.mouse_up.connect(
        [this](const ui::MouseArgs& args) { capture_.on_check_mark_released(args); });

    controls_.add_button.clicked.connect([this] { list_editing_.on_add_clicked(); });
    controls_.remove_button.clicked.connect([this] { list_editing_.on_remove_clicked(); });
    controls_.target_list.mouse_down.connect(
        [this](const ui::MouseArgs& args) { list_editing_.on_list_mouse_down(args); });
    controls_.target_list.clicked.connect([this] { list_editing_.on_list_clicked(); });
    controls_.remove_entry.clicked.connect([this] { list_editing_.on_remove_chosen(); });
    controls_.target_list.opened.connect([this](int index) { target_editing_.open(index); });
    controls_.properties_entry.clicked.connect([this] { target_editing_.on_properties_chosen(); });

    controls_.file_about_entry.clicked.connect([this] { information_.show_about(); });
    controls_.help_about_entry.clicked.connect([this] { information_.show_about(); });
    controls_.help_entry.clicked.connect([this] { information_.open_help(); });
    controls_.suggestions_entry.clicked.connect([this] { information_.show_suggestions(); });
    controls_.sponsor_offer_entry.clicked.connect([this] { information_.offer_sponsor(); });

    controls_.calibration_entry.clicked.connect([this] { calibration_.on_calibration_chosen(); });
    controls_.calibration_ok_button.clicked.connect([this] {
        calibration_.on_ok_clicked();
        press_at_once_.refresh();  // an interval of 0 stops all pressing
    });
    controls_.calibration_cancel_button.clicked.connect(
        [this] { calibration_.on_cancel_clicked(); });
}

void MainForm::timer_ticked(WindowTimer timer) {
    switch (timer) {
        case WindowTimer::inspect:
            capture_.on_inspect_tick();
            // The once-a-second timer also looks for a change of the settings file on disk, so a
            // restored copy or another running copy's change shows without a restart.
            stored_targets_.follow_file();
            break;
        case WindowTimer::push:
            push_cycle_.tick();
            break;
        case WindowTimer::wait:
            capture_.on_wait_tick();
            break;
        case WindowTimer::tray:
            tray_.add();
            break;
    }
}

void MainForm::on_minimize_clicked() {
    controls_.window.set_visible(false);
    tray_.add();
}

void MainForm::on_exit_clicked() {
    tray_.remove();
    // The last presses, unless the disk is too slow to wait for.
    history_.flush(kHistoryFlushLimit);
    services_.shell.end_process();
}

void MainForm::on_pause_chosen() {
    ui::MenuEntry& pause = controls_.pause_entry;
    pause.set_checked(!pause.checked());
    push_cycle_.set_paused(pause.checked());
    tray_.set_paused(pause.checked());
    press_at_once_.refresh();
}

void MainForm::resized(int outer_width_twips) {
    for (ui::ListBox* list : {&controls_.lower_list, &controls_.lower_short_list}) {
        ui::TwipsRect rect = list->rect();
        rect.width = outer_width_twips;
        list->set_rect(rect);
    }
}

void MainForm::on_run_minimized_chosen() {
    ui::MenuEntry& entry = controls_.run_minimized_entry;
    entry.set_checked(!entry.checked());
    save_failures_.report(services_.settings.write(
        settings_keys::kRunSection, settings_keys::kRunMinimized, boolean_text(entry.checked())));
}

}  // namespace tapster
