// The forms numbers and switches take in the settings file.
#include <algorithm>
#include <string>

#include "settings/settings_store.h"

namespace tapster {

namespace {

constexpr std::string_view kSpaces = " \t\r\n";

std::string_view trim(std::string_view text) {
    const auto first = text.find_first_not_of(kSpaces);
    if (first == std::string_view::npos) {
        return {};
    }
    const auto last = text.find_last_not_of(kSpaces);
    return text.substr(first, last - first + 1);
}

bool equals_ignoring_case(std::string_view text, std::string_view lower_word) {
    return std::equal(
        text.begin(), text.end(), lower_word.begin(), lower_word.end(), [](char a, char b) {
            const char lowered = (a >= 'A' && a <= 'Z') ? static_cast<char>(a - 'A' + 'a') : a;
            return lowered == b;
        });
}

bool is_digit(char c) {
    return c >= '0' && c <= '9';
}

// Accepts [+-]digits[.digits] (either side of the point may be empty, not both) and tells
// whether any digit is non-zero. Checking digits rather than converting keeps huge numbers
// from overflowing into the wrong answer.
std::optional<bool> decimal_is_nonzero(std::string_view text) {
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        text.remove_prefix(1);
    }
    bool any_digit = false;
    bool nonzero = false;
    bool seen_point = false;
    for (const char c : text) {
        if (is_digit(c)) {
            any_digit = true;
            nonzero = nonzero || c != '0';
        } else if (c == '.' && !seen_point) {
            seen_point = true;
        } else {
            return std::nullopt;
        }
    }
    if (!any_digit) {
        return std::nullopt;
    }
    return nonzero;
}

}  // namespace

std::string number_text(long long value) {
    return std::to_string(value);
}

std::string boolean_text(bool value) {
    return value ? "True" : "False";
}

std::optional<bool> parse_boolean(std::string_view text) {
    text = trim(text);
    if (equals_ignoring_case(text, "true")) {
        return true;
    }
    if (equals_ignoring_case(text, "false")) {
        return false;
    }
    return decimal_is_nonzero(text);
}

}  // namespace tapster
