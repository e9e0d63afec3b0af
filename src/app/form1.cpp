#include "app/form1.h"

#include "app/app_texts.h"
#include "app/settings_store.h"
#include "targets/items_section.h"

namespace tapster {

namespace {

constexpr unsigned kYellow = 0xFFFF00;
// The tray icon reports its mouse activity as this message, the window's own mouse move;
// the mouse message that happened over the icon arrives in place of the x coordinate.
constexpr unsigned kTrayCallbackMessage = 512;
constexpr int kTrayLeftButtonDown = 513;

ui::Appearance transparent() {
    ui::Appearance look;
    look.transparent = true;
    return look;
}

ui::Appearance wait_notice_frame() {
    ui::Appearance look;
    look.border = false;
    look.background_rgb = kYellow;
    return look;
}

ui::Appearance wait_notice_text() {
    ui::Appearance look = transparent();
    look.font_face = "MS Sans Serif";
    look.font_points = 12;
    look.bold = true;
    return look;
}

}  // namespace

Form1::Form1(Form1Services services)
    : window("Form1", main_caption(), {0, 0, 7920, 3210}),
      Frame2("Frame2", "Calibartion Menu", {2160, 0, 3375, 1335}, false),
      Command10("Command10", "Cancel", {1680, 960, 855, 255}, true, &Frame2),
      Command8("Command8", "OK", {720, 960, 855, 255}, true, &Frame2),
      Text15("Text15", "1000", {1080, 600, 1215, 285}, true, &Frame2),
      Label14("Label14", "Each 1000 is one second", {600, 360, 2055, 495}, true, &Frame2),
      Check1("Check1", "Force It?", {120, 1800, 2055, 195}, true, nullptr),
      Frame1("Frame1", "", {2760, 1680, 4455, 975}, false, wait_notice_frame()),
      Label8("Label8", "Do not release mouse button until mouse changes", {240, 720, 4095, 255},
             true, &Frame1, transparent()),
      Label5("Label5", "", {720, 120, 2655, 495}, true, &Frame1, wait_notice_text()),
      Text14("Text14", "", {120, 1440, 2055, 285}, true, nullptr),
      Command5("Command5", "E&xit", {1200, 2640, 975, 495}, true, nullptr),
      Command4("Command4", "Minimize", {120, 2640, 975, 495}, true, nullptr),
      Text10("Text10", "Text10", {3360, 2400, 975, 285}, false, nullptr),
      Command2("Command2", "Remove it", {1200, 2040, 975, 495}, true, nullptr),
      Text8("Text8", "Text8", {9600, 1920, 1215, 495}, false, nullptr),
      Text5("Text5", "", {120, 1080, 2055, 285}, true, nullptr),
      Picture1("Picture1", ui::PictureBox::Image::check_mark, {2280, 0, 615, 615}, true, nullptr),
      Text4("Text4", "", {120, 720, 2055, 285}, true, nullptr),
      Text2("Text2", "", {120, 360, 2055, 285}, true, nullptr),
      Text1("Text1", "", {120, 0, 2055, 285}, true, nullptr),
      List4("List4", {2280, 1440, 5415, 1635}, true, nullptr),
      List1("List1", {7440, 5880, 4455, 5715}, true, nullptr),
      Command1("Command1", "Add It", {120, 2040, 975, 495}, true, nullptr),
      List2("List2", {7440, 5880, 4455, 2595}, true, nullptr),
      Label4("Label4", "Calibration:", {2400, 2400, 1215, 255}, true, nullptr),
      Label2("Label2", "Check items that you would like to Enable", {3000, 1080, 3255, 255}, true,
             nullptr),
      Label1("Label1",
             "Drag Check Mark to the Button you would like to auto click. THE CHECK SHOULD BE "
             "HELD OVER THE BUTTON UNTIL THE CHECK DISAPPEARS! (This only works for Message "
             "Boxes)",
             {3000, 0, 3375, 1215}, true, nullptr),
      Timer1("Timer1", 1000),
      Timer2("Timer2", 1000),
      Timer4("Timer4", 500),
      FileM("FileM", "File"),
      SuggestionsM("SuggestionsM", "Suggestions"),
      AboutProduct("AboutProduct", "About"),
      CheapData("CheapData", "Cheap Car Insurance"),
      FileSeparator("FileSeparator", "-"),
      ExitM("ExitM", "Exit"),
      OptionsM("OptionsM", "Options"),
      RunMinimized("RunMinimized", "Run Minimized on Start"),
      Calibration("Calibration", "Calibration"),
      HelpM("HelpM", "Help"),
      AboutProduct2("AboutProduct2", "About"),
      HelpMMMM("HelpMMMM", "Help"),
      Rmenu("Rmenu", "Rmenu", false),
      RemoveItM("RemoveItM", "Remove it?"),
      services_(services),
      module1_(services.desktop),
      push_cycle_(List4, services.desktop, module1_, services.event_loop) {
    FileM.add(SuggestionsM);
    FileM.add(AboutProduct);
    FileM.add(CheapData);
    FileM.add(FileSeparator);
    FileM.add(ExitM);
    OptionsM.add(RunMinimized);
    OptionsM.add(Calibration);
    HelpM.add(AboutProduct2);
    HelpM.add(HelpMMMM);
    Rmenu.add(RemoveItM);

    Command4.clicked.connect([this] { Command4_Click(); });
    Command5.clicked.connect([this] { Command5_Click(); });
    ExitM.clicked.connect([this] { ExitM_Click(); });
    RunMinimized.clicked.connect([this] { RunMinimized_Click(); });
    Timer2.ticked.connect([this] { Timer2_Timer(); });
    Timer1.ticked.connect([this] { Timer1_Timer(); });
    Timer4.ticked.connect([this] { Timer4_Timer(); });
    Picture1.mouse_down.connect([this](const ui::MouseArgs& args) { Picture1_MouseDown(args); });
    Picture1.mouse_up.connect([this](const ui::MouseArgs& args) { Picture1_MouseUp(args); });
    Text1.changed.connect([this] { Text1_Change(); });
    Text2.changed.connect([this] { Text2_Change(); });
    Text4.changed.connect([this] { Text4_Change(); });
    Text5.changed.connect([this] { Text5_Change(); });
    Text8.changed.connect([this] { Text8_Change(); });
    Command1.clicked.connect([this] { Command1_Click(); });
    Command2.clicked.connect([this] { Command2_Click(); });
    List4.mouse_down.connect([this](const ui::MouseArgs& args) { List4_MouseDown(args); });
    List4.clicked.connect([this] { List4_Click(); });
    RemoveItM.clicked.connect([this] { RemoveItM_Click(); });
    AboutProduct.clicked.connect([this] { AboutProduct_Click(); });
    AboutProduct2.clicked.connect([this] { AboutProduct2_Click(); });
    HelpMMMM.clicked.connect([this] { HelpMMMM_Click(); });
    SuggestionsM.clicked.connect([this] { SuggestionsM_Click(); });
    CheapData.clicked.connect([this] { CheapData_Click(); });
    Calibration.clicked.connect([this] { Calibration_Click(); });
    Command8.clicked.connect([this] { Command8_Click(); });
    Command10.clicked.connect([this] { Command10_Click(); });
    Text10.changed.connect([this] { Text10_Change(); });
}

std::vector<ui::Control*> Form1::controls() {
    return {&Frame2, &Command10, &Command8, &Text15,   &Label14,  &Check1, &Frame1,
            &Label8, &Label5,    &Text14,   &Command5, &Command4, &Text10, &Command2,
            &Text8,  &Text5,     &Picture1, &Text4,    &Text2,    &Text1,  &List4,
            &List1,  &Command1,  &List2,    &Label4,   &Label2,   &Label1};
}

std::vector<ui::Control*> Form1::tab_order() {
    return {&Text1,    &Text2,  &Text4,  &Text5,    &Command1, &Command2, &Command4,
            &Command5, &List1,  &List2,  &List4,    &Picture1, &Text8,    &Text10,
            &Text14,   &Check1, &Text15, &Command8, &Command10};
}

std::vector<ui::MenuEntry*> Form1::menu_bar() {
    return {&FileM, &OptionsM, &HelpM};
}

std::vector<ui::Timer*> Form1::timers() {
    return {&Timer1, &Timer2, &Timer4};
}

void Form1::Form_Load() {
    AddIconTray();
    try {
        restore_interval();
        // An option that cannot be read keeps its design state and the targets still
        // load: the next save of the list must not wipe what was never loaded.
        restore_run_minimized();
        load_items();
    } catch (const std::exception&) {
        // Whatever failed above, the calibration value is still applied.
    }
    restore_calibration();
    Command8_Click();
    if (!RunMinimized.checked()) {
        window.set_visible(true);
    }
}

void Form1::restore_interval() {
    // Writing a different text runs Text10_Change, which checks and applies it.
    Text10.set_text(services_.settings.read(settings_keys::kIntervalSection,
                                            settings_keys::kInterval, number_text(1000)));
}

void Form1::restore_calibration() {
    Text15.set_text(services_.settings.read(settings_keys::kRunSection, settings_keys::kCalibration,
                                            Text15.text()));
}

void Form1::restore_run_minimized() {
    using namespace settings_keys;
    const std::string stored =
        services_.settings.read(kRunSection, kRunMinimized, boolean_text(false));
    const std::optional<bool> run_minimized = parse_boolean(stored);
    if (!run_minimized) {
        return;
    }
    RunMinimized.set_checked(*run_minimized);
    if (RunMinimized.checked()) {
        Command4_Click();
    }
}

void Form1::load_items() {
    loading_items_ = true;
    try {
        tapster::load_items(services_.settings, List4, services_.event_loop);
    } catch (...) {
        // Rewrites must not stay held back by a load that ended early.
        loading_items_ = false;
        throw;
    }
    loading_items_ = false;
    if (rewrite_waiting_) {
        rewrite_waiting_ = false;
        Addit();
    }
}

void Form1::Addit() {
    if (loading_items_) {
        rewrite_waiting_ = true;
        return;
    }
    // One replacement of the whole section: it always equals the list as of this moment,
    // and ending the program at any time leaves no half-written list behind.
    report_store_failure(
        services_.settings.replace_section(settings_keys::kItemsSection, items_entries(List4)));
}

void Form1::Timer2_Timer() {
    push_cycle_.tick();
}

void Form1::Command4_Click() {
    window.set_visible(false);
    AddIconTray();
}

void Form1::Command5_Click() {
    RemoveIconTray();
    services_.shell.end_process();
}

void Form1::ExitM_Click() {
    Command5_Click();
}

void Form1::Form_Unload(int& cancel) {
    cancel = 1;
}

void Form1::Form_Resize() {
    for (ui::ListBox* list : {&List1, &List2}) {
        ui::TwipsRect rect = list->rect();
        rect.width = window.outer_width();
        list->set_rect(rect);
    }
}

void Form1::RunMinimized_Click() {
    RunMinimized.set_checked(!RunMinimized.checked());
    report_store_failure(services_.settings.write(settings_keys::kRunSection,
                                                  settings_keys::kRunMinimized,
                                                  boolean_text(RunMinimized.checked())));
}

platform::NotificationArea::Icon Form1::tray_icon() const {
    platform::NotificationArea::Icon icon;
    icon.tip = tray_tip();
    icon.callback_message = kTrayCallbackMessage;
    return icon;
}

void Form1::AddIconTray() {
    services_.notification_area.add(tray_icon());
}

void Form1::RemoveIconTray() {
    services_.notification_area.remove(tray_icon());
}

void Form1::Form_MouseMove(int /*button*/, int /*shift*/, float x, float /*y*/) {
    // At the current display scale the view converts pixels to twips with the same
    // function, so exactly the icon's left-button press compares equal.
    if (x == ui::pixels_to_twips(kTrayLeftButtonDown, window.dpi())) {
        window.set_visible(true);
    }
}

void Form1::report_store_failure(const Status& status) {
    // One message per run: a store that cannot be written stays so, and the user needs to
    // hear it once, not at every click.
    if (!status.failed() || store_failure_reported_) {
        return;
    }
    store_failure_reported_ = true;
    services_.message_boxes.show("Tapster could not save its settings.\r\n\r\n" + status.message(),
                                 std::string(kApplicationTitle), platform::MessageBoxStyle::ok);
}

}  // namespace tapster
