#pragma once

#include "capture/wait_notice.h"
#include "capture/window_inspector.h"
#include "ui/capture_fields.h"
#include "ui/form_window.h"
#include "ui/list_box.h"
#include "ui/mouse.h"

namespace tapster {

// Recording a target: pressing on the check mark arms a capture; while armed, each tick
// of the inspector's timer reads the button under the pointer into the capture fields,
// which stay locked until all four are filled or the mouse button comes up. A button with a
// window of its own is read from that window; any other push button through what its program
// shows screen readers, with kAccessibleMarker in both identifier fields. The window's
// pointer mirrors the state: the move pointer while armed, the arrow once it ends.
class CaptureSession {
  public:
    enum class State { idle, armed };

    struct Controls {
        ui::FormWindow& window;
        ui::CaptureFields fields;
        // Lists that no operation fills; every armed tick hides them.
        ui::ListBox& lower_list;
        ui::ListBox& lower_short_list;
    };

    CaptureSession(Controls controls, WaitNotice& wait_notice, platform::Desktop& desktop,
                   platform::AccessibleButtons& accessible_buttons);

    State state() const { return state_; }
    bool armed() const { return state_ == State::armed; }

    void on_check_mark_pressed(const ui::MouseArgs& args);
    void on_check_mark_released(const ui::MouseArgs& args);
    void on_inspect_tick();
    void on_wait_tick() { wait_notice_.on_tick(armed()); }
    // Runs after every change of a capture field, by the inspector, the user or the list:
    // a capture whose four fields are filled is complete.
    void check_completion();

    // A button chosen from the open windows instead of a drag: the fields are filled as a drag
    // onto it fills them, which completes the capture.
    void record_chosen(const WindowInspector::ClassicButton& button);
    void record_chosen(const WindowInspector::DrawnButton& button);

  private:
    void end();
    void set_fields_enabled(bool enabled);
    // Where the pointer is over no button window: a button the program draws itself, once
    // its program answers.
    void ask_for_drawn_button();
    void record_drawn_button(const WindowInspector::DrawnButton& button);
    void forget_fields();
    void write_button(const WindowInspector::Control& control, int found_id);
    void write_holder(const WindowInspector::Holder& holder);

    Controls controls_;
    WaitNotice& wait_notice_;
    WindowInspector inspector_;
    State state_ = State::idle;
    // Counts the questions about drawn buttons, and every arming and end: an answer counts
    // only while nothing has happened since its question.
    unsigned questions_ = 0;
};

}  // namespace tapster
