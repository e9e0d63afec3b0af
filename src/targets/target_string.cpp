#include "targets/target_string.h"

namespace tapster {

std::string to_target_string(const TargetItem& item) {
    std::string text = item.parent_title;
    for (const std::string* field :
         {&item.parent_class, &item.button_text, &item.found_control_id, &item.control_id}) {
        text += kFieldSeparator;
        text += *field;
    }
    text += kFieldSeparator;
    text += item.forced ? "True" : "False";
    return text;
}

std::string_view trim_spaces(std::string_view text) {
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) {
        return {};
    }
    const std::size_t last = text.find_last_not_of(' ');
    return text.substr(first, last - first + 1);
}

std::vector<std::string> split_target_string(std::string_view text) {
    constexpr std::string_view kMark = "****";
    std::vector<std::string> pieces;
    std::size_t start = 0;
    while (true) {
        const std::size_t mark = text.find(kMark, start);
        const std::size_t end = mark == std::string_view::npos ? text.size() : mark;
        pieces.emplace_back(trim_spaces(text.substr(start, end - start)));
        if (mark == std::string_view::npos) {
            return pieces;
        }
        start = mark + kMark.size();
    }
}

bool is_force_flag(std::string_view piece) {
    return trim_spaces(piece) == "True";
}

}  // namespace tapster
