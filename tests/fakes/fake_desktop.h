#pragma once

#include <string>

#include "platform/desktop.h"

namespace tapster::fakes {

// A desktop with no other windows; tests of the push engine give it windows of their own.
class FakeDesktop : public platform::Desktop {
  public:
    platform::WindowHandle find_window(const std::string&, const std::string&) override {
        return 0;
    }
    std::string control_text(platform::WindowHandle, int, std::size_t) override { return {}; }
    void send_command(platform::WindowHandle, int) override {}
    std::string window_text(platform::WindowHandle, std::size_t) override { return {}; }
    std::string class_name(platform::WindowHandle, std::size_t) override { return {}; }
    int control_id(platform::WindowHandle) override { return 0; }
    platform::WindowHandle dialog_item(platform::WindowHandle, int) override { return 0; }
    platform::WindowHandle parent(platform::WindowHandle) override { return 0; }
    platform::WindowHandle window_at(platform::Point) override { return 0; }
    platform::Point cursor_position() override { return cursor; }
    void set_cursor_position(platform::Point point) override { cursor = point; }
    void left_button_down() override {}
    void left_button_up() override {}
    platform::Size primary_screen_size() override { return {1024, 768}; }

    platform::Point cursor;
};

}  // namespace tapster::fakes
