#include "win32/dialog_template.h"

#include "win32/wide_string.h"

namespace tapster::win32 {

namespace {

// Where the control count sits in the extended header: dlgVer, signature, helpID (2 words),
// exStyle (2), style (2).
constexpr std::size_t kCountIndex = 8;
constexpr WORD kFontPoints = 8;

}  // namespace

DialogTemplate::DialogTemplate(const std::string& caption, short width, short height, DWORD style) {
    words_.push_back(1);       // dlgVer
    words_.push_back(0xFFFF);  // signature: the extended template
    add_dword(0);              // helpID
    add_dword(0);              // exStyle
    add_dword(style | DS_SETFONT);
    words_.push_back(0);  // cDlgItems, counted by add
    for (const short value : {short{0}, short{0}, width, height}) {
        words_.push_back(static_cast<WORD>(value));
    }
    words_.push_back(0);  // no menu
    words_.push_back(0);  // the system's dialog class
    add_text(to_wide(caption));
    words_.push_back(kFontPoints);
    words_.push_back(FW_NORMAL);
    words_.push_back(static_cast<WORD>(DEFAULT_CHARSET << 8));  // italic: no; the charset
    add_text(L"MS Shell Dlg");
}

void DialogTemplate::add(DialogClass kind, const std::string& text, DWORD style, DialogRect rect,
                         int id) {
    add_item(style, rect, id);
    words_.push_back(0xFFFF);
    words_.push_back(static_cast<WORD>(kind));
    add_text(to_wide(text));
    words_.push_back(0);  // no creation data
}

void DialogTemplate::add(const wchar_t* window_class, const std::string& text, DWORD style,
                         DialogRect rect, int id) {
    add_item(style, rect, id);
    add_text(window_class);
    add_text(to_wide(text));
    words_.push_back(0);
}

void DialogTemplate::add_item(DWORD style, DialogRect rect, int id) {
    align_to_dword();
    add_dword(0);  // helpID
    add_dword(0);  // exStyle
    add_dword(style | WS_CHILD | WS_VISIBLE);
    for (const short value : {rect.x, rect.y, rect.width, rect.height}) {
        words_.push_back(static_cast<WORD>(value));
    }
    add_dword(static_cast<DWORD>(id));
    ++count_;
    words_[kCountIndex] = static_cast<WORD>(count_);
}

void DialogTemplate::add_dword(DWORD value) {
    words_.push_back(LOWORD(value));
    words_.push_back(HIWORD(value));
}

void DialogTemplate::add_text(const std::wstring& text) {
    for (const wchar_t character : text) {
        words_.push_back(static_cast<WORD>(character));
    }
    words_.push_back(0);
}

void DialogTemplate::align_to_dword() {
    if (words_.size() % 2 != 0) {
        words_.push_back(0);
    }
}

}  // namespace tapster::win32
