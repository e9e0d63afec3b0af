#pragma once

#include <string>
#include <utility>

#include "ui/event.h"

namespace tapster::ui {

// Positions and sizes in twips, relative to the container's client area.
struct TwipsRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    friend bool operator==(const TwipsRect&, const TwipsRect&) = default;
};

// What changed about a control, so that a view can mirror just that.
enum class Change {
    text,  // caption or content text
    visible,
    enabled,
    checked,    // check box value, menu check mark
    rect,       // position or size
    entries,    // list content: an entry added, removed or re-checked
    highlight,  // list: the highlighted entry
    interval,   // timer interval or enabled state
    mouse_pointer,
    popup,  // a menu asks to be shown as a pop-up
};

class ControlVisitor;

// The state of one control of the main window. The program changes it through setters; the
// view (the Win32 window, or nothing in tests) hears every change through `state_changed` and
// mirrors it, and reports the user's input back through the `user_` methods of the concrete
// kinds. Setting a property to the value it already has changes nothing and notifies nobody.
class Control {
  public:
    Control(std::string name, TwipsRect rect, bool visible, Control* container)
        : name_(std::move(name)), rect_(rect), visible_(visible), container_(container) {}
    virtual ~Control() = default;
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    const std::string& name() const { return name_; }
    Control* container() const { return container_; }

    const TwipsRect& rect() const { return rect_; }
    void set_rect(const TwipsRect& rect) { change(rect_, rect, Change::rect); }

    bool visible() const { return visible_; }
    void set_visible(bool visible) { change(visible_, visible, Change::visible); }

    bool enabled() const { return enabled_; }
    void set_enabled(bool enabled) { change(enabled_, enabled, Change::enabled); }

    // Each change the program makes, for the view to mirror.
    Event<Change> state_changed;

    // Shows the visitor this control as its own, most derived kind (see ControlVisitor); a
    // kind the window does not show shows nothing.
    virtual void accept(ControlVisitor& /*visitor*/) {}

  protected:
    // Gives the field its new value and tells the view; the value it already has changes
    // nothing. True when it changed.
    template <typename Field, typename Value>
    bool change(Field& field, Value&& value, Change what) {
        if (field == value) {
            return false;
        }
        field = std::forward<Value>(value);
        notify(what);
        return true;
    }

    void notify(Change change) { state_changed.raise(change); }

  private:
    std::string name_;
    TwipsRect rect_;
    bool visible_;
    bool enabled_ = true;
    Control* container_;
};

}  // namespace tapster::ui
