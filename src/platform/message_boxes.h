#pragma once

#include <string>

namespace tapster::platform {

enum class MessageBoxStyle { ok = 0, yes_no = 4 };

// Platform button results, with their numbers as the platform reports them.
inline constexpr int kResultOk = 1;
inline constexpr int kResultYes = 6;
inline constexpr int kResultNo = 7;

// Modal message boxes owned by the main window. A box runs a nested event loop, so timers
// keep ticking while it is open.
class MessageBoxes {
  public:
    virtual ~MessageBoxes() = default;
    virtual int show(const std::string& text, const std::string& title, MessageBoxStyle style) = 0;
};

}  // namespace tapster::platform
