#include "platform/win32/check_list_view.h"

#include <commctrl.h>
#include <windowsx.h>

#include "app/controls/form_window.h"
#include "platform/win32/wide_string.h"

namespace tapster::win32 {

namespace {

// The list view keeps check marks as state images: 1 unchecked, 2 checked.
constexpr UINT kUncheckedImage = 1U << 12;
constexpr UINT kCheckedImage = 2U << 12;
// Posted to itself after a deselection, to see whether anything is still selected once the
// list view has finished moving its selection.
constexpr UINT kSelectionSettled = WM_APP + 1;

class Mirroring {
  public:
    explicit Mirroring(bool& flag) : flag_(flag), previous_(flag) { flag_ = true; }
    ~Mirroring() { flag_ = previous_; }
    Mirroring(const Mirroring&) = delete;
    Mirroring& operator=(const Mirroring&) = delete;

  private:
    bool& flag_;
    bool previous_;
};

}  // namespace

CheckListView::CheckListView(ui::CheckListBox& list, HWND parent, int id)
    : ControlView(list), list_(list) {
    create(WC_LISTVIEWW, "",
           WS_TABSTOP | LVS_REPORT | LVS_NOCOLUMNHEADER | LVS_SINGLESEL | LVS_SHOWSELALWAYS,
           WS_EX_CLIENTEDGE, parent, id);
    ListView_SetExtendedListViewStyle(
        hwnd(), LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER);
    subclass(hwnd());
    LVCOLUMNW column{};
    column.mask = LVCF_WIDTH;
    column.cx = 100;
    ListView_InsertColumn(hwnd(), 0, &column);
}

void CheckListView::apply_style(const ViewStyle& style) {
    ControlView::apply_style(style);
    fit_column();
}

void CheckListView::fit_column() {
    RECT client{};
    GetClientRect(hwnd(), &client);
    ListView_SetColumnWidth(hwnd(), 0, client.right - client.left);
}

void CheckListView::set_check(int index, bool checked) {
    ListView_SetItemState(hwnd(), index, checked ? kCheckedImage : kUncheckedImage,
                          LVIS_STATEIMAGEMASK);
}

void CheckListView::mirror(ui::Change change) {
    Mirroring guard(mirroring_);
    if (change == ui::Change::entries) {
        const ui::CheckListBox::Edit& edit = list_.last_edit();
        switch (edit.kind) {
            case ui::CheckListBox::Edit::Kind::appended: {
                std::wstring text = to_wide(list_.text(edit.index));
                LVITEMW item{};
                item.mask = LVIF_TEXT;
                item.iItem = edit.index;
                item.pszText = text.data();
                ListView_InsertItem(hwnd(), &item);
                set_check(edit.index, list_.checked(edit.index));
                break;
            }
            case ui::CheckListBox::Edit::Kind::removed:
                ListView_DeleteItem(hwnd(), edit.index);
                break;
            case ui::CheckListBox::Edit::Kind::checked:
                set_check(edit.index, list_.checked(edit.index));
                break;
        }
    } else if (change == ui::Change::highlight) {
        const int highlighted = list_.highlighted();
        ListView_SetItemState(hwnd(), -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
        if (highlighted != ui::CheckListBox::kNone) {
            ListView_SetItemState(hwnd(), highlighted, LVIS_SELECTED | LVIS_FOCUSED,
                                  LVIS_SELECTED | LVIS_FOCUSED);
        }
    }
}

LRESULT CheckListView::on_notify(const NMHDR& header) {
    if (mirroring_) {
        return 0;
    }
    if (header.code == LVN_ITEMCHANGED) {
        const auto& change = reinterpret_cast<const NMLISTVIEW&>(header);
        if (change.iItem < 0 || (change.uChanged & LVIF_STATE) == 0) {
            return 0;
        }
        const UINT old_image = change.uOldState & LVIS_STATEIMAGEMASK;
        const UINT new_image = change.uNewState & LVIS_STATEIMAGEMASK;
        if (new_image != old_image && new_image != 0 && old_image != 0) {
            list_.user_set_checked(change.iItem, new_image == kCheckedImage);
        }
        if ((change.uNewState & LVIS_SELECTED) != 0 && (change.uOldState & LVIS_SELECTED) == 0) {
            list_.user_highlight(change.iItem);
        } else if ((change.uOldState & LVIS_SELECTED) != 0 &&
                   (change.uNewState & LVIS_SELECTED) == 0) {
            PostMessageW(hwnd(), kSelectionSettled, 0, 0);
        }
    }
    return 0;
}

LRESULT CheckListView::on_subclassed_message(HWND window, UINT message, WPARAM wparam,
                                             LPARAM lparam) {
    switch (message) {
        case WM_RBUTTONDOWN: {
            // The list's own handling would move the highlight to the entry under the
            // pointer; the pop-up acts on the highlighted entry, so it must stay put.
            ui::MouseArgs args;
            args.button = ui::kRightButton;
            args.x = ui::pixels_to_twips(GET_X_LPARAM(lparam), dpi());
            args.y = ui::pixels_to_twips(GET_Y_LPARAM(lparam), dpi());
            list_.mouse_down.raise(args);
            return 0;
        }
        case WM_RBUTTONUP:
        case WM_CONTEXTMENU:
            return 0;
        case kSelectionSettled:
            if (ListView_GetSelectedCount(window) == 0) {
                list_.user_highlight(ui::CheckListBox::kNone);
            }
            return 0;
        default:
            return DefSubclassProc(window, message, wparam, lparam);
    }
}

}  // namespace tapster::win32
