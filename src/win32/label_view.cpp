#include "win32/label_view.h"

#include "win32/wide_string.h"

namespace tapster::win32 {

LabelView::LabelView(ui::Label& label, HWND parent, int id) : ControlView(label), label_(label) {
    create(L"STATIC", label.caption(), SS_LEFT, 0, parent, id);
}

void LabelView::apply_style(const ViewStyle& style) {
    ControlView::apply_style(style);
    const ui::Appearance& look = label_.appearance();
    if (look.font_face == nullptr) {
        return;
    }
    LOGFONTW font{};
    font.lfHeight = -MulDiv(look.font_points, style.dpi, 72);
    font.lfWeight = look.bold ? FW_BOLD : FW_NORMAL;
    font.lfCharSet = DEFAULT_CHARSET;
    font.lfQuality = CLEARTYPE_QUALITY;
    const std::wstring face = to_wide(look.font_face);
    face.copy(font.lfFaceName, LF_FACESIZE - 1);
    ScopedFont own_font(CreateFontIndirectW(&font));
    SendMessageW(hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(own_font.get()), TRUE);
    own_font_ = std::move(own_font);
}

void LabelView::mirror(ui::Change change) {
    if (change == ui::Change::text) {
        set_window_text(hwnd(), label_.caption());
    }
}

}  // namespace tapster::win32
