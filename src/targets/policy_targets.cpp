#include "targets/policy_targets.h"

#include <utility>

#include "model/target.h"
#include "model/target_string.h"

namespace tapster {

namespace {

using platform::Policy;
using platform::PolicyKey;
using platform::PolicyValue;

constexpr std::size_t kTargetPieces = 6;
constexpr std::size_t kLongestQuote = 40;  // bytes of a bad part shown back

// A part of the line in quotes, cut short (at a whole character) when long.
std::string quoted(std::string_view part) {
    std::string shown = "\"";
    if (part.size() <= kLongestQuote) {
        shown.append(part);
    } else {
        std::size_t cut = kLongestQuote;
        while (cut > 0 && (static_cast<unsigned char>(part[cut]) & 0xC0) == 0x80) {
            --cut;
        }
        shown.append(part.substr(0, cut)).append("...");
    }
    return shown.append("\"");
}

std::string why_not_usable(const PolicyValue& value) {
    if (value.type != PolicyValue::Type::text) {
        return "it is not a text (REG_SZ)";
    }
    switch (value.flaw) {
        case PolicyValue::Flaw::too_long:
            return "it is longer than " + std::to_string(Policy::kLongestText) + " characters";
        case PolicyValue::Flaw::not_text:
            return "it holds a zero character or UTF-16 that is not text";
        case PolicyValue::Flaw::none:
            break;
    }
    return {};
}

}  // namespace

PolicyTargetLine read_policy_target_line(std::string_view line) {
    std::vector<std::string_view> pieces;
    split_target_string(line, pieces);
    const TargetConditions conditions = take_conditions(pieces);
    if (conditions.malformed) {
        return {{},
                "it names a program or a message twice, or one with nothing after program= or "
                "message="};
    }
    // The conditions are not counted among the parts.
    if (pieces.size() != kTargetPieces) {
        return {{},
                "it has " + std::to_string(pieces.size()) +
                    " parts instead of six: title, class, button text, found id, id and True or "
                    "False, separated by ****"};
    }
    if (pieces[kParentTitle].empty() && pieces[kParentClass].empty() &&
        pieces[kButtonText].empty()) {
        return {{}, "it names neither a window nor a button"};
    }
    if (!parse_control_id(pieces[kFoundControlId])) {
        return {{}, "its found id " + quoted(pieces[kFoundControlId]) + " is not a whole number"};
    }
    if (!parse_control_id(pieces[kControlId])) {
        return {{}, "its id " + quoted(pieces[kControlId]) + " is not a whole number"};
    }
    if (pieces[kForceFlag] != "True" && pieces[kForceFlag] != "False") {
        return {{}, "it ends in " + quoted(pieces[kForceFlag]) + " instead of True or False"};
    }
    return {
        to_target_string({std::string(pieces[kParentTitle]), std::string(pieces[kParentClass]),
                          std::string(pieces[kButtonText]), std::string(pieces[kFoundControlId]),
                          std::string(pieces[kControlId]), is_force_flag(pieces[kForceFlag]),
                          std::string(conditions.program), std::string(conditions.message)}),
        {}};
}

std::vector<std::string> PolicyTargets::refresh() {
    std::vector<std::string> problems;
    read_key(Policy::Scope::machine, from_machine_, problems);
    read_key(Policy::Scope::user, from_user_, problems);
    std::vector<std::string> texts = from_machine_;
    texts.insert(texts.end(), from_user_.begin(), from_user_.end());
    if (const std::size_t no_room = targets_.set_managed(texts); no_room > 0) {
        problems.push_back(std::to_string(no_room) +
                           " of the targets your administrator set: the list is full, it holds "
                           "at most " +
                           std::to_string(TargetList::kMostEntries) + " targets");
    }
    return problems;
}

void PolicyTargets::read_key(Policy::Scope scope, std::vector<std::string>& texts,
                             std::vector<std::string>& problems) {
    const std::string_view subkey = platform::policy_keys::kTargets;
    const PolicyKey key = policy_.read(scope, subkey);
    if (key.state == PolicyKey::State::unreadable) {
        return;
    }
    texts.clear();
    for (const PolicyValue& value : key.values) {
        std::string problem = why_not_usable(value);
        PolicyTargetLine line;
        if (problem.empty()) {
            line = read_policy_target_line(value.text);
            problem = std::move(line.problem);
        }
        if (!problem.empty()) {
            problems.push_back(platform::policy_value_place(scope, subkey, value.name) + ": " +
                               problem);
            continue;
        }
        texts.push_back(std::move(line.text));
    }
    if (key.values_not_read > 0) {
        problems.push_back(std::to_string(key.values_not_read) + " values after the first " +
                           std::to_string(Policy::kMostValues) + " of " +
                           platform::policy_key_place(scope, subkey) +
                           ": the list could not hold them");
    }
}

}  // namespace tapster
