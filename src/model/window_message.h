#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tapster {

// What a capture recorded beside the five fields, empty for none: the file name of the
// program that shows the window, and what the window says.
struct CapturedConditions {
    std::string program;
    std::string message;
};

// What a window says, as a target records and compares it: its texts joined with single
// spaces, every run of blanks and line breaks made one space, the ends trimmed.
std::string joined_message(const std::vector<std::string>& parts);

// Why a recorded program or message could never be stored or matched, or nothing. `what`
// names it for the user.
std::optional<std::string> why_condition_unusable(std::string_view condition,
                                                  std::string_view what);

}  // namespace tapster
