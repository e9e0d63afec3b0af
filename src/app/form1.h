#pragma once

#include <vector>

#include "app/controls/captioned.h"
#include "app/controls/check_box.h"
#include "app/controls/check_list_box.h"
#include "app/controls/form_window.h"
#include "app/controls/list_box.h"
#include "app/controls/menu_entry.h"
#include "app/controls/picture_box.h"
#include "app/controls/text_box.h"
#include "app/controls/timer.h"
#include "engine/mouse.h"
#include "engine/push_cycle.h"
#include "platform/desktop.h"
#include "platform/event_loop.h"
#include "platform/locale.h"
#include "platform/message_boxes.h"
#include "platform/notification_area.h"
#include "platform/shell.h"
#include "platform/status.h"

namespace tapster {

class SettingsStore;

// Everything the main window's logic reaches outside itself.
struct Form1Services {
    SettingsStore& settings;
    platform::NotificationArea& notification_area;
    platform::MessageBoxes& message_boxes;
    platform::Shell& shell;
    platform::EventLoop& event_loop;
    platform::Desktop& desktop;
    platform::Locale& locale;
};

// The main window: every control, menu entry and timer as designed, and the handlers that
// give them their behaviour. The controls hold the program's state; a view mirrors them on
// screen and feeds the user's input and the timers' ticks back into the handlers.
class Form1 {
  public:
    explicit Form1(Form1Services services);
    Form1(const Form1&) = delete;
    Form1& operator=(const Form1&) = delete;

    // The window itself.
    ui::FormWindow window;

    // Controls in the order of the window's design. Containers come before their children.
    ui::Frame Frame2;
    ui::Button Command10;
    ui::Button Command8;
    ui::TextBox Text15;
    ui::Label Label14;
    ui::CheckBox Check1;
    ui::Frame Frame1;
    ui::Label Label8;
    ui::Label Label5;
    ui::TextBox Text14;
    ui::Button Command5;
    ui::Button Command4;
    ui::TextBox Text10;
    ui::Button Command2;
    ui::TextBox Text8;
    ui::TextBox Text5;
    ui::PictureBox Picture1;
    ui::TextBox Text4;
    ui::TextBox Text2;
    ui::TextBox Text1;
    ui::CheckListBox List4;
    ui::ListBox List1;
    ui::Button Command1;
    ui::ListBox List2;
    ui::Label Label4;
    ui::Label Label2;
    ui::Label Label1;

    ui::Timer Timer1;
    ui::Timer Timer2;
    ui::Timer Timer4;

    // Menus: the menu bar's menus, their entries, and the pop-up menu.
    ui::MenuEntry FileM;
    ui::MenuEntry SuggestionsM;
    ui::MenuEntry AboutProduct;
    ui::MenuEntry CheapData;
    ui::MenuEntry FileSeparator;
    ui::MenuEntry ExitM;
    ui::MenuEntry OptionsM;
    ui::MenuEntry RunMinimized;
    ui::MenuEntry Calibration;
    ui::MenuEntry HelpM;
    ui::MenuEntry AboutProduct2;
    ui::MenuEntry HelpMMMM;
    ui::MenuEntry Rmenu;
    ui::MenuEntry RemoveItM;

    // Every control with a window of its own, in the order the view creates them.
    std::vector<ui::Control*> controls();
    // The keyboard's Tab order.
    std::vector<ui::Control*> tab_order();
    std::vector<ui::MenuEntry*> menu_bar();
    std::vector<ui::Timer*> timers();

    // Start-up: runs once, before the window is first shown.
    void Form_Load();

    // Minimize, Exit and the close refusal.
    void Command4_Click();
    void Command5_Click();
    void ExitM_Click();
    void Form_Unload(int& cancel);
    void Form_Resize();
    void RunMinimized_Click();

    // The target list: rewrites the stored list from List4.
    void Addit();

    // Editing the target list.
    void Command1_Click();
    void Command2_Click();
    void List4_MouseDown(const ui::MouseArgs& args);
    void RemoveItM_Click();
    void List4_Click();

    // The information menus.
    void AboutProduct_Click();
    void AboutProduct2_Click();
    void HelpMMMM_Click();
    void SuggestionsM_Click();
    void CheapData_Click();

    // The push cycle, on every tick of Timer2.
    void Timer2_Timer();

    // Recording a target: the inspector and the check-mark drag.
    void Timer1_Timer();
    void Picture1_MouseDown(const ui::MouseArgs& args);
    void Picture1_MouseUp(const ui::MouseArgs& args);
    void Text1_Change();
    void Text2_Change();
    void Text4_Change();
    void Text5_Change();
    void Text8_Change();
    void Timer4_Timer();
    bool capture_armed() const;

    // The calibration panel and the interval setting.
    void Calibration_Click();
    void Command8_Click();
    void Command10_Click();
    void Text10_Change();

    // Tray icon.
    void AddIconTray();
    void RemoveIconTray();
    void Form_MouseMove(int button, int shift, float x, float y);

    Module1& module1() { return module1_; }

  private:
    void request_completion_check();
    void set_capture_fields_enabled(bool enabled);
    void restore_interval();
    void restore_run_minimized();
    void restore_calibration();
    void load_items();
    void report_store_failure(const Status& status);
    platform::NotificationArea::Icon tray_icon() const;

    Form1Services services_;
    Module1 module1_;
    PushCycle push_cycle_;
    bool store_failure_reported_ = false;
    // The window the inspector read last; kept from one drag to the next.
    platform::WindowHandle last_inspected_ = 0;
    // While the stored list is being loaded, a rewrite would store only part of it; it
    // waits for the load to end instead.
    bool loading_items_ = false;
    bool rewrite_waiting_ = false;
};

}  // namespace tapster
