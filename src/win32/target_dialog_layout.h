#pragma once

#include "win32/dialog_template.h"

namespace tapster::win32 {

// The controls of a target's dialog, in Tab order.
enum TargetDialogControl : int {
    kTargetReadOnlyNote = 1100,
    kTargetTitleLabel,
    kTargetTitle,
    kTargetClassLabel,
    kTargetClass,
    kTargetButtonLabel,
    kTargetButton,
    kTargetProgramLabel,
    kTargetProgram,
    kTargetMessageLabel,
    kTargetMessage,
    kTargetForced,
    kTargetEnabled,
    kTargetFoundIdLabel,
    kTargetFoundId,
    kTargetControlIdLabel,
    kTargetControlId,
    kTargetDescriptionFrame,
    kTargetDescription,
};

// The dialog as laid out in dialog units; a read-only one has its boxes read-only, its check
// boxes disabled and a note at the top, which the dialog fills with the reason.
DialogTemplate target_dialog_layout(bool read_only);

}  // namespace tapster::win32
