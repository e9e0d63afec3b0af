#pragma once

#include <string>

namespace tapster::platform {

// The main window's one icon in the taskbar notification area. The platform side knows the
// window, its icon and how the user's actions on it come back; the core supplies the tip.
class NotificationArea {
  public:
    virtual ~NotificationArea() = default;

    struct Icon {
        std::string tip;
    };

    // Whether the icon is shown after the call; an add of an icon already shown changes
    // nothing and answers true.
    virtual bool add(const Icon& icon) = 0;
    // The platform's answer.
    virtual bool remove(const Icon& icon) = 0;
    // Changes the tip of the icon already shown; false when there is none.
    virtual bool modify(const Icon& icon) = 0;
    // A short notice beside the icon, which goes away by itself; the program does not wait
    // for it. False when there is no icon to show it at.
    virtual bool show_balloon(const std::string& title, const std::string& text) = 0;
};

}  // namespace tapster::platform
