#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "model/title_pattern.h"

namespace tapster {

// A control identifier as stored: a decimal 32-bit integer, spaces around it ignored.
std::optional<std::int32_t> parse_control_id(std::string_view text);

// What both identifier fields hold for a button that its program draws itself and shows to
// screen readers: it has no control identifier, and the window is searched for the button's
// name instead. It is no number, so a Tapster that knows only identifiers skips the target as
// malformed rather than pressing whatever control a number would name.
inline constexpr std::string_view kAccessibleMarker = "accessible";

// How the desktop folds the letter case of window titles (platform::Desktop::fold_case).
using FoldCase = std::function<std::string(std::string_view)>;

// One recorded button of another program, read once from its target string, its title folded
// and made a pattern then too, so that the push cycle never takes the text apart again. Pieces
// the text lacks stay empty; an identifier that does not parse stays unset.
struct Target {
    std::string title;           // of the top-level window that holds the button, as recorded
    TitlePattern title_pattern;  // the title folded: what the window is looked up by
    std::string window_class;    // of that window
    std::string button_text;     // what the button said when it was recorded
    std::optional<std::int32_t> found_control_id;
    std::optional<std::int32_t> control_id;
    bool forced = false;  // add a real mouse click after the command
    // Found by its accessible name rather than by an identifier (kAccessibleMarker).
    bool accessible = false;
    // The conditions, empty for none: the file name of the program that shows the window, and
    // what the window must say, folded as the title is and made a pattern.
    std::string program;
    std::string message;
    TitlePattern message_pattern;
    bool malformed_conditions = false;
    std::size_t pieces = 0;  // without the conditions

    bool has_conditions() const { return !program.empty() || !message.empty(); }
    // Enough is known to find the window, check the button and press it.
    bool pressable() const {
        return pieces > 3 && !malformed_conditions && (found_control_id.has_value() || accessible);
    }
};

// Without a fold_case the title keeps its letter case: for a target that is never looked up.
Target parse_target(std::string_view target_string, const FoldCase& fold_case = {});

}  // namespace tapster
