#include "platform/win32/menu_view.h"

#include "platform/win32/wide_string.h"

namespace tapster::win32 {

MenuView::MenuView(HWND owner, const std::vector<ui::MenuEntry*>& menu_bar, ui::MenuEntry& popup)
    : owner_(owner), popup_entry_(popup), bar_(CreateMenu()) {
    for (ui::MenuEntry* menu : menu_bar) {
        AppendMenuW(bar_.get(), MF_POPUP, reinterpret_cast<UINT_PTR>(build(*menu)),
                    to_wide(menu->caption()).c_str());
    }
    popup_.reset(build(popup));
    popup.set_observer(this);
}

MenuView::~MenuView() {
    popup_entry_.set_observer(nullptr);
    for (auto& [control, item] : items_) {
        control->set_observer(nullptr);
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
        by_id_[id] = entry;
        items_[entry] = {handle, id};
        entry->set_observer(this);
    }
    return handle;
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

void MenuView::show_popup(HWND owner, POINT screen_point) {
    // The pop-up's owner must be in the foreground, or the menu will not close when the
    // user clicks elsewhere.
    SetForegroundWindow(owner);
    const int chosen = static_cast<int>(
        TrackPopupMenu(popup_.get(), TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY, screen_point.x,
                       screen_point.y, 0, owner, nullptr));
    if (chosen != 0) {
        on_command(chosen);
    }
}

void MenuView::control_changed(ui::Control& control, ui::Change change) {
    if (&control == &popup_entry_) {
        if (change == ui::Change::popup) {
            POINT cursor{};
            GetCursorPos(&cursor);
            show_popup(owner_, cursor);
        }
        return;
    }
    const auto found = items_.find(static_cast<ui::MenuEntry*>(&control));
    if (found == items_.end()) {
        return;
    }
    const auto [menu, id] = found->second;
    const auto& entry = static_cast<const ui::MenuEntry&>(control);
    if (change == ui::Change::checked) {
        CheckMenuItem(menu, static_cast<UINT>(id),
                      MF_BYCOMMAND | (entry.checked() ? MF_CHECKED : MF_UNCHECKED));
    } else if (change == ui::Change::enabled) {
        EnableMenuItem(menu, static_cast<UINT>(id),
                       MF_BYCOMMAND | (entry.enabled() ? MF_ENABLED : MF_GRAYED));
    }
}

}  // namespace tapster::win32
