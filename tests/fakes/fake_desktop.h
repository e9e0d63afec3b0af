#pragma once

#include <algorithm>
#include <cctype>
#include <map>
#include <string>
#include <vector>

#include "platform/desktop.h"

namespace tapster::fakes {

// A desktop of windows that tests open and close, a cursor confined to a screen, and a
// journal of everything the program did to them, in order.
class FakeDesktop : public platform::Desktop {
  public:
    struct Window {
        std::string class_name;
        std::string title;
        std::map<int, std::string> controls;  // identifier -> text
    };

    // Journal entries: "command <window> <id>", "cursor <x>,<y>", "left down", "left up".
    std::vector<std::string> journal;
    int lookups = 0;
    platform::Size screen{1024, 768};
    platform::Point cursor{100, 100};
    std::map<platform::WindowHandle, std::string> window_texts;  // for window_at / window_text
    platform::WindowHandle window_under_cursor = 0;

    platform::WindowHandle open(Window window) {
        const platform::WindowHandle handle = next_handle_++;
        windows_[handle] = std::move(window);
        return handle;
    }
    void close(platform::WindowHandle handle) { windows_.erase(handle); }

    std::vector<std::string> commands() const {
        std::vector<std::string> sent;
        std::copy_if(journal.begin(), journal.end(), std::back_inserter(sent),
                     [](const std::string& entry) { return entry.rfind("command", 0) == 0; });
        return sent;
    }
    static std::string command(platform::WindowHandle window, int id) {
        return "command " + std::to_string(window) + " " + std::to_string(id);
    }

    platform::WindowHandle find_window(std::string_view class_name,
                                       std::string_view title) override {
        ++lookups;
        for (const auto& [handle, window] : windows_) {
            if (window.class_name == class_name && window.title == title) {
                return handle;
            }
        }
        return 0;
    }
    std::string control_text(platform::WindowHandle window, int control_id,
                             std::size_t max_chars) override {
        const auto found = windows_.find(window);
        if (found == windows_.end() || max_chars == 0) {
            return {};
        }
        const auto control = found->second.controls.find(control_id);
        return control == found->second.controls.end() ? std::string()
                                                       : control->second.substr(0, max_chars - 1);
    }
    void send_command(platform::WindowHandle window, int control_id) override {
        journal.push_back(command(window, control_id));
    }
    std::string window_text(platform::WindowHandle window, std::size_t max_chars) override {
        const auto found = window_texts.find(window);
        return found == window_texts.end() ? std::string() : found->second.substr(0, max_chars - 1);
    }
    std::string class_name(platform::WindowHandle window, std::size_t max_chars) override {
        const auto found = windows_.find(window);
        return found == windows_.end() ? std::string()
                                       : found->second.class_name.substr(0, max_chars - 1);
    }
    int control_id(platform::WindowHandle) override { return 0; }
    platform::WindowHandle dialog_item(platform::WindowHandle, int) override { return 0; }
    platform::WindowHandle parent(platform::WindowHandle) override { return 0; }
    platform::WindowHandle window_at(platform::Point) override { return window_under_cursor; }
    platform::Point cursor_position() override { return cursor; }
    void set_cursor_position(platform::Point point) override {
        cursor.x = std::clamp(point.x, 0, screen.width - 1);
        cursor.y = std::clamp(point.y, 0, screen.height - 1);
        journal.push_back("cursor " + std::to_string(cursor.x) + "," + std::to_string(cursor.y));
    }
    void left_button_down() override { journal.push_back("left down"); }
    void left_button_up() override { journal.push_back("left up"); }
    platform::Size primary_screen_size() override { return screen; }
    bool equal_ignoring_case(std::string_view first, std::string_view second) override {
        return std::equal(
            first.begin(), first.end(), second.begin(), second.end(),
            [](unsigned char a, unsigned char b) { return std::tolower(a) == std::tolower(b); });
    }

  private:
    std::map<platform::WindowHandle, Window> windows_;
    platform::WindowHandle next_handle_ = 0x100;
};

}  // namespace tapster::fakes
