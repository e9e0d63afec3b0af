#include "options/policy_interval.h"

#include <string>
#include <utility>

namespace tapster {

IntervalPolicy read_interval_policy(platform::Policy& policy) {
    const std::string wanted = "a number of milliseconds from " +
                               std::to_string(IntervalPolicy::kShortest) + " to " +
                               std::to_string(IntervalPolicy::kLongest);
    platform::PolicyNumber number =
        platform::read_policy_number(policy, platform::policy_keys::kInterval,
                                     IntervalPolicy::kShortest, IntervalPolicy::kLongest, wanted);
    IntervalPolicy result;
    result.known = number.known;
    result.interval = number.number;
    result.problems = std::move(number.problems);
    return result;
}

}  // namespace tapster
