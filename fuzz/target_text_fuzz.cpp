// The target text: any bytes taken apart by split_target_string and parse_target, which must
// agree piece by piece, the conditions taken out first; and six fields with a program and a
// message written by to_target_string and read back, which must give the same fields whenever
// "Add It" would accept them (no "****" inside, no spaces around, since a reader trims them).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/target.h"
#include "model/target_string.h"

namespace {

void check(bool holds) {
    if (!holds) {
        std::abort();
    }
}

std::size_t count_marks(std::string_view text) {
    std::size_t count = 0;
    for (std::size_t at = text.find(tapster::kFieldMark); at != std::string_view::npos;
         at = text.find(tapster::kFieldMark, at + tapster::kFieldMark.size())) {
        ++count;
    }
    return count;
}

void check_reading(std::string_view text) {
    std::vector<std::string_view> pieces;
    tapster::split_target_string(text, pieces);
    check(pieces.size() == count_marks(text) + 1);
    for (const std::string_view piece : pieces) {
        check(tapster::trim_spaces(piece) == piece);
    }
    const std::size_t all_pieces = pieces.size();
    const tapster::TargetConditions conditions = tapster::take_conditions(pieces);
    const tapster::Target target = tapster::parse_target(text);
    check(target.pieces == pieces.size());
    check(target.program == conditions.program && target.message == conditions.message);
    check(target.malformed_conditions == conditions.malformed);
    // A target with conditions is never pressed where a reader without them finds a number.
    if (pieces.size() < all_pieces) {
        check(!tapster::parse_control_id(tapster::split_target_string(text)[3]));
    }
    check(!target.malformed_conditions || !target.pressable());
    const auto piece = [&](std::size_t index) {
        return std::string(index < pieces.size() ? pieces[index] : std::string_view{});
    };
    check(target.title == piece(tapster::kParentTitle));
    check(target.window_class == piece(tapster::kParentClass));
    check(target.button_text == piece(tapster::kButtonText));
    check(target.found_control_id == tapster::parse_control_id(piece(tapster::kFoundControlId)));
    check(target.control_id == tapster::parse_control_id(piece(tapster::kControlId)));
    check(target.forced == tapster::is_force_flag(piece(tapster::kForceFlag)));
}

bool accepted_field(std::string_view field) {
    return field.find(tapster::kFieldMark) == std::string_view::npos &&
           tapster::trim_spaces(field) == field;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    check_reading(bytes);

    // The same bytes as five fields, a program and a message split at NUL, the force flag
    // from the last byte.
    std::vector<std::string> fields;
    std::size_t start = 0;
    while (fields.size() < 7) {
        const std::size_t end = std::min(bytes.find('\0', start), bytes.size());
        fields.emplace_back(
            bytes.substr(std::min(start, bytes.size()), end - std::min(start, end)));
        start = end + 1;
    }
    const tapster::TargetItem item{fields[0], fields[1], fields[2],
                                   fields[3], fields[4], size > 0 && (data[size - 1] & 1U) != 0,
                                   fields[5], fields[6]};
    const std::string written = tapster::to_target_string(item);
    check_reading(written);
    for (const std::string& field : fields) {
        if (!accepted_field(field)) {
            return 0;
        }
    }
    // A found id that reads as a condition is no number: nothing is lost that could press.
    if (fields[3].starts_with(tapster::kProgramMark) ||
        fields[3].starts_with(tapster::kMessageMark)) {
        return 0;
    }
    if (item.program.empty() && item.message.empty()) {
        check(tapster::split_target_string(written).size() == 6);
    }
    std::vector<std::string_view> pieces;
    tapster::split_target_string(written, pieces);
    const tapster::TargetConditions conditions = tapster::take_conditions(pieces);
    check(!conditions.malformed);
    check(conditions.program == item.program && conditions.message == item.message);
    check(pieces.size() == 6);
    check(std::vector<std::string>(pieces.begin(), pieces.begin() + 5) ==
          std::vector<std::string>(fields.begin(), fields.begin() + 5));
    check(tapster::is_force_flag(pieces[tapster::kForceFlag]) == item.forced);
    return 0;
}
