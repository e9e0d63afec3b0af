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

// The text form of a target: the six fields with " **** " between them, none trimmed,
// checked or escaped. The same text is the list entry and the stored value.
std::string to_target_string(const TargetItem& item);

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
