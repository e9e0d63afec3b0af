#include "win32/target_dialog_layout.h"

namespace tapster::win32 {

namespace {

constexpr short kMargin = 7;
constexpr short kLabelWidth = 58;
constexpr short kFieldLeft = kMargin + kLabelWidth + 4;
constexpr short kWidth = 290;
constexpr short kFieldWidth = kWidth - kFieldLeft - kMargin;
constexpr short kRow = 18;
constexpr short kEditHeight = 14;

}  // namespace

DialogTemplate target_dialog_layout(bool read_only) {
    short top = kMargin;
    const DWORD edit_style =
        ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP | (read_only ? ES_READONLY : 0);
    const DWORD check_style = BS_AUTOCHECKBOX | WS_TABSTOP | (read_only ? WS_DISABLED : 0);

    DialogTemplate layout("Target Properties", kWidth, 0);
    if (read_only) {
        layout.add(DialogClass::static_text, "", SS_LEFT | SS_NOPREFIX,
                   {kMargin, top, kWidth - 2 * kMargin, 18}, kTargetReadOnlyNote);
        top += 24;
    }
    const struct {
        const char* label;
        int label_id;
        int field_id;
    } fields[] = {{"&Title:", kTargetTitleLabel, kTargetTitle},
                  {"&Class:", kTargetClassLabel, kTargetClass},
                  {"&Button text:", kTargetButtonLabel, kTargetButton},
                  {"&Program:", kTargetProgramLabel, kTargetProgram},
                  {"&Message:", kTargetMessageLabel, kTargetMessage}};
    for (const auto& field : fields) {
        layout.add(DialogClass::static_text, field.label, SS_LEFT,
                   {kMargin, static_cast<short>(top + 3), kLabelWidth, 8}, field.label_id);
        layout.add(DialogClass::edit, "", edit_style, {kFieldLeft, top, kFieldWidth, kEditHeight},
                   field.field_id);
        top += kRow;
    }
    top += 2;
    layout.add(DialogClass::button, "&Force It?", check_style, {kFieldLeft, top, 80, 10},
               kTargetForced);
    layout.add(DialogClass::button, "&Enabled", check_style,
               {static_cast<short>(kFieldLeft + 90), top, 80, 10}, kTargetEnabled);
    top += 16;

    // The identifiers come from the recording: shown, never typed.
    const DWORD id_style = ES_AUTOHSCROLL | ES_READONLY | WS_BORDER | WS_TABSTOP;
    layout.add(DialogClass::static_text, "Found &id:", SS_LEFT,
               {kMargin, static_cast<short>(top + 3), kLabelWidth, 8}, kTargetFoundIdLabel);
    layout.add(DialogClass::edit, "", id_style, {kFieldLeft, top, 60, kEditHeight}, kTargetFoundId);
    layout.add(DialogClass::static_text, "Button i&d:", SS_LEFT,
               {static_cast<short>(kFieldLeft + 90), static_cast<short>(top + 3), 42, 8},
               kTargetControlIdLabel);
    layout.add(DialogClass::edit, "", id_style,
               {static_cast<short>(kFieldLeft + 134), top, 60, kEditHeight}, kTargetControlId);
    top += kRow + 4;

    layout.add(DialogClass::button, "What it does", BS_GROUPBOX,
               {kMargin, top, kWidth - 2 * kMargin, 40}, kTargetDescriptionFrame);
    layout.add(DialogClass::static_text, "", SS_LEFT | SS_NOPREFIX,
               {kMargin + 6, static_cast<short>(top + 12), kWidth - 2 * kMargin - 12, 24},
               kTargetDescription);
    top += 48;

    layout.add(DialogClass::button, "OK", BS_DEFPUSHBUTTON | WS_TABSTOP,
               {kWidth - kMargin - 104, top, 50, 14}, IDOK);
    layout.add(DialogClass::button, "Cancel", BS_PUSHBUTTON | WS_TABSTOP,
               {kWidth - kMargin - 50, top, 50, 14}, IDCANCEL);
    layout.set_size(kWidth, static_cast<short>(top + 14 + kMargin));
    return layout;
}

}  // namespace tapster::win32
