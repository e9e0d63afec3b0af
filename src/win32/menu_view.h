#pragma once

#include <windows.h>

#include <map>
#include <vector>

#include "ui/menu_entry.h"
#include "win32/scoped_handles.h"

namespace tapster::win32 {

// The menu bar and the pop-up menus, built from the form's menu entries, with each entry's
// check mark and enabled state mirrored onto its menu item.
class MenuView {
  public:
    MenuView(HWND owner, const std::vector<ui::MenuEntry*>& menu_bar, ui::MenuEntry& popup);
    ~MenuView();
    MenuView(const MenuView&) = delete;
    MenuView& operator=(const MenuView&) = delete;

    // The window takes ownership of the bar when it is set as the window's menu.
    HMENU release_bar();
    // WM_COMMAND from a menu: true when the identifier was one of ours.
    bool on_command(int id);
    // Another menu that the form shows as a pop-up (ui::MenuEntry::show_popup), such as
    // the tray icon's.
    void add_popup(ui::MenuEntry& popup);

  private:
    // Hears the entry's changes, once however many menus it stands in.
    void observe(ui::MenuEntry& entry);
    void control_changed(ui::Control& control, ui::Change change);
    HMENU build(const ui::MenuEntry& menu);
    // Shows a pop-up menu at its anchor, or at the pointer, and runs the chosen entry.
    void show_popup(const ui::MenuEntry& menu, HMENU handle);

    struct Popup {
        ui::MenuEntry* menu;
        ScopedMenu handle;
    };
    struct Item {
        ui::MenuEntry* entry;
        HMENU menu;
        int id;
    };

    HWND owner_;
    ScopedMenu bar_;
    // Keyed by the control that tells of its changes, so that no lookup needs its kind.
    std::map<const ui::Control*, Popup> popups_;
    std::map<int, ui::MenuEntry*> by_id_;
    // An entry may stand in more than one menu (the bar's and the tray's, say).
    std::multimap<const ui::Control*, Item> items_;
    int next_id_ = 40001;
    std::map<ui::MenuEntry*, ui::Event<ui::Change>::Connection> observed_;
};

}  // namespace tapster::win32
