#include "model/target.h"

#include <charconv>
#include <vector>

#include "model/target_string.h"

namespace tapster {

std::optional<std::int32_t> parse_control_id(std::string_view text) {
    text = trim_spaces(text);
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
        if (text.empty() || text.front() == '-') {
            return std::nullopt;
        }
    }
    std::int32_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc{} || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

Target parse_target(std::string_view target_string, const FoldCase& fold_case) {
    std::vector<std::string_view> pieces;
    split_target_string(target_string, pieces);
    const TargetConditions conditions = take_conditions(pieces);
    const auto piece = [&pieces](std::size_t field) {
        return field < pieces.size() ? pieces[field] : std::string_view{};
    };
    Target target;
    target.pieces = pieces.size();
    target.title = piece(kParentTitle);
    target.title_pattern = TitlePattern(fold_case ? fold_case(target.title) : target.title);
    target.window_class = piece(kParentClass);
    target.button_text = piece(kButtonText);
    if (pieces.size() > kFoundControlId) {
        target.found_control_id = parse_control_id(pieces[kFoundControlId]);
        target.accessible = pieces[kFoundControlId] == kAccessibleMarker;
    }
    if (pieces.size() > kControlId) {
        target.control_id = parse_control_id(pieces[kControlId]);
    }
    target.forced = pieces.size() > kForceFlag && is_force_flag(pieces[kForceFlag]);
    target.program = conditions.program;
    target.message = conditions.message;
    target.message_pattern = TitlePattern(fold_case ? fold_case(target.message) : target.message);
    target.malformed_conditions = conditions.malformed;
    return target;
}

}  // namespace tapster
