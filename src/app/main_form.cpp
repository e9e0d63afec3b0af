#include "app/main_form.h"

#include "model/app_texts.h"
#include "settings/settings_store.h"

namespace tapster {

MainForm::MainForm(MainFormServices services)
    : save_failures(services.message_boxes),
      stored_targets(services.settings, targets, services.event_loop, services.message_boxes,
                     save_failures),
      list_editing({{title_field, class_field, button_text_field, found_id_field, control_id_field,
                     captured_title},
                    force_click_box,
                    target_list,
                    list_menu},
                   targets, stored_targets, services.message_boxes),
      mouse(services.desktop),
      push_cycle(targets, services.desktop, mouse, services.event_loop),
      wait_notice_animation(wait_notice, wait_notice_text, wait_timer),
      capture({window,
               {title_field, class_field, button_text_field, found_id_field, control_id_field,
                captured_title},
               lower_list,
               lower_short_list},
              wait_notice_animation, services.desktop, services.event_loop),
      calibration({window, calibration_panel, calibration_field, interval_field, push_timer,
                   calibration_hint},
                  {services.settings, services.message_boxes, services.locale, save_failures}),
      tray(services.notification_area, window, tray_menu),
      refusal_notice(services.notification_area),
      sign_in_option(services.sign_in, sign_in_entry, services.message_boxes),
      information(services.message_boxes, services.shell),
      startup({tray, calibration, stored_targets, services.settings, window, run_minimized_entry,
               [this] { on_minimize_clicked(); }}),
      policy(services.policy, targets, calibration, services.message_boxes),
      services_(services) {
    connect_events();
}

void MainForm::connect_events() {
    minimize_button.clicked.connect([this] { on_minimize_clicked(); });
    exit_button.clicked.connect([this] { on_exit_clicked(); });
    exit_entry.clicked.connect([this] { on_exit_clicked(); });
    run_minimized_entry.clicked.connect([this] { on_run_minimized_chosen(); });
    pause_entry.clicked.connect([this] { on_pause_chosen(); });
    sign_in_entry.clicked.connect([this] { sign_in_option.on_chosen(); });
    show_entry.clicked.connect([this] { window.set_visible(true); });

    push_cycle.drive_by(push_timer);
    push_cycle.refused.connect([this](const Target& target) { refusal_notice.on_refused(target); });
    inspect_timer.ticked.connect([this] { capture.on_inspect_tick(); });
    wait_timer.ticked.connect([this] { capture.on_wait_tick(); });
    check_mark.mouse_down.connect(
        [this](const ui::MouseArgs& args) { capture.on_check_mark_pressed(args); });
    check_mark.mouse_up.connect(
        [this](const ui::MouseArgs& args) { capture.on_check_mark_released(args); });

    add_button.clicked.connect([this] { list_editing.on_add_clicked(); });
    remove_button.clicked.connect([this] { list_editing.on_remove_clicked(); });
    target_list.mouse_down.connect(
        [this](const ui::MouseArgs& args) { list_editing.on_list_mouse_down(args); });
    target_list.clicked.connect([this] { list_editing.on_list_clicked(); });
    remove_entry.clicked.connect([this] { list_editing.on_remove_chosen(); });

    file_about_entry.clicked.connect([this] { information.show_about(); });
    help_about_entry.clicked.connect([this] { information.show_about(); });
    help_entry.clicked.connect([this] { information.open_help(); });
    suggestions_entry.clicked.connect([this] { information.show_suggestions(); });
    sponsor_offer_entry.clicked.connect([this] { information.offer_sponsor(); });

    calibration_entry.clicked.connect([this] { calibration.on_calibration_chosen(); });
    calibration_ok_button.clicked.connect([this] { calibration.on_ok_clicked(); });
    calibration_cancel_button.clicked.connect([this] { calibration.on_cancel_clicked(); });
}

void MainForm::on_minimize_clicked() {
    window.set_visible(false);
    tray.add();
}

void MainForm::on_exit_clicked() {
    tray.remove();
    services_.shell.end_process();
}

void MainForm::on_pause_chosen() {
    pause_entry.set_checked(!pause_entry.checked());
    push_cycle.set_paused(pause_entry.checked());
    tray.set_paused(pause_entry.checked());
}

void MainForm::on_resized() {
    for (ui::ListBox* list : {&lower_list, &lower_short_list}) {
        ui::TwipsRect rect = list->rect();
        rect.width = window.outer_width();
        list->set_rect(rect);
    }
}

void MainForm::on_run_minimized_chosen() {
    run_minimized_entry.set_checked(!run_minimized_entry.checked());
    save_failures.report(services_.settings.write(settings_keys::kRunSection,
                                                  settings_keys::kRunMinimized,
                                                  boolean_text(run_minimized_entry.checked())));
}

}  // namespace tapster
