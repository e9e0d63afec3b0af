#include "win32/check_list_view.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>
#include <string>

#include "ui/form_window.h"
#include "win32/wide_string.h"

namespace tapster::win32 {

namespace {

// The list view draws check marks as state images: 1 unchecked, 2 checked.
constexpr UINT kUncheckedImage = 1U << 12;
constexpr UINT kCheckedImage = 2U << 12;
// Posted to itself after a deselection, to see whether anything is still selected once the
// list view has finished moving its selection.
constexpr UINT kSelectionSettled = WM_APP + 1;
// Posted to itself after entries were appended, so a load of thousands of entries tells
// the list view its new length once per pass through the message loop, not per entry.
constexpr UINT kCountChanged = WM_APP + 2;
// A new count neither scrolls nor repaints the rows already shown.
constexpr DWORD kQuietCount = LVSICF_NOINVALIDATEALL | LVSICF_NOSCROLL;

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

bool starts_with_ignoring_case(const std::wstring& text, const wchar_t* prefix, bool whole) {
    const int length = lstrlenW(prefix);
    if (static_cast<int>(text.size()) < length ||
        (whole && static_cast<int>(text.size()) != length)) {
        return false;
    }
    return CompareStringOrdinal(text.c_str(), length, prefix, length, TRUE) == CSTR_EQUAL;
}

}  // namespace

CheckListView::CheckListView(ui::CheckListBox& list, HWND parent, int id)
    : ControlView(list), list_(list) {
    create(WC_LISTVIEWW, "",
           WS_TABSTOP | LVS_REPORT | LVS_NOCOLUMNHEADER | LVS_SINGLESEL | LVS_SHOWSELALWAYS |
               LVS_OWNERDATA,
           WS_EX_CLIENTEDGE, parent, id);
    ListView_SetExtendedListViewStyle(
        hwnd(), LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER | LVS_EX_INFOTIP);
    // The check marks live in the list; the list view asks for them as it asks for text.
    ListView_SetCallbackMask(hwnd(), LVIS_STATEIMAGEMASK);
    subclass(hwnd());
    LVCOLUMNW column{};
    column.mask = LVCF_WIDTH;
    column.cx = 100;
    ListView_InsertColumn(hwnd(), 0, &column);
    ListView_SetItemCountEx(hwnd(), list_.count(), kQuietCount);
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

void CheckListView::mirror(ui::Change change) {
    Mirroring guard(mirroring_);
    if (change == ui::Change::entries) {
        const ui::CheckListBox::Edit& edit = list_.last_edit();
        switch (edit.kind) {
            case ui::CheckListBox::Edit::Kind::appended:
                if (!count_posted_) {
                    count_posted_ = PostMessageW(hwnd(), kCountChanged, 0, 0) != FALSE;
                }
                if (!count_posted_) {
                    sync_count();
                }
                break;
            case ui::CheckListBox::Edit::Kind::inserted:
            case ui::CheckListBox::Edit::Kind::removed:
                // Every row from the changed one down shows another entry now.
                ListView_SetItemCountEx(hwnd(), list_.count(), LVSICF_NOSCROLL);
                break;
            case ui::CheckListBox::Edit::Kind::checked:
            case ui::CheckListBox::Edit::Kind::retexted:
                ListView_RedrawItems(hwnd(), edit.index, edit.index);
                break;
        }
    } else if (change == ui::Change::highlight) {
        sync_count();  // the highlighted entry may be one the list view has not heard of yet
        const int highlighted = list_.highlighted();
        ListView_SetItemState(hwnd(), -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
        if (highlighted != ui::CheckListBox::kNone) {
            ListView_SetItemState(hwnd(), highlighted, LVIS_SELECTED | LVIS_FOCUSED,
                                  LVIS_SELECTED | LVIS_FOCUSED);
        }
    }
}

void CheckListView::sync_count() {
    if (ListView_GetItemCount(hwnd()) != list_.count()) {
        ListView_SetItemCountEx(hwnd(), list_.count(), kQuietCount);
    }
}

void CheckListView::show_entry(NMLVDISPINFOW& request) const {
    LVITEMW& item = request.item;
    if (item.iItem < 0 || item.iItem >= list_.count()) {
        return;  // a row the list view still shows while its count catches up
    }
    if ((item.mask & LVIF_TEXT) != 0 && item.pszText != nullptr && item.cchTextMax > 0) {
        const std::wstring text = to_wide(list_.text(item.iItem));
        const std::size_t length =
            std::min(text.size(), static_cast<std::size_t>(item.cchTextMax) - 1);
        std::copy_n(text.c_str(), length, item.pszText);
        item.pszText[length] = L'\0';
    }
    if ((item.mask & LVIF_STATE) != 0) {
        item.state = (item.state & ~LVIS_STATEIMAGEMASK) |
                     (list_.checked(item.iItem) ? kCheckedImage : kUncheckedImage);
        item.stateMask |= LVIS_STATEIMAGEMASK;
    }
}

// Typing a letter moves to the next entry that begins with what was typed, as in a list
// view that holds its items itself.
int CheckListView::find_entry(const NMLVFINDITEMW& request) const {
    const LVFINDINFOW& find = request.lvfi;
    const int count = list_.count();
    if ((find.flags & (LVFI_STRING | LVFI_PARTIAL)) == 0 || find.psz == nullptr || count == 0) {
        return -1;
    }
    const bool whole = (find.flags & LVFI_PARTIAL) == 0;
    const int start = request.iStart >= 0 && request.iStart < count ? request.iStart : 0;
    const int last = (find.flags & LVFI_WRAP) != 0 ? start + count : count;
    for (int step = start; step < last; ++step) {
        const int index = step % count;
        if (starts_with_ignoring_case(to_wide(list_.text(index)), find.psz, whole)) {
            return index;
        }
    }
    return -1;
}

LRESULT CheckListView::on_notify(const NMHDR& header) {
    // The list view asks for text even while we change it ourselves.
    if (header.code == LVN_GETDISPINFOW) {
        // The notification's owner passes it for us to fill in.
        show_entry(*reinterpret_cast<NMLVDISPINFOW*>(const_cast<NMHDR*>(&header)));
        return 0;
    }
    if (header.code == LVN_ODFINDITEMW) {
        return find_entry(reinterpret_cast<const NMLVFINDITEMW&>(header));
    }
    if (header.code == NM_DBLCLK) {
        // A double click on a check box only changed its check mark, twice.
        const auto& activation = reinterpret_cast<const NMITEMACTIVATE&>(header);
        LVHITTESTINFO hit{};
        hit.pt = activation.ptAction;
        if (ListView_SubItemHitTest(hwnd(), &hit) >= 0 &&
            (hit.flags & LVHT_ONITEM) != LVHT_ONITEMSTATEICON) {
            list_.user_open(hit.iItem);
        }
        return 0;
    }
    if (header.code == LVN_GETINFOTIPW) {
        // The entry's text where the list cuts it short, and what the list says of it.
        auto& tip = *reinterpret_cast<NMLVGETINFOTIPW*>(const_cast<NMHDR*>(&header));
        const std::string said = list_.tip(tip.iItem);
        if (!said.empty() && tip.pszText != nullptr && tip.cchTextMax > 0) {
            const std::wstring text = (tip.dwFlags & LVGIT_UNFOLDED) != 0
                                          ? to_wide(said)
                                          : to_wide(list_.text(tip.iItem) + "\r\n" + said);
            lstrcpynW(tip.pszText, text.c_str(), tip.cchTextMax);
        }
        return 0;
    }
    if (mirroring_ || header.code != LVN_ITEMCHANGED) {
        return 0;
    }
    // Check marks are not the list view's to change; only the selection is read here.
    const auto& change = reinterpret_cast<const NMLISTVIEW&>(header);
    if ((change.uChanged & LVIF_STATE) == 0) {
        return 0;
    }
    const bool was_selected = (change.uOldState & LVIS_SELECTED) != 0;
    const bool selected = (change.uNewState & LVIS_SELECTED) != 0;
    if (change.iItem >= 0 && selected && !was_selected) {
        list_.user_highlight(change.iItem);
    } else if (was_selected && !selected) {
        // A virtual list view deselects every row at once with item -1.
        PostMessageW(hwnd(), kSelectionSettled, 0, 0);
    }
    return 0;
}

void CheckListView::toggle(int index) {
    if (index < 0 || index >= list_.count()) {
        return;
    }
    list_.user_set_checked(index, !list_.checked(index));
    ListView_RedrawItems(hwnd(), index, index);
}

bool CheckListView::toggle_at(LPARAM point) {
    LVHITTESTINFO hit{};
    hit.pt = POINT{GET_X_LPARAM(point), GET_Y_LPARAM(point)};
    const int index = ListView_HitTest(hwnd(), &hit);
    if (index < 0 || (hit.flags & LVHT_ONITEM) != LVHT_ONITEMSTATEICON) {
        return false;
    }
    SetFocus(hwnd());
    toggle(index);
    return true;
}

LRESULT CheckListView::on_subclassed_message(HWND window, UINT message, WPARAM wparam,
                                             LPARAM lparam) {
    switch (message) {
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            // A click on a check box changes that entry's check mark and nothing else.
            if (toggle_at(lparam)) {
                return 0;
            }
            return DefSubclassProc(window, message, wparam, lparam);
        case WM_GETDLGCODE: {
            // Enter opens the entry rather than going to the window's default button.
            const auto* key = reinterpret_cast<const MSG*>(lparam);
            const LRESULT code = DefSubclassProc(window, message, wparam, lparam);
            return key != nullptr && key->message == WM_KEYDOWN && key->wParam == VK_RETURN
                       ? code | DLGC_WANTALLKEYS
                       : code;
        }
        case WM_KEYDOWN:
            if (wparam == VK_SPACE) {
                toggle(ListView_GetNextItem(window, -1, LVNI_FOCUSED));
                return 0;
            }
            if (wparam == VK_RETURN) {
                list_.user_open(list_.highlighted());
                return 0;
            }
            return DefSubclassProc(window, message, wparam, lparam);
        case WM_CHAR:
            // The space bar changed the check mark already; it searches for nothing.
            if (wparam == L' ') {
                return 0;
            }
            return DefSubclassProc(window, message, wparam, lparam);
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
        case kCountChanged: {
            count_posted_ = false;
            Mirroring guard(mirroring_);
            sync_count();
            return 0;
        }
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
