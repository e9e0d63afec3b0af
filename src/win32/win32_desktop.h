#pragma once

#include "platform/desktop.h"

namespace tapster::win32 {

// Letter case folded as Windows compares window and class names; safe on any thread.
std::string folded_case(std::string_view text);

// Other programs' windows through the wide Win32 calls. Calls that need an answer from the
// other program give up after a short time, so a hung program cannot freeze Tapster.
class Win32Desktop : public platform::Desktop {
  public:
    platform::WindowHandle find_window(std::string_view class_name,
                                       std::string_view title) override;
    platform::WindowHandle next_top_level_window(std::string_view class_name,
                                                 platform::WindowHandle after) override;
    std::string window_title(platform::WindowHandle window, std::size_t max_chars) override;
    std::string fold_case(std::string_view text) override;
    std::string control_text(platform::WindowHandle window, int control_id,
                             std::size_t max_chars) override;
    void send_command(platform::WindowHandle window, int control_id) override;
    bool last_message_refused() override { return last_message_refused_; }
    std::string program_of(platform::WindowHandle window) override;
    std::optional<std::vector<std::string>> static_texts(platform::WindowHandle window,
                                                         std::size_t max_chars) override;
    std::vector<platform::WindowHandle> visible_children(platform::WindowHandle window) override;
    std::string window_text(platform::WindowHandle window, std::size_t max_chars) override;
    std::string class_name(platform::WindowHandle window, std::size_t max_chars) override;
    int control_id(platform::WindowHandle window) override;
    platform::WindowHandle dialog_item(platform::WindowHandle parent, int control_id) override;
    platform::WindowHandle parent(platform::WindowHandle window) override;
    platform::WindowHandle window_at(platform::Point screen_point) override;
    platform::Point cursor_position() override;
    void set_cursor_position(platform::Point screen_point) override;
    void click_at(platform::Point screen_point) override;
    platform::Size primary_screen_size() override;
    bool equal_ignoring_case(std::string_view first, std::string_view second) override;

  private:
    bool last_message_refused_ = false;
};

}  // namespace tapster::win32
