#include "model/window_message.h"

#include "model/target_string.h"

namespace tapster {

namespace {

bool is_message_blank(char character) {
    return character == ' ' || character == '\t' || character == '\r' || character == '\n' ||
           character == '\v' || character == '\f';
}

}  // namespace

std::string joined_message(const std::vector<std::string>& parts) {
    std::string message;
    bool blank_before = false;
    for (const std::string& part : parts) {
        blank_before = true;
        for (const char character : part) {
            if (is_message_blank(character)) {
                blank_before = true;
                continue;
            }
            if (blank_before && !message.empty()) {
                message += ' ';
            }
            blank_before = false;
            message += character;
        }
    }
    return message;
}

std::optional<std::string> why_condition_unusable(std::string_view condition,
                                                  std::string_view what) {
    if (condition.find(kFieldMark) != std::string_view::npos) {
        return "The " + std::string(what) +
               " contains \"****\", which separates the parts of a stored target, so this "
               "target would never be pressed. Write the target into the settings file by hand, "
               "with * where the " +
               std::string(what) + " holds \"****\".";
    }
    if (condition != trim_spaces(condition)) {
        return "The " + std::string(what) +
               " begins or ends with spaces, which a stored target can not keep, so this "
               "target would never be pressed. Write the target into the settings file by hand, "
               "with * where the spaces are.";
    }
    return std::nullopt;
}

}  // namespace tapster
