#include "model/target_string.h"

namespace tapster {

namespace {

void add_piece(std::string& text, std::string_view mark, std::string_view piece) {
    text += kFieldSeparator;
    text += mark;
    text += piece;
}

}  // namespace

std::string to_target_string(const TargetItem& item) {
    std::string text = item.parent_title;
    add_piece(text, {}, item.parent_class);
    add_piece(text, {}, item.button_text);
    if (!item.program.empty()) {
        add_piece(text, kProgramMark, item.program);
    }
    if (!item.message.empty()) {
        add_piece(text, kMessageMark, item.message);
    }
    add_piece(text, {}, item.found_control_id);
    add_piece(text, {}, item.control_id);
    add_piece(text, {}, item.forced ? "True" : "False");
    return text;
}

TargetConditions take_conditions(std::vector<std::string_view>& pieces) {
    TargetConditions conditions;
    while (pieces.size() > kFoundControlId) {
        const std::string_view piece = pieces[kFoundControlId];
        const bool program = piece.starts_with(kProgramMark);
        if (!program && !piece.starts_with(kMessageMark)) {
            break;
        }
        std::string_view& slot = program ? conditions.program : conditions.message;
        const std::string_view value =
            trim_spaces(piece.substr((program ? kProgramMark : kMessageMark).size()));
        conditions.malformed = conditions.malformed || !slot.empty() || value.empty();
        slot = value;
        pieces.erase(pieces.begin() + kFoundControlId);
    }
    return conditions;
}

std::string shown_target_text(std::string_view text) {
    std::vector<std::string_view> pieces;
    split_target_string(text, pieces);
    const std::size_t before = pieces.size();
    const TargetConditions conditions = take_conditions(pieces);
    if (pieces.size() == before || conditions.malformed) {
        return std::string(text);
    }
    std::string shown(pieces.front());
    for (std::size_t field = 1; field < pieces.size(); ++field) {
        add_piece(shown, {}, pieces[field]);
    }
    if (!conditions.program.empty()) {
        add_piece(shown, kProgramMark, conditions.program);
    }
    if (!conditions.message.empty()) {
        add_piece(shown, kMessageMark, conditions.message);
    }
    return shown;
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
