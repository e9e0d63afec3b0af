#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "ui/control.h"
#include "ui/event.h"

namespace tapster::ui {

// Where a pop-up menu opens, in screen pixels.
struct PopupAnchor {
    int x = 0;
    int y = 0;
};

// A menu of the menu bar, an entry of a menu, or a separator ("-").
class MenuEntry : public Control {
  public:
    MenuEntry(std::string name, std::string caption, bool visible = true)
        : Control(std::move(name), TwipsRect{}, visible, nullptr), caption_(std::move(caption)) {}

    Event<> clicked;

    const std::string& caption() const { return caption_; }
    bool separator() const { return caption_ == "-"; }

    bool checked() const { return checked_; }
    void set_checked(bool checked) { change(checked_, checked, Change::checked); }

    // The entry a pop-up menu shows in bold, the one a double click stands for. The view
    // reads it when it builds the menu and each time it shows it as a pop-up.
    bool default_item() const { return default_item_; }
    void set_default_item(bool default_item) { default_item_ = default_item; }

    // The form owns every entry; a menu only lists its entries in order.
    void add(MenuEntry& entry) { entries_.push_back(&entry); }
    const std::vector<MenuEntry*>& entries() const { return entries_; }

    void user_click() { clicked.raise(); }
    // Shows this menu as a pop-up at the anchor, or at the mouse pointer without one; the
    // view runs the chosen entry.
    void show_popup(std::optional<PopupAnchor> anchor = std::nullopt) {
        popup_anchor_ = anchor;
        notify(Change::popup);
    }
    const std::optional<PopupAnchor>& popup_anchor() const { return popup_anchor_; }

  private:
    std::string caption_;
    bool checked_ = false;
    bool default_item_ = false;
    std::optional<PopupAnchor> popup_anchor_;
    std::vector<MenuEntry*> entries_;
};

}  // namespace tapster::ui
