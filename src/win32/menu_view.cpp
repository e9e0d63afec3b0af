#include "win32/menu_view.h"

#include "win32/wide_string.h"

namespace tapster::win32 {

MenuView::MenuView(HWND owner, const std::vector<ui::MenuEntry*>& menu_bar, ui::MenuEntry& popup)
    : owner_(owner), bar_(CreateMenu()) {
    for (ui::MenuEntry* menu : menu_bar) {
        AppendMenuW(bar_.get(), MF_POPUP, reinterpret_cast<UINT_PTR>(build(*menu)),
                    to_wide(menu->caption()).c_str());
    }
    add_popup(popup);
}

MenuView::~MenuView() {
    for (const auto& [entry, connection] : observed_) {
        entry->state_changed.disconnect(connection);
    }
}

void MenuView::observe(ui::MenuEntry& entry) {
    if (!observed_.contains(&entry)) {
        observed_.emplace(&entry, entry.state_changed.connect([this, &entry](ui::Change change) {
            control_changed(entry, change);
        }));
    }
}

HMENU MenuView::build(const ui::MenuEntry& menu) {
    HMENU handle = CreatePopupMenu();
    for (ui::MenuEntry* entry : menu.entries()) {
        if (entry->separator()) {
            AppendMenuW(handle, MF_SEPARATOR, 0, nullptr);
            continue;
        }
        const int id = next_id_++;
        UINT flags = MF_STRING;
        flags |= entry->checked() ? MF_CHECKED : MF_UNCHECKED;
        flags |= entry->enabled() ? MF_ENABLED : MF_GRAYED;
        AppendMenuW(handle, flags, static_cast<UINT_PTR>(id), to_wide(entry->caption()).c_str());
        if (entry->default_item()) {
            SetMenuDefaultItem(handle, static_cast<UINT>(id), FALSE);
        }
        by_id_[id] = entry;
        items_.emplace(entry, Item{entry, handle, id});
        observe(*entry);
    }
    return handle;
}

void MenuView::add_popup(ui::MenuEntry& popup) {
    if (popups_.count(&popup) != 0) {
        return;
    }
    popups_.emplace(&popup, Popup{&popup, ScopedMenu(build(popup))});
    observe(popup);
}

HMENU MenuView::release_bar() {
    return bar_.release();
}

bool MenuView::on_command(int id) {
    const auto found = by_id_.find(id);
    if (found == by_id_.end()) {
        return false;
    }
    found->second->user_click();
    return true;
}

void MenuView::show_popup(const ui::MenuEntry& menu, HMENU handle) {
    UINT default_id = static_cast<UINT>(-1);
    for (ui::MenuEntry* entry : menu.entries()) {
        const auto [first, last] = items_.equal_range(entry);
        for (auto item = first; item != last; ++item) {
            if (entry->default_item() && item->second.menu == handle) {
                default_id = static_cast<UINT>(item->second.id);
            }
        }
    }
    SetMenuDefaultItem(handle, default_id, FALSE);
    POINT pointer{};
    if (const auto& anchor = menu.popup_anchor()) {
        pointer = {anchor->x, anchor->y};
    } else {
        GetCursorPos(&pointer);
    }
    // The rules for a menu of a notification-area icon, harmless for the others: the owner
    // must be in the foreground, or the menu does not close when the user clicks elsewhere,
    // and the posted message lets a second showing open at once.
    SetForegroundWindow(owner_);
    const int chosen =
        static_cast<int>(TrackPopupMenu(handle, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY,
                                        pointer.x, pointer.y, 0, owner_, nullptr));
    PostMessageW(owner_, WM_NULL, 0, 0);
    if (chosen != 0) {
        on_command(chosen);
    }
}

void MenuView::control_changed(ui::Control& control, ui::Change change) {
    const auto popup = popups_.find(&control);
    if (popup != popups_.end()) {
        if (change == ui::Change::popup) {
            show_popup(*popup->second.menu, popup->second.handle.get());
        }
        return;
    }
    const auto [first, last] = items_.equal_range(&control);
    for (auto item = first; item != last; ++item) {
        const auto [entry, menu, id] = item->second;
        if (change == ui::Change::checked) {
            CheckMenuItem(menu, static_cast<UINT>(id),
                          MF_BYCOMMAND | (entry->checked() ? MF_CHECKED : MF_UNCHECKED));
        } else if (change == ui::Change::enabled) {
            EnableMenuItem(menu, static_cast<UINT>(id),
                           MF_BYCOMMAND | (entry->enabled() ? MF_ENABLED : MF_GRAYED));
        }
    }
}

}  // namespace tapster::win32
