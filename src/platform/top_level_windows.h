#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/desktop.h"

namespace tapster::platform {

// The desktop's top-level windows as the window watch sees them. No call sends a message to
// another program, so a hung one cannot hold the watch up, and none lets another handler of
// this program run. Asking the system about another program's window costs a round trip to
// it, so the watch asks a window for its class once.
class TopLevelWindows {
  public:
    virtual ~TopLevelWindows() = default;

    // Refills `windows` with every top-level window now, in one request to the system; the
    // vector keeps its capacity. Only the looks that stand in for the system's events use it.
    virtual void list(std::vector<WindowHandle>& windows) = 0;
    // A number the system gives the window's class while the class is registered; 0 when
    // the window is gone. One request, where the name takes two under Wine. A class
    // unregistered may leave its number to a class registered later.
    virtual std::uint32_t class_number(WindowHandle window) = 0;
    // The window's class name, letter case folded by fold_class_name; empty when it is gone.
    virtual std::string folded_class(WindowHandle window) = 0;
    // A class name with its letter case folded as find_window compares class names, so two
    // names fold alike exactly when it would take one for the other.
    virtual std::string fold_class_name(std::string_view class_name) = 0;
    virtual bool visible(WindowHandle window) = 0;
    // The window is top-level: not a control inside another window.
    virtual bool top_level(WindowHandle window) = 0;
    // The window belongs to this program: its main window, a message box it shows.
    virtual bool ours(WindowHandle window) = 0;
};

}  // namespace tapster::platform
