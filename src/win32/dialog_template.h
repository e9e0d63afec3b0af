#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace tapster::win32 {

// A dialog's layout in memory, as CreateDialogIndirectParamW reads it (an extended dialog
// template with DS_SHELLFONT, "MS Shell Dlg" at 8 points). Every rectangle is in dialog
// units, so the dialog grows with its font and so with the display scale. How a dialog is
// made from one: modeless_dialog.h.
//
//     DialogTemplate layout("Caption", 200, 120);
//     layout.add(DialogClass::static_text, "&Title:", SS_LEFT, {7, 9, 50, 8}, kTitleLabel);
//     layout.add(DialogClass::edit, "", ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP,
//                {60, 7, 133, 14}, kTitle);
//
// Controls are added in Tab order; WS_CHILD and WS_VISIBLE are added to each.
enum class DialogClass : WORD {
    button = 0x0080,
    edit = 0x0081,
    static_text = 0x0082,
    list_box = 0x0083,
    combo_box = 0x0085,
};

struct DialogRect {
    short x = 0;
    short y = 0;
    short width = 0;
    short height = 0;
};

class DialogTemplate {
  public:
    // A caption, a system menu (so Alt+F4 and the close box are Cancel), modal frame.
    static constexpr DWORD kDefaultStyle =
        DS_SHELLFONT | DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU;

    DialogTemplate(const std::string& caption, short width, short height,
                   DWORD style = kDefaultStyle);

    // `text` is UTF-8; a control of a class that is not predefined (a list view, ...) is
    // named by its window class instead.
    void add(DialogClass kind, const std::string& text, DWORD style, DialogRect rect, int id);
    void add(const wchar_t* window_class, const std::string& text, DWORD style, DialogRect rect,
             int id);

    const DLGTEMPLATE* get() const { return reinterpret_cast<const DLGTEMPLATE*>(words_.data()); }
    int count() const { return count_; }

  private:
    void add_item(DWORD style, DialogRect rect, int id);
    void add_dword(DWORD value);
    void add_text(const std::wstring& text);
    void align_to_dword();

    std::vector<WORD> words_;
    int count_ = 0;
};

}  // namespace tapster::win32
