#include "options/policy_interval.h"

#include <algorithm>
#include <cctype>
#include <string_view>

namespace tapster {

namespace {

using platform::Policy;
using platform::PolicyKey;
using platform::PolicyValue;

// Value names in the registry ignore letter case.
bool same_name(std::string_view name, std::string_view wanted) {
    return std::equal(name.begin(), name.end(), wanted.begin(), wanted.end(), [](char a, char b) {
        return std::tolower(static_cast<unsigned char>(a)) ==
               std::tolower(static_cast<unsigned char>(b));
    });
}

}  // namespace

IntervalPolicy read_interval_policy(Policy& policy) {
    IntervalPolicy result;
    for (const Policy::Scope scope : {Policy::Scope::machine, Policy::Scope::user}) {
        const PolicyKey key = policy.read(scope, "");
        if (key.state == PolicyKey::State::unreadable) {
            // It may hold the interval that applies: nothing can be decided.
            result.known = false;
            return result;
        }
        for (const PolicyValue& value : key.values) {
            if (!same_name(value.name, platform::policy_keys::kInterval)) {
                continue;
            }
            const std::string place = platform::policy_value_place(scope, "", value.name) + ": ";
            if (value.type != PolicyValue::Type::number) {
                result.problems.push_back(place + "it is not a number (REG_DWORD)");
            } else if (value.number < IntervalPolicy::kShortest ||
                       value.number > IntervalPolicy::kLongest) {
                result.problems.push_back(place + "it is " + std::to_string(value.number) +
                                          ", not a number of milliseconds from " +
                                          std::to_string(IntervalPolicy::kShortest) + " to " +
                                          std::to_string(IntervalPolicy::kLongest));
            } else {
                result.interval = value.number;
                return result;
            }
        }
    }
    return result;
}

}  // namespace tapster
