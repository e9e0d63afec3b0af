#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/controls/check_list_box.h"
#include "engine/mouse.h"
#include "engine/window_finder.h"
#include "platform/desktop.h"
#include "platform/event_loop.h"

namespace tapster {

// A control identifier as stored: a decimal 32-bit integer, spaces around it ignored.
std::optional<std::int32_t> parse_control_id(std::string_view text);

// What a timer tick does: for every checked entry of the target list, find its window, check
// that the recorded button still says what it said, and send the window the command that a
// click on the button would send. A forced entry also gets a real click in the screen's
// corner. It keeps nothing from one tick to the next; a tick looks at the desktop once for
// each window class its entries name.
class PushCycle {
  public:
    static constexpr std::size_t kTextBufferChars = 100;

    PushCycle(const ui::CheckListBox& list, platform::Desktop& desktop, Module1& mouse,
              platform::EventLoop& event_loop)
        : list_(list),
          desktop_(desktop),
          mouse_(mouse),
          event_loop_(event_loop),
          windows_(desktop) {}

    void tick();

  private:
    // One entry; an entry that cannot be read is skipped and the tick goes on.
    void push(std::string_view target);
    std::string control_text(platform::WindowHandle window, std::int32_t control_id);
    void forced_click();

    const ui::CheckListBox& list_;
    platform::Desktop& desktop_;
    Module1& mouse_;
    platform::EventLoop& event_loop_;
    WindowFinder windows_;
    // Scratch space, reused from entry to entry so a tick allocates nothing.
    std::string entry_;
    std::vector<std::string_view> fields_;
};

}  // namespace tapster
