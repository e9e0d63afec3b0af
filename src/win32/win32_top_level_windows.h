#pragma once

#include "platform/top_level_windows.h"

namespace tapster::win32 {

// The desktop's top-level windows for the window watch, through calls that never wait for
// another program: none of them sends a message.
class Win32TopLevelWindows : public platform::TopLevelWindows {
  public:
    void list(std::vector<platform::WindowHandle>& windows) override;
    std::uint32_t class_number(platform::WindowHandle window) override;
    std::string folded_class(platform::WindowHandle window) override;
    std::string fold_class_name(std::string_view class_name) override;
    bool visible(platform::WindowHandle window) override;
    bool top_level(platform::WindowHandle window) override;
    bool ours(platform::WindowHandle window) override;
};

}  // namespace tapster::win32
