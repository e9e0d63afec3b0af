#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tapster {

// One recorded button of another program.
struct TargetItem {
    std::string parent_title;      // title of the window that holds the button
    std::string parent_class;      // its window class
    std::string button_text;       // the button's own text
    std::string found_control_id;  // decimal; "0" when the capture's search found none
    std::string control_id;        // decimal, as the button reports itself
    bool forced = false;           // add a real mouse click after the command
    // The conditions, empty for none: the file name of the program that shows the window, and
    // what the window says (a pattern, as the title is).
    std::string program = {};
    std::string message = {};
};

// The field numbers of a target string's pieces.
enum TargetField : std::size_t {
    kParentTitle = 0,
    kParentClass = 1,
    kButtonText = 2,
    kFoundControlId = 3,
    kControlId = 4,
    kForceFlag = 5,
};

inline constexpr std::string_view kFieldSeparator = " **** ";
// What readers split a target string at: a field that contains it shifts the later fields.
inline constexpr std::string_view kFieldMark = "****";

// A condition is a piece of its own between the button text and the found id, led by its
// mark. A reader that knows no conditions finds a found id that is no number there, so it
// skips the target as malformed rather than press it without them.
inline constexpr std::string_view kProgramMark = "program=";
inline constexpr std::string_view kMessageMark = "message=";

// The text form of a target: the six fields with " **** " between them, none trimmed,
// checked or escaped, and a target's conditions before the found id. A target without
// conditions has six pieces. The same text is the list entry and the stored value.
std::string to_target_string(const TargetItem& item);

// A target's conditions as its text holds them.
struct TargetConditions {
    std::string_view program;
    std::string_view message;
    bool malformed = false;  // a condition twice, or one with nothing after its mark
};
// Takes the conditions out of a target string's pieces, so that the six fields remain.
TargetConditions take_conditions(std::vector<std::string_view>& pieces);

// What the list shows for a target string: the six fields, then the conditions, so that the
// fields stand where they always stood. A text without conditions is shown as it is.
std::string shown_target_text(std::string_view text);

// How every reader takes a target string apart: split at every "****" and strip the spaces
// around each piece. A field that itself contains "****" moves the later fields up.
std::vector<std::string> split_target_string(std::string_view text);
// The same, as views into the text, into a buffer the caller keeps for reuse.
void split_target_string(std::string_view text, std::vector<std::string_view>& pieces);

// Only the exact text "True" forces; "true", "False" or nothing do not.
bool is_force_flag(std::string_view piece);

// Leading and trailing spaces (U+0020 only) removed.
std::string_view trim_spaces(std::string_view text);

}  // namespace tapster
