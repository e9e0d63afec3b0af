#include "win32/history_dialog.h"

#include <commctrl.h>

#include <array>
#include <utility>

#include "win32/wide_string.h"

namespace tapster::win32 {

namespace {

constexpr short kWidth = 440;
constexpr short kHeight = 230;

struct HistoryColumn {
    const char* caption;
    int width;  // in dialog units
};
constexpr std::array<HistoryColumn, 5> kHistoryColumns = {
    {{"Time", 77}, {"Program", 52}, {"Title", 83}, {"Button", 38}, {"What happened", 166}}};

DialogTemplate history_layout() {
    DialogTemplate layout("History", kWidth, kHeight,
                          DialogTemplate::kDefaultStyle | WS_MINIMIZEBOX);
    layout.add(WC_LISTVIEWW, "",
               LVS_REPORT | LVS_OWNERDATA | LVS_SHOWSELALWAYS | WS_BORDER | WS_TABSTOP,
               {7, 7, kWidth - 14, kHeight - 35}, HistoryDialog::kList);
    layout.add(DialogClass::button, "&Clear history", BS_PUSHBUTTON | WS_TABSTOP,
               {7, kHeight - 21, 70, 14}, HistoryDialog::kClear);
    layout.add(DialogClass::button, "Close", BS_DEFPUSHBUTTON | WS_TABSTOP,
               {kWidth - 57, kHeight - 21, 50, 14}, IDCANCEL);
    return layout;
}

const std::string& cell_text(const ui::HistoryRow& row, int column) {
    switch (column) {
        case 0:
            return row.time;
        case 1:
            return row.program;
        case 2:
            return row.title;
        case 3:
            return row.button;
        default:
            return row.what_happened;
    }
}

}  // namespace

void HistoryDialog::show(std::function<void()> clear_chosen) {
    clear_chosen_ = std::move(clear_chosen);
    open(owner_, history_layout(), "the History window");
}

void HistoryDialog::set_rows(ui::HistoryRows rows) {
    rows_ = std::move(rows);
    if (is_open()) {
        show_count();
    }
}

void HistoryDialog::show_count() {
    const int count = rows_ ? static_cast<int>(rows_->size()) : 0;
    ListView_SetItemCountEx(item(kList), count, 0);
    InvalidateRect(item(kList), nullptr, TRUE);
}

void HistoryDialog::on_init() {
    const HWND list = item(kList);
    ListView_SetExtendedListViewStyle(list, LVS_EX_FULLROWSELECT);
    for (int index = 0; index < static_cast<int>(kHistoryColumns.size()); ++index) {
        RECT width{0, 0, kHistoryColumns[index].width, 0};
        MapDialogRect(hwnd(), &width);
        std::wstring caption = to_wide(kHistoryColumns[index].caption);
        LVCOLUMNW column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
        column.pszText = caption.data();
        column.cx = width.right;
        column.iSubItem = index;
        ListView_InsertColumn(list, index, &column);
    }
    // Rows read before the window opened, or none yet.
    show_count();
}

void HistoryDialog::on_command(int id, int notification) {
    if (id == kClear && clear_chosen_) {
        clear_chosen_();
        return;
    }
    ModelessDialog::on_command(id, notification);
}

bool HistoryDialog::on_message(UINT message, WPARAM /*wparam*/, LPARAM lparam, INT_PTR& result) {
    if (message != WM_NOTIFY) {
        return false;
    }
    auto* header = reinterpret_cast<NMHDR*>(lparam);
    if (header->idFrom != static_cast<UINT_PTR>(kList) || header->code != LVN_GETDISPINFOW) {
        return false;
    }
    auto* shown = reinterpret_cast<NMLVDISPINFOW*>(lparam);
    LVITEMW& cell = shown->item;
    if ((cell.mask & LVIF_TEXT) != 0 && rows_ && cell.iItem >= 0 &&
        static_cast<std::size_t>(cell.iItem) < rows_->size()) {
        const std::wstring text =
            to_wide(cell_text((*rows_)[static_cast<std::size_t>(cell.iItem)], cell.iSubItem));
        if (cell.pszText != nullptr && cell.cchTextMax > 0) {
            lstrcpynW(cell.pszText, text.c_str(), cell.cchTextMax);
        }
    }
    result = 0;
    return true;
}

}  // namespace tapster::win32
