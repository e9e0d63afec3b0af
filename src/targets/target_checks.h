#pragma once

#include <optional>
#include <string>

#include "model/target_string.h"

namespace tapster {

// Where the user makes or changes a target: the capture fields and "Add It", where the
// program and message come from the recording, or the target's dialog, where every field
// but the identifiers can be typed into and OK stores it.
enum class TargetForm { capture_fields, dialog };

// Why a target is refused: it is blank, or it could never be stored whole or be pressed.
// Nothing when it may be stored. The reason says what to do in `form`.
std::optional<std::string> why_target_refused(const TargetItem& item, TargetForm form);

}  // namespace tapster
