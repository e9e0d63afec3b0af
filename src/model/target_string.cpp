#include "model/target_string.h"

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

void split_target_string(std::string_view text, std::vector<std::string_view>& pieces) {
    pieces.clear();
    std::size_t start = 0;
    while (true) {
        const std::size_t mark = text.find(kFieldMark, start);
        const std::size_t end = mark == std::string_view::npos ? text.size() : mark;
        pieces.push_back(trim_spaces(text.substr(start, end - start)));
        if (mark == std::string_view::npos) {
            return;
        }
        start = mark + kFieldMark.size();
    }
}

std::vector<std::string> split_target_string(std::string_view text) {
    std::vector<std::string_view> views;
    split_target_string(text, views);
    return {views.begin(), views.end()};
}

bool is_force_flag(std::string_view piece) {
    return trim_spaces(piece) == "True";
}

}  // namespace tapster
