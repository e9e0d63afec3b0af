// The check-mark drag: pressing on the check mark arms a capture, the capture fields are
// locked until they are complete or the mouse button is released, and a notice asks the
// user to keep holding meanwhile. The armed state is the window's move pointer itself.
#include <array>
#include <chrono>
#include <string>

#include "app/form1.h"

namespace tapster {

namespace {

constexpr std::array<const char*, 4> kWaitFrames = {"Please Wait", "Please Wait .",
                                                    "Please Wait ..", "Please Wait ..."};

std::string next_wait_frame(const std::string& current) {
    for (std::size_t frame = 0; frame + 1 < kWaitFrames.size(); ++frame) {
        if (current == kWaitFrames[frame]) {
            return kWaitFrames[frame + 1];
        }
    }
    return kWaitFrames[0];
}

}  // namespace

bool Form1::capture_armed() const {
    return window.mouse_pointer() == ui::MousePointer::move;
}

void Form1::set_capture_fields_enabled(bool enabled) {
    for (ui::TextBox* field : {&Text1, &Text2, &Text4, &Text5}) {
        field->set_enabled(enabled);
    }
}

void Form1::Picture1_MouseDown(const ui::MouseArgs& /*args*/) {
    window.set_mouse_pointer(ui::MousePointer::move);
    for (ui::TextBox* field : {&Text1, &Text2, &Text4, &Text5}) {
        field->set_text("");
    }
    set_capture_fields_enabled(false);
}

void Form1::Picture1_MouseUp(const ui::MouseArgs& /*args*/) {
    window.set_mouse_pointer(ui::MousePointer::arrow);
    set_capture_fields_enabled(true);
}

void Form1::request_completion_check() {
    // Any new text runs the check; the time makes each request a change of Text8.
    Text8.set_text(std::to_string(std::chrono::system_clock::now().time_since_epoch().count()));
}

// Every change of a capture field, by the inspector, the user or the list, asks for the check.
void Form1::Text1_Change() {
    request_completion_check();
}
void Form1::Text2_Change() {
    request_completion_check();
}
void Form1::Text4_Change() {
    request_completion_check();
}
void Form1::Text5_Change() {
    request_completion_check();
}

void Form1::Text8_Change() {
    if (!Text1.text().empty() && !Text2.text().empty() && !Text4.text().empty() &&
        !Text5.text().empty()) {
        window.set_mouse_pointer(ui::MousePointer::arrow);
        set_capture_fields_enabled(true);
    }
    Text8.set_text("");
}

void Form1::Timer4_Timer() {
    if (capture_armed()) {
        Frame1.set_visible(true);
        Label5.set_caption(next_wait_frame(Label5.caption()));
    } else {
        Frame1.set_visible(false);
        Timer4.set_enabled(false);
    }
}

}  // namespace tapster
