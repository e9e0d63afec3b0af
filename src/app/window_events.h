#pragma once

#include <array>

#include "ui/menu_entry.h"

namespace tapster {

struct WindowControls;

// The window's timers, by their work: reading the window under the pointer while a capture
// is armed, the push cycle, the wait notice's animation, and asking the shell again for a
// tray icon it refused.
enum class WindowTimer { inspect, push, wait, tray };
inline constexpr std::array kWindowTimers{WindowTimer::inspect, WindowTimer::push,
                                          WindowTimer::wait, WindowTimer::tray};

// The main form as its window on screen sees it: the controls to show, and what happened to
// the window. The window's views observe the controls and turn the user's input on them
// into the controls' `user_` calls; everything else the window has to say arrives here.
class WindowEvents {
  public:
    virtual ~WindowEvents() = default;

    // What the window shows and its views mirror.
    virtual WindowControls& controls() = 0;

    virtual void timer_ticked(WindowTimer timer) = 0;
    // The window's outer width, frame included, after any change of its size.
    virtual void resized(int outer_width_twips) = 0;
    // Asked when the user closes the window: true lets it close.
    virtual bool allows_close() = 0;
    // Another start of the program asks this copy to show its window.
    virtual void show_requested() = 0;
    // The user's session ends and takes the program with it.
    virtual void session_ending() = 0;
    // The system announced that it applied new policy, an administrator's settings.
    virtual void policy_changed() = 0;

    // The notification area: the taskbar was made anew (its icons are gone), and what the
    // user did with the icon. The menu opens at the anchor the system gives: the click, or
    // the icon itself when the menu was asked for from the keyboard.
    virtual void taskbar_created() = 0;
    virtual void tray_selected() = 0;
    virtual void tray_menu_requested(ui::PopupAnchor anchor) = 0;
};

}  // namespace tapster
